// The fast ways of turning and painting a large table against the plain
// ones, which the rest of the suite pins down: the same faces after a turn,
// and the same pixels, bit for bit, on seeded random models.
#include "support/edge_lines.h"
#include "support/face_table.h"
#include "tuning.h"
#include "view/large_paint.h"
#include "view/table_extents.h"
#include "view/view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr int kFaces = kLargeTable + 123;

// Small faces scattered over [0, 100)², as a fine mesh has them: most edges a
// few pixels long, every direction; one in four a triangle (D repeats C).
std::vector<Face> FineMesh(unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> centre(0, 100), step(-0.4, 0.4);
    std::vector<Face> faces(kFaces);
    for (Face& f : faces) {
        const double x = centre(random), y = centre(random);
        for (xyz* p : {&f.A, &f.B, &f.C, &f.D}) *p = xyz(x + step(random), y + step(random), step(random));
        if (random() % 4 == 0) f.D = f.C;
    }
    return faces;
}

// Faces with corners anywhere: long lines in every direction.
std::vector<Face> LongEdges(unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> coordinate(-50, 50);
    std::vector<Face> faces(kFaces);
    for (Face& f : faces)
        for (xyz* p : {&f.A, &f.B, &f.C, &f.D}) *p = xyz(coordinate(random), coordinate(random), 0);
    return faces;
}

// A fine mesh with huge, infinite and NaN corners here and there.
std::vector<Face> HostileMesh(unsigned seed) {
    std::vector<Face> faces = FineMesh(seed);
    std::mt19937 random(seed);
    const double hostile[] = {kNaN, kInf, -kInf, 1e300, -1e300, 1e12, -0.0};
    for (int k = 0; k < 40; ++k) {
        xyz& p = (&faces[random() % faces.size()].A)[random() % 4];
        (random() % 2 ? p.x : p.y) = hostile[random() % std::size(hostile)];
    }
    return faces;
}

// The paint of the current table through the plain way: a context that
// records draws every line in order; then, unless told not to, one more
// line from where the last one ended.
Image PlainPaint(int width, int height, bool lineAfter = true) {
    Image image;
    image.reset(width, height);
    std::vector<Segment> record;
    DrawContext dc(&image, &record);
    DrawMesh(dc, Rect{0, 0, width, height});
    if (lineAfter) dc.LineTo(width / 2, height / 3);
    return image;
}

// The same through an image-only context, which a large table paints fast.
Image FastPaint(int width, int height) {
    Image image;
    image.reset(width, height);
    DrawContext dc(&image);
    DrawMesh(dc, Rect{0, 0, width, height});
    dc.LineTo(width / 2, height / 3);
    return image;
}

// The paint the viewer makes, into the image it keeps from paint to paint:
// here one that holds other pixels at another size.
Image ViewerPaint(int width, int height) {
    Image image;
    image.reset(width + 3, height / 2, 0x12345678u);
    PaintMeshImage(image, Rect{0, 0, width, height});
    return image;
}

struct Size {
    int width, height;
};
constexpr Size kSizes[] = {{640, 480}, {203, 611}, {3, 2}, {1, 1}, {0, 0}, {0, 50}, {97, 1}};

void ExpectFastPaintIsPlain(const std::vector<Face>& faces, const std::vector<unsigned char>& hiddenEdges = {}) {
    FaceTableScope model(faces, hiddenEdges);
    for (const Size& size : kSizes) {
        ForgetTableExtents();
        const Image fast = FastPaint(size.width, size.height);
        const double fastXs = xs, fastXb = xb;
        const Image plain = PlainPaint(size.width, size.height);
        EXPECT_EQ(fast.pixels, plain.pixels) << size.width << " x " << size.height;
        const Image viewer = ViewerPaint(size.width, size.height);
        EXPECT_EQ(viewer.width, size.width);
        EXPECT_EQ(viewer.pixels, PlainPaint(size.width, size.height, false).pixels);
        EXPECT_EQ(std::memcmp(&fastXs, &xs, sizeof xs), 0);
        EXPECT_EQ(std::memcmp(&fastXb, &xb, sizeof xb), 0);
    }
}

