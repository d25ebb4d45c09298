#include "view/draw_context.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <set>
#include <utility>
#include <vector>

namespace {

using Pixels = std::set<std::pair<int, int>>;

Pixels BlackPixels(const Image& image) {
    Pixels black;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (image.at(x, y) == Image::kBlack) black.insert({x, y});
    return black;
}

Pixels Draw(int width, int height, int x0, int y0, int x1, int y1) {
    Image image;
    image.reset(width, height);
    DrawContext dc(&image);
    dc.MoveTo(x0, y0);
    dc.LineTo(x1, y1);
    return BlackPixels(image);
}

} // namespace

TEST(Image, ResetFillsAndClampsNegativeSizes) {
    Image image;
    image.reset(3, 2, Image::kBlack);
    EXPECT_EQ(image.pixels, std::vector<std::uint32_t>(6, Image::kBlack));
    image.reset(-4, 5);
    EXPECT_EQ(image.width, 0);
    EXPECT_EQ(image.height, 5);
    EXPECT_TRUE(image.pixels.empty());
}

TEST(LineRaster, HorizontalLineDrawsStartButNotEnd) {
    EXPECT_EQ(Draw(10, 10, 1, 4, 4, 4), (Pixels{{1, 4}, {2, 4}, {3, 4}}));
    EXPECT_EQ(Draw(10, 10, 4, 4, 1, 4), (Pixels{{4, 4}, {3, 4}, {2, 4}}));
}

TEST(LineRaster, VerticalLineUpwardsDrawsStartButNotEnd) {
    EXPECT_EQ(Draw(10, 10, 2, 5, 2, 1), (Pixels{{2, 5}, {2, 4}, {2, 3}, {2, 2}}));
}

TEST(LineRaster, DiagonalStepsBothAxesEveryPixel) {
    EXPECT_EQ(Draw(10, 10, 0, 0, 3, 3), (Pixels{{0, 0}, {1, 1}, {2, 2}}));
    EXPECT_EQ(Draw(10, 10, 5, 1, 2, 4), (Pixels{{5, 1}, {4, 2}, {3, 3}}));
}

