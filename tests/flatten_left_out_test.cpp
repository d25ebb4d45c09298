// What the converter leaves out of a drawing it otherwise draws: each kind
// of fault left out with its place and reason while the rest is drawn, the
// same fault refused with that place and reason when strict, and the report
// that the tool and the viewer show.
#include "support/dxf_pairs.h"
#include "support/flatten_run.h"
#include "support/temp_files.h"

#include "kelvorn.h"
#include "meshfile/reader/face_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

constexpr FlattenLimits kStrict{50'000'000, 50'000'000, true};

std::string Entities(const std::string& entities, const std::string& blocks = "") {
    return "0 SECTION\n2 BLOCKS\n" + blocks + "0 ENDSEC\n0 SECTION\n2 ENTITIES\n" + entities +
           "0 ENDSEC\n0 EOF\n";
}

std::string Block(const std::string& name, const std::string& entities) {
    return "0 BLOCK\n2 " + name + "\n10 0\n20 0\n30 0\n" + entities + "0 ENDBLK\n";
}

// The unit triangle in z = 0, and the same moved by x = 5: the face that a
// block holds, and the one that model space holds after the faulty entity.
constexpr const char* kFace = "0 3DFACE\n10 0\n11 1\n12 1\n22 1\n13 1\n23 1\n";
constexpr const char* kFarFace = "0 3DFACE\n10 5\n11 6\n12 6\n22 1\n13 6\n23 1\n";
const Face kFarTriangle{{5, 0, 0}, {6, 0, 0}, {6, 1, 0}, {6, 1, 0}};

// The text file of `pairs`, and its binary forms too where its numbers are
// numbers (FlattenPairs).
FlattenRun Flatten(const std::string& pairs, const FlattenLimits& limits = {}) {
    const bool numbers = pairs.find("bad") == std::string::npos && pairs.find("1..2") == std::string::npos;
    return numbers ? FlattenPairs(pairs, limits) : FlattenBytes(DxfText(pairs), limits);
}

// "line N" of the text file where the pair `marker` (a whole "CODE VALUE"
// line of `pairs`) stands: two lines a pair.
std::string LineOf(const std::string& pairs, const std::string& marker) {
    const std::size_t at = pairs.find(marker + "\n");
    EXPECT_NE(at, std::string::npos) << marker;
    return "line " +
           std::to_string(2 * std::count(pairs.begin(), pairs.begin() + static_cast<long>(at), '\n') + 1);
}

bool SameFace(const Face& a, const Face& b) {
    return a.A.x == b.A.x && a.A.y == b.A.y && a.B.x == b.B.x && a.C.x == b.C.x && a.C.y == b.C.y &&
           a.D.x == b.D.x && a.D.y == b.D.y;
}

struct Fault {
    const char* name;
    std::string entities, blocks;
    std::string marker; // the pair the place points at
    std::string reason, kind;
    bool placedWhenStrict = true;
    std::size_t faces = 1; // drawn in all
};

std::vector<Fault> Faults() {
    const std::string b = Block("B", kFace);
    return {
        {"scale 0", "0 INSERT\n2 B\n42 0\n", b, "0 INSERT",
         "INSERT of block 'B': scale 0 along y (group code 42) flattens the block to nothing",
         "INSERT with scale 0"},
        {"extrusion 0", "0 INSERT\n2 B\n210 0\n230 0\n", b, "0 INSERT",
         "INSERT of block 'B': the extrusion direction (210/220/230) is zero", "INSERT with extrusion 0"},
        {"no rows", "0 INSERT\n2 B\n71 -2\n", b, "0 INSERT",
         "INSERT of block 'B': 1 columns (70) by -2 rows (71): each must be at least 1",
         "INSERT with fewer than 1 column or row"},
        {"no block name", "0 INSERT\n10 3\n", b, "0 INSERT", "INSERT without a block name (group code 2)",
         "INSERT without a block name"},
        {"missing block", "0 INSERT\n2 NOPE\n", b, "0 INSERT",
         "INSERT of block 'NOPE', which the file does not define",
         "INSERT of a block the file does not define"},
        {"bad number", "0 3DFACE\n10 1\n20 1..2\n", "", "20 1..2",
         "group code 20 of 3DFACE: '1..2' is not a finite number", "entity with a bad number"},
        // Its first face record is good, its second is not: nothing of it stays.
        {"polyface index",
         "0 POLYLINE\n70 64\n0 VERTEX\n70 192\n0 VERTEX\n70 192\n10 1\n0 VERTEX\n70 192\n20 1\n"
         "0 VERTEX\n70 128\n71 1\n72 2\n73 3\n0 VERTEX\n70 128\n71 1\n72 4\n73 2\n0 SEQEND\n",
         "", "0 POLYLINE", "polyface mesh: a face record names vertex 4 of 3",
         "polyface face naming a missing vertex"},
        {"polygon mesh count", "0 POLYLINE\n70 16\n71 2\n72 3\n0 VERTEX\n70 64\n0 VERTEX\n70 64\n0 SEQEND\n",
         "", "0 POLYLINE", "polygon mesh of 2 (71) by 3 (72) vertices holds 2 VERTEX records",
         "polygon mesh of the wrong vertex count"},
        {"MESH count", "0 MESH\n100 AcDbSubDMesh\n92 3\n10 0\n20 0\n30 0\n93 0\n", "", "0 MESH",
         "MESH: 3 vertices (92) announced, 1 given", "MESH whose counts do not match its lists"},
        {"MESH index", "0 MESH\n92 3\n10 0\n10 1\n10 2\n93 4\n90 3\n90 0\n90 1\n90 3\n", "", "0 MESH",
         "MESH: a face names vertex 3 of 3 (numbered from 0)", "MESH face naming a missing vertex"},
        {"unnamed block", "", Block("", kFace), "0 BLOCK", "BLOCK without a name (group code 2)",
         "BLOCK without a name"},
        {"block base point", "", "0 BLOCK\n2 Q\n10 0\n20 bad\n" + std::string(kFace) + "0 ENDBLK\n", "20 bad",
         "group code 20 of BLOCK: 'bad' is not a finite number", "entity with a bad number"},
        {"block twice", "0 INSERT\n2 B\n10 5\n", b + Block("b", "0 3DFACE\n10 7\n"), "2 b",
         "block 'b' is defined twice", "block defined twice", true, 2},
        {"self insert", "0 INSERT\n2 S\n10 5\n", Block("S", "0 INSERT\n2 s\n41 2\n" + std::string(kFace)),
         "0 INSERT\n2 s", "block 'S' inserts itself (S -> S)", "block that inserts itself", false, 2},
    };
}

