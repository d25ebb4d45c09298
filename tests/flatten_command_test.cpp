// kelvorn-tool flatten and --flatten, run as a program the way a user runs it.
#include "support/dxf_pairs.h"
#include "support/read_back.h"
#include "support/run_program.h"
#include "support/temp_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

class FlattenCommand : public ::testing::Test {
protected:
    ProgramRun run(const std::string& arguments) const { return RunProgram(dir.path(), KELVORN_TOOL_PATH, arguments); }
    std::string write(const char* name, const std::string& bytes) const { return dir.write(name, bytes); }
    std::string read(const char* name) const { return ReadWholeFile(dir.path() / name); }
    std::size_t fileCount() const {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir.path()), {}));
    }

    TempDir dir;
};

// A block of one triangle, placed twice by a 2-column MINSERT 0.25 apart,
// beside a model-space 3DFACE, a LINE and a 3DSOLID.
const std::string kDrawing = "0 SECTION\n2 BLOCKS\n0 BLOCK\n2 T\n10 0\n20 0\n30 0\n"
                             "0 3DFACE\n11 1\n12 0.5\n22 0.1\n13 0.5\n23 0.1\n0 ENDBLK\n0 ENDSEC\n"
                             "0 SECTION\n2 ENTITIES\n0 3DFACE\n10 -0.5\n21 2\n32 1e-7\n"
                             "0 INSERT\n2 T\n10 10\n70 2\n44 0.25\n0 LINE\n0 3DSOLID\n0 ENDSEC\n0 EOF\n";

std::string FaceText(const char* values) {
    const char* codes[] = {"10", "20", "30", "11", "21", "31", "12", "22", "32", "13", "23", "33"};
    std::string text = "0\r\n3DFACE\r\n8\r\n0\r\n";
    const char* value = values;
    for (const char* code : codes) {
        const char* end = std::strchr(value, ' ');
        const std::string number = end ? std::string(value, end) : std::string(value);
        text += std::string(code) + "\r\n" + number + "\r\n";
        value = end ? end + 1 : value + std::strlen(value);
    }
    return text;
}

TEST_F(FlattenCommand, WritesPlainFacesWithExactCoordinatesAndReportsTheSources) {
    write("in.dxf", DxfText(kDrawing));
    const ProgramRun result = run("flatten in.dxf -o out.dxf");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "kelvorn-tool flatten: in.dxf: 3 faces (3DFACE 1, INSERT 2)\n"
                          "kelvorn-tool flatten: in.dxf: not turned into faces: 3DSOLID 1, LINE 1\n");
    EXPECT_EQ(read("out.dxf"), "0\r\nSECTION\r\n2\r\nENTITIES\r\n" + FaceText("-0.5 0 0 0 2 0 0 0 1e-07 0 0 0") +
                                   FaceText("10 0 0 11 0 0 10.5 0.1 0 10.5 0.1 0") +
                                   FaceText("10.25 0 0 11.25 0 0 10.75 0.1 0 10.75 0.1 0") +
                                   "0\r\nENDSEC\r\n0\r\nEOF\r\n");
}

TEST_F(FlattenCommand, BinaryFileGivesTheSameBytesAsItsText) {
    write("text.dxf", DxfText(kDrawing));
    write("binary.dxf", DxfBinary(kDrawing));
    ASSERT_EQ(run("flatten text.dxf -o a.dxf").status, 0);
    ASSERT_EQ(run("flatten binary.dxf -o b.dxf").status, 0);
    EXPECT_EQ(read("a.dxf"), read("b.dxf"));
}

TEST_F(FlattenCommand, RoundTripThroughTheReaderKeepsEveryBit) {
    std::mt19937_64 random(1616);
    std::uniform_real_distribution<double> any(-1e6, 1e6);
    std::string text = "0\nSECTION\n2\nENTITIES\n";
    for (int face = 0; face < 500; ++face) {
        text += "0\n3DFACE\n8\n0\n";
        for (const char* code : {"10", "20", "30", "11", "21", "31", "12", "22", "32", "13", "23", "33"}) {
            char value[40];
            const double v = face % 2 ? any(random) : std::ldexp(any(random), -int(random() % 900));
            std::snprintf(value, sizeof value, "%.17g", v);
            text += std::string(code) + "\n" + value + "\n";
        }
    }
    write("in.dxf", text + "0\nENDSEC\n0\nEOF\n");
    ASSERT_EQ(run("flatten in.dxf -o out.dxf").status, 0);
    const std::vector<Face> in = ReadFacesBack(dir.path() / "in.dxf"), out = ReadFacesBack(dir.path() / "out.dxf");
    ASSERT_EQ(out.size(), 500u);
    ASSERT_EQ(in.size(), out.size());
    EXPECT_EQ(std::memcmp(in.data(), out.data(), in.size() * sizeof(Face)), 0);
    EXPECT_LT(read("out.dxf").size(), read("in.dxf").size() * 2) << "the shortest texts, CR LF aside";
}

