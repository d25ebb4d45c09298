// Edges that a CAD drawing hides: 3DFACE group 70 and the negative vertex
// indices of polyface faces, through splits and blocks, into the face table's
// HiddenEdges; the viewer's own reading of the same file hides none.
#include "support/dxf_pairs.h"
#include "support/flatten_run.h"
#include "support/temp_files.h"

#include "kelvorn.h"
#include "meshfile/reader/mesh_reader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::string Entities(const std::string& entities) {
    return "0 SECTION\n2 ENTITIES\n" + entities + "0 ENDSEC\n0 EOF\n";
}

// The unit square as a 3DFACE with `extra` groups after its corners.
std::string Square(const std::string& extra) {
    return "0 3DFACE\n8 0\n10 0\n20 0\n30 0\n11 1\n21 0\n31 0\n12 1\n22 1\n32 0\n13 0\n23 1\n33 0\n" + extra;
}

// A polyface mesh of the five vertices (0,0) (1,0) (1,1) (0,1) (2,2) and the
// face records `faces` ("71 1\n72 -2\n..." each).
std::string Polyface(const std::vector<std::string>& faces) {
    std::string text = "0 POLYLINE\n66 1\n70 64\n71 5\n72 " + std::to_string(faces.size()) + "\n";
    for (const char* point : {"10 0\n20 0\n", "10 1\n20 0\n", "10 1\n20 1\n", "10 0\n20 1\n", "10 2\n20 2\n"})
        text += std::string("0 VERTEX\n70 192\n") + point + "30 0\n";
    for (const std::string& face : faces) text += "0 VERTEX\n70 128\n10 0\n20 0\n30 0\n" + face;
    return text + "0 SEQEND\n";
}

TEST(HiddenEdges, FaceGroup70HidesEachEdgeByItsBit) {
    // Blanks and a sign as CAD programs write them; bits above 8 mean nothing.
    const char* const values[] = {"0", "1", "2", "4", "8", "5", "     10", "+15", "16", "19", "-1"};
    const unsigned char bits[] = {0, 1, 2, 4, 8, 5, 10, 15, 0, 3, 15};
    std::string entities;
    for (const char* value : values) entities += Square(std::string("70 ") + value + "\n");
    entities += Square("") + Square("70 1\n70 6\n"); // no group 70; the last one given counts
    const FlattenRun run = FlattenPairs(Entities(entities));
    ASSERT_TRUE(run.ok) << run.error;
    std::vector<unsigned char> want(std::begin(bits), std::end(bits));
    want.push_back(0);
    want.push_back(6);
    EXPECT_EQ(run.hiddenEdges, want);
}

TEST(HiddenEdges, FaceGroup70ThatIsNoIntegerIsLeftOutOrRefusedWithItsPlace) {
    const std::string bytes = DxfText(Entities(Square("70 1.5\n") + Square("70 2\n")));
    const FlattenRun run = FlattenBytes(bytes);
    ASSERT_TRUE(run.ok) << run.error;
    EXPECT_EQ(run.hiddenEdges, std::vector<unsigned char>{2});
    ASSERT_EQ(run.report.leftOut.count(), 1);
    EXPECT_EQ(run.report.leftOut.first()[0].place, "line 33");
    EXPECT_EQ(run.report.leftOut.first()[0].reason, "group code 70 of 3DFACE: '1.5' is not a 32-bit integer");

    FlattenLimits strict;
    strict.strict = true;
    const FlattenRun refused = FlattenBytes(bytes, strict);
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.error, "line 33: group code 70 of 3DFACE: '1.5' is not a 32-bit integer");
}

TEST(HiddenEdges, PolyfaceNegativeIndexHidesTheSideStartingThere) {
    const FlattenRun run = FlattenPairs(Entities(Polyface({
        "71 1\n72 2\n73 3\n74 4\n",    // every side drawn
        "71 -1\n72 2\n73 3\n74 4\n",   // A→B
        "71 1\n72 -2\n73 -3\n74 4\n",  // B→C, C→D
        "71 1\n72 2\n73 3\n74 -4\n",   // D→A
        "71 -1\n72 -2\n73 -3\n74 -4\n" // all four: an invisible face
    })));
    ASSERT_TRUE(run.ok) << run.error;
    ASSERT_EQ(run.faces.size(), 5u);
    EXPECT_EQ(run.hiddenEdges, (std::vector<unsigned char>{0, 1, 2 | 4, 8, 15}));
    EXPECT_EQ(run.faces[2].B.x, 1); // negative indices name the same vertices
    EXPECT_EQ(run.faces[4].D.y, 1);
}

TEST(HiddenEdges, PolyfaceTriangleHidesItsClosingSideAsPointAndEdge) {
    // Three corners: the face is (1, 2, 3, 3); its third side runs C→D (a
    // point) then D→A, hidden together. A 0 index between corners is skipped.
    const FlattenRun run = FlattenPairs(Entities(Polyface({
        "71 1\n72 2\n73 3\n",
        "71 -1\n72 2\n73 3\n",
        "71 1\n72 -2\n73 3\n",
        "71 1\n72 2\n73 -3\n",
        "71 1\n72 0\n73 -2\n74 -5\n",
    })));
    ASSERT_TRUE(run.ok) << run.error;
    ASSERT_EQ(run.faces.size(), 5u);
    EXPECT_EQ(run.hiddenEdges, (std::vector<unsigned char>{0, 1, 2, 4 | 8, 2 | 4 | 8}));
    EXPECT_EQ(run.faces[4].B.x, 1);
    EXPECT_EQ(run.faces[4].C.x, 2);
    EXPECT_EQ(run.faces[4].D.x, 2);
}

