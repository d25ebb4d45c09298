// kelvorn-tool gen, run as a program the way a user runs it.
#include "support/read_back.h"
#include "support/run_program.h"
#include "support/temp_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using ToolRun = ProgramRun;

class GenCommand : public ::testing::Test {
protected:
    // Runs "kelvorn-tool ARGUMENTS" in the scratch directory through the
    // shell; `setup` runs first in the same shell (limits, traps).
    ToolRun run(const std::string& arguments, const std::string& setup = "") const {
        return RunProgram(dir.path(), KELVORN_TOOL_PATH, arguments, setup);
    }

    std::vector<std::string> filesInDir() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            names.push_back(entry.path().filename().string());
        return names;
    }

    TempDir dir;
};

// The gen commands listed in samples/README.md, as words.
std::vector<std::vector<std::string>> SampleCommands() {
    std::ifstream readme(KELVORN_SAMPLES_DIR "/README.md");
    std::vector<std::vector<std::string>> commands;
    for (std::string line; std::getline(readme, line);) {
        if (!line.starts_with("kelvorn-tool gen ")) continue;
        std::istringstream words(line);
        commands.emplace_back();
        for (std::string word; words >> word;) commands.back().push_back(word);
    }
    return commands;
}

// The sample scripts/run.sh opens when given no file.
std::filesystem::path DefaultSample() {
    std::ifstream script(KELVORN_SAMPLES_DIR "/../scripts/run.sh");
    const std::string marker = "mesh=\"${1:-samples/";
    for (std::string line; std::getline(script, line);)
        if (const auto at = line.find(marker); at != std::string::npos) {
            const std::string name = line.substr(at + marker.size(), line.find("}\"", at) - at - marker.size());
            return std::filesystem::path(KELVORN_SAMPLES_DIR) / name;
        }
    return {};
}

// Twice the area of the face's outline projected onto the x-y plane.
double ProjectedArea(const Face& f) {
    const xyz p[4] = {f.A, f.B, f.C, f.D};
    double sum = 0;
    for (int i = 0; i < 4; ++i) sum += p[i].x * p[(i + 1) % 4].y - p[(i + 1) % 4].x * p[i].y;
    return std::abs(sum);
}

// Seen from above, a box shows its top alone: its sides are edge-on lines.
// The first sample a user sees shows nearly every face with an area.
TEST_F(GenCommand, DefaultSampleShowsItsSidesInTheTopDownView) {
    const std::filesystem::path sample = DefaultSample();
    ASSERT_TRUE(std::filesystem::is_regular_file(sample)) << "scripts/run.sh opens " << sample;
    const std::vector<Face> faces = ReadFacesBack(sample);
    ASSERT_GE(faces.size(), 24u);
    std::size_t seen = 0;
    for (const Face& face : faces) seen += ProjectedArea(face) > 1e-4;
    EXPECT_GE(seen * 10, faces.size() * 9) << seen << " of " << faces.size() << " faces show an area from above";
}

TEST_F(GenCommand, HelpNamesEverySolidAndExitsZero) {
    const ToolRun result = run("gen --help");
    EXPECT_EQ(result.status, 0);
    for (const char* solid : {"block", "sphere", "cone", "cylinder", "--segments", "--radius1", "--along"})
        EXPECT_NE(result.out.find(solid), std::string::npos) << solid;
}

TEST_F(GenCommand, SamplesAreRemadeByteForByte) {
    const auto commands = SampleCommands();
    ASSERT_EQ(commands.size(), 5u) << "samples/README.md lists one gen command per sample";
    for (const auto& words : commands) {
        std::string arguments, sample;
        for (std::size_t i = 1; i < words.size(); ++i) {
            const bool is_output = words[i - 1] == "-o";
            if (is_output) sample = std::filesystem::path(words[i]).filename().string();
            arguments += " " + (is_output ? sample : words[i]);
        }
        ASSERT_FALSE(sample.empty()) << arguments;
        const ToolRun result = run(arguments);
        ASSERT_EQ(result.status, 0) << arguments << "\n" << result.err;
        const std::string committed = ReadWholeFile(std::filesystem::path(KELVORN_SAMPLES_DIR) / sample);
        ASSERT_FALSE(committed.empty()) << sample;
        EXPECT_TRUE(ReadWholeFile(dir.path() / sample) == committed)
            << sample << " is not what its command makes:" << arguments;
    }
}

