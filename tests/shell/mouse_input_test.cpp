// The mouse through the Qt layer and the shell: Qt's mouse, wheel and drop
// events become the Windows messages, the window procedure turns, zooms and
// pans, and the client image equals the tool's picture of the same steps.
#include "kelvorn.h"
#include "shell_fixture.h"

#include <QApplication>
#include <QMimeData>
#include <QDropEvent>
#include <QMouseEvent>
#include <QUrl>
#include <QWheelEvent>
#include <QWidget>

#include <cstring>
#include <vector>

namespace {

class MouseInput : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        Start({"kelvorn", cube});
        Pump();
        messages.clear();
    }

    void Send(QEvent::Type type, QPoint client, Qt::MouseButton button, Qt::MouseButtons held,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const QPoint local = ClientToWidget(client);
        QMouseEvent event(type, QPointF(local), QPointF(Widget()->mapToGlobal(local)), button, held, modifiers);
        QApplication::sendEvent(Widget(), &event);
    }
    void Press(QPoint at, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        Send(QEvent::MouseButtonPress, at, button, button, modifiers);
    }
    void Move(QPoint to, Qt::MouseButtons held = Qt::LeftButton, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        Send(QEvent::MouseMove, to, Qt::NoButton, held, modifiers);
    }
    void Release(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        Send(QEvent::MouseButtonRelease, at, button, Qt::NoButton);
    }
    void Wheel(QPoint at, int delta) {
        const QPoint local = ClientToWidget(at);
        QWheelEvent event(QPointF(local), QPointF(Widget()->mapToGlobal(local)), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Widget(), &event);
    }
    void Drag(QPoint from, QPoint to) {
        Press(from);
        Move(to);
        Release(to);
        Pump();
    }

    const std::string cube = SamplePath("cube.dxf");
};

LPARAM Point(int x, int y) { return static_cast<LPARAM>((x & 0xFFFF) | (y & 0xFFFF) << 16); }

std::vector<Face> Faces() { return std::vector<Face>(F, F + nf); }

bool SameFaces(const std::vector<Face>& a, const std::vector<Face>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(Face)) == 0;
}

} // namespace

TEST_F(MouseInput, LeftDragTurnsAsTheDragStepDoes) {
    Press({100, 100});
    Pump();
    EXPECT_EQ(GetCapture(), Main); // the drag goes on outside the window
    Move({130, 80});
    Release({130, 80});
    Pump();
    ASSERT_EQ(Seen(WM_LBUTTONDOWN).size(), 1u);
    EXPECT_EQ(Seen(WM_LBUTTONDOWN)[0].wParam, static_cast<WPARAM>(MK_LBUTTON));
    ASSERT_EQ(Seen(WM_MOUSEMOVE).size(), 1u);
    EXPECT_EQ(Seen(WM_MOUSEMOVE)[0].wParam, static_cast<WPARAM>(MK_LBUTTON));
    ASSERT_EQ(Seen(WM_LBUTTONUP).size(), 1u);
    EXPECT_EQ(Seen(WM_LBUTTONUP)[0].wParam, 0u);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(Seen(WM_CAPTURECHANGED).size(), 1u);
    EXPECT_TRUE(ShowsSteps(cube, "drag:30:-20"));
}

TEST_F(MouseInput, PositionsOutsideTheWindowAreSignedSixteenBitNumbers) {
    Press({10, 10});
    Move({-25, -4});
    Release({-25, -4});
    Pump();
    ASSERT_EQ(Seen(WM_MOUSEMOVE).size(), 1u);
    EXPECT_TRUE(ShowsSteps(cube, "drag:-35:-14"));
}

TEST_F(MouseInput, WaitingMotionIsMergedIntoOneTurnAndOnePaint) {
    Press({200, 200});
    Pump();
    messages.clear();
    for (int step = 1; step <= 10; ++step) Move({200 + 3 * step, 200 - step});
    Pump();
    EXPECT_EQ(Seen(WM_MOUSEMOVE).size(), 1u);
    EXPECT_EQ(Seen(WM_PAINT).size(), 1u);
    EXPECT_TRUE(ShowsSteps(cube, "drag:30:-10"));
    Release({230, 190});
}

