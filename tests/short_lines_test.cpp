// The table of short lines against the Bresenham walk it stands for: every
// line within its reach sets the walk's pixels, and the reach ends where a
// line could have more pixels than an entry holds.
#include "view/short_lines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstdint>
#include <vector>

namespace {

constexpr int kWidth = 23, kHeight = 19, kX = 11, kY = 9; // the start pixel, inside on every side

std::vector<std::uint8_t> Walked(int dx, int dy) {
    std::vector<std::uint8_t> mask(kWidth * kHeight, 0);
    Walk(InsideLineWalk(kWidth, kX, kY, kX + dx, kY + dy), ByteCanvas{mask.data()});
    return mask;
}

std::vector<std::uint8_t> FromTable(const ShortLines& lines, int dx, int dy) {
    std::vector<std::uint8_t> mask(kWidth * kHeight, 0);
    const unsigned start = kY * kWidth + kX, index = ShortLines::Index(dx, dy);
    lines.drawTwo(mask.data(), start, index, start, index);
    return mask;
}

} // namespace

TEST(ShortLines, SetTheWalkedPixelsOfEveryLineWithinReach) {
    const ShortLines lines(kWidth);
    int covered = 0;
    for (int dy = -8; dy <= 8; ++dy)
        for (int dx = -8; dx <= 8; ++dx) {
            if (ShortLines::Beyond(dx, dy) || (dx == 0 && dy == 0)) continue;
            ++covered;
            EXPECT_EQ(FromTable(lines, dx, dy), Walked(dx, dy)) << dx << ", " << dy;
        }
    EXPECT_EQ(covered, ShortLines::kSide * ShortLines::kSide - 1);
}

TEST(ShortLines, ReachEndsBeforeALineOfMorePixelsThanAnEntryHolds) {
    for (int dy = -8; dy <= 8; ++dy)
        for (int dx = -8; dx <= 8; ++dx) {
            const bool within = !ShortLines::Beyond(dx, dy);
            EXPECT_EQ(within, std::abs(dx) <= ShortLines::kReach && std::abs(dy) <= ShortLines::kReach)
                << dx << ", " << dy;
            if (within) {
                EXPECT_LE(std::max(std::abs(dx), std::abs(dy)), ShortLines::kPixels);
            }
        }
}

TEST(ShortLines, ZeroLengthLineSetsOnlyItsStart) {
    const ShortLines lines(kWidth);
    std::vector<std::uint8_t> expected(kWidth * kHeight, 0);
    expected[kY * kWidth + kX] = 1;
    EXPECT_EQ(FromTable(lines, 0, 0), expected);
}