TEST(FlattenLeftOut, EachFaultIsLeftOutWithItsPlaceAndTheRestIsDrawn) {
    for (const Fault& fault : Faults()) {
        SCOPED_TRACE(fault.name);
        const std::string pairs = Entities(fault.entities + kFarFace, fault.blocks);
        const FlattenRun run = Flatten(pairs);
        ASSERT_TRUE(run.ok) << run.error;
        ASSERT_EQ(run.faces.size(), fault.faces);
        EXPECT_TRUE(SameFace(run.faces.back(), kFarTriangle)) << "the face after the fault";
        ASSERT_EQ(run.report.leftOut.count(), 1);
        ASSERT_EQ(run.report.leftOut.first().size(), 1u);
        const LeftOutItem& item = run.report.leftOut.first()[0];
        const std::string place = LineOf(pairs, fault.marker);
        // A block's name is its BLOCK's second pair; the BLOCK is the place.
        const std::string expectedPlace =
            fault.marker == "2 b" ? "line " + std::to_string(std::stoi(place.substr(5)) - 2) : place;
        EXPECT_EQ(item.place, expectedPlace);
        EXPECT_EQ(item.reason, fault.reason);
        EXPECT_EQ(item.kind, fault.kind);
        EXPECT_EQ(run.report.leftOut.kinds().at(fault.kind), 1);

        const FlattenRun strict = Flatten(pairs, kStrict);
        EXPECT_FALSE(strict.ok);
        EXPECT_EQ(strict.error, fault.placedWhenStrict ? item.place + ": " + item.reason : item.reason);
    }
}

TEST(FlattenLeftOut, WhatStaysOfFaultyBlocks) {
    // The first definition of a block stands; the second is not drawn.
    const FlattenRun twice = FlattenPairs(
        Entities("0 INSERT\n2 B\n10 5\n", Block("B", kFace) + Block("B", "0 3DFACE\n10 9\n11 9\n12 9\n")));
    ASSERT_TRUE(twice.ok);
    ASSERT_EQ(twice.faces.size(), 1u);
    EXPECT_TRUE(SameFace(twice.faces[0], kFarTriangle));
    // A block that inserts itself is drawn once, without the reference that closes the loop.
    const FlattenRun loop =
        FlattenPairs(Entities("0 INSERT\n2 A\n", Block("A", std::string(kFace) + "0 INSERT\n2 B\n") +
                                                     Block("B", std::string(kFarFace) + "0 INSERT\n2 A\n")));
    ASSERT_TRUE(loop.ok);
    EXPECT_EQ(loop.faces.size(), 2u);
    ASSERT_EQ(loop.report.leftOut.count(), 1);
    EXPECT_EQ(loop.report.leftOut.first()[0].reason, "block 'A' inserts itself (A -> B -> A)");
}

TEST(FlattenLeftOut, OnlyWhatTheDrawingReachesIsReported) {
    // Faults in a block that nothing places are not drawing; a second
    // definition of a name is reported wherever it stands.
    const std::string unplaced = Block("U", "0 INSERT\n2 NOPE\n0 3DFACE\n10 bad\n");
    const FlattenRun run = Flatten(Entities(kFace, unplaced + Block("U", "")));
    ASSERT_TRUE(run.ok);
    ASSERT_EQ(run.report.leftOut.count(), 1);
    EXPECT_EQ(run.report.leftOut.first()[0].kind, "block defined twice");
    EXPECT_EQ(run.report.facesInUnplacedBlocks, 0) << "the bad 3DFACE of U is left out";
}