TEST_F(MouseInput, AKeyBetweenMotionsKeepsThemApartAndInOrder) {
    Press({200, 200});
    Move({210, 200});
    Click(Qt::Key_PageDown);
    Move({210, 230});
    Pump();
    EXPECT_EQ(Seen(WM_MOUSEMOVE).size(), 2u);
    EXPECT_TRUE(ShowsSteps(cube, "drag:10:0,pgdn,drag:0:30"));
    Release({210, 230});
}

TEST_F(MouseInput, ShiftDragTurnsInTheXyPlane) {
    Press({200, 200}, Qt::LeftButton, Qt::ShiftModifier);
    Move({260, 215}, Qt::LeftButton, Qt::ShiftModifier);
    Release({260, 215});
    Pump();
    EXPECT_EQ(Seen(WM_MOUSEMOVE)[0].wParam, static_cast<WPARAM>(MK_LBUTTON | MK_SHIFT));
    EXPECT_TRUE(ShowsSteps(cube, "shiftdrag:60:15"));
}

TEST_F(MouseInput, MiddleDragAndCtrlDragPanPixelForPixel) {
    Press({200, 200}, Qt::MiddleButton);
    Move({170, 240}, Qt::MiddleButton);
    Release({170, 240}, Qt::MiddleButton);
    Press({100, 100}, Qt::LeftButton, Qt::ControlModifier);
    Move({105, 90}, Qt::LeftButton, Qt::ControlModifier);
    Release({105, 90});
    Pump();
    EXPECT_EQ(Seen(WM_MBUTTONDOWN).size(), 1u);
    EXPECT_EQ(Seen(WM_MBUTTONUP).size(), 1u);
    EXPECT_EQ(Seen(WM_MOUSEMOVE)[0].wParam, static_cast<WPARAM>(MK_MBUTTON));
    EXPECT_EQ(Seen(WM_MOUSEMOVE)[1].wParam, static_cast<WPARAM>(MK_LBUTTON | MK_CONTROL));
    EXPECT_TRUE(ShowsSteps(cube, "pan:-30:40,pan:5:-10"));
}

TEST_F(MouseInput, MotionOfAButtonPressedElsewhereTurnsNothing) {
    const std::vector<Face> before = Faces();
    Move({300, 300});
    Pump();
    EXPECT_EQ(Seen(WM_MOUSEMOVE).size(), 1u);
    EXPECT_TRUE(SameFaces(Faces(), before));
    EXPECT_TRUE(Seen(WM_PAINT).empty());
}

TEST_F(MouseInput, WheelZoomsAboutTheCursorInScreenCoordinates) {
    Wheel({200, 150}, 120);
    Wheel({200, 150}, 120);
    Wheel({40, 300}, -60); // half a notch out, elsewhere
    Pump();
    const auto wheels = Seen(WM_MOUSEWHEEL);
    ASSERT_EQ(wheels.size(), 3u);
    EXPECT_EQ(static_cast<short>(HIWORD(wheels[0].wParam)), 120);
    EXPECT_EQ(static_cast<short>(HIWORD(wheels[2].wParam)), -60);
    EXPECT_EQ(Seen(WM_PAINT).size(), 1u); // three zooms, one paint
    EXPECT_TRUE(ShowsSteps(cube, "wheel:120:200:150,wheel:120:200:150,wheel:-60:40:300"));
    // The window procedure takes screen coordinates and finds the client point itself.
    const QPoint screen = Widget()->mapToGlobal(ClientToWidget({10, 20}));
    SendMessage(Main, WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<WORD>(-240)) << 16, Point(screen.x(), screen.y()));
    Pump();
    EXPECT_TRUE(ShowsSteps(cube, "wheel:120:200:150,wheel:120:200:150,wheel:-60:40:300,wheel:-240:10:20"));
}

