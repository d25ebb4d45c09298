// What the flattening converter refuses, and that it says where and why:
// always a file it cannot read, and, when strict, what it would otherwise
// leave out (flatten_left_out_test.cpp).
#include "support/dxf_pairs.h"
#include "support/flatten_run.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Entities(const std::string& entities, const std::string& blocks = "") {
    return "0 SECTION\n2 BLOCKS\n" + blocks + "0 ENDSEC\n0 SECTION\n2 ENTITIES\n" + entities + "0 ENDSEC\n0 EOF\n";
}

std::string Block(const std::string& name, const std::string& entities) {
    return "0 BLOCK\n2 " + name + "\n10 0\n20 0\n30 0\n" + entities + "0 ENDBLK\n";
}

constexpr const char* kFace = "0 3DFACE\n10 0\n11 1\n12 1\n22 1\n";

constexpr FlattenLimits kStrict{50'000'000, 50'000'000, true};

std::string Refusal(const std::string& pairs, FlattenLimits limits = kStrict) {
    limits.strict = true;
    const FlattenRun run = FlattenPairs(pairs, limits);
    EXPECT_FALSE(run.ok);
    return run.error;
}

TEST(FlattenFailures, EmptyFileAndFileWithoutEof) {
    EXPECT_EQ(FlattenBytes("").error, "the file is empty");
    EXPECT_EQ(Refusal("0 SECTION\n2 ENTITIES\n0 3DFACE\n10 1\n"),
              "the file ends before its EOF marker (0 / EOF): it is cut short");
}

TEST(FlattenFailures, EveryCutOfAFileIsRefusedWithAReason) {
    const std::string whole = DxfText(Entities("0 INSERT\n2 B\n41 2\n", Block("B", kFace)));
    for (std::size_t size = 0; size + 1 < whole.size(); ++size) {
        const FlattenRun run = FlattenBytes(whole.substr(0, size));
        EXPECT_FALSE(run.ok) << size;
        EXPECT_FALSE(run.error.empty()) << size;
    }
    EXPECT_TRUE(FlattenBytes(whole).ok);
    const std::string binary = DxfBinary(Entities("0 INSERT\n2 B\n41 2\n", Block("B", kFace)));
    for (std::size_t size = 0; size + 1 < binary.size(); ++size)
        EXPECT_FALSE(FlattenBytes(binary.substr(0, size)).ok) << size;
}

TEST(FlattenFailures, NumbersThatTheConverterUsesMustBeFinite) {
    EXPECT_EQ(FlattenBytes(DxfText("0 3DFACE\n10 1\n20 abc\n0 EOF\n"), kStrict).error,
              "line 5: group code 20 of 3DFACE: 'abc' is not a finite number");
    EXPECT_EQ(FlattenBytes(DxfText(Entities("0 INSERT\n2 B\n41 nan\n", Block("B", kFace))), kStrict).error,
              "line 37: group code 41 of INSERT: 'nan' is not a finite number");
    // A binary file's number has no text to show.
    const std::string binary = FlattenBytes(DxfBinary("0 3DFACE\n10 1\n20 nan\n0 EOF\n"), kStrict).error;
    EXPECT_TRUE(binary.starts_with("byte ")) << binary;
    EXPECT_TRUE(binary.ends_with(": group code 20 of 3DFACE: not a finite number")) << binary;
    // A value the converter does not use is never judged.
    EXPECT_TRUE(FlattenBytes(DxfText("0 3DFACE\n62 red\n0 EOF\n")).ok);
}

TEST(FlattenFailures, ImpossibleBlockReferences) {
    const std::string b = Block("B", kFace);
    EXPECT_EQ(Refusal(Entities("0 INSERT\n2 B\n42 0\n", b)),
              "line 33: INSERT of block 'B': scale 0 along y (group code 42) flattens the block to nothing");
    EXPECT_EQ(Refusal(Entities("0 INSERT\n2 B\n230 0\n", b)),
              "line 33: INSERT of block 'B': the extrusion direction (210/220/230) is zero");
    EXPECT_EQ(Refusal(Entities("0 INSERT\n2 B\n70 0\n", b)),
              "line 33: INSERT of block 'B': 0 columns (70) by 1 rows (71): each must be at least 1");
    EXPECT_EQ(Refusal(Entities("0 INSERT\n10 1\n", b)), "line 33: INSERT without a block name (group code 2)");
    EXPECT_EQ(Refusal(Entities("0 INSERT\n2 NOPE\n", b)),
              "line 33: INSERT of block 'NOPE', which the file does not define");
    EXPECT_EQ(Refusal(Entities("", b + b)), "line 27: block 'B' is defined twice");
}

