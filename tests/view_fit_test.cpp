#include "support/edge_lines.h"
#include "support/face_table.h"
#include "view/pixel_position.h"
#include "view/view.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// The 10 × 5 rectangle with its lower-left corner at (x, y).
Face Rectangle(double x, double y) { return FlatFace(x, y, x + 10, y, x + 10, y + 5, x, y + 5); }

struct Painting {
    Image image;
    std::vector<Segment> segments;
};

// A paint of the current face table into a white width × height image.
Painting Paint(int width, int height) {
    Painting painting;
    painting.image.reset(width, height);
    DrawContext dc(&painting.image, &painting.segments);
    DrawMesh(dc, Rect{0, 0, width, height});
    return painting;
}

int CountBlack(const Image& image) {
    int black = 0;
    for (std::uint32_t pixel : image.pixels) black += pixel == Image::kBlack;
    return black;
}

} // namespace

TEST(FitView, RectangleFillsWidthAndHeightMinusTwo) {
    FaceTableScope model({Rectangle(0, 0)});
    FitView(Rect{0, 0, 402, 202});
    EXPECT_EQ(xs, 40.0);
    EXPECT_EQ(ys, 40.0);
    EXPECT_EQ(xb, 0.0);
    EXPECT_EQ(yb, 0.0);
}

TEST(FitView, SmallerScaleWinsForBothAxes) {
    FaceTableScope model({Rectangle(0, 0)});
    FitView(Rect{0, 0, 202, 202}); // x: 200 / 10 = 20, y: 200 / 5 = 40
    EXPECT_EQ(xs, 20.0);
    EXPECT_EQ(ys, 20.0);
    FitView(Rect{0, 0, 1002, 52}); // x: 100, y: 10
    EXPECT_EQ(xs, 10.0);
    EXPECT_EQ(ys, 10.0);
}

TEST(FitView, NegativeCoordinatesAreShiftedToTheEdges) {
    FaceTableScope model({Rectangle(-10, -5), FlatFace(-3, -1, -2, -1, -2, -2, -3, -2)});
    FitView(Rect{0, 0, 402, 202});
    EXPECT_EQ(xb, 10.0);
    EXPECT_EQ(yb, 5.0);
    EXPECT_EQ(xs, 40.0);
}

TEST(FitView, EveryCornerCountsFourthToo) {
    FaceTableScope model({FlatFace(1, 1, 2, 1, 2, 2, -6, 9)});
    FitView(Rect{0, 0, 1000, 1000});
    EXPECT_EQ(xb, 6.0);
    EXPECT_EQ(yb, -1.0);
    EXPECT_EQ(xs, 998.0 / 8);
}

TEST(FitView, ModelFlatInXKeepsItsXOffset) {
    FaceTableScope model({FlatFace(5, 0, 5, 5, 5, 5, 5, 0)});
    FitView(Rect{0, 0, 402, 202});
    EXPECT_EQ(xb, 0.0); // the x range became 0 .. 1
    EXPECT_EQ(xs, 40.0);
    EXPECT_EQ(ys, 40.0);
}

TEST(FitView, ModelFlatInBothAxesUsesUnitRanges) {
    FaceTableScope model({FlatFace(3, 4, 3, 4, 3, 4, 3, 4)});
    FitView(Rect{0, 0, 402, 202});
    EXPECT_EQ(xb, 0.0);
    EXPECT_EQ(yb, 0.0);
    EXPECT_EQ(xs, 200.0);
    EXPECT_EQ(ys, 200.0);
}

TEST(FitView, NaNAsSmallestValueOfTheLastFaceMakesTheRangeUnit) {
    // The NaN first corner makes the face's smallest x NaN, which replaces xmin.
    FaceTableScope model({Rectangle(2, 0), FlatFace(kNaN, 1, 5, 1, 5, 2, 5, 2)});
    FitView(Rect{0, 0, 402, 202});
    EXPECT_EQ(xb, 0.0);
    EXPECT_EQ(yb, 0.0);
    EXPECT_EQ(xs, 40.0); // x: 400 / 1, y: 200 / 5
}

TEST(FitView, NaNAfterTheFirstCornerIsPassedOver) {
    FaceTableScope model({Rectangle(2, 0), FlatFace(5, 1, kNaN, 1, 5, 2, 5, 2)});
    FitView(Rect{0, 0, 402, 202});
    EXPECT_EQ(xb, -2.0);
    EXPECT_EQ(xs, 40.0);
}

TEST(FitView, TinyClientAreasGiveZeroOrNegativeScales) {
    FaceTableScope model({Rectangle(0, 0)});
    FitView(Rect{0, 0, 2, 2});
    EXPECT_EQ(xs, 0.0);
    FitView(Rect{0, 0, 1, 1});
    EXPECT_EQ(xs, -0.2); // y: −1 / 5 beats x: −1 / 10
    FitView(Rect{0, 0, 0, 0});
    EXPECT_EQ(xs, -0.4);
    EXPECT_EQ(ys, xs);
}