// Hidden edges for `count` faces: one face in three hides some, every
// pattern of the sixteen; the last faces hide their last edges, and then all,
// so that where the paint leaves the context is the end of an earlier line.
std::vector<unsigned char> SomeHiddenEdges(std::size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<unsigned char> hidden(count);
    for (unsigned char& bits : hidden)
        if (random() % 3 == 0) bits = static_cast<unsigned char>(random() % 16);
    hidden[count - 3] = 8;
    hidden[count - 2] = 4 | 8;
    hidden[count - 1] = 15;
    return hidden;
}

bool SameBits(const std::vector<Face>& a, const Face* b) {
    return std::memcmp(a.data(), b, a.size() * sizeof(Face)) == 0;
}

// The fast paint of `faces` with the view of the globals, against drawing
// every edge with Line.
void ExpectLargePaintAsLineDoes(const std::vector<Face>& faces, Size size) {
    Image expected;
    expected.reset(size.width, size.height);
    std::vector<Segment> record;
    DrawContext dc(&expected, &record);
    DrawEdgesWithLine(dc, faces);
    Image image;
    image.reset(size.width, size.height);
    FitExtents fit{MeasureTableExtents(), false};
    ASSERT_TRUE(PaintLargeTable(image, fit));
    EXPECT_EQ(image.pixels, expected.pixels) << size.width << " x " << size.height << ", Rb " << Rb;
}

// Every test of the fast paint runs with the face loop the paint takes on
// this processor and with the loop in pairs, which other processors take.
class LargePaint : public testing::TestWithParam<bool> {
protected:
    void SetUp() override { g_tuning.paintWithAvx2 = GetParam() && ownChoice_; }
    void TearDown() override { g_tuning.paintWithAvx2 = ownChoice_; }

private:
    const bool ownChoice_ = g_tuning.paintWithAvx2;
};

INSTANTIATE_TEST_SUITE_P(FaceLoops, LargePaint, testing::Values(true, false),
                         [](const testing::TestParamInfo<bool>& loop) { return loop.param ? "OwnChoice" : "InPairs"; });

} // namespace

TEST_P(LargePaint, FineMeshesPaintAsThePlainWay) {
    for (unsigned seed : {1u, 2u, 3u}) ExpectFastPaintIsPlain(FineMesh(seed));
}

TEST_P(LargePaint, LongEdgesPaintAsThePlainWay) { ExpectFastPaintIsPlain(LongEdges(4)); }

TEST_P(LargePaint, HiddenEdgesAreLeftOutAsThePlainWayLeavesThemOut) {
    ExpectFastPaintIsPlain(FineMesh(21), SomeHiddenEdges(kFaces, 21));
    ExpectFastPaintIsPlain(LongEdges(22), SomeHiddenEdges(kFaces, 22));
    ExpectFastPaintIsPlain(HostileMesh(23), SomeHiddenEdges(kFaces, 23));
    // Every edge hidden: a white picture, the context where it started.
    ExpectFastPaintIsPlain(FineMesh(24), std::vector<unsigned char>(kFaces, 15));
}

TEST_P(LargePaint, HugeInfiniteAndNaNCornersPaintAsThePlainWay) {
    for (unsigned seed : {5u, 6u}) ExpectFastPaintIsPlain(HostileMesh(seed));
}

TEST_P(LargePaint, ModelFlatInXFarFromZeroCrossesTheBorderAsThePlainWay) {
    std::vector<Face> faces = LongEdges(7);
    for (Face& f : faces)
        // Flat in x within rounding: every column near 1.2 · scale, beyond the right edge.
        for (xyz* p : {&f.A, &f.B, &f.C, &f.D}) p->x = 1.2 + p->y * 1e-18;
    faces[9].A.x = 1.3;
    ExpectFastPaintIsPlain(faces);
}

TEST_P(LargePaint, ZoomedViewCrossingTheBorderPaintsAsLineDoes) {
    FaceTableScope model(FineMesh(8));
    for (const Size& size : kSizes) {
        Rb = size.height - 1;
        // The faces around (48, 52) fill the image; the rest fall outside.
        xb = -40, yb = -45.5, xs = ys = 37.25;
        ExpectLargePaintAsLineDoes(model.faces(), size);
    }
}

