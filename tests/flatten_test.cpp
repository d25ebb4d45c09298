// The flattening converter on small files made by hand, one construct each,
// with their faces worked out by hand. Every file is also read in its binary
// forms (FlattenPairs), which must give the same faces bit for bit.
#include "support/flatten_run.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <string>
#include <vector>

namespace {

void ExpectFaces(const std::vector<Face>& got, const std::vector<Face>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t f = 0; f < want.size(); ++f) {
        const xyz g[] = {got[f].A, got[f].B, got[f].C, got[f].D}, w[] = {want[f].A, want[f].B, want[f].C, want[f].D};
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(g[c].x, w[c].x) << "face " << f << " corner " << c;
            EXPECT_EQ(g[c].y, w[c].y) << "face " << f << " corner " << c;
            EXPECT_EQ(g[c].z, w[c].z) << "face " << f << " corner " << c;
        }
    }
}

// A file with the BLOCKS section `blocks` and the ENTITIES section `entities`.
std::string Drawing(const std::string& blocks, const std::string& entities) {
    return "0 SECTION\n2 HEADER\n9 $EXTMIN\n10 -7\n20 -7\n30 -7\n0 ENDSEC\n"
           "0 SECTION\n2 BLOCKS\n" + blocks + "0 ENDSEC\n0 SECTION\n2 ENTITIES\n" + entities + "0 ENDSEC\n0 EOF\n";
}

// The unit square in z = 0 as a 3DFACE.
constexpr const char* kUnitSquare = "0 3DFACE\n8 0\n10 0\n20 0\n30 0\n11 1\n21 0\n31 0\n"
                                    "12 1\n22 1\n32 0\n13 0\n23 1\n33 0\n";
const Face kUnitSquareFace{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};

std::string Block(const std::string& name, const std::string& base, const std::string& entities) {
    return "0 BLOCK\n8 0\n2 " + name + "\n70 0\n" + base + "3 " + name + "\n" + entities + "0 ENDBLK\n8 0\n";
}

