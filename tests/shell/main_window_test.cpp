#include "kelvorn.h"
#include "kelvorn_ids.h"
#include "shell_fixture.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QTest>
#include <QWidget>

#include <cstring>
#include <functional>
#include <vector>

namespace {

const char* const kHelp = "The pairs of keys INS/DEL, HOME/END, PAGEUP/PAGEDOWN rotate the image by 10 degrees each "
                          "way in each of the three axes. F12 re-reads the file and goes back to the initial view.";
const QStringList kMenu = {"&read meshfile", "e&xit", "&help"};

std::vector<Face> Faces() { return std::vector<Face>(F, F + nf); }

bool SameFaces(const std::vector<Face>& a, const std::vector<Face>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(Face)) == 0;
}

using MainWindow = ShellTest;

TEST_F(MainWindow, CreationAttachesTheMenuBeforeTheFirstPaint) {
    Start({"kelvorn"});
    ASSERT_GE(messages.size(), 2u);
    EXPECT_EQ(messages[0].message, static_cast<UINT>(WM_CREATE));
    const auto paints = Seen(WM_PAINT);
    ASSERT_FALSE(paints.empty());
    EXPECT_EQ(paints[0].menuBar, kMenu);
    EXPECT_EQ(MenuBarTexts(), kMenu);
    EXPECT_EQ(Widget()->windowTitle(), "Kelvorn");
    EXPECT_TRUE(Widget()->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(Widget()->windowIcon().availableSizes(), QList<QSize>{QSize(32, 32)}); // the "KELVORN" icon
}

TEST_F(MainWindow, MaximizedPositionIsMinusFourMinusFour) {
    Start({"kelvorn"});
    MINMAXINFO info{};
    info.ptMaxSize = {800, 600};
    EXPECT_EQ(SendMessage(Main, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info)), 0);
    EXPECT_EQ(info.ptMaxPosition.x, -4);
    EXPECT_EQ(info.ptMaxPosition.y, -4);
    EXPECT_EQ(info.ptMaxSize.x, 800);
}

TEST_F(MainWindow, FirstPaintIsEmptyAndTheArgumentIsLoadedRightAfterIt) {
    const std::string cube = SamplePath("cube.dxf");
    Start({"kelvorn", cube});
    // newwindow has returned: the first paint ran, and the load inside it.
    const auto paints = Seen(WM_PAINT);
    ASSERT_EQ(paints.size(), 1u);
    EXPECT_EQ(paints[0].nfBefore, 0);
    EXPECT_TRUE(paints[0].clientWhiteAfter);
    EXPECT_EQ(paints[0].result, 0);
    EXPECT_EQ(nf, 6);
    EXPECT_STREQ(file, cube.c_str());
    EXPECT_EQ(Widget()->windowTitle().toStdString(), "Kelvorn: " + cube);
    EXPECT_EQ(Argc, 0);

    Pump();
    const auto later = Seen(WM_PAINT);
    ASSERT_EQ(later.size(), 2u); // exactly one repaint for the load
    EXPECT_FALSE(later[1].clientWhiteAfter);
    EXPECT_EQ(Seen(WM_SETTEXT).size(), 1u); // the argument is taken once
}

TEST_F(MainWindow, WithoutArgumentsTheWindowStaysEmpty) {
    Start({"kelvorn"});
    Pump();
    EXPECT_EQ(nf, 0);
    EXPECT_TRUE(AllWhite(ClientImage()));
    EXPECT_TRUE(Seen(WM_SETTEXT).empty());
}

TEST_F(MainWindow, OnlyTheFirstOfTwoArgumentsIsLoaded) {
    const std::string first = dir.write("first.dxf", RectangleDxf(4, 2));
    Start({"kelvorn", first, SamplePath("cube.dxf")});
    Pump();
    EXPECT_EQ(nf, 1);
    EXPECT_STREQ(file, first.c_str());
    ASSERT_EQ(Seen(WM_SETTEXT).size(), 1u);
    EXPECT_EQ(Seen(WM_SETTEXT)[0].text, "Kelvorn: " + first);
}

TEST_F(MainWindow, BannerReplacesTheMenuDuringTheLoadAndTheMenuComesBack) {
    Start({"kelvorn", SamplePath("cube.dxf")});
    const auto titles = Seen(WM_SETTEXT);
    ASSERT_EQ(titles.size(), 1u);
    EXPECT_EQ(titles[0].menuBar, QStringList{"HANG ON WHILE I READ THE FILE IN"});
    EXPECT_EQ(titles[0].nfBefore, 0); // the title comes once the file is open and nf is 0
    EXPECT_EQ(MenuBarTexts(), kMenu);
    EXPECT_FALSE(MainMenuBar()->isHidden());
}

TEST_F(MainWindow, TitleOfAVeryLongPathIsCutTo255Characters) {
    // A path of 250 characters: it fits `file`, the title with it does not.
    const std::string name = std::string(250 - dir.path().string().size() - 1 - 4, 'n') + ".dxf";
    const std::string path = dir.write(name, RectangleDxf(1, 1));
    ASSERT_EQ(path.size(), 250u);
    Start({"kelvorn", path});
    EXPECT_EQ(nf, 1);
    ASSERT_EQ(Seen(WM_SETTEXT).size(), 1u);
    EXPECT_EQ(Seen(WM_SETTEXT)[0].text, ("Kelvorn: " + path).substr(0, 255));
}