TEST_F(FlattenCommand, RefusedInputLeavesTheOutputAsItWas) {
    write("out.dxf", "old");
    write("cut.dxf", DxfText(kDrawing).substr(0, 200));
    write("huge.dxf", DxfText("0 SECTION\n2 BLOCKS\n0 BLOCK\n2 B\n0 3DFACE\n10 1e300\n0 ENDBLK\n0 ENDSEC\n"
                              "0 SECTION\n2 ENTITIES\n0 INSERT\n2 B\n41 1e300\n0 ENDSEC\n0 EOF\n"));
    write("loop.dxf", DxfText("0 SECTION\n2 BLOCKS\n0 BLOCK\n2 L\n0 INSERT\n2 L\n0 ENDBLK\n0 ENDSEC\n"
                              "0 SECTION\n2 ENTITIES\n0 INSERT\n2 L\n0 ENDSEC\n0 EOF\n"));
    const struct {
        const char* input;
        const char* message;
    } cases[] = {
        {"cut.dxf", "kelvorn-tool: cannot flatten cut.dxf: the file ends before its EOF marker (0 / EOF): it "
                    "is cut short\n"},
        {"loop.dxf --strict", "kelvorn-tool: cannot flatten loop.dxf: block 'L' inserts itself (L -> L)\n"},
        {"huge.dxf", "kelvorn-tool: cannot flatten huge.dxf: placing a block takes a coordinate beyond the "
                     "range of numbers\n"},
        {"missing.dxf", "kelvorn-tool: cannot flatten missing.dxf: No such file or directory\n"},
        {".", "kelvorn-tool: cannot flatten .: Is a directory\n"},
    };
    for (const auto& c : cases) {
        const ProgramRun result = run(std::string("flatten ") + c.input + " -o out.dxf");
        EXPECT_EQ(result.status, 1) << c.input;
        EXPECT_EQ(result.err, c.message);
        EXPECT_EQ(read("out.dxf"), "old");
    }
    EXPECT_EQ(fileCount(), 4u) << "no scratch file is left behind";
    EXPECT_EQ(run("flatten cut.dxf").status, 2) << "-o is required";
}

TEST_F(FlattenCommand, FailedWriteLeavesNoFile) {
    write("in.dxf", DxfText(kDrawing));
    const ProgramRun result = run("flatten in.dxf -o no/such/dir/out.dxf");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "kelvorn-tool: cannot write no/such/dir/out.dxf: No such file or directory\n");
}

TEST_F(FlattenCommand, FlattenOptionShowsWhatTheFlattenedFileShows) {
    write("in.dxf", DxfText(kDrawing));
    ASSERT_EQ(run("flatten in.dxf -o out.dxf").status, 0);
    EXPECT_EQ(run("segments 300 200 in.dxf --flatten --keys pgdn").out, run("segments 300 200 out.dxf --keys pgdn").out);
    const ProgramRun info = run("info --flatten in.dxf");
    EXPECT_EQ(info.status, 0);
    EXPECT_EQ(info.out, "file   in.dxf\nfaces  3\nx      -0.5 .. 11.25\ny      0 .. 2\nz      0 .. 1e-07\n");
    EXPECT_EQ(info.err, "");
    // Without the option the viewer's reading stands: the block's face where the block holds it.
    EXPECT_EQ(run("info in.dxf").out, "file   in.dxf\nfaces  2\nx      -0.5 .. 1\ny      0 .. 2\nz      0 .. 1e-07\n");
    EXPECT_EQ(run("render in.dxf --flatten -o cut.png").status, 0);
    write("cut.dxf", "0\nSECTION\n");
    const ProgramRun refused = run("render cut.dxf --flatten -o cut.png");
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "kelvorn-tool: cannot flatten cut.dxf: the file ends before its EOF marker (0 / EOF): it is cut short\n");
}

