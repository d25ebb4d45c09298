#include "support/face_table.h"
#include "view/orientation.h"
#include "view/standard_views.h"
#include "view/table_extents.h"
#include "view/view.h"
#include "view/view_navigation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

namespace {

constexpr StandardView kViews[] = {StandardView::Top, StandardView::Front, StandardView::Right,
                                   StandardView::Iso};

// Every test starts as after a load: the table as read, fitted.
class StandardViews : public ::testing::Test {
  protected:
    void SetUp() override {
        ForgetOrientation();
        ResetNavigation();
    }
    void TearDown() override {
        ForgetOrientation();
        ResetNavigation();
    }
};

// The triangle (0,0,0), (10,0,0), (0,0,10) in the x–z plane.
Face UprightTriangle() {
    return {{0, 0, 0}, {10, 0, 0}, {0, 0, 10}, {0, 0, 10}};
}

std::vector<Segment> Segments(int width, int height) {
    std::vector<Segment> segments;
    DrawContext dc(nullptr, &segments);
    DrawMesh(dc, Rect{0, 0, width, height});
    return segments;
}

// The segments of `faces` painted after the view.
std::vector<Segment> ViewSegments(std::vector<Face> faces, StandardView view) {
    FaceTableScope model(std::move(faces));
    ForgetOrientation();
    ShowStandardView(view);
    return Segments(300, 200);
}

void ExpectCorner(const xyz& p, double x, double y, double z) {
    EXPECT_EQ(p.x, x);
    EXPECT_EQ(p.y, y);
    EXPECT_EQ(p.z, z);
}

std::vector<Face> RandomFaces(int count, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> coordinate(-100, 100);
    std::vector<Face> faces(static_cast<std::size_t>(count));
    for (Face& face : faces)
        for (xyz* p : {&face.A, &face.B, &face.C, &face.D})
            *p = xyz(coordinate(random), coordinate(random), coordinate(random));
    return faces;
}

// Turns by keys, single mouse turns and diagonal drags, at random.
void TurnAtRandom(std::mt19937& random, int turns) {
    constexpr unsigned char kKeys[] = {kKeyPageUp, kKeyPageDown, kKeyHome, kKeyEnd, kKeyInsert, kKeyDelete};
    std::uniform_int_distribution<int> pick(0, 7), rep(-40, 40), pixels(-500, 500);
    const Rect client{0, 0, 640, 480};
    for (int i = 0; i < turns; ++i) {
        const int what = pick(random);
        if (what < 6)
            RotateMesh(kKeys[what], rep(random));
        else
            TurnByDrag(pixels(random), pixels(random), what == 7, client);
    }
}

double Distance(const xyz& a, const xyz& b) {
    return (a - b).r();
}

} // namespace

TEST_F(StandardViews, TopShowsTheUprightTriangleEdgeOnAndFrontWhole) {
    for (const Segment& s : ViewSegments({UprightTriangle()}, StandardView::Top)) {
        EXPECT_EQ(s.y1, s.y2); // every edge on one row: a line
        EXPECT_EQ(s.y1, ViewSegments({UprightTriangle()}, StandardView::Top)[0].y1);
    }
    // From the front the triangle is what the same triangle laid in the
    // x–y plane shows from the top.
    const Face laid = FlatFace(0, 0, 10, 0, 0, 10, 0, 10);
    EXPECT_EQ(ViewSegments({UprightTriangle()}, StandardView::Front),
              ViewSegments({laid}, StandardView::Top));
}

TEST_F(StandardViews, RightSideShowsYToTheRightAndZUp) {
    // A triangle in the y–z plane: edge-on from the front, whole from the right.
    const Face side{{0, 0, 0}, {0, 10, 0}, {0, 0, 10}, {0, 0, 10}};
    const Face laid = FlatFace(0, 0, 10, 0, 0, 10, 0, 10);
    EXPECT_EQ(ViewSegments({side}, StandardView::Right), ViewSegments({laid}, StandardView::Top));
    for (const Segment& s : ViewSegments({side}, StandardView::Front))
        EXPECT_EQ(s.x1, s.x2);
}

TEST_F(StandardViews, StraightAfterALoadTheViewsMoveCornersExactly) {
    const xyz p(2, 3, 5);
    const std::pair<StandardView, xyz> cases[] = {
        {StandardView::Top, {2, 3, 5}}, {StandardView::Front, {2, 5, -3}}, {StandardView::Right, {3, 5, 2}}};
    for (const auto& [view, expected] : cases) {
        FaceTableScope model({{p, p, p, p}});
        ForgetOrientation();
        ShowStandardView(view);
        ExpectCorner(F[0].D, expected.x, expected.y, expected.z);
    }
}