TEST_F(MainWindow, HelpShowsTheKeysInABoxCaptionedHelp) {
    Start({"kelvorn"});
    MenuAction("&help")->trigger();
    Pump();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].title, "HELP");
    EXPECT_EQ(dialogs[0].text.toStdString(), kHelp);
    EXPECT_EQ(dialogs[0].buttons, QStringList{"OK"});
    const auto commands = Seen(WM_COMMAND);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].wParam, static_cast<WPARAM>(IDM_HELP));
    EXPECT_EQ(commands[0].result, 0);
}

TEST_F(MainWindow, MnemonicsOfTheMenuWorkFromTheKeyboard) {
    Start({"kelvorn"});
    Click(Qt::Key_H, Qt::AltModifier);
    Pump();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].title, "HELP");

    Click(Qt::Key_R, Qt::AltModifier); // the open dialog, cancelled
    Pump();
    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(dialogs[1].title, "DXF file?");
}

TEST_F(MainWindow, ReadCommandLoadsTheChosenFileAsChosen) {
    const std::string path = dir.write("Part.DXF", RectangleDxf(3, 1));
    Start({"kelvorn"});
    choose = QString::fromStdString(path);
    MenuAction("&read meshfile")->trigger();
    Pump();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].title, "DXF file?");
    EXPECT_EQ(dialogs[0].proposed, "");
    EXPECT_STREQ(file, path.c_str());
    EXPECT_STREQ(tit, "part.dxf");
    EXPECT_EQ(nf, 1);
    EXPECT_EQ(Widget()->windowTitle().toStdString(), "Kelvorn: " + path);
    EXPECT_FALSE(AllWhite(ClientImage()));
}

TEST_F(MainWindow, CancelledReadCommandLoadsNothing) {
    Start({"kelvorn"});
    MenuAction("&read meshfile")->trigger();
    Pump();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(nf, 0);
    EXPECT_TRUE(Seen(WM_SETTEXT).empty());
    const auto commands = Seen(WM_COMMAND);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].result, 0);
    EXPECT_TRUE(AllWhite(ClientImage()));
}

TEST_F(MainWindow, UnknownCommandDoesNothing) {
    Start({"kelvorn"});
    const std::size_t seen = messages.size();
    EXPECT_EQ(SendMessage(Main, WM_COMMAND, 999, 0), 0);
    Pump();
    EXPECT_EQ(messages.size(), seen + 1); // no paint, title or close followed
    EXPECT_TRUE(dialogs.empty());
    EXPECT_NE(MainWidget(), nullptr);
}

TEST_F(MainWindow, ExitCommandDestroysTheWindowAndPostsQuit) {
    Start({"kelvorn"});
    MenuAction("e&xit")->trigger();
    MSG msg{};
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message != WM_QUIT) DispatchMessage(&msg);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 0u);
    EXPECT_EQ(MainWidget(), nullptr);
    EXPECT_EQ(Seen(WM_DESTROY).size(), 1u);
}

TEST_F(MainWindow, PageDownTurnsAndF12BringsBackTheFirstPicture) {
    Start({"kelvorn", SamplePath("cube.dxf")});
    Pump();
    const Image first = ClientImage();
    const std::vector<Face> loaded = Faces();
    ASSERT_FALSE(AllWhite(first));

    Click(Qt::Key_PageDown);
    Pump();
    const Image turned = ClientImage();
    EXPECT_FALSE(SameFaces(Faces(), loaded));
    EXPECT_NE(turned.pixels, first.pixels);
    ASSERT_FALSE(Seen(WM_KEYDOWN).empty());
    EXPECT_EQ(Seen(WM_KEYDOWN)[0].wParam, static_cast<WPARAM>(VK_NEXT));

    Click(Qt::Key_F12);
    Pump();
    EXPECT_TRUE(SameFaces(Faces(), loaded));
    EXPECT_EQ(ClientImage().pixels, first.pixels);
    EXPECT_EQ(Seen(WM_SETTEXT).size(), 2u); // F12 is a full load, title and all
}

TEST_F(MainWindow, KeyReleasesNeverTurnOrReload) {
    Start({"kelvorn", SamplePath("cube.dxf")});
    Pump();
    const std::vector<Face> loaded = Faces();
    const std::size_t paints = Seen(WM_PAINT).size();
    QTest::keyRelease(Widget(), Qt::Key_PageDown);
    QTest::keyRelease(Widget(), Qt::Key_F12);
    SendMessage(Main, WM_KEYUP, VK_INSERT, 1);
    SendMessage(Main, WM_SYSKEYUP, VK_HOME, 1);
    Pump();
    EXPECT_EQ(Seen(WM_KEYUP).size(), 3u);
    EXPECT_TRUE(SameFaces(Faces(), loaded));
    EXPECT_EQ(Seen(WM_PAINT).size(), paints);
    EXPECT_EQ(Seen(WM_SETTEXT).size(), 1u);
}