// Seven INSERTs with scale 0 and one of a missing block before a 3DFACE:
// the INSERTs stand at lines 25, 31 ... 61, the missing block's at 67.
std::string FaultyDrawing() {
    std::string pairs = "0 SECTION\n2 BLOCKS\n0 BLOCK\n2 B\n0 3DFACE\n11 1\n12 1\n22 1\n0 ENDBLK\n0 ENDSEC\n"
                        "0 SECTION\n2 ENTITIES\n";
    for (int i = 0; i < 7; ++i)
        pairs += "0 INSERT\n2 B\n41 0\n";
    return DxfText(pairs + "0 INSERT\n2 NOPE\n0 3DFACE\n10 3\n11 4\n12 4\n22 1\n0 ENDSEC\n0 EOF\n");
}

std::string ScaleZeroAt(int line) {
    return "line " + std::to_string(line) +
           ": INSERT of block 'B': scale 0 along x (group code 41) flattens the block to nothing";
}

TEST_F(FlattenCommand, WhatCannotBeDrawnIsLeftOutAndReportedFirstInFullThenByKind) {
    write("in.dxf", FaultyDrawing());
    const ProgramRun result = run("flatten in.dxf -o out.dxf");
    ASSERT_EQ(result.status, 0) << result.err;
    std::string expected = "kelvorn-tool flatten: in.dxf: 1 face (3DFACE 1)\n";
    for (int line = 25; line <= 49; line += 6)
        expected += "kelvorn-tool flatten: in.dxf: " + ScaleZeroAt(line) + ", left out\n";
    expected += "kelvorn-tool flatten: in.dxf: 1 more INSERT of a block the file does not define, left out\n"
                "kelvorn-tool flatten: in.dxf: 2 more INSERT with scale 0, left out\n";
    EXPECT_EQ(result.err, expected);
    EXPECT_EQ(ReadFacesBack(dir.path() / "out.dxf").size(), 1u);

    write("out.dxf", "old");
    const ProgramRun strict = run("flatten --strict in.dxf -o out.dxf");
    EXPECT_EQ(strict.status, 1);
    EXPECT_EQ(strict.err, "kelvorn-tool: cannot flatten in.dxf: " + ScaleZeroAt(25) + "\n");
    EXPECT_EQ(read("out.dxf"), "old");
}

TEST_F(FlattenCommand, StrictGoesWithFlattenOnEveryCommandThatTakesIt) {
    write("in.dxf", FaultyDrawing());
    const std::string refusal = "kelvorn-tool: cannot flatten in.dxf: " + ScaleZeroAt(25) + "\n";
    const std::string firstLeftOut = "kelvorn-tool: in.dxf: " + ScaleZeroAt(25) + ", left out\n";
    for (const std::string command : {"render in.dxf -o p.svg", "segments 40 30 in.dxf", "info in.dxf"}) {
        SCOPED_TRACE(command);
        const ProgramRun lenient = run(command + " --flatten");
        EXPECT_EQ(lenient.status, 0);
        EXPECT_EQ(lenient.err.substr(0, firstLeftOut.size()), firstLeftOut);
        EXPECT_NE(lenient.err.find("kelvorn-tool: in.dxf: 2 more INSERT with scale 0, left out\n"),
                  std::string::npos);
        const ProgramRun strict = run(command + " --flatten --strict");
        EXPECT_EQ(strict.status, 1);
        EXPECT_EQ(strict.err, refusal);
        EXPECT_EQ(strict.out, "");
    }
    EXPECT_EQ(run("info in.dxf --flatten").out,
              "file   in.dxf\nfaces  1\nx      0 .. 4\ny      0 .. 1\nz      0 .. 0\n");
}

TEST_F(FlattenCommand, OutputThatIsTheInputByAnyNameIsRefusedUntouched) {
    const std::string drawing = DxfText(kDrawing);
    write("in.dxf", drawing);
    std::filesystem::create_directory(dir.path() / "sub");
    std::filesystem::create_symlink("in.dxf", dir.path() / "link.dxf");
    std::filesystem::create_hard_link(dir.path() / "in.dxf", dir.path() / "hard.dxf");
    const std::size_t files = fileCount();
    for (const char* out : {"in.dxf", "./in.dxf", "sub/../in.dxf", "link.dxf", "hard.dxf"}) {
        SCOPED_TRACE(out);
        const ProgramRun result = run(std::string("flatten in.dxf -o ") + out);
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.err,
                  std::string("kelvorn-tool flatten: -o ") + out +
                      " is the same file as in.dxf: its drawing would be replaced by the flattened faces\n");
        EXPECT_EQ(read("in.dxf"), drawing);
        EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "link.dxf"));
        EXPECT_EQ(fileCount(), files) << "no scratch file";
    }
    // The same bytes in another file are another file.
    write("copy.dxf", drawing);
    EXPECT_EQ(run("flatten in.dxf -o copy.dxf").status, 0);
    EXPECT_EQ(run("flatten link.dxf -o in.dxf").status, 2);
    EXPECT_EQ(read("in.dxf"), drawing);
}