TEST_P(LargePaint, CornersOnTheImageEdgesPaintAsLineDoes) {
    // Scaled coordinates on and about the bounds of the fast way: x at 0 and
    // the width; y at 0 and Rb + 1, where the rows truncate differently.
    const Size size{40, 30};
    const double xs[] = {-1, -0.5, -0.0, 0, 0.25, 39, 39.5, 40 - 1e-12, 40, 40.5, kNaN, 1e300};
    for (int rb : {29, 31, 20, 0, -1, 1000000000, INT_MIN}) {
        const double ys[] = {-1.0, -0.5, -0.0, 0.0, 0.5, rb - 29.5, rb - 29.0, rb - 1e-9, rb + 0.0, rb + 0.5,
                             rb + 1.0, rb + 1.5, kInf};
        std::mt19937 random(static_cast<unsigned>(rb));
        auto corner = [&](double x0, double y0) {
            // Within a few pixels of a chosen corner: short lines across the bounds.
            const double x = random() % 3 ? x0 : xs[random() % std::size(xs)] + static_cast<int>(random() % 5) - 2;
            const double y = random() % 3 ? y0 : ys[random() % std::size(ys)] + static_cast<int>(random() % 5) - 2;
            return xyz(x, y, 0);
        };
        std::vector<Face> faces(4000);
        for (Face& f : faces) {
            const double x = xs[random() % std::size(xs)], y = ys[random() % std::size(ys)];
            f = {corner(x, y), corner(x, y), corner(x, y), corner(x, y)};
        }
        FaceTableScope model(faces);
        Rb = rb;
        ::xb = 0, ::yb = 0, ::xs = ::ys = 1;
        ExpectLargePaintAsLineDoes(model.faces(), size);
    }
}

TEST_P(LargePaint, RemembersTheExtentsOnlyOfWhatItPaintsFast) {
    FaceTableScope model(FineMesh(9));
    TableExtents extents;
    ForgetTableExtents();
    PlainPaint(64, 48);
    EXPECT_FALSE(RememberedTableExtents(extents));
    FastPaint(64, 48);
    ASSERT_TRUE(RememberedTableExtents(extents));
    EXPECT_TRUE(extents.same(MeasureTableExtents()));
    model.faces().pop_back(); // another count: what was remembered is not for this table
    nf = static_cast<int>(model.faces().size());
    EXPECT_FALSE(RememberedTableExtents(extents));
}

TEST_P(LargePaint, TablesOfOneAndTwoFacesFindOutAWrongGuess) {
    // With one face, the first thread has none to bound.
    const std::vector<Face> mesh = FineMesh(14);
    for (int faces : {1, 2}) {
        FaceTableScope model(std::vector<Face>(mesh.begin(), mesh.begin() + faces));
        FitExtents fit{MeasureTableExtents(), true};
        const TableExtents measured = fit.extents;
        fit.extents.x.high += 1;
        Image image;
        image.reset(64, 48);
        EXPECT_FALSE(PaintLargeTable(image, fit));
        EXPECT_TRUE(fit.extents.same(measured)) << faces;
    }
}

TEST_P(LargePaint, TableWrittenAfterATurnStillPaintsExactly) {
    FaceTableScope model(FineMesh(10));
    RotateMesh(kKeyPageDown, 1);
    model.faces()[77].B.x = 400; // a new largest x, not through a turn
    EXPECT_EQ(ViewerPaint(500, 300).pixels, PlainPaint(500, 300, false).pixels);
    RotateMesh(kKeyPageDown, 1);
    model.faces()[78].A.y = -400;
    const Image fast = FastPaint(500, 300);
    EXPECT_EQ(fast.pixels, PlainPaint(500, 300).pixels);
    RotateMesh(kKeyEnd, 2);
    const std::vector<Face> next = FineMesh(11); // a new model in the same place, as a reload may be
    std::copy(next.begin(), next.end(), model.faces().begin());
    const Image reloaded = FastPaint(500, 300);
    EXPECT_EQ(reloaded.pixels, PlainPaint(500, 300).pixels);
}

TEST_P(LargePaint, FitAfterATurnIsTheMeasuredFit) {
    FaceTableScope model(FineMesh(12));
    for (unsigned char key : {kKeyPageDown, kKeyHome, kKeyDelete}) {
        RotateMesh(key, 3);
        FastPaint(800, 600);
        const double fitted[] = {xb, yb, xs, ys};
        FitView(Rect{0, 0, 800, 600});
        const double measured[] = {xb, yb, xs, ys};
        EXPECT_EQ(std::memcmp(fitted, measured, sizeof fitted), 0);
    }
}