TEST(LineRaster, ShallowLineRoundsToNearestRowTiesAwayFromStart) {
    // Ideal rows 0, 0.25, 0.5 (tie), 0.75.
    EXPECT_EQ(Draw(10, 10, 0, 0, 4, 1), (Pixels{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));
    EXPECT_EQ(Draw(10, 10, 4, 1, 0, 0), (Pixels{{4, 1}, {3, 1}, {2, 0}, {1, 0}}));
}

TEST(LineRaster, SteepLineStepsAlongY) {
    EXPECT_EQ(Draw(10, 10, 0, 0, 1, 4), (Pixels{{0, 0}, {0, 1}, {1, 2}, {1, 3}}));
    EXPECT_EQ(Draw(10, 10, 3, 9, 1, 3), (Pixels{{3, 9}, {3, 8}, {2, 7}, {2, 6}, {2, 5}, {1, 4}}));
}

TEST(LineRaster, OneStepLineDrawsOnlyItsStart) {
    EXPECT_EQ(Draw(10, 10, 7, 7, 8, 8), (Pixels{{7, 7}}));
}

TEST(LineRaster, ZeroLengthLineDrawsNothing) {
    EXPECT_TRUE(Draw(10, 10, 3, 3, 3, 3).empty());
}

TEST(LineRaster, ClippedLineKeepsExactlyThePixelsInsideTheImage) {
    // The same line drawn into a large canvas and into a small window of it.
    constexpr int kOffset = 60, kWidth = 40, kHeight = 30;
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> coordinate(-50, 100);
    for (int trial = 0; trial < 2000; ++trial) {
        const int x0 = coordinate(random), y0 = coordinate(random), x1 = coordinate(random), y1 = coordinate(random);
        Pixels expected;
        for (auto [x, y] : Draw(220, 220, x0 + kOffset, y0 + kOffset, x1 + kOffset, y1 + kOffset))
            if (x >= kOffset && x < kOffset + kWidth && y >= kOffset && y < kOffset + kHeight)
                expected.insert({x - kOffset, y - kOffset});
        ASSERT_EQ(Draw(kWidth, kHeight, x0, y0, x1, y1), expected)
            << "line (" << x0 << ", " << y0 << ") to (" << x1 << ", " << y1 << ")";
    }
}

TEST(LineRaster, LineAcrossTheWholeIntRangeDrawsTheImageDiagonal) {
    Pixels diagonal;
    for (int k = 0; k < 8; ++k) diagonal.insert({k, k});
    EXPECT_EQ(Draw(8, 8, INT_MIN, INT_MIN, INT_MAX, INT_MAX), diagonal);
}

TEST(LineRaster, HugeShallowLineCrossesAtTheRoundedRow) {
    // From x = -1e9 to 1e9 rising two rows: at x = 0 .. 9 the ideal row is 6 plus a hair.
    Pixels row;
    for (int x = 0; x < 10; ++x) row.insert({x, 6});
    EXPECT_EQ(Draw(10, 10, -1000000000, 5, 1000000000, 7), row);
}

TEST(LineRaster, LinesOutsideTheImageDrawNothing) {
    EXPECT_TRUE(Draw(10, 10, INT_MIN, INT_MIN, INT_MIN, INT_MAX).empty());
    EXPECT_TRUE(Draw(10, 10, -5, 20, 30, 11).empty());
    EXPECT_TRUE(Draw(10, 10, 10, 0, 10, 9).empty());
    EXPECT_TRUE(Draw(10, 10, INT_MAX, INT_MAX, INT_MIN + 1, INT_MAX).empty());
}

TEST(LineRaster, EndPointOnTheEdgeIsStillExcluded) {
    EXPECT_EQ(Draw(4, 4, 3, 0, -1, 0), (Pixels{{3, 0}, {2, 0}, {1, 0}, {0, 0}}));
    EXPECT_EQ(Draw(4, 4, 0, 3, 0, 0), (Pixels{{0, 3}, {0, 2}, {0, 1}}));
}

TEST(LineRaster, EmptyImageTakesAnyLine) {
    EXPECT_TRUE(Draw(0, 0, 0, 0, 5, 5).empty());
    EXPECT_TRUE(Draw(0, 7, INT_MIN, 0, INT_MAX, 3).empty());
}

TEST(DrawContext, StartsWithTheBlackPenAtTheOrigin) {
    Image image;
    image.reset(5, 5);
    std::vector<Segment> record;
    DrawContext dc(&image, &record);
    dc.LineTo(2, 0);
    EXPECT_EQ(record, (std::vector<Segment>{{0, 0, 2, 0}}));
    EXPECT_EQ(BlackPixels(image), (Pixels{{0, 0}, {1, 0}}));
}

TEST(DrawContext, RecordsEverySegmentInOrderZeroLengthToo) {
    std::vector<Segment> record;
    DrawContext dc(nullptr, &record);
    dc.MoveTo(1, 2);
    dc.LineTo(3, 4);
    dc.LineTo(3, 4);
    dc.MoveTo(-7, 9);
    dc.LineTo(0, 0);
    EXPECT_EQ(record, (std::vector<Segment>{{1, 2, 3, 4}, {3, 4, 3, 4}, {-7, 9, 0, 0}}));
}

TEST(DrawContext, NullPenNeitherDrawsNorRecordsButMoves) {
    Image image;
    image.reset(5, 5);
    std::vector<Segment> record;
    DrawContext dc(&image, &record);
    EXPECT_EQ(dc.SelectPen(Pen::Null), Pen::Black);
    dc.LineTo(4, 0);
    EXPECT_EQ(dc.SelectPen(Pen::Black), Pen::Null);
    dc.LineTo(4, 2);
    EXPECT_EQ(record, (std::vector<Segment>{{4, 0, 4, 2}}));
    EXPECT_EQ(BlackPixels(image), (Pixels{{4, 0}, {4, 1}}));
}

TEST(DrawContext, DrawSegmentsIsMoveToThenLineToForEach) {
    const std::vector<Segment> segments{{1, 1, 6, 3}, {6, 3, 6, 3}, {0, 7, 5, 0}, {-9, 2, 30, 4}};
    Image one, other;
    one.reset(8, 8);
    other.reset(8, 8);
    std::vector<Segment> oneRecord, otherRecord;
    DrawContext batch(&one, &oneRecord), single(&other, &otherRecord);
    batch.DrawSegments(segments.data(), segments.size());
    for (const Segment& s : segments) {
        single.MoveTo(s.x1, s.y1);
        single.LineTo(s.x2, s.y2);
    }
    EXPECT_EQ(one.pixels, other.pixels);
    EXPECT_EQ(oneRecord, segments);
    EXPECT_EQ(otherRecord, segments);
    batch.LineTo(30, 5); // continues from the last end point
    EXPECT_EQ(oneRecord.back(), (Segment{30, 4, 30, 5}));
}

TEST(DrawContext, DrawSegmentsWithNullPenOnlyMoves) {
    Image image;
    image.reset(8, 8);
    std::vector<Segment> record;
    DrawContext dc(&image, &record);
    dc.SelectPen(Pen::Null);
    const Segment segment{0, 0, 7, 7};
    dc.DrawSegments(&segment, 1);
    EXPECT_TRUE(record.empty());
    EXPECT_TRUE(BlackPixels(image).empty());
    dc.SelectPen(Pen::Black);
    dc.LineTo(7, 5);
    EXPECT_EQ(record, (std::vector<Segment>{{7, 7, 7, 5}}));
}
