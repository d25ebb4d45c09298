#include "support/face_table.h"
#include "view/key_strokes.h"
#include "view/view_navigation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numbers>
#include <random>
#include <vector>

namespace {

// Every test starts and ends at the fitted view.
class Navigate : public ::testing::Test {
protected:
    void SetUp() override { ResetNavigation(); }
    void TearDown() override { ResetNavigation(); }
};

struct Transform {
    double xb, yb, xs, ys;
};

// The transform a paint of R uses: the fit, then zoom and pan.
Transform Painted(const Rect& R) {
    FitView(R);
    ApplyNavigation();
    return {xb, yb, xs, ys};
}

bool SameBits(const Transform& a, const Transform& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::vector<Segment> Segments(const Rect& R) {
    std::vector<Segment> segments;
    DrawContext dc(nullptr, &segments);
    DrawMesh(dc, R);
    return segments;
}

std::vector<Face> RandomFaces(std::mt19937& random, int count, double spread) {
    std::uniform_real_distribution<double> coordinate(-spread, spread);
    std::vector<Face> faces(count);
    for (Face& face : faces)
        for (xyz* p : {&face.A, &face.B, &face.C, &face.D}) *p = xyz(coordinate(random), coordinate(random), coordinate(random));
    return faces;
}

// The model x, y at the centre of client pixel (column, row) in the painted view of R.
xyz ModelPointAt(const Rect& R, int column, int row) {
    const Transform t = Painted(R);
    const int Rb = R.bottom - 1;
    return xyz((column + 0.5) / t.xs - t.xb, (Rb - row + 0.5) / t.ys - t.yb, 0);
}

// The pixel a model point starts a line on in the painted view of R.
void PixelOf(const Rect& R, const xyz& P, int& column, int& row) {
    const Transform t = Painted(R);
    column = static_cast<int>(std::floor((P.x + t.xb) * t.xs));
    row = R.bottom - 1 - static_cast<int>(std::floor((P.y + t.yb) * t.ys));
}

// The point (1, 0, 0) ... turned by a drag: one face of four equal corners.
xyz Dragged(xyz p, int dx, int dy, bool shift, const Rect& R) {
    FaceTableScope model({{p, p, p, p}});
    TurnByDrag(dx, dy, shift, R);
    return F[0].D;
}

} // namespace

TEST_F(Navigate, FittedViewLeavesTheFitBitForBit) {
    std::mt19937 random(11);
    for (int round = 0; round < 200; ++round) {
        FaceTableScope model(RandomFaces(random, 1 + round % 7, round % 2 ? 1e-3 : 1e6));
        const Rect R{0, 0, static_cast<int>(random() % 3000), static_cast<int>(random() % 3000)};
        FitView(R);
        const Transform fitted{xb, yb, xs, ys};
        EXPECT_TRUE(SameBits(Painted(R), fitted)) << "round " << round;
    }
}

TEST_F(Navigate, ZoomInAndOutAtOnePointComesBackToTheFit) {
    FaceTableScope model({FlatFace(0, 0, 10, 0, 10, 5, 0, 5)});
    const Rect R{0, 0, 402, 202};
    FitView(R);
    const Transform fitted{xb, yb, xs, ys};
    ZoomAt(kWheelNotch, 100, 50, R);
    EXPECT_EQ(Navigation.zoom, 1.25);
    EXPECT_EQ(Painted(R).xs, 50.0);
    ZoomAt(-kWheelNotch, 100, 50, R);
    EXPECT_TRUE(SameBits(Painted(R), fitted));
}

TEST_F(Navigate, SmallerWheelDeltasZoomInProportion) {
    const Rect R{0, 0, 400, 300};
    ZoomAt(60, 10, 10, R);
    EXPECT_NEAR(Navigation.zoom, std::sqrt(1.25), 1e-15);
    ZoomAt(60, 10, 10, R);
    EXPECT_NEAR(Navigation.zoom, 1.25, 1e-15);
    ZoomAt(-240, 10, 10, R);
    EXPECT_NEAR(Navigation.zoom, 1 / 1.25, 1e-15);
    ZoomAt(0, 10, 10, R);
    EXPECT_NEAR(Navigation.zoom, 1 / 1.25, 1e-15);
}

TEST_F(Navigate, WheelKeepsTheModelPointUnderTheCursor) {
    std::mt19937 random(5);
    for (int round = 0; round < 500; ++round) {
        FaceTableScope model(RandomFaces(random, 3, 50));
        const Rect R{0, 0, 50 + static_cast<int>(random() % 1500), 50 + static_cast<int>(random() % 1000)};
        for (int wheel = 0; wheel < 4; ++wheel) {
            const int column = static_cast<int>(random() % R.right), row = static_cast<int>(random() % R.bottom);
            const int delta = static_cast<int>(random() % 721) - 360;
            const xyz under = ModelPointAt(R, column, row);
            ZoomAt(delta, column, row, R);
            int newColumn, newRow;
            PixelOf(R, under, newColumn, newRow);
            ASSERT_LE(std::abs(newColumn - column), 1) << "round " << round << " delta " << delta;
            ASSERT_LE(std::abs(newRow - row), 1) << "round " << round << " delta " << delta;
        }
        ResetNavigation();
    }
}

TEST_F(Navigate, ZoomStopsAtItsLimits) {
    const Rect R{0, 0, 400, 300};
    for (int notch = 0; notch < 100; ++notch) ZoomAt(kWheelNotch, 200, 100, R);
    EXPECT_EQ(Navigation.zoom, kMaxZoom);
    const ViewNavigation atLimit = Navigation;
    ZoomAt(kWheelNotch, 5, 5, R); // no further, and the picture does not move
    EXPECT_EQ(Navigation.right, atLimit.right);
    EXPECT_EQ(Navigation.up, atLimit.up);
    for (int notch = 0; notch < 200; ++notch) ZoomAt(-kWheelNotch, 200, 100, R);
    EXPECT_EQ(Navigation.zoom, kMinZoom);
}

TEST_F(Navigate, PanMovesThePicturePixelForPixel) {
    FaceTableScope model({FlatFace(0, 0, 10, 0, 10, 5, 0, 5)});
    const Rect R{0, 0, 402, 202};
    const std::vector<Segment> fitted = Segments(R);
    PanBy(-37, 12);
    const std::vector<Segment> panned = Segments(R);
    ASSERT_EQ(panned.size(), fitted.size());
    for (std::size_t i = 0; i < fitted.size(); ++i) {
        EXPECT_EQ(panned[i].x1, fitted[i].x1 - 37);
        EXPECT_EQ(panned[i].y1, fitted[i].y1 + 12);
        EXPECT_EQ(panned[i].x2, fitted[i].x2 - 37);
        EXPECT_EQ(panned[i].y2, fitted[i].y2 + 12);
    }
}

TEST_F(Navigate, ResizeKeepsZoomAndPanOnTopOfTheNewFit) {
    FaceTableScope model({FlatFace(0, 0, 10, 0, 10, 5, 0, 5)});
    ZoomAt(2 * kWheelNotch, 30, 40, Rect{0, 0, 402, 202});
    PanBy(5, -3);
    const ViewNavigation before = Navigation;
    const Transform small = Painted(Rect{0, 0, 202, 102}); // fit scale 20
    EXPECT_EQ(small.xs, 20 * 1.5625);
    const Transform large = Painted(Rect{0, 0, 802, 402}); // fit scale 80
    EXPECT_EQ(large.xs, 80 * 1.5625);
    EXPECT_EQ(Navigation.zoom, before.zoom);
    EXPECT_EQ(Navigation.right, before.right);
    // The pan and the zoom's offset stay in pixels from the bottom-left anchor.
    EXPECT_NEAR((0 + small.xb) * small.xs, before.right, 1e-9);
    EXPECT_NEAR((0 + large.xb) * large.xs, before.right, 1e-9);
}

TEST_F(Navigate, DegenerateClientAreasStayDefined) {
    FaceTableScope model({FlatFace(0, 0, 10, 0, 10, 5, 0, 5)});
    ZoomAt(kWheelNotch, 0, 0, Rect{0, 0, 2, 2});
    PanBy(3, 3);
    const Transform t = Painted(Rect{0, 0, 2, 2}); // scale 0: nothing to pan
    EXPECT_EQ(t.xs, 0.0);
    EXPECT_FALSE(std::isnan(t.xb) || std::isnan(t.yb));
    EXPECT_EQ(Segments(Rect{0, 0, 0, 0}).size(), 4u);
}

TEST_F(Navigate, DragAcrossTheSmallerSideTurnsHalfWay) {
    const Rect wide{0, 0, 640, 480};
    const xyz front(0, 0, 1);
    const xyz right = Dragged(front, 480, 0, false, wide);
    EXPECT_NEAR(right.x, 0, 1e-15);
    EXPECT_NEAR(right.z, -1, 1e-15);
    // A quarter of the way: the near side follows the cursor right, then down.
    const xyz quarterRight = Dragged(front, 240, 0, false, wide);
    EXPECT_NEAR(quarterRight.x, 1, 1e-15);
    const xyz quarterDown = Dragged(front, 0, 240, false, wide);
    EXPECT_NEAR(quarterDown.y, -1, 1e-15);
    // With Shift, to the right is clockwise: +y goes to +x.
    const xyz clockwise = Dragged(xyz(0, 1, 0), 240, 0, true, wide);
    EXPECT_NEAR(clockwise.x, 1, 1e-15);
    EXPECT_NEAR(clockwise.y, 0, 1e-15);
    // With Shift, vertical motion still turns in the y–z plane.
    EXPECT_NEAR(Dragged(front, 0, 240, true, wide).y, -1, 1e-15);
}

TEST_F(Navigate, DragTurnsWithTheKeyTurnsFormulas) {
    const Rect R{0, 0, 700, 360}; // 2 pixels a degree
    std::mt19937 random(3);
    const std::vector<Face> faces = RandomFaces(random, 20, 10);
    FaceTableScope byDrag(faces);
    TurnByDrag(20, -20, false, R);
    const std::vector<Face> dragged = byDrag.faces();
    FaceTableScope byTurn(faces);
    TurnMesh(Plane::XZ, 20 * (std::numbers::pi / 360));
    TurnMesh(Plane::YZ, -20 * (std::numbers::pi / 360));
    EXPECT_EQ(std::memcmp(dragged.data(), byTurn.faces().data(), faces.size() * sizeof(Face)), 0);
    // And ten degrees is, within rounding, a key stroke: Page Down then Home.
    FaceTableScope byKey(faces);
    RotateMesh(kKeyPageDown, 1);
    RotateMesh(kKeyHome, 1);
    for (std::size_t i = 0; i < faces.size(); ++i) EXPECT_NEAR(byKey.faces()[i].A.x, dragged[i].A.x, 1e-12);
}

TEST_F(Navigate, DragInAnEmptyClientAreaStillTurnsByAFiniteAngle) {
    const xyz p = Dragged(xyz(1, 2, 3), 7, -9, false, Rect{0, 0, 0, 0});
    EXPECT_NEAR(p.r(), xyz(1, 2, 3).r(), 1e-12);
}

TEST_F(Navigate, StepsDoWhatTheMouseDoes) {
    FaceTableScope model({FlatFace(0, 0, 10, 0, 10, 5, 0, 5)});
    Rect client{0, 0, 402, 202};
    std::vector<ViewStep> steps;
    std::string error;
    ASSERT_TRUE(ParseViewSteps("wheel:120:100:50,pan:4:-2,size:802x402,drag:0:0", steps, error)) << error;
    for (const ViewStep& step : steps) DoViewStep(step, client);
    EXPECT_EQ(client.right, 802);
    EXPECT_EQ(Navigation.zoom, 1.25);
    EXPECT_EQ(Navigation.right, 100.5 - 1.25 * 100.5 + 4);
    EXPECT_EQ(Navigation.up, (201 - 50 + 0.5) - 1.25 * (201 - 50 + 0.5) + 2);
    ASSERT_TRUE(ParseViewSteps("dblclick", steps, error));
    DoViewStep(steps[0], client);
    EXPECT_EQ(Navigation.zoom, 1.0);
    EXPECT_EQ(Navigation.right, 0.0);
    EXPECT_EQ(Navigation.up, 0.0);
}