TEST_F(GenCommand, DefaultsMakeTheDocumentedSolids) {
    const std::pair<const char*, std::size_t> solids[] = {
        {"block", 6}, {"sphere", 16 * 8}, {"cone", 16 * 2}, {"cylinder", 16 * 3}};
    for (const auto& [solid, faces] : solids) {
        ASSERT_EQ(run(std::string("gen ") + solid + " -o out.dxf").status, 0) << solid;
        EXPECT_EQ(ReadFacesBack(dir.path() / "out.dxf").size(), faces) << solid;
    }
}

TEST_F(GenCommand, OptionsTakeEqualsFormAndNegativeValues) {
    ASSERT_EQ(run("gen block --min=-2,-2,-2 --max 0,0,0 --output out.dxf").status, 0);
    const auto faces = ReadFacesBack(dir.path() / "out.dxf");
    ASSERT_EQ(faces.size(), 6u);
    EXPECT_EQ(faces[0].A.x, -2.0);
}

TEST_F(GenCommand, BadOptionsExitTwoWithAClearMessage) {
    const std::pair<const char*, const char*> cases[] = {
        {"gen", "which solid?"},
        {"gen torus -o out.dxf", "unknown solid 'torus'"},
        {"gen sphere", "missing -o OUT"},
        {"gen sphere --radius abc -o out.dxf", "--radius: 'abc' is not a number"},
        {"gen sphere --radius", "--radius needs a value"},
        {"gen sphere --segments 2.5 -o out.dxf", "--segments: '2.5' is not a whole number"},
        {"gen sphere --segments 2 -o out.dxf", "--segments: '2' is not a whole number from 3 to 65535"},
        {"gen sphere --segments 65536 -o out.dxf", "--segments: '65536' is not a whole number from 3 to 65535"},
        {"gen cone --around 715827883 -o out.dxf", "--around: '715827883' is not a whole number from 3 to 715827882"},
        {"gen cylinder --around 100000 --along 100000 -o out.dxf",
         "cylinder: too many segments: around x (along + 2) must be at most 2147483647"},
        {"gen sphere --radius -1 -o out.dxf", "sphere: radius must be finite and above 0"},
        {"gen sphere --radius=nan -o out.dxf", "sphere: radius must be finite and above 0"},
        {"gen block --min 1,2 -o out.dxf", "--min: '1,2' is not X,Y,Z"},
        {"gen block --min 1,1,1 --max 1,2,2 -o out.dxf", "block: corners must differ in x, y and z"},
        {"gen cone --radius 1 -o out.dxf", "option '--radius' does not apply to cone"},
        {"gen cone --radius1 0 --radius2 0 -o out.dxf", "cone: at least one radius must be above 0"},
        {"gen cylinder --to 0,0,0 -o out.dxf", "cylinder: the two end points must differ"},
        {"gen cylinder --along 0 -o out.dxf", "--along: '0' is not a whole number from 1 to 715827880"},
        {"gen block --bogus 1 -o out.dxf", "unknown option '--bogus'"},
    };
    for (const auto& [arguments, message] : cases) {
        const ToolRun result = run(arguments);
        EXPECT_EQ(result.status, 2) << arguments;
        EXPECT_NE(result.err.find(message), std::string::npos) << arguments << " said: " << result.err;
        EXPECT_TRUE(filesInDir().empty()) << arguments;
    }
}

TEST_F(GenCommand, MissingDirectoryExitsOneNamingTheFileAndReason) {
    const ToolRun result = run("gen sphere -o missing/out.dxf");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "kelvorn-tool: cannot write missing/out.dxf: No such file or directory\n");
}

TEST_F(GenCommand, FailedWriteKeepsTheExistingFileAndLeavesNoScratch) {
    dir.write("out.dxf", "the previous mesh");
    // A 1 KiB file size limit, its signal ignored, makes the write fail with EFBIG.
    const ToolRun result = run("gen sphere --segments 64 -o out.dxf", "trap '' XFSZ; ulimit -f 1;");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "kelvorn-tool: cannot write out.dxf: File too large\n");
    EXPECT_EQ(ReadWholeFile(dir.path() / "out.dxf"), "the previous mesh");
    EXPECT_EQ(filesInDir(), std::vector<std::string>{"out.dxf"});
}

TEST_F(GenCommand, SuccessReplacesTheExistingFileAndLeavesNoScratch) {
    dir.write("out.dxf", "the previous mesh");
    ASSERT_EQ(run("gen block -o out.dxf").status, 0);
    EXPECT_EQ(ReadFacesBack(dir.path() / "out.dxf").size(), 6u);
    EXPECT_EQ(filesInDir(), std::vector<std::string>{"out.dxf"});
}

} // namespace
