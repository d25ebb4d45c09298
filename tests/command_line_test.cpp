// The programs' own options, run as a user runs them: --version and --help.
#include "support/run_program.h"
#include "support/temp_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace {

class ToolCommandLine : public ::testing::Test {
  protected:
    ProgramRun run(const std::string& arguments, const std::string& setup = "") const {
        return RunProgram(dir.path(), KELVORN_TOOL_PATH, arguments, setup);
    }

    // The subcommand names as "kelvorn-tool --help" lists them.
    std::vector<std::string> listedCommands() const {
        std::istringstream help(run("--help").out);
        std::vector<std::string> names;
        bool in_list = false;
        for (std::string line; std::getline(help, line);) {
            if (in_list && line.starts_with("  ")) names.push_back(line.substr(2, line.find(' ', 2) - 2));
            in_list = in_list || line == "commands:";
        }
        return names;
    }

    TempDir dir;
};

TEST_F(ToolCommandLine, VersionIsTheProjectVersion) {
    const ProgramRun result = run("--version");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "kelvorn-tool " KELVORN_PROJECT_VERSION "\n");
    EXPECT_EQ(result.err, "");
}

TEST_F(ToolCommandLine, EveryCommandPrintsItsUsageOnStdoutAndExitsZero) {
    const auto commands = listedCommands();
    ASSERT_GE(commands.size(), 3u) << run("--help").out;
    for (const std::string& command : commands)
        for (const char* option : {"--help", "-h"}) {
            const ProgramRun result = run(command + " " + option);
            EXPECT_EQ(result.status, 0) << command << " " << option;
            EXPECT_TRUE(result.out.starts_with("usage: kelvorn-tool " + command + " "))
                << command << " " << option << " said: " << result.out;
            EXPECT_EQ(result.err, "") << command << " " << option;
        }
}

TEST_F(ToolCommandLine, HelpWinsOverAFileArgument) {
    const ProgramRun result = run("info missing.dxf --help");
    EXPECT_EQ(result.status, 0);
    EXPECT_TRUE(result.out.starts_with("usage: kelvorn-tool info FILE [--flatten] [--strict]\n")) << result.out;
}

TEST_F(ToolCommandLine, EveryHelpFitsInEightyColumns) {
    std::vector<std::string> helps = {"--help"};
    for (const std::string& command : listedCommands())
        helps.push_back(command + " --help");
    for (const std::string& help : helps) {
        std::istringstream text(run(help).out);
        for (std::string line; std::getline(text, line);)
            EXPECT_LE(line.size(), 80u) << help << ": " << line;
    }
}

TEST_F(ToolCommandLine, EveryCommandTakesOptionValuesAfterAnEqualsSign) {
    ASSERT_EQ(run("gen block --min=0,0,0 --output=box.dxf").status, 0);
    const ProgramRun render = run("render box.dxf --size=30x20 --keys=pgdn,home -o box.svg");
    EXPECT_EQ(render.status, 0) << render.err;
    EXPECT_EQ(run("segments 30 20 box.dxf --keys pgdn,home").out,
              run("segments 30 20 box.dxf --keys=pgdn,home").out);
    EXPECT_EQ(run("render box.dxf --size=30 -o box.svg").status, 2);
    EXPECT_EQ(run("render box.dxf --size= -o box.svg").status, 2);
}

TEST_F(ToolCommandLine, UnknownOptionOrMissingValueIsOneLineNamingIt) {
    for (const std::string& command : listedCommands()) {
        const ProgramRun unknown = run(command + " --bogus");
        EXPECT_EQ(unknown.status, 2) << command;
        EXPECT_EQ(unknown.err, "kelvorn-tool " + command + ": unknown option '--bogus' (see kelvorn-tool " +
                                   command + " --help)\n");
    }
    const ProgramRun missing = run("segments 1 1 box.dxf --keys");
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "kelvorn-tool segments: --keys needs a value\n");
}

TEST_F(ToolCommandLine, EveryCommandThatWritesAFileTakesDashOAndOutput) {
    ASSERT_EQ(run("gen block -o box.dxf").status, 0);
    for (const std::string& command : {std::string("gen block"), std::string("render box.dxf --size 30x20"),
                                       std::string("flatten box.dxf")}) {
        const std::string extension = command.starts_with("render") ? ".svg" : ".dxf";
        const ProgramRun shortName = run(command + " -o short" + extension);
        const ProgramRun longName = run(command + " --output long" + extension);
        const ProgramRun equals = run(command + " --output=equals" + extension);
        EXPECT_EQ(shortName.status, 0) << command << ": " << shortName.err;
        EXPECT_EQ(longName.status, 0) << command << ": " << longName.err;
        EXPECT_EQ(equals.status, 0) << command << ": " << equals.err;
        const std::string written = ReadWholeFile(dir.path() / ("short" + extension));
        EXPECT_FALSE(written.empty()) << command;
        EXPECT_EQ(ReadWholeFile(dir.path() / ("long" + extension)), written) << command;
        EXPECT_EQ(ReadWholeFile(dir.path() / ("equals" + extension)), written) << command;
    }
}