TEST(FlattenLeftOut, ManyFaultsKeepTheFirstInFileOrderAndCountEvery) {
    // 30 references to a missing block, read when the blocks are planned,
    // between 3DFACEs with bad numbers, read before: the first kept are the
    // first in the file whichever step found them.
    std::string entities;
    for (int i = 0; i < 30; ++i)
        entities += "0 INSERT\n2 NOPE\n0 3DFACE\n10 bad\n";
    const FlattenRun run = Flatten(Entities(entities + kFarFace));
    ASSERT_TRUE(run.ok);
    EXPECT_EQ(run.faces.size(), 1u);
    EXPECT_EQ(run.report.leftOut.count(), 60);
    ASSERT_EQ(run.report.leftOut.first().size(), kKeptLeftOut);
    for (std::size_t i = 0; i < kKeptLeftOut; ++i)
        EXPECT_EQ(run.report.leftOut.first()[i].kind,
                  i % 2 ? "entity with a bad number" : "INSERT of a block the file does not define")
            << i;
    EXPECT_EQ(run.report.leftOut.kinds().at("entity with a bad number"), 30);

    const std::vector<std::string> lines = LeftOutLines("m.dxf", run.report.leftOut, 3);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "m.dxf: line 11: INSERT of block 'NOPE', which the file does not define, left out");
    EXPECT_EQ(lines[1], "m.dxf: line 17: group code 10 of 3DFACE: 'bad' is not a finite number, left out");
    EXPECT_EQ(lines[3], "m.dxf: 28 more INSERT of a block the file does not define, left out");
    EXPECT_EQ(lines[4], "m.dxf: 29 more entity with a bad number, left out");
    EXPECT_TRUE(LeftOutLines("m.dxf", LeftOutList{}, 3).empty());
}

TEST(FlattenLeftOut, DescriptionForTheUserNamesFileCountAndKinds) {
    const std::string b = Block("B", kFace);
    const FlattenRun run = FlattenPairs(
        Entities("0 INSERT\n2 B\n41 0\n0 INSERT\n2 B\n43 0\n" + std::string(kFace), b + Block("B", "")));
    ASSERT_TRUE(run.ok);
    EXPECT_EQ(DescribeLeftOut("/d/a b.dxf", run.report),
              "3 entities of \"/d/a b.dxf\" were left out: 2 INSERT with scale 0, 1 block defined twice.");
    const FlattenRun one = FlattenPairs(Entities("0 INSERT\n2 C\n" + std::string(kFace), b));
    EXPECT_EQ(DescribeLeftOut("c.dxf", one.report),
              "1 entity of \"c.dxf\" was left out: 1 INSERT of a block the file does not define.");
    EXPECT_EQ(DescribeLeftOut("c.dxf", FlattenPairs(Entities(kFace, b)).report), "");
}

TEST(FlattenLeftOut, DamagedFilesAndLimitsAreStillRefused) {
    EXPECT_EQ(FlattenBytes(DxfText(Entities("0 INSERT\n2 B\n41 0\n", Block("B", kFace))).substr(0, 90)).error,
              "the file ends before its EOF marker (0 / EOF): it is cut short");
    EXPECT_EQ(FlattenBytes("0\nSECTION\nx\nENTITIES\n0\nEOF\n").ok, false) << "a code line that is no number";
    const std::string twice = Block("B", std::string(kFace) + kFace);
    EXPECT_EQ(FlattenPairs(Entities("0 INSERT\n2 B\n70 4\n44 1\n0 INSERT\n2 NOPE\n", twice), {7, 100}).error,
              "the drawing would make more than 7 faces");
}

TEST(FlattenLeftOut, TheViewersLoadIsLenientUnlessStrict) {
    const TempDir dir;
    const std::string path = dir.write(
        "v.dxf", DxfText(Entities("0 INSERT\n2 B\n41 0\n" + std::string(kFarFace), Block("B", kFace))));
    Face* const savedFaces = F;
    const int savedCount = nf;
    F = nullptr;
    nf = 0;
    FlattenReport report;
    std::string error;
    EXPECT_TRUE(LoadFlattenedMesh(path.c_str(), report, error)) << error;
    ASSERT_EQ(nf, 1);
    EXPECT_TRUE(SameFace(F[0], kFarTriangle));
    EXPECT_EQ(DescribeLeftOut(path.c_str(), report),
              "1 entity of \"" + path + "\" was left out: 1 INSERT with scale 0.");
    FlattenLimits strict;
    strict.strict = true;
    FlattenReport refused;
    EXPECT_FALSE(LoadFlattenedMesh(path.c_str(), refused, error, strict));
    EXPECT_EQ(error,
              "line 37: INSERT of block 'B': scale 0 along x (group code 41) flattens the block to nothing");
    EXPECT_EQ(nf, 1) << "the table stays as it was";
    FreeFaceTable(F);
    F = savedFaces;
    nf = savedCount;
}

} // namespace