// info points to flatten exactly where flatten makes faces.
TEST_F(FlattenCommand, InfoOffersTheConverterOnlyWhereItMakesFaces) {
    const std::string polyface = "0 POLYLINE\n66 1\n70 64\n71 3\n72 1\n0 VERTEX\n10 1\n70 192\n"
                                 "0 VERTEX\n20 1\n70 192\n0 VERTEX\n70 192\n0 VERTEX\n70 128\n71 1\n72 2\n73 3\n0 SEQEND\n";
    const std::string inPaperSpace = "0 POLYLINE\n67 1\n" + polyface.substr(11);
    const std::string entities = "0 SECTION\n2 ENTITIES\n";
    const std::string files[] = {
        entities + polyface + "0 ENDSEC\n0 EOF\n",     // drawn
        entities + inPaperSpace + "0 ENDSEC\n0 EOF\n", // paper space: not drawn
        entities + polyface + "0 ENDSEC\n",             // no EOF: refused
    };
    for (const std::string& file : files) {
        write("in.dxf", DxfText(file));
        const std::string info = run("info in.dxf").err;
        const ProgramRun flattened = run("flatten in.dxf -o out.dxf");
        const bool offered = info.find("kelvorn-tool flatten FILE") != std::string::npos;
        const bool madeFaces = flattened.status == 0 && read("out.dxf").find("3DFACE") != std::string::npos;
        EXPECT_EQ(offered, madeFaces) << file << info << flattened.err;
        EXPECT_EQ(info.rfind("kelvorn-tool: \"in.dxf\" holds no 3DFACE entity", 0), 0u) << info;
        std::filesystem::remove(dir.path() / "out.dxf");
    }
}

TEST_F(FlattenCommand, NothingToDrawIsSaidAsInfoSaysIt) {
    write("lines.dxf", DxfText("0 SECTION\n2 ENTITIES\n0 LINE\n10 0\n11 1\n0 ENDSEC\n0 EOF\n"));
    const std::string read = run("info lines.dxf").err, flattened = run("info lines.dxf --flatten").err;
    EXPECT_EQ(read, "kelvorn-tool: \"lines.dxf\" holds no 3DFACE entity, so there is nothing to draw: "
                    "Kelvorn draws 3DFACE entities only.\n");
    EXPECT_EQ(flattened,
              "kelvorn-tool: \"lines.dxf\" holds no face, flattened or not: there is nothing to draw.\n");
    for (const char* command : {"render lines.dxf -o p.svg", "segments 40 30 lines.dxf", "faces lines.dxf"}) {
        const ProgramRun result = run(command);
        EXPECT_EQ(result.status, 0) << command;
        EXPECT_EQ(result.err, read) << command;
    }
    for (const char* command :
         {"render lines.dxf -o p.svg --flatten", "segments 40 30 lines.dxf --flatten"}) {
        const ProgramRun result = run(command);
        EXPECT_EQ(result.status, 0) << command;
        EXPECT_EQ(result.err, flattened) << command;
    }
    const ProgramRun flatten = run("flatten lines.dxf -o out.dxf");
    EXPECT_EQ(flatten.status, 0);
    EXPECT_EQ(flatten.err, flattened + "kelvorn-tool flatten: lines.dxf: not turned into faces: LINE 1\n");
}

TEST_F(FlattenCommand, InfoCountsTheFacesOfBlocksThatNothingPlaces) {
    write("blocks.dxf",
          DxfText("0 SECTION\n2 BLOCKS\n0 BLOCK\n2 A\n0 3DFACE\n11 1\n12 1\n0 3DFACE\n11 2\n12 2\n"
                  "0 ENDBLK\n0 BLOCK\n2 B\n0 POLYLINE\n70 16\n71 2\n72 2\n0 VERTEX\n0 VERTEX\n"
                  "0 VERTEX\n0 VERTEX\n0 SEQEND\n0 ENDBLK\n0 BLOCK\n2 C\n0 3DFACE\n11 3\n12 3\n0 ENDBLK\n"
                  "0 ENDSEC\n0 SECTION\n2 ENTITIES\n0 INSERT\n2 C\n41 0\n0 ENDSEC\n0 EOF\n"));
    const ProgramRun info = run("info --flatten blocks.dxf");
    EXPECT_EQ(info.status, 0);
    EXPECT_EQ(info.out, "file   blocks.dxf\nfaces  0\n");
    // A's two faces, B's polygon mesh and C, whose only INSERT is left out.
    EXPECT_EQ(info.err,
              "kelvorn-tool: blocks.dxf: line 65: INSERT of block 'C': scale 0 along x (group code 41) "
              "flattens the block to nothing, left out\n"
              "kelvorn-tool: \"blocks.dxf\" holds no face in model space; its blocks hold 4 faces that "
              "nothing places: there is nothing to draw.\n");
}