TEST(FlattenFailures, BlockThatInsertsItselfDirectlyOrNot) {
    EXPECT_EQ(Refusal(Entities("0 INSERT\n2 A\n", Block("A", "0 INSERT\n2 A\n"))), "block 'A' inserts itself (A -> A)");
    const std::string cycle = Block("A", "0 INSERT\n2 B\n") + Block("B", std::string(kFace) + "0 INSERT\n2 C\n") +
                              Block("C", "0 INSERT\n2 a\n");
    EXPECT_EQ(Refusal(Entities("0 INSERT\n2 B\n", cycle)), "block 'B' inserts itself (B -> C -> A -> B)");
    // A cycle that model space never reaches is not drawing.
    EXPECT_TRUE(FlattenPairs(Entities(kFace, cycle), kStrict).ok);
}

TEST(FlattenFailures, MeshIndicesAndCountsMustMatch) {
    EXPECT_EQ(Refusal(Entities("0 POLYLINE\n70 64\n0 VERTEX\n70 192\n0 VERTEX\n70 128\n71 1\n72 -3\n73 1\n0 SEQEND\n")),
              "line 11: polyface mesh: a face record names vertex -3 of 1");
    EXPECT_EQ(Refusal(Entities("0 POLYLINE\n70 16\n71 2\n72 2\n0 VERTEX\n70 64\n0 SEQEND\n")),
              "line 11: polygon mesh of 2 (71) by 2 (72) vertices holds 1 VERTEX records");
    EXPECT_EQ(Refusal(Entities("0 MESH\n92 2\n10 0\n20 0\n30 0\n93 0\n")),
              "line 11: MESH: 2 vertices (92) announced, 1 given");
    EXPECT_EQ(Refusal(Entities("0 MESH\n92 1\n10 0\n93 4\n90 3\n90 0\n90 0\n90 1\n")),
              "line 11: MESH: a face names vertex 1 of 1 (numbered from 0)");
    EXPECT_EQ(Refusal(Entities("0 MESH\n92 1\n10 0\n93 2\n90 3\n90 0\n")),
              "line 11: MESH: a face of 3 corners overruns the face list");
}

TEST(FlattenFailures, LimitsAreCheckedBeforeFacesAreMade) {
    const std::string b = Block("B", std::string(kFace) + kFace);
    EXPECT_EQ(Refusal(Entities("0 INSERT\n2 B\n70 2\n71 2\n44 1\n45 1\n", b), {7, 100}),
              "the drawing would make more than 7 faces");
    EXPECT_TRUE(FlattenPairs(Entities("0 INSERT\n2 B\n70 2\n71 2\n44 1\n45 1\n", b), {8, 4}).ok);
    EXPECT_EQ(Refusal(Entities("0 INSERT\n2 B\n70 5\n44 1\n", b), {100, 4}),
              "the drawing would place blocks more than 4 times");
    // 2^60 faces through 60 levels of two references each: refused at once,
    // with the counts held at the limit instead of overflowing.
    std::string levels = Block("L0", kFace);
    for (int i = 1; i <= 60; ++i) {
        const std::string below = "0 INSERT\n2 L" + std::to_string(i - 1) + "\n";
        levels += Block("L" + std::to_string(i), below + below);
    }
    EXPECT_EQ(Refusal(Entities("0 INSERT\n2 L60\n70 32767\n71 32767\n44 1\n45 1\n", levels)),
              "the drawing would make more than 50000000 faces");
}

TEST(FlattenFailures, PlacementBeyondTheRangeOfNumbers) {
    const FlattenRun run = FlattenPairs(Entities("0 INSERT\n2 B\n41 1e300\n", Block("B", "0 3DFACE\n10 1e300\n")));
    EXPECT_FALSE(run.ok);
    EXPECT_EQ(run.error, "placing a block takes a coordinate beyond the range of numbers");
}

} // namespace