TEST(Flatten3dFace, ModelSpaceFacesKeepEveryBitAndPaperSpaceIsLeftOut) {
    const FlattenRun run = FlattenPairs(Drawing("", R"(
0 3DFACE
8 0
10 0.1
20 -0
30 1e-300
11 1
21 2
31 3
12 4
22 5
32 6
0 3DFACE
67 1
10 9
0 3DFACE
67 0
13 1.5
)"));
    ASSERT_TRUE(run.ok) << run.error;
    ASSERT_EQ(run.faces.size(), 2u);
    // The corner the file leaves out (13/23/33) is at the origin.
    ExpectFaces(run.faces, {{{0.1, 0, 1e-300}, {1, 2, 3}, {4, 5, 6}, {0, 0, 0}}, {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {1.5, 0, 0}}});
    EXPECT_TRUE(std::signbit(run.faces[0].A.y));
    EXPECT_EQ(run.report.facesFrom[static_cast<int>(FaceSource::Face3d)], 2);
}

TEST(Flatten3dFace, FileWithoutSectionsIsModelSpace) {
    const FlattenRun run = FlattenPairs(std::string(kUnitSquare) + "0 EOF\n");
    ASSERT_TRUE(run.ok) << run.error;
    ExpectFaces(run.faces, {kUnitSquareFace});
}

TEST(FlattenInsert, BasePointScaleRotationAndInsertionPoint) {
    // p - base, scaled (2, 3, 4), turned 90 degrees: (x, y) -> (-y, x), moved by (10, 20, 30).
    const FlattenRun run = FlattenPairs(Drawing(Block("b", "10 1\n20 1\n30 0\n", R"(
0 3DFACE
10 1
20 1
30 0
11 2
21 1
31 0
12 2
22 2
32 0
13 1
23 2
33 5
)"), "0 INSERT\n2 B\n10 10\n20 20\n30 30\n41 2\n42 3\n43 4\n50 90\n"));
    ASSERT_TRUE(run.ok) << run.error;
    ExpectFaces(run.faces, {{{10, 20, 30}, {10, 22, 30}, {7, 22, 30}, {7, 20, 50}}});
    EXPECT_EQ(run.report.facesFromInserts, 1);
}

TEST(FlattenInsert, RotationByAnyAngleKeepsLengths) {
    const FlattenRun run = FlattenPairs(Drawing(Block("B", "", kUnitSquare), "0 INSERT\n2 B\n50 30\n"));
    ASSERT_TRUE(run.ok) << run.error;
    ASSERT_EQ(run.faces.size(), 1u);
    const Face& f = run.faces[0];
    EXPECT_NEAR(f.B.x, std::sqrt(3) / 2, 1e-15);
    EXPECT_NEAR(f.B.y, 0.5, 1e-15);
    EXPECT_NEAR((f.C - f.A).r(), std::sqrt(2), 1e-15);
    EXPECT_NEAR(f.D.x, -0.5, 1e-15);
}

TEST(FlattenInsert, ExtrusionPlacesTheBlockInItsPlane) {
    // Normal (0, 0, -1): the plane's axes are world -x, y and -z.
    FlattenRun run = FlattenPairs(
        Drawing(Block("B", "", kUnitSquare), "0 INSERT\n2 B\n10 1\n20 2\n30 3\n210 0\n220 0\n230 -1\n"));
    ASSERT_TRUE(run.ok) << run.error;
    ExpectFaces(run.faces, {{{-1, 2, -3}, {-2, 2, -3}, {-2, 3, -3}, {-1, 3, -3}}});
    // Normal along x (any length): the plane's x axis is world y, its y axis world z.
    run = FlattenPairs(Drawing(Block("B", "", "0 3DFACE\n11 1\n22 1\n33 1\n"),
                               "0 INSERT\n2 B\n10 1\n20 2\n30 3\n210 2\n220 0\n230 0\n"));
    ASSERT_TRUE(run.ok) << run.error;
    ExpectFaces(run.faces, {{{3, 1, 2}, {3, 2, 2}, {3, 1, 3}, {4, 1, 2}}});
}

TEST(FlattenInsert, MinsertCopiesAlongTheTurnedAxesUnscaled) {
    // 2 columns 10 apart, 3 rows 20 apart, turned 90 degrees: columns step
    // along world y, rows along world -x; the scale 2 does not touch the spacing.
    const FlattenRun run = FlattenPairs(
        Drawing(Block("B", "", "0 3DFACE\n11 1\n12 1\n13 1\n"),
                "0 INSERT\n2 B\n10 100\n41 2\n42 2\n43 2\n50 90\n70 2\n71 3\n44 10\n45 20\n"));
    ASSERT_TRUE(run.ok) << run.error;
    std::vector<Face> want;
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 2; ++column) {
            const xyz at{100.0 - 20 * row, 10.0 * column, 0};
            want.push_back({at, at + xyz{0, 2, 0}, at + xyz{0, 2, 0}, at + xyz{0, 2, 0}});
        }
    ExpectFaces(run.faces, want);
    EXPECT_EQ(run.report.facesFromInserts, 6);
}

TEST(FlattenInsert, MinsertWithZeroSpacingMakesOneCopyPerPlace) {
    const FlattenRun run = FlattenPairs(Drawing(Block("B", "", kUnitSquare), "0 INSERT\n2 B\n70 4\n71 2\n45 5\n"));
    ASSERT_TRUE(run.ok) << run.error;
    ExpectFaces(run.faces, {kUnitSquareFace, {{0, 5, 0}, {1, 5, 0}, {1, 6, 0}, {0, 6, 0}}});
}

TEST(FlattenInsert, NestedBlocksComposeInFileOrder) {
    // INNER is turned 90 degrees and moved by (1, 0, 0) inside OUTER, which
    // is scaled by 2 and moved to (0, 0, 10); OUTER's own face comes first.
    const std::string blocks = Block("INNER", "", "0 3DFACE\n11 1\n12 1\n22 1\n") +
                               Block("Outer", "", "0 3DFACE\n10 5\n0 INSERT\n2 inner\n10 1\n50 90\n");
    const FlattenRun run = FlattenPairs(Drawing(
        blocks, "0 3DFACE\n10 -1\n0 INSERT\n2 OUTER\n30 10\n41 2\n42 2\n43 2\n0 3DFACE\n10 -2\n"));
    ASSERT_TRUE(run.ok) << run.error;
    ExpectFaces(run.faces, {{{-1, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
                            {{10, 0, 10}, {0, 0, 10}, {0, 0, 10}, {0, 0, 10}},
                            {{2, 0, 10}, {2, 2, 10}, {0, 2, 10}, {2, 0, 10}},
                            {{-2, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}}});
    EXPECT_EQ(run.report.facesFromInserts, 2);
}

TEST(FlattenInsert, TenThousandLevelsOfNesting) {
    constexpr int kLevels = 10000;
    std::string blocks = Block("B0", "", kUnitSquare);
    for (int i = 1; i < kLevels; ++i)
        blocks += Block("B" + std::to_string(i), "", "0 INSERT\n2 B" + std::to_string(i - 1) + "\n10 1\n");
    const FlattenRun run = FlattenPairs(Drawing(blocks, "0 INSERT\n2 B" + std::to_string(kLevels - 1) + "\n"));
    ASSERT_TRUE(run.ok) << run.error;
    ExpectFaces(run.faces, {{{9999, 0, 0}, {10000, 0, 0}, {10000, 1, 0}, {9999, 1, 0}}});
}

TEST(FlattenInsert, BlocksThatNothingInsertsAreLeftOut) {
    const FlattenRun run = FlattenPairs(Drawing(Block("UNUSED", "", kUnitSquare + std::string("0 LINE\n")) +
                                                    Block("*Paper_Space", "", kUnitSquare),
                                                ""));
    ASSERT_TRUE(run.ok) << run.error;
    EXPECT_TRUE(run.faces.empty());
    EXPECT_TRUE(run.report.unconverted.empty());
}

TEST(FlattenPolyline, PolyfaceFacesByVertexIndex) {
    const FlattenRun run = FlattenPairs(Drawing("", R"(
0 POLYLINE
66 1
70 64
71 5
72 4
0 VERTEX
10 0
20 0
30 0
70 192
0 VERTEX
10 1
20 0
30 0
70 192
0 VERTEX
10 1
20 1
30 0
70 192
0 VERTEX
10 0
20 1
30 0
70 192
0 VERTEX
10 0
20 0
30 1
70 192
0 VERTEX
70 128
71 1
72 -2
73 3
74 4
0 VERTEX
70 128
71 1
72 2
73 5
0 VERTEX
70 128
71 3
72 4
0 VERTEX
70 128
71 2
72 0
73 -5
74 4
0 SEQEND
)"));
    ASSERT_TRUE(run.ok) << run.error;
    // A quadrilateral (a negative index only hides an edge), a triangle with
    // its third corner repeated, an edge left out, and a face whose unused 0
    // index is skipped.
    ExpectFaces(run.faces, {kUnitSquareFace,
                            {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}, {0, 0, 1}},
                            {{1, 0, 0}, {0, 0, 1}, {0, 1, 0}, {0, 1, 0}}});
    EXPECT_EQ(run.report.facesFrom[static_cast<int>(FaceSource::Polyface)], 3);
}

// A 3 × 2 polygon mesh with vertex (m, n) at (m, n, m·n), and `flags`.
std::string PolygonMesh(int flags) {
    std::string text = "0 POLYLINE\n66 1\n70 " + std::to_string(flags) + "\n71 3\n72 2\n";
    for (int m = 0; m < 3; ++m)
        for (int n = 0; n < 2; ++n)
            text += "0 VERTEX\n10 " + std::to_string(m) + "\n20 " + std::to_string(n) + "\n30 " +
                    std::to_string(m * n) + "\n70 64\n";
    return text + "0 SEQEND\n";
}

TEST(FlattenPolyline, PolygonMeshOpenAndClosed) {
    const xyz v00{0, 0, 0}, v01{0, 1, 0}, v10{1, 0, 0}, v11{1, 1, 1}, v20{2, 0, 0}, v21{2, 1, 2};
    FlattenRun run = FlattenPairs(Drawing("", PolygonMesh(16)));
    ASSERT_TRUE(run.ok) << run.error;
    ExpectFaces(run.faces, {{v00, v10, v11, v01}, {v10, v20, v21, v11}});
    EXPECT_EQ(run.report.facesFrom[static_cast<int>(FaceSource::PolygonMesh)], 2);

    run = FlattenPairs(Drawing("", PolygonMesh(16 | 1))); // closed in M: the last row joins the first
    ASSERT_TRUE(run.ok) << run.error;
    ExpectFaces(run.faces, {{v00, v10, v11, v01}, {v10, v20, v21, v11}, {v20, v00, v01, v21}});

    run = FlattenPairs(Drawing("", PolygonMesh(16 | 32))); // closed in N
    ASSERT_TRUE(run.ok) << run.error;
    ExpectFaces(run.faces, {{v00, v10, v11, v01}, {v01, v11, v10, v00}, {v10, v20, v21, v11}, {v11, v21, v20, v10}});
}

TEST(FlattenPolyline, OtherPolylinesAreLinesNotFaces) {
    const FlattenRun run = FlattenPairs(Drawing("", "0 POLYLINE\n70 8\n0 VERTEX\n10 1\n0 VERTEX\n10 2\n0 SEQEND\n"));
    ASSERT_TRUE(run.ok) << run.error;
    EXPECT_TRUE(run.faces.empty());
    EXPECT_EQ(run.report.unconverted.at("POLYLINE"), 1);
}

TEST(FlattenMesh, LevelZeroFacesOfAnyCornerCount) {
    const FlattenRun run = FlattenPairs(Drawing("", R"(
0 MESH
100 AcDbEntity
8 0
100 AcDbSubDMesh
71 2
72 0
91 0
92 5
10 0
20 0
30 0
10 1
20 0
30 0
10 1
20 1
30 0
10 0
20 1
30 0
10 0.5
20 2
30 0
93 18
90 5
90 0
90 1
90 2
90 4
90 3
90 3
90 0
90 1
90 2
90 4
90 0
90 1
90 2
90 3
90 2
90 0
90 1
94 1
90 0
90 1
95 0
90 0
)"));
    ASSERT_TRUE(run.ok) << run.error;
    const xyz v0{0, 0, 0}, v1{1, 0, 0}, v2{1, 1, 0}, v3{0, 1, 0}, v4{0.5, 2, 0};
    // The pentagon as the fan (v0, vi, vi+1, vi+1); the two-corner face is an edge.
    ExpectFaces(run.faces, {{v0, v1, v2, v2}, {v0, v2, v4, v4}, {v0, v4, v3, v3}, {v0, v1, v2, v2}, {v0, v1, v2, v3}});
    EXPECT_EQ(run.report.facesFrom[static_cast<int>(FaceSource::Mesh)], 5);
}

TEST(FlattenReport, CountsPerSourceAndOtherKindsOfDrawnSpacesOnly) {
    const std::string blocks = Block("B", "", std::string(kUnitSquare) + "0 3DSOLID\n0 LINE\n") +
                               Block("UNUSED", "", "0 REGION\n");
    const FlattenRun run = FlattenPairs(Drawing(
        blocks, std::string(kUnitSquare) + "0 INSERT\n2 B\n70 3\n44 1\n0 LINE\n0 LINE\n67 1\n0 TEXT\n1 x\n"));
    ASSERT_TRUE(run.ok) << run.error;
    EXPECT_EQ(run.report.faces, 4);
    EXPECT_EQ(run.report.facesFrom[static_cast<int>(FaceSource::Face3d)], 1);
    EXPECT_EQ(run.report.facesFromInserts, 3);
    const std::map<std::string, long long, std::less<>> want{{"3DSOLID", 1}, {"LINE", 2}, {"TEXT", 1}};
    EXPECT_EQ(run.report.unconverted, want);
}

} // namespace