TEST_F(StandardViews, IsoLooksFromOneMinusOneOneWithZUp) {
    // The eye's direction lands on the centre of the screen, z straight up,
    // (1, 1, 0) straight to the right; lengths are kept.
    FaceTableScope model({{{1, -1, 1}, {0, 0, 1}, {1, 1, 0}, {3, -4, 12}}});
    ShowStandardView(StandardView::Iso);
    EXPECT_NEAR(F[0].A.x, 0, 1e-15);
    EXPECT_NEAR(F[0].A.y, 0, 1e-15);
    EXPECT_NEAR(F[0].A.z, std::sqrt(3.0), 1e-15);
    EXPECT_EQ(F[0].B.x, 0);
    EXPECT_GT(F[0].B.y, 0);
    EXPECT_NEAR(F[0].C.x, std::sqrt(2.0), 1e-15);
    EXPECT_NEAR(F[0].C.y, 0, 1e-15);
    EXPECT_NEAR(F[0].D.r(), 13, 1e-13);
}

TEST_F(StandardViews, AfterRandomTurnsEachViewIsTheViewStraightAfterALoad) {
    const std::vector<Face> read = RandomFaces(50, 7);
    std::mt19937 random(11);
    for (const StandardView view : kViews) {
        FaceTableScope fresh(read);
        ForgetOrientation();
        ShowStandardView(view);
        const std::vector<Face> expected = fresh.faces();

        FaceTableScope turned(read);
        ForgetOrientation();
        TurnAtRandom(random, 40);
        ShowStandardView(view);
        for (std::size_t i = 0; i < read.size(); ++i) {
            EXPECT_LT(Distance(turned.faces()[i].A, expected[i].A), 1e-10) << i;
            EXPECT_LT(Distance(turned.faces()[i].D, expected[i].D), 1e-10) << i;
        }
    }
}

TEST_F(StandardViews, OrientationFollowsEveryKindOfTurn) {
    const std::vector<Face> read = RandomFaces(20, 3);
    FaceTableScope model(read);
    std::mt19937 random(5);
    TurnAtRandom(random, 60);
    TurnMesh(Plane::XY, 0.3);
    TurnMeshTwice({Plane::XZ, -1.1}, {Plane::YZ, 0.7});
    const auto& m = TableOrientation.m;
    for (std::size_t i = 0; i < read.size(); ++i) {
        const xyz& p = read[i].B;
        const xyz predicted(m[0][0] * p.x + m[0][1] * p.y + m[0][2] * p.z,
                            m[1][0] * p.x + m[1][1] * p.y + m[1][2] * p.z,
                            m[2][0] * p.x + m[2][1] * p.y + m[2][2] * p.z);
        EXPECT_LT(Distance(model.faces()[i].B, predicted), 1e-10) << i;
    }
}

TEST_F(StandardViews, ViewResetsZoomAndPan) {
    FaceTableScope model({UprightTriangle()});
    ZoomAt(240, 10, 10, Rect{0, 0, 100, 100});
    PanBy(5, 7);
    ShowStandardView(StandardView::Right);
    EXPECT_EQ(Navigation.zoom, 1);
    EXPECT_EQ(Navigation.right, 0);
    EXPECT_EQ(Navigation.up, 0);
}

TEST_F(StandardViews, KeysOtherThanTheDigitsOneToFourChangeNothing) {
    // The digits themselves, main row and keypad, are driven through the
    // window in the shell tests.
    const std::vector<Face> read = RandomFaces(4, 2);
    FaceTableScope model(read);
    for (const unsigned char key : {0x30, 0x35, 0x39, 0x60, 0x65, 0x69, 0x21, 0x7B}) {
        EXPECT_FALSE(ShowStandardViewForKey(key)) << +key;
        EXPECT_EQ(std::memcmp(model.faces().data(), read.data(), read.size() * sizeof(Face)), 0) << +key;
    }
}

TEST_F(StandardViews, LargeTableTurnsOnTwoThreadsAsTheSmallOneDoes) {
    // The one-pass turn of a table split over two threads gives every corner
    // bit for bit what the same turn gives the faces a few at a time.
    const std::vector<Face> read = RandomFaces(kLargeTable + 100, 4);
    FaceTableScope large(read);
    RotateMesh(kKeyHome, 4);
    ShowStandardView(StandardView::Iso);
    std::vector<Face> pieces;
    for (std::size_t first = 0; first < read.size(); first += 1000) {
        FaceTableScope piece(
            std::vector<Face>(read.begin() + static_cast<long>(first),
                              read.begin() + static_cast<long>(std::min(read.size(), first + 1000))));
        ForgetOrientation();
        RotateMesh(kKeyHome, 4);
        ShowStandardView(StandardView::Iso);
        pieces.insert(pieces.end(), piece.faces().begin(), piece.faces().end());
    }
    EXPECT_EQ(std::memcmp(large.faces().data(), pieces.data(), read.size() * sizeof(Face)), 0);
    // Its extents, found on the way, are those of the turned table.
    TableExtents remembered;
    ASSERT_TRUE(RememberedTableExtents(remembered));
    EXPECT_TRUE(remembered.same(MeasureTableExtents()));
}