TEST(Line, StartRowTruncatesBeforeSubtractingEndRowAfter) {
    xb = yb = 0;
    xs = ys = 1;
    Rb = 100;
    std::vector<Segment> record;
    DrawContext dc(nullptr, &record);
    Line(dc, xyz(2.9, 10.5, 7), xyz(-1.5, 10.5, -7));
    EXPECT_EQ(record, (std::vector<Segment>{{2, 90, -1, 89}}));
}

TEST(Line, ScalesAndBiasesBothEnds) {
    xb = 1;
    yb = -2;
    xs = ys = 3;
    Rb = 50;
    std::vector<Segment> record;
    DrawContext dc(nullptr, &record);
    Line(dc, xyz(0, 2, 0), xyz(1, 4, 0)); // scaled (3, 0) and (6, 6)
    EXPECT_EQ(record, (std::vector<Segment>{{3, 50, 6, 44}}));
}

TEST(Line, IntegerFormMovesThenDraws) {
    std::vector<Segment> record;
    DrawContext dc(nullptr, &record);
    Line(dc, 1, -2, 3, -4);
    EXPECT_EQ(record, (std::vector<Segment>{{1, -2, 3, -4}}));
}

TEST(Line, ZeroLengthEdgeIsEmptyOnWholeRowsAndOnePixelOtherwise) {
    xb = yb = 0;
    xs = ys = 1;
    Rb = 9;
    Image image;
    image.reset(10, 10);
    DrawContext dc(&image);
    Line(dc, xyz(3, 4, 0), xyz(3, 4, 0));
    EXPECT_EQ(CountBlack(image), 0);
    Line(dc, xyz(3, 4.5, 0), xyz(3, 4.5, 0)); // start row 5, end row 4
    EXPECT_EQ(CountBlack(image), 1);
    EXPECT_EQ(image.at(3, 5), Image::kBlack);
}

TEST(PixelPosition, TruncatesTowardZeroAndClampsWhatDoesNotFit) {
    EXPECT_EQ(TruncToPixel(2.99), 2);
    EXPECT_EQ(TruncToPixel(-2.99), -2);
    EXPECT_EQ(TruncToPixel(2147483647.9), INT_MAX);
    EXPECT_EQ(TruncToPixel(-2147483648.9), INT_MIN);
    EXPECT_EQ(TruncToPixel(2147483648.0), INT_MAX);
    EXPECT_EQ(TruncToPixel(-2147483649.0), INT_MIN);
    EXPECT_EQ(TruncToPixel(1e300), INT_MAX);
    EXPECT_EQ(TruncToPixel(-kInf), INT_MIN);
    EXPECT_EQ(TruncToPixel(kNaN), 0);
    EXPECT_EQ(SubtractClamped(201, INT_MIN), INT_MAX);
    EXPECT_EQ(SubtractClamped(-2, INT_MAX), INT_MIN);
    EXPECT_EQ(SubtractClamped(201, 40), 161);
}

TEST(DrawMesh, RectangleOutlineSpansColumnsZeroTo400AndRows201To1) {
    FaceTableScope model({Rectangle(0, 0)});
    const Painting painting = Paint(402, 202);
    EXPECT_EQ(Rb, 201);
    EXPECT_EQ(painting.segments,
              (std::vector<Segment>{{0, 201, 400, 201}, {400, 201, 400, 1}, {400, 1, 0, 1}, {0, 1, 0, 201}}));
    const Image& image = painting.image;
    for (int x = 0; x <= 400; ++x) {
        EXPECT_EQ(image.at(x, 201), Image::kBlack) << x;
        EXPECT_EQ(image.at(x, 1), Image::kBlack) << x;
        EXPECT_EQ(image.at(x, 0), Image::kWhite) << x;
    }
    for (int y = 1; y <= 201; ++y) {
        EXPECT_EQ(image.at(0, y), Image::kBlack) << y;
        EXPECT_EQ(image.at(400, y), Image::kBlack) << y;
        EXPECT_EQ(image.at(401, y), Image::kWhite) << y;
    }
    EXPECT_EQ(CountBlack(image), 2 * 401 + 2 * 199);
}

