// The keys 1 to 4 through the real window layer, the command line's file
// argument and the folder the open dialog starts in.
#include "app/program_options.h"
#include "kelvorn.h"
#include "shell_fixture.h"

#include <QAction>
#include <QDir>
#include <QTest>
#include <QUrl>

#include <filesystem>
#include <string>
#include <vector>

namespace {

// An upright triangle in the x–z plane, a flat one in x–y beside it and a
// thin rod along y: no two standard views look alike.
std::string LopsidedDxf() {
    std::string text = "0\nSECTION\n2\nENTITIES\n";
    const auto face = [&](const std::vector<double>& corners) {
        text += "0\n3DFACE\n8\n0\n";
        for (int corner = 0; corner < 4; ++corner)
            for (int axis = 0; axis < 3; ++axis)
                text += std::to_string(10 * (axis + 1) + corner) + "\n" +
                        std::to_string(corners[3 * corner + axis]) + "\n";
    };
    face({0, 0, 0, 10, 0, 0, 0, 0, 10, 0, 0, 10});
    face({12, 0, 0, 20, 0, 0, 12, 5, 0, 12, 5, 0});
    face({0, 0, 0, 0, 30, 0, 0, 30, 1, 0, 0, 1});
    return text + "0\nENDSEC\n0\nEOF\n";
}

using StandardViewKeys = ShellTest;

TEST_F(StandardViewKeys, DigitsOfTheMainRowAndTheKeypadShowWhatRenderKeysShows) {
    const std::string path = dir.write("lopsided.dxf", LopsidedDxf());
    Start({"kelvorn", path});
    Pump();
    const char* const names[] = {"top", "front", "right", "iso"};
    const Qt::Key digits[] = {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4};
    std::string steps;
    for (int n = 3; n >= 0; --n)
        for (const Qt::KeyboardModifiers modifiers : {Qt::NoModifier, Qt::KeypadModifier}) {
            Click(Qt::Key_PageDown);
            Click(Qt::Key_Home);
            Click(digits[n], modifiers);
            Pump();
            steps += std::string(steps.empty() ? "" : ",") + "pgdn,home," + names[n];
            EXPECT_TRUE(ShowsSteps(path, steps)) << steps;
            const UINT code = (modifiers == Qt::KeypadModifier ? 0x61 : 0x31) + n;
            EXPECT_EQ(Seen(WM_KEYDOWN).back().wParam, code);
        }
    // Every view differs from the others, and each is the one straight after a load.
    EXPECT_FALSE(ShowsSteps(path, "front"));
    EXPECT_TRUE(ShowsSteps(path, "top"));
}

TEST_F(StandardViewKeys, TurnsAndResetsAfterAViewWorkAsBefore) {
    const std::string path = dir.write("lopsided.dxf", LopsidedDxf());
    Start({"kelvorn", path});
    Pump();
    Click(Qt::Key_3);
    Click(Qt::Key_Delete);
    Pump();
    EXPECT_TRUE(ShowsSteps(path, "right,del"));
    Click(Qt::Key_F12);
    Pump();
    EXPECT_TRUE(ShowsSteps(path, ""));
    Click(Qt::Key_2); // the orientation starts again at the reload
    Pump();
    EXPECT_TRUE(ShowsSteps(path, "front"));
}

TEST_F(StandardViewKeys, DigitsBeyondFourAndWithoutAModelChangeNothing) {
    Start({"kelvorn"});
    Click(Qt::Key_2);
    Pump();
    EXPECT_EQ(nf, 0);
    const std::string path = dir.write("lopsided.dxf", LopsidedDxf());
    choose = QString::fromStdString(path);
    MenuAction("&read meshfile")->trigger();
    Pump();
    const std::size_t paints = Seen(WM_PAINT).size();
    Click(Qt::Key_5);
    Click(Qt::Key_0, Qt::KeypadModifier);
    Pump();
    EXPECT_EQ(Seen(WM_PAINT).size(), paints);
    EXPECT_TRUE(ShowsSteps(path, ""));
}

using CommandLineFile = ShellTest;

TEST_F(CommandLineFile, AfterTwoDashesANameStartingWithADashIsRead) {
    const std::string path = dir.write("-odd-name.dxf", RectangleDxf(3, 1));
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    Start({"kelvorn", "--", "-odd-name.dxf", "second.dxf"});
    Pump();
    std::filesystem::current_path(before);
    EXPECT_STREQ(file, "-odd-name.dxf");
    EXPECT_EQ(nf, 1);
}

TEST(ProgramArguments, TheFirstFileNameIsTheFileOptionsAside) {
    const auto read = [](std::vector<std::string> words) {
        std::vector<char*> argv;
        for (std::string& word : words)
            argv.push_back(word.data());
        ProgramArguments arguments = ReadProgramArguments(static_cast<int>(argv.size()), argv.data());
        return std::make_pair(std::string(arguments.file ? arguments.file : "(none)"), arguments);
    };
    EXPECT_EQ(read({"kelvorn", "a.dxf", "b.dxf"}).first, "a.dxf");
    EXPECT_EQ(read({"kelvorn", "-"}).first, "-"); // a file name, as for the tool
    EXPECT_EQ(read({"kelvorn", "--", "--help", "x"}).first, "--help");
    EXPECT_TRUE(read({"kelvorn", "--", "--help"}).second.answer.empty());
    EXPECT_EQ(read({"kelvorn", "a.dxf", "--", "-b"}).first, "a.dxf");
    EXPECT_EQ(read({"kelvorn"}).first, "(none)");

    const ProgramArguments refused = read({"kelvorn", "a.dxf", "-x", "--bogus"}).second;
    EXPECT_TRUE(refused.refused);
    EXPECT_TRUE(refused.answer.starts_with("kelvorn: unknown option '-x'")) << refused.answer;
    EXPECT_NE(refused.answer.find("\nusage: kelvorn [--flatten] [FILE]\n"), std::string::npos);
    // Help wins over everything, the version over an unknown option.
    EXPECT_TRUE(
        read({"kelvorn", "--bogus", "a.dxf", "-h"}).second.answer.starts_with("usage: kelvorn [--flatten] [FILE]\n"));
    EXPECT_FALSE(read({"kelvorn", "--bogus", "--help"}).second.refused);
    EXPECT_TRUE(read({"kelvorn", "--bogus", "--version"}).second.answer.starts_with("kelvorn "));
    EXPECT_TRUE(read({"kelvorn", "--version=1"}).second.refused);
}

using OpenDialogFolder = ShellTest;

TEST_F(OpenDialogFolder, StartsInTheFolderOfTheFileShown) {
    std::filesystem::create_directories(dir.path() / "named" / "inner");
    const std::string named = dir.write("named/inner/part.dxf", RectangleDxf(3, 1));
    std::filesystem::create_directories(dir.path() / "dropped");
    const std::string dropped = dir.write("dropped/part.dxf", RectangleDxf(2, 1));
    Start({"kelvorn", named});
    Pump();
    MenuAction("&read meshfile")->trigger(); // cancelled
    Pump();
    DropFiles({QUrl::fromLocalFile(QString::fromStdString(dropped))});
    Pump();
    MenuAction("&read meshfile")->trigger();
    Pump();
    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(dialogs[0].folder, QString::fromStdString((dir.path() / "named" / "inner").string()));
    EXPECT_EQ(dialogs[1].folder, QString::fromStdString((dir.path() / "dropped").string()));
}

TEST_F(OpenDialogFolder, AFileThatCannotBeReadLeavesTheFolderOfTheOneShown) {
    std::filesystem::create_directories(dir.path() / "shown");
    const std::string shown = dir.write("shown/part.dxf", RectangleDxf(3, 1));
    Start({"kelvorn", (dir.path() / "elsewhere" / "missing.dxf").string()});
    Pump();
    MenuAction("&read meshfile")->trigger();
    Pump();
    DropFiles({QUrl::fromLocalFile(QString::fromStdString(shown))});
    DropFiles({QUrl::fromLocalFile(QString::fromStdString((dir.path() / "missing.dxf").string()))});
    Pump();
    MenuAction("&read meshfile")->trigger();
    Pump();
    const auto folders = [&] {
        QStringList seen;
        for (const auto& dialog : dialogs)
            if (!dialog.folder.isEmpty()) seen << dialog.folder;
        return seen;
    }();
    ASSERT_EQ(folders.size(), 2);
    EXPECT_EQ(folders[0], QDir::currentPath()); // nothing shown yet
    EXPECT_EQ(folders[1], QString::fromStdString((dir.path() / "shown").string()));
}

} // namespace
