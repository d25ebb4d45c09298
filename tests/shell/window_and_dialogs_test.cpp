// The Qt layer where it stands in for what Windows does by itself: the place
// of a window made with CW_USEDEFAULT, the erase of a paint, the folder and
// size of the file dialog, long words in message boxes and the busy cursor of
// a load.
#include "app/qt/message_text.h"
#include "app/paint_image.h"
#include "app/qt/window_inspection.h"
#include "kelvorn.h"
#include "shell_fixture.h"

#include <QAction>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#if defined(__x86_64__)
#include <cpuid.h>
#include <immintrin.h>
#endif
#include <cstring>

namespace {

QRect WorkArea() { return QGuiApplication::primaryScreen()->availableGeometry(); }

using WindowPlacement = ShellTest;

TEST_F(WindowPlacement, RestoredWindowTakesThreeQuartersOfTheWorkAreaCentred) {
    Start({"kelvorn", SamplePath("cube.dxf")});
    Pump();
    ASSERT_TRUE(Widget()->windowState() & Qt::WindowMaximized);
    Widget()->showNormal();
    Pump();
    const QRect area = WorkArea();
    EXPECT_EQ(Widget()->size(), QSize(area.width() * 3 / 4, area.height() * 3 / 4));
    EXPECT_LE((Widget()->geometry().center() - area.center()).manhattanLength(), 2);
    RECT client;
    GetClientRect(Main, &client);
    EXPECT_GT(client.bottom, area.height() / 2); // a drawing area, not a strip
    EXPECT_FALSE(AllWhite(*ClientImageOf(Main)));
}

TEST_F(WindowPlacement, GivenPlaceAndSizeAreKept) {
    HWND window = CreateWindowEx(0, progname, "placed", WS_OVERLAPPEDWINDOW, 30, 40, 300, 200, nullptr, nullptr,
                                 Instance, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(WidgetOf(window)->pos(), QPoint(30, 40));
    EXPECT_EQ(WidgetOf(window)->size(), QSize(300, 200));
    DestroyWindow(window);
}

// The picture a test window's paint shows, or none.
Image* picture = nullptr;

#if defined(__x86_64__)
// Whether the upper halves of the AVX registers are in use (XINUSE bit 2);
// false where the processor cannot tell (no XGETBV with ECX = 1).
bool CanTellUpperVectorState() {
    unsigned eax, ebx, ecx, edx;
    return __get_cpuid_count(0xD, 1, &eax, &ebx, &ecx, &edx) && (eax & 4) != 0;
}
[[gnu::target("xsave")]] bool UpperVectorStateInUse() { return (_xgetbv(1) & 4) != 0; }
#else
bool CanTellUpperVectorState() { return false; }
bool UpperVectorStateInUse() { return false; }
#endif

// How often the shell's code found the upper vector state in use: on entry
// to the test window's procedure and after its paint.
int upperStateInUse = 0;

LRESULT CALLBACK PictureWinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    upperStateInUse += UpperVectorStateInUse();
    if (message != WM_PAINT) return DefWindowProc(window, message, wParam, lParam);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (picture) ShowPaintImage(dc, *picture);
    EndPaint(window, &paint);
    upperStateInUse += UpperVectorStateInUse();
    return 0;
}

// A shown window of a class of its own, whose paint shows `picture`.
class PaintMessages : public ShellTest {
protected:
    void open(int width, int height) {
        Register("kelvorn-picture", PictureWinProc);
        window = CreateWindowEx(0, "kelvorn-picture", "picture", WS_OVERLAPPEDWINDOW, 0, 0, width, height, nullptr,
                                nullptr, Instance, nullptr);
        ASSERT_NE(window, nullptr);
        ShowWindow(window, SW_SHOWNORMAL);
        Pump();
        GetClientRect(window, &client);
    }
    // One paint through the message loop, showing `shown` or no picture.
    void paint(Image* shown) {
        picture = shown;
        InvalidateRect(window, nullptr, TRUE);
        Pump();
    }
    void TearDown() override {
        picture = nullptr;
        if (IsWindow(window)) DestroyWindow(window);
        UnregisterClass("kelvorn-picture", Instance);
        ShellTest::TearDown();
    }

