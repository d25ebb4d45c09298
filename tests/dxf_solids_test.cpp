#include "meshfile/writer/dxf_solids.h"
#include "meshfile/writer/dxf_writer.h"
#include "support/read_back.h"
#include "support/temp_files.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

// A written coordinate is off by at most 0.0005 on each axis, a distance by
// at most 0.0005·√3; the rest is room for the arithmetic.
constexpr double kTolerance = 0.001;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

class DxfSolids : public ::testing::Test {
protected:
    // Runs `write` on a fresh file and reads the file back.
    std::vector<Face> written(const std::function<bool(DXF&)>& write, bool expected_result = true) {
        const std::string path = (dir.path() / "solid.dxf").string();
        {
            DXF dxf(path.c_str());
            EXPECT_EQ(write(dxf), expected_result);
            EXPECT_TRUE(dxf.close());
        }
        return ReadFacesBack(path);
    }

    TempDir dir;
};

using PointKey = std::array<long long, 3>;

PointKey KeyOf(const xyz& p) {
    return {std::llround(p.x * 1000), std::llround(p.y * 1000), std::llround(p.z * 1000)};
}

// A rounded corner in thousandths.
std::string Described(const PointKey& key) {
    return "(" + std::to_string(key[0]) + "," + std::to_string(key[1]) + "," + std::to_string(key[2]) + ")";
}

// How many faces use each edge between two distinct corners, corners matched
// after rounding. A triangle's edge C→D with D equal to C is no edge.
std::map<std::pair<PointKey, PointKey>, int> EdgeUses(const std::vector<Face>& faces) {
    std::map<std::pair<PointKey, PointKey>, int> uses;
    for (const Face& face : faces) {
        const PointKey corners[] = {KeyOf(face.A), KeyOf(face.B), KeyOf(face.C), KeyOf(face.D)};
        for (int i = 0; i < 4; ++i) {
            const PointKey &from = corners[i], &to = corners[(i + 1) % 4];
            if (from != to) ++uses[std::minmax(from, to)];
        }
    }
    return uses;
}

void ExpectClosed(const std::vector<Face>& faces) {
    const auto uses = EdgeUses(faces);
    ASSERT_FALSE(uses.empty());
    for (const auto& [edge, count] : uses)
        ASSERT_EQ(count, 2) << "edge " << Described(edge.first) << "-" << Described(edge.second);
}

void ExpectEveryCorner(const std::vector<Face>& faces, const std::function<bool(const xyz&)>& on_surface) {
    for (std::size_t i = 0; i < faces.size(); ++i)
        for (const xyz* p : {&faces[i].A, &faces[i].B, &faces[i].C, &faces[i].D})
            ASSERT_TRUE(on_surface(*p)) << "face " << i << " corner (" << p->x << ", " << p->y << ", " << p->z
                                        << ")";
}

