// The programs' own options, run as a user runs them: --version and --help.
#include "support/run_program.h"
#include "support/temp_files.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

class ToolCommandLine : public ::testing::Test {
  protected:
    ProgramRun run(const std::string& arguments) const {
        return RunProgram(dir.path(), KELVORN_TOOL_PATH, arguments);
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
        EXPECT_TRUE(result.out.starts_with("usage: kelvorn [FILE]\n")) << result.out;
        for (const char* said : {"Page Up, Page Down", "F12", "read meshfile", "wheel", "double-click", "drop a file"})
            EXPECT_NE(result.out.find(said), std::string::npos) << option << " does not mention " << said;
        std::istringstream lines(result.out);
        for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 80u) << line;
    }
}

TEST(ViewerCommandLine, HelpWithAnotherArgumentIsAFileName) {
    TempDir dir;
    const ProgramRun result = RunProgram(dir.path(), KELVORN_VIEWER_PATH, "--help part.dxf",
                                         "unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM;");
    EXPECT_EQ(result.status, 1); // on to the window, which has no display here
    EXPECT_EQ(result.out, "");
    EXPECT_TRUE(result.err.starts_with("kelvorn: no display")) << result.err;
}
#endif

} // namespace