TEST(DrawMesh, EdgesFollowTheFaceOrderABBCCDDA) {
    FaceTableScope model({FlatFace(0, 0, 4, 0, 4, 2, 2, 4), FlatFace(1, 1, 2, 1, 2, 2, 2, 2)});
    const Painting painting = Paint(10, 10); // scale 8 / 4 = 2, Rb = 9
    EXPECT_EQ(painting.segments, (std::vector<Segment>{{0, 9, 8, 9},
                                                       {8, 9, 8, 5},
                                                       {8, 5, 4, 1},
                                                       {4, 1, 0, 9},
                                                       {2, 7, 4, 7},
                                                       {4, 7, 4, 5},
                                                       {4, 5, 4, 5},
                                                       {4, 5, 2, 7}}));
}

TEST(DrawMesh, ModelFlatInXIsAVerticalLineAtItsOwnX) {
    FaceTableScope model({FlatFace(5, 0, 5, 5, 5, 5, 5, 0)});
    const Image image = Paint(402, 202).image;
    for (int y = 1; y <= 201; ++y) EXPECT_EQ(image.at(200, y), Image::kBlack) << y;
    EXPECT_EQ(CountBlack(image), 201);
}

TEST(DrawMesh, ModelFlatInXFarFromZeroFallsOutsideTheWindow) {
    FaceTableScope model({FlatFace(50, 0, 50, 5, 50, 5, 50, 0)});
    const Painting painting = Paint(402, 202);
    EXPECT_EQ(painting.segments.front(), (Segment{2000, 201, 2000, 1}));
    EXPECT_EQ(CountBlack(painting.image), 0);
}

TEST(DrawMesh, NegativeCoordinatesPaintLikeTheShiftedModel) {
    FaceTableScope shifted({Rectangle(-10, -5)});
    const Painting negative = Paint(402, 202);
    shifted.faces()[0] = Rectangle(0, 0);
    const Painting positive = Paint(402, 202);
    EXPECT_EQ(negative.segments, positive.segments);
    EXPECT_EQ(negative.image.pixels, positive.image.pixels);
}

TEST(DrawMesh, NoFacesDrawsNothingButSetsRb) {
    FaceTableScope model({});
    const Painting painting = Paint(30, 20);
    EXPECT_EQ(Rb, 19);
    EXPECT_TRUE(painting.segments.empty());
    EXPECT_EQ(CountBlack(painting.image), 0);
}

TEST(DrawMesh, CountWithoutTableDrawsNothing) {
    FaceTableScope model({});
    nf = 3;
    EXPECT_TRUE(Paint(30, 20).segments.empty());
}

TEST(DrawMesh, PutsThePreviousPenBack) {
    FaceTableScope model({Rectangle(0, 0)});
    Image image;
    image.reset(20, 20);
    DrawContext dc(&image);
    dc.SelectPen(Pen::Null);
    DrawMesh(dc, Rect{0, 0, 20, 20});
    EXPECT_GT(CountBlack(image), 0);
    EXPECT_EQ(dc.SelectPen(Pen::Black), Pen::Null);
}

TEST(DrawMesh, TinyClientAreasPaintWithoutFailing) {
    FaceTableScope model({Rectangle(0, 0), Rectangle(-3, 7)});
    for (int width = 0; width <= 2; ++width)
        for (int height = 0; height <= 2; ++height) {
            const Painting painting = Paint(width, height);
            EXPECT_EQ(painting.segments.size(), 8u);
            EXPECT_EQ(Rb, height - 1);
        }
}

TEST(DrawMesh, NaNInfiniteAndHugeCoordinatesPaintWithoutFailing) {
    FaceTableScope model({Rectangle(0, 0), FlatFace(kNaN, 1, kInf, 2, -kInf, kNaN, 1e300, -1e300),
                          FlatFace(1e308, 1e308, -1e308, -1e308, 0, 0, 1, 1)});
    const Painting painting = Paint(640, 480);
    EXPECT_EQ(painting.segments.size(), 12u);
    FaceTableScope allNaN({FlatFace(kNaN, kNaN, kNaN, kNaN, kNaN, kNaN, kNaN, kNaN)});
    EXPECT_EQ(Paint(640, 480).segments.size(), 4u);
}

TEST(DrawMesh, PaintsExactlyWhatLineDrawsForEachEdge) {
    std::mt19937 random(99);
    std::uniform_real_distribution<double> coordinate(-3, 7);
    std::vector<Face> faces(700); // more than one batch of outlines
    for (Face& face : faces)
        for (xyz* p : {&face.A, &face.B, &face.C, &face.D}) *p = xyz(coordinate(random), coordinate(random), 0);
    faces[5].A.x = 1e12; // a corner far outside takes the clamping path
    FaceTableScope model(faces);
    const Painting painting = Paint(317, 211);
    std::vector<Segment> expected;
    Image image;
    image.reset(317, 211);
    DrawContext dc(&image, &expected);
    DrawEdgesWithLine(dc, faces);
    EXPECT_EQ(painting.segments, expected);
    EXPECT_EQ(painting.image.pixels, image.pixels);
}
