// FormatShortest against std::to_chars, which it must match byte for byte.
#include "meshfile/writer/shortest.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>

namespace {

std::string Shortest(double v) {
    char text[kShortestMaxLength];
    return std::string(text, FormatShortest(v, text));
}

std::string ToChars(double v) {
    char text[kShortestMaxLength];
    return std::string(text, std::to_chars(text, text + sizeof text, v).ptr);
}

TEST(FormatShortest, HandPickedValues) {
    EXPECT_EQ(Shortest(0.001), "0.001");
    EXPECT_EQ(Shortest(-12.5), "-12.5");
    EXPECT_EQ(Shortest(10000), "10000");
    EXPECT_EQ(Shortest(100000), "1e+05");
    EXPECT_EQ(Shortest(-0.0), "-0");
    EXPECT_EQ(Shortest(0.1 + 0.2), "0.30000000000000004");
    EXPECT_EQ(Shortest(999999999999.999), "999999999999.999");
    EXPECT_EQ(Shortest(0.0001), "1e-04");
}

TEST(FormatShortest, MatchesToCharsOnDecimalsAndOnAnyBits) {
    std::mt19937_64 random(7);
    for (int i = 0; i < 200000; ++i) {
        double v;
        switch (i % 4) {
        case 0: v = std::bit_cast<double>(random()); break;
        case 1: v = static_cast<double>(static_cast<std::int64_t>(random() % 2000000001) - 1000000000) / 1000; break;
        case 2: v = static_cast<double>(random() % 100000) * std::pow(10.0, static_cast<int>(random() % 24) - 12); break;
        default: v = std::ldexp(static_cast<double>(random() % 4096), static_cast<int>(random() % 80) - 40); break;
        }
        if (!std::isfinite(v)) continue;
        ASSERT_EQ(Shortest(v), ToChars(v)) << std::hexfloat << v;
        ASSERT_EQ(Shortest(-v), ToChars(-v)) << std::hexfloat << -v;
    }
}

// The fast path's edges: its range's ends, the sixth whole digit, and the
// doubles beside a decimal of thousandths, which must not pass for it.
TEST(FormatShortest, MatchesToCharsAtTheEdgesOfThousandths) {
    const double edges[] = {0.0005, 0.0004999, 0.0015, 99999.999, 100000, 100000.001, 123000, 999999999999.999,
                            1e12, 999999999999.5, 0.999, 1.001, 4503599627370.496};
    for (const double edge : edges) {
        double v = std::nextafter(std::nextafter(edge, 0.0), 0.0);
        for (int step = 0; step < 5; ++step, v = std::nextafter(v, 1e300)) {
            ASSERT_EQ(Shortest(v), ToChars(v)) << std::hexfloat << v;
            ASSERT_EQ(Shortest(-v), ToChars(-v)) << std::hexfloat << -v;
        }
    }
    std::mt19937_64 random(11);
    for (int i = 0; i < 100000; ++i) {
        const double decimal = static_cast<double>(random() % 1000000000000000) / 1000;
        const double beside = std::nextafter(decimal, i % 2 ? 0.0 : 1e300);
        ASSERT_EQ(Shortest(beside), ToChars(beside)) << std::hexfloat << beside;
    }
}

} // namespace