TEST_F(MainWindow, ArrowKeysChangeNothing) {
    Start({"kelvorn", SamplePath("cube.dxf")});
    Pump();
    const std::vector<Face> loaded = Faces();
    const std::size_t paints = Seen(WM_PAINT).size();
    for (Qt::Key key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down}) Click(key);
    Pump();
    EXPECT_EQ(Seen(WM_KEYDOWN).size(), 4u);
    EXPECT_TRUE(SameFaces(Faces(), loaded));
    EXPECT_EQ(Seen(WM_PAINT).size(), paints);
}

TEST_F(MainWindow, RepeatCountTurnsSeveralSteps) {
    Start({"kelvorn", SamplePath("cube.dxf")});
    Pump();
    SendMessage(Main, WM_KEYDOWN, VK_NEXT, 3);
    const std::vector<Face> thrice = Faces();
    Click(Qt::Key_F12);
    Pump();
    for (int i = 0; i < 3; ++i) SendMessage(Main, WM_KEYDOWN, VK_NEXT, 1);
    const std::vector<Face> stepwise = Faces();
    ASSERT_EQ(thrice.size(), stepwise.size());
    for (std::size_t i = 0; i < thrice.size(); ++i) EXPECT_NEAR(thrice[i].A.x, stepwise[i].A.x, 1e-9);
}

TEST_F(MainWindow, MissingFileKeepsTheModelAndNamesTheFile) {
    Start({"kelvorn", SamplePath("cube.dxf")});
    Pump();
    const Image before = ClientImage();
    const std::string missing = (dir.path() / "gone.dxf").string();
    std::strcpy(file, missing.c_str());
    Click(Qt::Key_F12);
    Pump();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_TRUE(dialogs[0].text.contains(QString::fromStdString(missing))) << dialogs[0].text.toStdString();
    EXPECT_TRUE(dialogs[0].text.contains("No such file or directory")) << dialogs[0].text.toStdString();
    EXPECT_EQ(nf, 6);
    EXPECT_EQ(ClientImage().pixels, before.pixels);
    EXPECT_EQ(MenuBarTexts(), kMenu);
}

TEST_F(MainWindow, DirectoryIsRefusedWithAMessage) {
    Start({"kelvorn", dir.path().string()});
    Pump();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_TRUE(dialogs[0].text.contains(QString::fromStdString(dir.path().string())));
    EXPECT_EQ(nf, 0);
    EXPECT_TRUE(AllWhite(ClientImage()));
}

TEST_F(MainWindow, F12BeforeAnyFileSaysThatNoneWasChosen) {
    Start({"kelvorn"});
    Click(Qt::Key_F12);
    Pump();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_TRUE(dialogs[0].text.contains("read meshfile"));
    EXPECT_EQ(nf, 0);
    EXPECT_EQ(Widget()->windowTitle(), "Kelvorn");
}

TEST_F(MainWindow, OverlongArgumentIsRefusedNotCut) {
    const std::string longPath = "/" + std::string(299, 'x');
    Start({"kelvorn", longPath});
    Pump();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_TRUE(dialogs[0].text.contains(QString::fromStdString(longPath)));
    EXPECT_STREQ(file, "");
    EXPECT_EQ(nf, 0);
    EXPECT_TRUE(Seen(WM_SETTEXT).empty());
    EXPECT_EQ(Argc, 0);
}

TEST_F(MainWindow, ResizeRepaintsTheWholeClientArea) {
    Start({"kelvorn", SamplePath("cube.dxf")});
    Pump();
    Widget()->showNormal();
    Widget()->resize(300, 200);
    Pump();
    EXPECT_EQ(ClientArea().right, 300);
    EXPECT_TRUE(ShowsSteps(SamplePath("cube.dxf"), ""));
}

// WinMain itself: the message loop and how it ends.
class MessageLoop : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        static char program[] = "kelvorn";
        static char* arguments[] = {program, nullptr};
        __argc = 1;
        __argv = arguments;
    }
    // Runs WinMain; `user` acts once the main window is up and the loop runs.
    int RunWinMain(std::function<void()> user) {
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            if (!Main || !MainWidget()) return; // the main window is up once WinMain has made it
            timer.stop();
            user();
        });
        timer.start(5);
        char commandLine[] = "";
        return WinMain(Instance, nullptr, commandLine, SW_SHOW);
    }
};

TEST_F(MessageLoop, ExitCommandEndsTheLoopWithZero) {
    EXPECT_EQ(RunWinMain([] { MainMenuBar()->actions().at(1)->trigger(); }), 0);
    EXPECT_EQ(MainWidget(), nullptr);
}

TEST_F(MessageLoop, CloseBoxGoesThroughWmCloseAndEndsTheLoop) {
    EXPECT_EQ(RunWinMain([] { MainWidget()->close(); }), 0);
    EXPECT_EQ(MainWidget(), nullptr);
}

} // namespace