TEST(LargeTurn, IsBitForBitTheTurnOfSmallTables) {
    const std::vector<Face> start = HostileMesh(13);
    FaceTableScope model(start);
    std::vector<Face> pieces = start;
    Face* const large = F;
    for (int stroke = 0; stroke < 3; ++stroke) {
        const Plane plane = stroke == 0 ? Plane::XZ : stroke == 1 ? Plane::YZ : Plane::XY;
        TurnMesh(plane, 0.3 + stroke);
        // The same turn on pieces smaller than a large table: the plain loop.
        for (std::size_t first = 0; first < pieces.size(); first += kLargeTable / 2) {
            F = pieces.data() + first;
            nf = static_cast<int>(std::min<std::size_t>(kLargeTable / 2, pieces.size() - first));
            TurnMesh(plane, 0.3 + stroke);
        }
        F = large;
        nf = kFaces;
        EXPECT_TRUE(SameBits(pieces, F)) << "stroke " << stroke;
    }
}

// A drag across and down turns twice in one pass: every corner bit for bit
// where the two turns one after the other leave it, and the extents of the
// turned faces remembered.
TEST(LargeTurn, TwoTurnsInOnePassAreTheTwoTurnsInTurn) {
    const Plane planes[] = {Plane::XZ, Plane::YZ, Plane::XY};
    for (Plane first : planes) {
        for (Plane second : planes) {
            FaceTableScope inTurn(HostileMesh(17));
            TurnMesh(first, 0.4);
            TurnMesh(second, -1.3);
            const std::vector<Face> expected = inTurn.faces();
            FaceTableScope inOnePass(HostileMesh(17));
            TurnMeshTwice({first, 0.4}, {second, -1.3});
            EXPECT_TRUE(SameBits(expected, F)) << int(first) << " then " << int(second);
        }
    }
    FaceTableScope model(FineMesh(15));
    ForgetTableExtents();
    TurnMeshTwice({Plane::XY, 0.2}, {Plane::YZ, 0.9});
    TableExtents extents;
    ASSERT_TRUE(RememberedTableExtents(extents));
    EXPECT_TRUE(extents.same(MeasureTableExtents()));
}

TEST(LargeTurn, RemembersTheMeasuredExtentsOrNoneAfterANaN) {
    FaceTableScope model(FineMesh(15));
    TableExtents extents;
    for (Plane plane : {Plane::XZ, Plane::YZ, Plane::XY}) {
        ForgetTableExtents();
        TurnMesh(plane, 0.7);
        ASSERT_TRUE(RememberedTableExtents(extents));
        EXPECT_TRUE(extents.same(MeasureTableExtents()));
    }
    model.faces()[5].C.x = kNaN; // in the first thread's part, a turn in XY takes it into x and y
    TurnMesh(Plane::XY, 0.7);
    EXPECT_FALSE(RememberedTableExtents(extents));
    model.faces()[5].C.x = 1;
    model.faces()[5].C.y = 1;
    model.faces().back().D.y = kNaN; // the last point of the second part, kept by a turn in XZ
    TurnMesh(Plane::XZ, 0.7);
    EXPECT_FALSE(RememberedTableExtents(extents));
}

// The plain way's lines of faces that hide edges: the edges left, in order.
TEST(SmallPaint, DrawsOnlyTheEdgesThatAreNotHidden) {
    const Face square = FlatFace(0, 0, 10, 0, 10, 5, 0, 5);
    FaceTableScope model({square, square, square, square}, {0, 1 | 4, 15, 2 | 8});
    std::vector<Segment> record;
    DrawContext dc(nullptr, &record);
    DrawMesh(dc, Rect{0, 0, 402, 202});
    const Segment ab{0, 201, 400, 201}, bc{400, 201, 400, 1}, cd{400, 1, 0, 1}, da{0, 1, 0, 201};
    EXPECT_EQ(record, (std::vector<Segment>{ab, bc, cd, da, bc, da, ab, cd}));
}