TEST_F(ToolCommandLine, FailedPictureWriteSaysWhyInTheToolsWordsAndLeavesNoFile) {
    ASSERT_EQ(run("gen sphere --segments 40 -o ball.dxf").status, 0);
    for (const char* picture : {"x.png", "x.svg", "x.bmp"}) {
        const ProgramRun missing = run(std::string("render ball.dxf -o no/such/dir/") + picture);
        EXPECT_EQ(missing.status, 1);
        EXPECT_EQ(missing.err, std::string("kelvorn-tool: cannot write no/such/dir/") + picture +
                                   ": No such file or directory\n");
        // A 1 KiB file size limit, its signal ignored: the write fails with EFBIG.
        dir.write(picture, "the previous picture");
        const ProgramRun tooLarge =
            run(std::string("render ball.dxf --size 400x300 -o ") + picture, "trap '' XFSZ; ulimit -f 1;");
        EXPECT_EQ(tooLarge.status, 1);
        EXPECT_EQ(tooLarge.err, std::string("kelvorn-tool: cannot write ") + picture + ": File too large\n");
        EXPECT_EQ(ReadWholeFile(dir.path() / picture), "the previous picture");
    }
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"ball.dxf", "x.bmp", "x.png", "x.svg"})); // no scratch left
}

TEST_F(ToolCommandLine, FacesTakesFlattenAsInfoDoes) {
    dir.write("block.dxf", "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nB\n70\n0\n10\n0\n20\n0\n30\n0\n"
                           "0\n3DFACE\n8\n0\n10\n0\n20\n0\n30\n0\n11\n1\n21\n0\n31\n0\n12\n1\n22\n1\n32\n0\n"
                           "13\n0\n23\n1\n33\n0\n0\nENDBLK\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n0\nINSERT\n8\n0\n"
                           "2\nB\n10\n5\n20\n0\n30\n0\n0\nENDSEC\n0\nEOF\n");
    // The viewer's reader takes the face where the block defines it; flattened,
    // it is where the INSERT puts it.
    EXPECT_EQ(run("faces block.dxf").out, "nf 1\n0 0 0 1 0 0 1 1 0 0 1 0\n");
    const ProgramRun flattened = run("faces block.dxf --flatten");
    EXPECT_EQ(flattened.status, 0) << flattened.err;
    EXPECT_EQ(flattened.out, "nf 1\n5 0 0 6 0 0 6 1 0 5 1 0\n");
}

TEST_F(ToolCommandLine, NoCommandIsAUsageErrorOnStderr) {
    const ProgramRun result = run("");
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_TRUE(result.err.starts_with("usage: kelvorn-tool COMMAND")) << result.err;
}

#ifdef KELVORN_VIEWER_PATH
TEST(ViewerCommandLine, VersionIsAnsweredWithoutADisplay) {
    TempDir dir;
    const ProgramRun result = RunProgram(dir.path(), KELVORN_VIEWER_PATH, "--version",
                                         "unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM;");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "kelvorn " KELVORN_PROJECT_VERSION "\n");
    EXPECT_EQ(result.err, "");
}

TEST(ViewerCommandLine, HelpAndHPrintTheUsageWithoutADisplay) {
    TempDir dir;
    for (const char* option : {"--help", "-h"}) {
        const ProgramRun result =
            RunProgram(dir.path(), KELVORN_VIEWER_PATH, option, "unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM;");
        EXPECT_EQ(result.status, 0) << option;
        EXPECT_EQ(result.err, "") << option;
        EXPECT_TRUE(result.out.starts_with("usage: kelvorn [--flatten] [FILE]\n")) << result.out;
        for (const char* said : {"Page Up, Page Down", "standard views", "F12", "  F  ", "--flatten", "read meshfile", "wheel",
                                 "double-click", "drop a file"})
            EXPECT_NE(result.out.find(said), std::string::npos) << option << " does not mention " << said;
        std::istringstream lines(result.out);
        for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 80u) << line;
    }
}

TEST(ViewerCommandLine, HelpWinsOverAFileArgument) {
    TempDir dir;
    const ProgramRun result = RunProgram(dir.path(), KELVORN_VIEWER_PATH, "part.dxf --help",
                                         "unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM;");
    EXPECT_EQ(result.status, 0);
    EXPECT_TRUE(result.out.starts_with("usage: kelvorn [--flatten] [FILE]\n")) << result.out;
    EXPECT_EQ(result.err, "");
}

TEST(ViewerCommandLine, UnknownOptionIsRefusedWithTheUsageBeforeAnyWindow) {
    TempDir dir;
    for (const char* arguments : {"--bogus", "part.dxf -x", "--help-me part.dxf"}) {
        // Qt's offscreen platform: a window that opened would keep the
        // program running until `timeout` ends it (status 124).
        const ProgramRun result =
            RunProgram(dir.path(), KELVORN_VIEWER_PATH, arguments, "export QT_QPA_PLATFORM=offscreen; timeout 20");
        EXPECT_EQ(result.status, 2) << arguments;
        EXPECT_EQ(result.out, "") << arguments;
        EXPECT_TRUE(result.err.starts_with("kelvorn: unknown option '")) << result.err;
        EXPECT_NE(result.err.find("\nusage: kelvorn [--flatten] [FILE]\n"), std::string::npos) << result.err;
    }
}
#endif

} // namespace