TEST(HiddenEdges, PolygonSplitIntoTrianglesHidesItsDiagonals) {
    // A MESH of six vertices: the split pieces (c0, ci, ci+1, ci+1) of its
    // polygons show only the polygon's own sides.
    const FlattenRun run = FlattenPairs(Entities(
        "0 MESH\n100 AcDbSubDMesh\n71 2\n72 0\n91 0\n92 6\n"
        "10 0\n20 0\n30 0\n10 2\n20 0\n30 0\n10 3\n20 1\n30 0\n"
        "10 2\n20 2\n30 0\n10 0\n20 2\n30 0\n10 -1\n20 1\n30 0\n"
        "93 17\n90 5\n90 0\n90 1\n90 2\n90 3\n90 4\n"       // a pentagon
        "90 6\n90 0\n90 1\n90 2\n90 3\n90 4\n90 5\n" // a hexagon
        "90 3\n90 0\n90 1\n90 2\n"));                  // a triangle
    ASSERT_TRUE(run.ok) << run.error;
    ASSERT_EQ(run.faces.size(), 3u + 4u + 1u);
    const unsigned char diagonalBack = 4 | 8, diagonalOut = 1;
    EXPECT_EQ(run.hiddenEdges, (std::vector<unsigned char>{diagonalBack, diagonalOut | diagonalBack, diagonalOut,
                                                           diagonalBack, diagonalOut | diagonalBack,
                                                           diagonalOut | diagonalBack, diagonalOut, 0}));
}

TEST(HiddenEdges, BlocksCarryTheEdgesOfEveryPlacedCopy) {
    // Model space: a drawn face, the block (a face with group 70 and a
    // polyface face), a face hiding an edge, the block turned through a
    // nested block, a MINSERT of two copies, a drawn face last.
    const std::string blocks = "0 SECTION\n2 BLOCKS\n"
                               "0 BLOCK\n2 B\n10 0\n20 0\n30 0\n" + Square("70 9\n") +
                               Polyface({"71 -1\n72 2\n73 3\n74 -4\n"}) + "0 ENDBLK\n"
                               "0 BLOCK\n2 OUTER\n10 0\n20 0\n30 0\n" + Square("") +
                               "0 INSERT\n2 B\n10 5\n50 90\n0 ENDBLK\n0 ENDSEC\n";
    const std::string entities = Square("") + "0 INSERT\n2 B\n10 10\n" + Square("70 2\n") +
                                 "0 INSERT\n2 OUTER\n20 10\n" + "0 INSERT\n2 B\n70 2\n44 3\n" + Square("");
    const FlattenRun run = FlattenPairs(blocks + Entities(entities));
    ASSERT_TRUE(run.ok) << run.error;
    EXPECT_EQ(run.hiddenEdges, (std::vector<unsigned char>{0, 9, 9, 2, 0, 9, 9, 9, 9, 9, 9, 0}));
    ASSERT_EQ(run.faces.size(), 12u);
    EXPECT_EQ(run.faces[1].A.x, 10); // the first copy, placed
    EXPECT_EQ(run.faces[6].B.y, 11); // nested: B (1, 0) turned 90 degrees to (0, 1), then up 10
    EXPECT_EQ(run.faces[10].A.x, 3);  // the MINSERT's second column
}

// The same file read by both readings: the flattened one fills HiddenEdges,
// the viewer's own one draws every edge and reads the same faces.
TEST(HiddenEdges, LoadsReplaceOrClearTheTableEdgesWithTheTable) {
    TempDir dir;
    const std::string hiding = dir.write("hiding.dxf", DxfText(Entities(Square("70 5\n") + Square("70 0\n"))));
    const std::string drawn = dir.write("drawn.dxf", DxfText(Entities(Square("") + Square(""))));
    FlattenReport report;
    std::string error;
    ASSERT_TRUE(LoadFlattenedMesh(hiding.c_str(), report, error)) << error;
    ASSERT_NE(HiddenEdges, nullptr);
    EXPECT_EQ(HiddenEdges[0], 5);
    EXPECT_EQ(HiddenEdges[1], 0);
    const std::vector<Face> flattened(F, F + nf);

    // A failed load keeps the table and its edges.
    EXPECT_FALSE(LoadFlattenedMesh(dir.write("cut.dxf", "0\nSECTION\n").c_str(), report, error));
    ASSERT_NE(HiddenEdges, nullptr);
    EXPECT_EQ(HiddenEdges[0], 5);

    ASSERT_TRUE(ReadMeshFile(hiding.c_str(), nullptr).ok());
    EXPECT_EQ(HiddenEdges, nullptr);
    ASSERT_EQ(nf, 2);
    EXPECT_EQ(std::memcmp(F, flattened.data(), sizeof(Face) * 2), 0);

    // `error` still holds the failure's message: a later load does not mistake it for its own.
    ASSERT_TRUE(LoadFlattenedMesh(hiding.c_str(), report, error)) << error;
    ASSERT_TRUE(LoadFlattenedMesh(drawn.c_str(), report, error)) << error;
    EXPECT_EQ(HiddenEdges, nullptr); // nothing hidden: no table of edges at all
    ASSERT_TRUE(LoadFlattenedMesh(hiding.c_str(), report, error)) << error;
    ASSERT_TRUE(LoadFlattenedMesh(dir.write("none.dxf", DxfText(Entities(""))).c_str(), report, error));
    EXPECT_EQ(HiddenEdges, nullptr);
    ASSERT_TRUE(LoadFlattenedMesh(hiding.c_str(), report, error)) << error;
    EXPECT_TRUE(ReadMeshBytes(DxfText(Entities(Square("70 3\n")))).ok());
    EXPECT_EQ(HiddenEdges, nullptr);
    ReleaseMeshTable();
    EXPECT_EQ(HiddenEdges, nullptr);
}

} // namespace