TEST_F(MouseInput, DoubleClickGoesBackToTheFittedViewAndKeepsTheTurn) {
    Drag({100, 100}, {140, 120});
    Wheel({300, 200}, 360);
    Pump();
    Press({50, 60});
    Release({50, 60});
    Send(QEvent::MouseButtonDblClick, {50, 60}, Qt::LeftButton, Qt::LeftButton);
    Release({50, 60});
    Pump();
    EXPECT_EQ(Seen(WM_LBUTTONDOWN).size(), 2u); // the drag's press and the first click
    EXPECT_EQ(Seen(WM_LBUTTONDBLCLK).size(), 1u);
    EXPECT_TRUE(ShowsSteps(cube, "drag:40:20"));
}

TEST_F(MouseInput, ResizeKeepsZoomAndPan) {
    const RECT before = ClientArea();
    Wheel({120, 90}, 120);
    Press({10, 10}, Qt::MiddleButton);
    Move({25, 5}, Qt::MiddleButton);
    Release({25, 5}, Qt::MiddleButton);
    Pump();
    Widget()->showNormal();
    Widget()->resize(500, 300);
    Pump();
    const RECT after = ClientArea();
    ASSERT_TRUE(after.right != before.right || after.bottom != before.bottom);
    const std::string steps = "size:" + std::to_string(before.right) + "x" + std::to_string(before.bottom) +
                              ",wheel:120:120:90,pan:15:-5";
    EXPECT_TRUE(ShowsSteps(cube, steps));
}

TEST_F(MouseInput, F12GoesBackToTheFirstViewWithoutZoomOrPan) {
    Drag({100, 100}, {90, 130});
    Wheel({100, 100}, 240);
    Click(Qt::Key_F12);
    Pump();
    EXPECT_TRUE(ShowsSteps(cube, ""));
}

TEST_F(MouseInput, DroppedFileIsReadAsAChosenOneAndTheFirstOfSeveral) {
    Wheel({100, 100}, 240);
    Pump();
    const std::string sphere = SamplePath("sphere.dxf");
    DropFiles({QUrl::fromLocalFile(QString::fromStdString(sphere)), QUrl::fromLocalFile(QString::fromStdString(cube))});
    Pump();
    ASSERT_EQ(Seen(WM_DROPFILES).size(), 1u);
    EXPECT_STREQ(file, sphere.c_str());
    EXPECT_EQ(Widget()->windowTitle().toStdString(), "Kelvorn: " + sphere);
    EXPECT_TRUE(ShowsSteps(sphere, "")); // fitted: the zoom went with the old model
    EXPECT_TRUE(dialogs.empty());
}

TEST_F(MouseInput, DroppedFileThatCannotBeReadKeepsTheModelAndTheView) {
    Wheel({100, 100}, 120);
    Pump();
    const std::vector<Face> before = Faces();
    const std::string missing = (dir.path() / "gone.dxf").string();
    DropFiles({QUrl::fromLocalFile(QString::fromStdString(missing))});
    Pump();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_TRUE(dialogs[0].text.contains(QString::fromStdString(missing))) << dialogs[0].text.toStdString();
    EXPECT_TRUE(SameFaces(Faces(), before));
    EXPECT_TRUE(ShowsSteps(cube, "wheel:120:100:100"));
}

TEST_F(MouseInput, DroppedPathTooLongForTheBufferIsRefusedWithAMessage) {
    const std::string longPath = "/" + std::string(300, 'x') + ".dxf";
    DropFiles({QUrl::fromLocalFile(QString::fromStdString(longPath))});
    Pump();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_TRUE(dialogs[0].text.startsWith("The file dropped on the window is longer than 255 characters"))
        << dialogs[0].text.toStdString();
    EXPECT_STREQ(file, cube.c_str());
}

TEST_F(MouseInput, DropsOfNoLocalFileAreNotAccepted) {
    QMimeData data;
    data.setUrls({QUrl("https://example.org/a.dxf")});
    QDragEnterEvent enter(QPoint(50, 80), Qt::CopyAction, &data, Qt::NoButton, Qt::NoModifier);
    enter.ignore();
    QApplication::sendEvent(Widget(), &enter);
    EXPECT_FALSE(enter.isAccepted());
}
