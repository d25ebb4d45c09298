// Smoothed polygon meshes (POLYLINE flags 16 and 4): the fitted surface's
// vertices (VERTEX flag 8, 73 × 74 of them) are drawn, closed by flags 1 and
// 32, and the control frame (VERTEX flag 16) is not. Faces worked out by hand.
#include "support/dxf_pairs.h"
#include "support/flatten_run.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr FlattenLimits kStrict{50'000'000, 50'000'000, true};

std::string Entities(const std::string& entities) {
    return "0 SECTION\n2 ENTITIES\n" + entities + "0 ENDSEC\n0 EOF\n";
}

std::string Vertex(int flags, double x, double y, double z) {
    return "0 VERTEX\n8 0\n10 " + std::to_string(x) + "\n20 " + std::to_string(y) + "\n30 " +
           std::to_string(z) + "\n70 " + std::to_string(flags) + "\n";
}

// A smoothed mesh of an M × N control frame, all of it at z = -100, fitted by
// `fitted` vertices of the `mDensity` × `nDensity` surface whose vertex
// (i, j) is at (i, j, 10 i + j).
std::string SmoothedMesh(int flags, int m, int n, int mDensity, int nDensity, int fitted) {
    std::string text = "0 POLYLINE\n8 0\n66 1\n10 0\n20 0\n30 0\n70 " + std::to_string(flags) + "\n71 " +
                       std::to_string(m) + "\n72 " + std::to_string(n) + "\n73 " + std::to_string(mDensity) +
                       "\n74 " + std::to_string(nDensity) + "\n75 6\n";
    for (int v = 0; v < m * n; ++v)
        text += Vertex(16 + 64, v / n, v % n, -100);
    for (int v = 0; v < fitted; ++v)
        text += Vertex(8 + 64, v / nDensity, v % nDensity, 10 * (v / nDensity) + v % nDensity);
    return text + "0 SEQEND\n8 0\n";
}

constexpr int kSmooth = 16 + 4, kClosedM = 1, kClosedN = 32;

xyz Fitted(int i, int j) {
    return {double(i), double(j), 10.0 * i + j};
}

void ExpectFace(const Face& got, const Face& want) {
    const xyz g[] = {got.A, got.B, got.C, got.D}, w[] = {want.A, want.B, want.C, want.D};
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(g[c].x, w[c].x) << "corner " << c;
        EXPECT_EQ(g[c].y, w[c].y) << "corner " << c;
        EXPECT_EQ(g[c].z, w[c].z) << "corner " << c;
    }
}

TEST(FlattenSmoothedMesh, OpenSurfaceDrawsTheFittedVerticesNotTheFrame) {
    const FlattenRun run = FlattenPairs(Entities(SmoothedMesh(kSmooth, 2, 2, 3, 2, 6)));
    ASSERT_TRUE(run.ok) << run.error;
    ASSERT_EQ(run.faces.size(), 2u);
    ExpectFace(run.faces[0], {Fitted(0, 0), Fitted(1, 0), Fitted(1, 1), Fitted(0, 1)});
    ExpectFace(run.faces[1], {Fitted(1, 0), Fitted(2, 0), Fitted(2, 1), Fitted(1, 1)});
    EXPECT_EQ(run.report.facesFrom[static_cast<int>(FaceSource::PolygonMesh)], 2);
    EXPECT_TRUE(run.report.leftOut.empty());
}

TEST(FlattenSmoothedMesh, ClosedSurfacesJoinTheLastRowAndColumnToTheFirst) {
    const FlattenRun both =
        FlattenPairs(Entities(SmoothedMesh(kSmooth | kClosedM | kClosedN, 2, 2, 3, 2, 6)));
    ASSERT_TRUE(both.ok) << both.error;
    ASSERT_EQ(both.faces.size(), 6u);
    ExpectFace(both.faces[1], {Fitted(0, 1), Fitted(1, 1), Fitted(1, 0), Fitted(0, 0)});
    ExpectFace(both.faces[5], {Fitted(2, 1), Fitted(0, 1), Fitted(0, 0), Fitted(2, 0)});
    const FlattenRun inM = FlattenPairs(Entities(SmoothedMesh(kSmooth | kClosedM, 2, 2, 3, 2, 6)));
    ASSERT_EQ(inM.faces.size(), 3u);
    ExpectFace(inM.faces[2], {Fitted(2, 0), Fitted(0, 0), Fitted(0, 1), Fitted(2, 1)});
    EXPECT_EQ(FlattenPairs(Entities(SmoothedMesh(kSmooth | kClosedN, 2, 2, 3, 2, 6))).faces.size(), 4u);
}

TEST(FlattenSmoothedMesh, SixByFourFrameWithTwoHundredFittedVertices) {
    // 224 VERTEX records: 6 × 4 of the frame and 10 × 20 of the surface.
    const FlattenRun run = FlattenPairs(Entities(SmoothedMesh(kSmooth, 6, 4, 10, 20, 200)));
    ASSERT_TRUE(run.ok) << run.error;
    ASSERT_EQ(run.faces.size(), 9u * 19u);
    for (const Face& face : run.faces)
        for (const xyz& corner : {face.A, face.B, face.C, face.D})
            ASSERT_GE(corner.z, 0) << "a frame vertex";
    ExpectFace(run.faces.back(), {Fitted(8, 18), Fitted(9, 18), Fitted(9, 19), Fitted(8, 19)});
}

TEST(FlattenSmoothedMesh, MissingOrMiscountedFittedVerticesAreLeftOutOrRefused) {
    const struct {
        std::string mesh, reason, kind;
    } cases[] = {
        {SmoothedMesh(kSmooth, 2, 2, 3, 2, 0),
         "smoothed polygon mesh (flag 4) without the vertices of its fitted surface (VERTEX flag 8)",
         "smoothed polygon mesh without its fitted surface"},
        {SmoothedMesh(kSmooth, 2, 2, 3, 2, 5),
         "smoothed polygon mesh of 3 (73) by 2 (74) fitted vertices holds 5 of them (VERTEX flag 8)",
         "smoothed polygon mesh of the wrong fitted vertex count"},
        {SmoothedMesh(kSmooth, 2, 2, 0, 2, 6),
         "smoothed polygon mesh of 0 (73) by 2 (74) fitted vertices holds 6 of them (VERTEX flag 8)",
         "smoothed polygon mesh of the wrong fitted vertex count"},
    };
    const std::string face = "0 3DFACE\n10 7\n11 8\n12 8\n22 1\n";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        const std::string pairs = Entities(face + c.mesh + face);
        const FlattenRun run = FlattenPairs(pairs);
        ASSERT_TRUE(run.ok) << run.error;
        EXPECT_EQ(run.faces.size(), 2u) << "the faces around it";
        ASSERT_EQ(run.report.leftOut.count(), 1);
        const LeftOutItem& item = run.report.leftOut.first()[0];
        EXPECT_EQ(item.place, "line 15") << "the POLYLINE";
        EXPECT_EQ(item.reason, c.reason);
        EXPECT_EQ(item.kind, c.kind);
        EXPECT_EQ(FlattenPairs(pairs, kStrict).error, "line 15: " + c.reason);
    }
}

} // namespace