double Dot(const xyz& a, const xyz& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// True when p lies on the closed frustum from a (radius ra) to b (radius rb),
// side or end discs.
bool OnFrustum(const xyz& p, const xyz& a, const xyz& b, double ra, double rb) {
    const double length = (b - a).r();
    const xyz axis = (b - a) * (1 / length);
    const double along = Dot(p - a, axis);
    const double from_axis = (p - a - axis * along).r();
    const double t = along / length;
    if (std::fabs(along) <= kTolerance) return from_axis <= ra + kTolerance;
    if (std::fabs(along - length) <= kTolerance) return from_axis <= rb + kTolerance;
    return t > 0 && t < 1 && std::fabs(from_axis - (ra + (rb - ra) * t)) <= kTolerance;
}

TEST_F(DxfSolids, BlockIsSixQuadrilateralsOnTheBoxSurface) {
    const auto faces = written([](DXF& dxf) { return dxf.block(2, -1, 0.5, -3, 4, 1.25); });
    ASSERT_EQ(faces.size(), 6u);
    ExpectClosed(faces);
    ExpectEveryCorner(faces, [](const xyz& p) {
        return (p.x == 2 || p.x == -3) && (p.y == -1 || p.y == 4) && (p.z == 0.5 || p.z == 1.25);
    });
}

TEST_F(DxfSolids, SphereHasSegmentsTimesHalfSegmentsRoundedUpFaces) {
    for (int n : {3, 4, 5, 8, 17, 32}) {
        const xyz centre(1, -2, 3.5);
        const auto faces = written([&](DXF& dxf) { return dxf.sphere(centre, 2.5, n); });
        EXPECT_EQ(faces.size(), static_cast<std::size_t>(n * ((n + 1) / 2))) << n << " segments";
        ExpectClosed(faces);
        ExpectEveryCorner(faces,
                          [&](const xyz& p) { return std::fabs((p - centre).r() - 2.5) <= kTolerance; });
    }
}

TEST_F(DxfSolids, FrustumHasSideBandsAndTwoCaps) {
    const xyz a(1, 2, 3), b(4, -1, 5);
    for (auto [around, along] : {std::pair{3, 1}, {4, 2}, {12, 5}}) {
        const auto faces = written([&](DXF& dxf) { return dxf.cone(a, b, 2, 0.75, around, along); });
        EXPECT_EQ(faces.size(), static_cast<std::size_t>(around * (along + 2))) << around << " x " << along;
        ExpectClosed(faces);
        ExpectEveryCorner(faces, [&](const xyz& p) { return OnFrustum(p, a, b, 2, 0.75); });
    }
}

TEST_F(DxfSolids, ConeWithAnApexHasOneCap) {
    const xyz a(0, 0, -1), b(0.5, 3, 2);
    for (auto [ra, rb] : {std::pair{1.5, 0.0}, {0.0, 1.5}}) {
        for (int along : {1, 3}) {
            const auto faces = written([&](DXF& dxf) { return dxf.cone(a, b, ra, rb, 10, along); });
            EXPECT_EQ(faces.size(), static_cast<std::size_t>(10 * (along + 1))) << ra << " to " << rb;
            ExpectClosed(faces);
            ExpectEveryCorner(faces, [&](const xyz& p) { return OnFrustum(p, a, b, ra, rb); });
        }
    }
}

TEST_F(DxfSolids, CylinderAlongEachAxisAndObliqueIsClosed) {
    const xyz ends[][2] = {
        {{0, 0, 0}, {0, 0, 3}}, {{1, 1, 1}, {-4, 1, 1}}, {{0, 2, 0}, {0, -1, 0}}, {{1, 2, 3}, {3, 1, 7}}};
    for (const auto& end : ends) {
        const auto faces = written([&](DXF& dxf) { return dxf.cylinder(end[0], end[1], 1.25, 7, 3); });
        EXPECT_EQ(faces.size(), static_cast<std::size_t>(7 * (3 + 2)));
        ExpectClosed(faces);
        ExpectEveryCorner(faces, [&](const xyz& p) { return OnFrustum(p, end[0], end[1], 1.25, 1.25); });
    }
}

TEST_F(DxfSolids, BadArgumentsWriteNothingAndAnswerFalse) {
    const xyz o(0, 0, 0), z(0, 0, 1);
    const std::function<bool(DXF&)> bad[] = {
        [](DXF& d) { return d.block(0, 0, 0, 1, 0, 1); },
        [](DXF& d) { return d.block(kNaN, 0, 0, 1, 1, 1); },
        [&](DXF& d) { return d.sphere(o, 1, 2); },
        [&](DXF& d) { return d.sphere(o, -1, 8); },
        [&](DXF& d) { return d.sphere(o, 0, 8); },
        [&](DXF& d) { return d.sphere(xyz(0, kNaN, 0), 1, 8); },
        [&](DXF& d) { return d.sphere(o, std::numeric_limits<double>::infinity(), 8); },
        [&](DXF& d) { return d.cone(o, o, 1, 0, 8, 1); },
        [&](DXF& d) { return d.cone(o, z, 0, 0, 8, 1); },
        [&](DXF& d) { return d.cone(o, z, -1, 1, 8, 1); },
        [&](DXF& d) { return d.cone(o, z, 1, kNaN, 8, 1); },
        [&](DXF& d) { return d.cone(o, z, 1, 1, 2, 1); },
        [&](DXF& d) { return d.cone(o, z, 1, 1, 8, 0); },
        [&](DXF& d) { return d.cylinder(o, o, 1, 8, 1); },
        [&](DXF& d) { return d.cylinder(o, z, 0, 8, 1); },
        [&](DXF& d) { return d.cylinder(o, z, 1, 8, -1); },
        [&](DXF& d) { return d.cylinder(o, xyz(kNaN, 0, 0), 1, 8, 1); },
        [&](DXF& d) { return d.cylinder(o, z, 1, 100000, 100000); },
    };
    for (std::size_t i = 0; i < std::size(bad); ++i)
        EXPECT_TRUE(written(bad[i], false).empty()) << "case " << i;
}

TEST_F(DxfSolids, ArgumentProblemsAreNamedAndGoodArgumentsPass) {
    const xyz o(0, 0, 0), z(0, 0, 1);
    EXPECT_STREQ(SphereArgumentsProblem(o, -1, 8), "radius must be finite and above 0");
    EXPECT_STREQ(CylinderArgumentsProblem(o, o, 1, 8, 1), "the two end points must differ");
    EXPECT_STREQ(ConeArgumentsProblem(o, z, 1, 0, 2, 1), "segments around must be 3 or more");
    EXPECT_EQ(BlockArgumentsProblem(-1, -1, -1, 1, 1, 1), nullptr);
    EXPECT_EQ(SphereArgumentsProblem(o, 1, 3), nullptr);
    // The largest sphere whose face count fits an int, and one more segment.
    EXPECT_EQ(SphereArgumentsProblem(o, 1, kMaxSphereSegments), nullptr);
    EXPECT_LE(static_cast<long long>(kMaxSphereSegments) * ((kMaxSphereSegments + 1) / 2), INT_MAX);
    EXPECT_STREQ(SphereArgumentsProblem(o, 1, kMaxSphereSegments + 1), "segments must be from 3 to 65535");
    EXPECT_STREQ(CylinderArgumentsProblem(o, z, 1, 100000, 100000),
                 "too many segments: around x (along + 2) must be at most 2147483647");
    EXPECT_EQ(ConeArgumentsProblem(o, z, 0, 1, 3, 1), nullptr);
    EXPECT_EQ(CylinderArgumentsProblem(o, z, 1, 3, 1), nullptr);
}

} // namespace
