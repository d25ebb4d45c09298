#include "meshfile/writer/fixed3.h"

#include <gtest/gtest.h>

#include <bit>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

namespace {

std::string Formatted(double v) {
    char text[kFixed3MaxLength + 1];
    return std::string(text, FormatFixed3(v, text));
}

std::string Printed(double v) {
    char text[kFixed3MaxLength + 8];
    std::snprintf(text, sizeof text, "%5.3f", v);
    return text;
}

// The reference is the C library's printf in the C locale.
class Fixed3Format : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(std::setlocale(LC_ALL, "C"), nullptr); }

    static void ExpectLikePrintf(double v) {
#if !defined(__GLIBC__)
        // MinGW's printf drops the sign of a NaN; the writer keeps it, as glibc's does.
        if (std::isnan(v) && std::signbit(v)) {
            ASSERT_EQ(Formatted(v), " -nan");
            return;
        }
#endif
        ASSERT_EQ(Formatted(v), Printed(v)) << "bits 0x" << std::hex << std::bit_cast<std::uint64_t>(v);
    }
};

TEST_F(Fixed3Format, PlainValuesHaveThreeDecimalsAndNoPadding) {
    EXPECT_EQ(Formatted(0), "0.000");
    EXPECT_EQ(Formatted(-2), "-2.000");
    EXPECT_EQ(Formatted(0.5), "0.500");
    EXPECT_EQ(Formatted(12345.6789), "12345.679");
    EXPECT_EQ(Formatted(999.9996), "1000.000");
}

TEST_F(Fixed3Format, NegativeValuesThatRoundToZeroKeepTheirSign) {
    EXPECT_EQ(Formatted(-0.0), "-0.000");
    EXPECT_EQ(Formatted(-0.0001), "-0.000");
    EXPECT_EQ(Formatted(-std::numeric_limits<double>::denorm_min()), "-0.000");
    EXPECT_EQ(Formatted(-0.0005), "-0.001");
}

TEST_F(Fixed3Format, NotFiniteValuesArePaddedToFiveCharacters) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(Formatted(inf), "  inf");
    EXPECT_EQ(Formatted(-inf), " -inf");
    EXPECT_EQ(Formatted(std::copysign(nan, 1.0)), "  nan");
    EXPECT_EQ(Formatted(std::copysign(nan, -1.0)), " -nan");
    ExpectLikePrintf(std::copysign(nan, -1.0));
}

TEST_F(Fixed3Format, ExactHalfwayCasesRoundToEven) {
    // j/16 with j odd is exactly halfway between two thousandths.
    EXPECT_EQ(Formatted(0.0625), "0.062");
    EXPECT_EQ(Formatted(0.1875), "0.188");
    EXPECT_EQ(Formatted(-2.3125), "-2.312");
    for (int j = -4001; j <= 4001; j += 2) ExpectLikePrintf(j / 16.0);
}

TEST_F(Fixed3Format, NearHalfwayCasesRoundByTheirExactBinaryValue) {
    // 0.0005 is stored slightly above the half and rounds up.
    EXPECT_EQ(Formatted(0.0005), "0.001");
    for (int k = -20000; k <= 20000; ++k) {
        const double half = k / 1000.0 + 0.0005;
        ExpectLikePrintf(half);
        ExpectLikePrintf(std::nextafter(half, 0.0));
        ExpectLikePrintf(std::nextafter(half, 1e9));
        ExpectLikePrintf(k + 0.0005);
        ExpectLikePrintf(k * 1e6 + 0.0005);
    }
}

TEST_F(Fixed3Format, SubnormalHugeAndIntegralValuesMatchPrintf) {
    const double values[] = {std::numeric_limits<double>::denorm_min(),
                             std::numeric_limits<double>::min(),
                             1e-300,
                             4503599627370495.5,
                             9007199254740993.0,
                             0x1p63,
                             0x1p64,
                             0x1.fffffffffffffp63,
                             1.8446744073709552e19,
                             1e20,
                             1e300,
                             std::numeric_limits<double>::max()};
    for (double v : values) {
        ExpectLikePrintf(v);
        ExpectLikePrintf(-v);
    }
}

TEST_F(Fixed3Format, RandomDoublesOfEveryMagnitudeMatchPrintf) {
    std::mt19937_64 random(20240607);
    for (int i = 0; i < 200000; ++i) ExpectLikePrintf(std::bit_cast<double>(random())); // every bit pattern
    std::uniform_int_distribution<int> exponent(-40, 80);
    std::uniform_real_distribution<double> mantissa(-1, 1);
    for (int i = 0; i < 300000; ++i) ExpectLikePrintf(std::ldexp(mantissa(random), exponent(random)));
}

} // namespace