    HWND window = nullptr;
    RECT client{};
};

TEST_F(PaintMessages, APictureIsShownWholeAndAPaintWithoutOneLeavesTheClassBrush) {
    open(300, 200);
    ASSERT_TRUE(AllWhite(*ClientImageOf(window)));
    Image shown;
    shown.reset(client.right, client.bottom, Image::kBlack);
    paint(&shown);
    const Image* clientImage = ClientImageOf(window);
    EXPECT_EQ(clientImage->width, client.right);
    EXPECT_TRUE(std::all_of(clientImage->pixels.begin(), clientImage->pixels.end(),
                            [](std::uint32_t p) { return p == Image::kBlack; }));
    EXPECT_TRUE(AllWhite(shown)); // the pixels shown before, for the next picture
    paint(nullptr);
    EXPECT_EQ(ClientImageOf(window)->width, client.right);
    EXPECT_TRUE(AllWhite(*ClientImageOf(window)));
}

TEST_F(PaintMessages, QtLeavesNoUpperVectorStateToTheShell) {
    // Left in use, it makes every SSE instruction of the turn, the reader
    // and the paint that follow slower on some processors.
    if (!CanTellUpperVectorState()) GTEST_SKIP() << "the processor cannot tell";
    open(1920, 1200);
    Image shown;
    upperStateInUse = 0;
    for (int count = 0; count < 3; ++count) {
        shown.reset(client.right, client.bottom, count % 2 ? Image::kBlack : Image::kWhite);
        paint(&shown);
        EXPECT_FALSE(UpperVectorStateInUse()) << "after the message loop's paint " << count;
    }
    EXPECT_EQ(upperStateInUse, 0);
}

using FileDialog = ShellTest;

TEST_F(FileDialog, OpensInTheCurrentDirectoryThenInTheFolderOfTheLastChosenFile) {
    const std::string path = dir.write("part.dxf", RectangleDxf(3, 1));
    Start({"kelvorn"});
    choose = QString::fromStdString(path);
    MenuAction("&read meshfile")->trigger();
    Pump();
    choose.clear(); // cancelled: the folder stays the chosen file's
    MenuAction("&read meshfile")->trigger();
    Pump();
    choose = "part.dxf"; // Enter on the proposed name
    MenuAction("&read meshfile")->trigger();
    Pump();
    ASSERT_EQ(dialogs.size(), 3u);
    EXPECT_EQ(dialogs[0].folder, QDir::currentPath());
    const QString folder = QString::fromStdString(dir.path().string());
    EXPECT_EQ(dialogs[1].folder, folder);
    EXPECT_EQ(dialogs[2].folder, folder);
    EXPECT_EQ(dialogs[2].proposed, "part.dxf");
    EXPECT_STREQ(file, path.c_str()); // the full path, as chosen
    EXPECT_EQ(nf, 1);
    EXPECT_EQ(Seen(WM_SETTEXT).size(), 2u);
}

TEST_F(FileDialog, NameSizeTypeAndDateColumnsAreShownWhole) {
    Start({"kelvorn"});
    MenuAction("&read meshfile")->trigger();
    Pump();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_TRUE(dialogs[0].columnsWhole);
    EXPECT_GE(dialogs[0].width, std::min(800, WorkArea().width() * 9 / 10));
}

using MessageBoxes = ShellTest;

TEST_F(MessageBoxes, LongPathIsWrappedToFitTheScreen) {
    const std::string folder = (dir.path() / std::string(90, 'f') / std::string(90, 'g')).string();
    Start({"kelvorn"});
    std::strcpy(file, (folder + "/part.dxf").c_str());
    Click(Qt::Key_F12);
    Pump();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_TRUE(dialogs[0].text.contains(QString::fromStdString(folder))) << dialogs[0].text.toStdString();
    EXPECT_LE(dialogs[0].width, WorkArea().width());
}

TEST(MessageText, LongWordsBreakAfterSeparatorsOrEveryFortyCharacters) {
    const QString path = "/" + QString(50, 'a') + "/b.dxf";
    const QString broken = WithBreaksInLongWords("Cannot read \"" + path + "\": gone.");
    EXPECT_EQ(broken, QString("Cannot read \"/\u200B") + QString(40, 'a') + "\u200B" + QString(10, 'a') +
                          "/\u200Bb.dxf\": gone.");
    EXPECT_EQ(QString(broken).remove(QChar(0x200B)), "Cannot read \"" + path + "\": gone.");
}

TEST(MessageText, ShortWordsAndWhiteSpaceStayAsTheyAre) {
    const QString text = "The model on screen\nis unchanged.\t/usr/share/x.dxf " + QString(40, 'w');
    EXPECT_EQ(WithBreaksInLongWords(text), text);
    EXPECT_EQ(WithBreaksInLongWords(""), "");
}

using BusyCursor = ShellTest;

TEST_F(BusyCursor, ShowsWhileTheFileIsReadAndGoesBeforeAMessage) {
    Start({"kelvorn", SamplePath("cube.dxf")});
    Pump();
    ASSERT_EQ(Seen(WM_SETTEXT).size(), 1u);
    EXPECT_TRUE(Seen(WM_SETTEXT)[0].busyCursor); // the title is set inside the load
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    for (const SeenMessage& paint : Seen(WM_PAINT)) EXPECT_FALSE(paint.busyCursor);

    std::strcpy(file, (dir.path() / "gone.dxf").string().c_str());
    Click(Qt::Key_F12);
    Pump();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_FALSE(dialogs[0].busyCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

} // namespace
