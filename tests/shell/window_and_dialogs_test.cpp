// The Qt layer where it stands in for what Windows does by itself: the place
// of a window made with CW_USEDEFAULT, the vector state Qt leaves, the folder
// and size of the file dialog, long words in message boxes and the busy cursor
// of a load.
#include "kelvorn.h"
#include "shell_fixture.h"

#include <QAction>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

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
    EXPECT_FALSE(AllWhite(ClientImage()));
}

using VectorState = ShellTest;

TEST_F(VectorState, QtLeavesNoUpperVectorStateToTheShell) {
    // Left in use after Qt's paint of a full-HD client image, it makes every
    // SSE instruction of the turn, the reader and the paint that follow
    // slower on some processors.
    if (!CanTellUpperVectorState()) GTEST_SKIP() << "the processor cannot tell";
    Start({"kelvorn", SamplePath("cube.dxf")});
    Pump();
    Widget()->showNormal();
    Widget()->resize(1920, 1200);
    Pump();
    for (int count = 0; count < 3; ++count) {
        Click(Qt::Key_PageDown);
        Pump();
        Click(Qt::Key_F12); // a read, after the banner's paint
        Pump();
    }
    ASSERT_EQ(ClientArea().right, 1920);
    // WM_CREATE waits for the window to be shown, and Qt may paint it
    // meanwhile; the first paint follows at once and ends with the layer's
    // paint, before any turn or read.
    for (const SeenMessage& seen : messages)
        EXPECT_FALSE(seen.message != WM_CREATE && seen.upperVectorStateAfter) << "message " << seen.message;
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

TEST_F(FileDialog, ListsTheDxfFilesInEveryCaseAndNothingElse) {
    for (const char* name : {"lower.dxf", "UPPER.DXF", "Mixed.Dxf", "notes.txt", "lower.dxf.bak", "dxf"})
        dir.write(name, RectangleDxf(1, 1));
    Start({"kelvorn", dir.path().string() + "/lower.dxf"}); // the dialog opens in its folder
    Pump();
    listFiles = 3;
    MenuAction("&read meshfile")->trigger();
    Pump();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].folder, QString::fromStdString(dir.path().string()));
    EXPECT_EQ(dialogs[0].listed, (QStringList{"Mixed.Dxf", "UPPER.DXF", "lower.dxf"}));
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

// The box's text as its label gets it: places to break after each separator
// of a long word and after every 40 characters that hold none.
TEST_F(MessageBoxes, LongWordsBreakAfterSeparatorsOrEveryFortyCharacters) {
    const std::string path = dir.path().string() + "/" + std::string(50, 'a') + "/b.dxf";
    Start({"kelvorn"});
    std::strcpy(file, path.c_str());
    Click(Qt::Key_F12);
    Pump();
    ASSERT_EQ(dialogs.size(), 1u);
    QString expected = "Cannot read \"" + QString::fromStdString(dir.path().string()).replace("/", "/\u200B");
    expected += "/\u200B" + QString(40, 'a') + "\u200B" + QString(10, 'a') + "/\u200Bb.dxf\":";
    EXPECT_TRUE(dialogs[0].textWithBreaks.startsWith(expected)) << dialogs[0].textWithBreaks.toStdString();
    EXPECT_EQ(dialogs[0].text.toStdString(), "Cannot read \"" + path + "\": No such file or directory.");
}

TEST_F(MessageBoxes, ShortWordsAndWhiteSpaceStayAsTheyAre) {
    Start({"kelvorn"});
    MenuAction("&help")->trigger();
    Pump();
    std::strcpy(file, "/usr/x.dxf");
    Click(Qt::Key_F12);
    Pump();
    ASSERT_EQ(dialogs.size(), 2u);
    for (const SeenDialog& box : dialogs) EXPECT_EQ(box.textWithBreaks, box.text);
    EXPECT_TRUE(dialogs[0].text.contains("PAGEUP/PAGEDOWN rotate"));
    EXPECT_TRUE(dialogs[1].text.startsWith("Cannot read \"/usr/x.dxf\": "));
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