// A polyface square split into two triangles whose shared diagonal is hidden
// (negative indices), and a block of a square 3DFACE hiding its first and
// third edges (group 70), placed twice.
const std::string kHidingDrawing =
    "0 SECTION\n2 BLOCKS\n0 BLOCK\n2 H\n10 0\n20 0\n30 0\n"
    "0 3DFACE\n11 1\n12 1\n22 1\n23 1\n70 5\n0 ENDBLK\n0 ENDSEC\n"
    "0 SECTION\n2 ENTITIES\n0 POLYLINE\n66 1\n70 64\n71 4\n72 2\n"
    "0 VERTEX\n70 192\n10 0\n20 0\n30 0\n0 VERTEX\n70 192\n10 2\n20 0\n30 0\n"
    "0 VERTEX\n70 192\n10 2\n20 2\n30 0\n0 VERTEX\n70 192\n10 0\n20 2\n30 0\n"
    "0 VERTEX\n70 128\n71 1\n72 2\n73 -3\n0 VERTEX\n70 128\n71 3\n72 4\n73 -1\n0 SEQEND\n"
    "0 INSERT\n2 H\n10 5\n0 INSERT\n2 H\n10 5\n20 3\n0 ENDSEC\n0 EOF\n";

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1)
        lines.push_back(text.substr(at, end - at));
    return lines;
}

TEST_F(FlattenCommand, HiddenEdgesGoOutAsGroup70AndReadBackToTheSamePicture) {
    write("in.dxf", DxfText(kHidingDrawing));
    ASSERT_EQ(run("flatten in.dxf -o out.dxf").status, 0);
    EXPECT_EQ(read("out.dxf"), "0\r\nSECTION\r\n2\r\nENTITIES\r\n" + FaceText("0 0 0 2 0 0 2 2 0 2 2 0") +
                                   "70\r\n12\r\n" + FaceText("2 2 0 0 2 0 0 0 0 0 0 0") + "70\r\n12\r\n" +
                                   FaceText("5 0 0 6 0 0 6 1 0 5 1 0") + "70\r\n5\r\n" +
                                   FaceText("5 3 0 6 3 0 6 4 0 5 4 0") + "70\r\n5\r\n" +
                                   "0\r\nENDSEC\r\n0\r\nEOF\r\n");
    // Flattened again, the file is itself.
    ASSERT_EQ(run("flatten out.dxf -o again.dxf").status, 0);
    EXPECT_EQ(read("again.dxf"), read("out.dxf"));

    const ProgramRun flattened = run("segments 302 202 in.dxf --flatten");
    ASSERT_EQ(flattened.status, 0) << flattened.err;
    // Two edges of each face: the triangles' outer sides, the squares' B→C and D→A.
    EXPECT_EQ(Lines(flattened.out), (std::vector<std::string>{"0 201 100 201", "100 201 100 101", "100 101 0 101",
                                                              "0 101 0 201", "300 201 300 151", "250 151 250 201",
                                                              "300 51 300 1", "250 1 250 51"}));
    EXPECT_EQ(run("segments 302 202 out.dxf --flatten").out, flattened.out);
    EXPECT_EQ(run("segments 302 202 out.dxf --flatten --keys pgdn,del*3").out,
              run("segments 302 202 in.dxf --flatten --keys pgdn,del*3").out);
    ASSERT_EQ(run("render in.dxf --flatten --size 120x90 -o in.png").status, 0);
    ASSERT_EQ(run("render out.dxf --flatten --size 120x90 -o out.png").status, 0);
    EXPECT_TRUE(read("in.png") == read("out.png"));

    // The viewer's own reading of the flattened file draws every edge.
    const ProgramRun everyEdge = run("segments 302 202 out.dxf");
    EXPECT_EQ(Lines(everyEdge.out).size(), 16u);
    EXPECT_EQ(Lines(everyEdge.out)[2], "100 101 100 101"); // the first triangle's C→D, a point
}

} // namespace
