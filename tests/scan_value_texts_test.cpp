// Value texts whose reading differs between C runtimes (msvcrt's strtod knows
// no "inf", "nan" or hexadecimal, MinGW's follows the locale): ScanValue reads
// them alike everywhere.
#include "meshfile/dxf/scan_number.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(ScanValueTexts, InfinityAndNanInAnyCaseKeepTheirSign) {
    EXPECT_EQ(ScanValue("inf"), kInf);
    EXPECT_EQ(ScanValue("-Infinity"), -kInf);
    EXPECT_EQ(ScanValue("+INF"), kInf);
    EXPECT_TRUE(std::isnan(ScanValue("nan")));
    EXPECT_FALSE(std::signbit(ScanValue("NaN")));
    EXPECT_TRUE(std::isnan(ScanValue("-nan(7)")));
    EXPECT_TRUE(std::signbit(ScanValue("-nan")));
}

TEST(ScanValueTexts, HexadecimalIsReadExactly) {
    EXPECT_EQ(ScanValue("0x1.8p1"), 3.0);
    EXPECT_EQ(ScanValue("-0X10"), -16.0);
    EXPECT_EQ(ScanValue("+0x1p-1074"), std::numeric_limits<double>::denorm_min());
}

TEST(ScanValueTexts, OutOfRangeGivesInfinityOrZeroWithTheSign) {
    EXPECT_EQ(ScanValue("1e400"), kInf);
    EXPECT_EQ(ScanValue("-1e400"), -kInf);
    EXPECT_EQ(ScanValue("0x1p99999"), kInf);
    EXPECT_EQ(ScanValue("1e-400"), 0.0);
    EXPECT_TRUE(std::signbit(ScanValue("-1e-400")));
}

TEST(ScanValueTexts, DecimalsNeedingFullPrecisionIgnoreACommaLocale) {
    const char* comma_locales[] = {"de_DE.UTF-8", "de_DE.utf8", "German_Germany.1252"};
    bool comma = false;
    for (const char* name : comma_locales)
        if (std::setlocale(LC_ALL, name)) {
            comma = true;
            break;
        }
    // Seventeen significant digits: beyond the reader's own fast path.
    const double boundary = ScanValue("2.2250738585072011e-308");
    const double long_value = ScanValue("0.30000000000000004441");
    std::setlocale(LC_ALL, "C");
    if (!comma) GTEST_SKIP() << "no locale with a decimal comma is installed";
    EXPECT_EQ(boundary, 2.2250738585072009e-308);
    EXPECT_EQ(long_value, 0.1 + 0.2);
}

} // namespace
