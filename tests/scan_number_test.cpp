// ScanGroupCode and ScanValue against the C library they imitate: glibc's
// sscanf with "%d" and "%le" in the C locale, compared bit for bit.
#include "meshfile/dxf/scan_number.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <locale.h>
#include <random>
#include <string>

namespace {

// sscanf reads a C string, so the text is cut at its first NUL, as ScanValue does.
int SscanfGroupCode(const std::string& text) {
    int k = 0;
    std::sscanf(text.c_str(), "%d", &k);
    return k;
}

double SscanfValue(const std::string& text) {
    double x = 0.0;
    std::sscanf(text.c_str(), "%le", &x);
    return x;
}

std::uint64_t Bits(double x) {
    return std::bit_cast<std::uint64_t>(x);
}

// Runs the C library's conversions in the C locale whatever the test program set.
class CLocale {
  public:
    CLocale() : locale_(newlocale(LC_ALL_MASK, "C", nullptr)), previous_(uselocale(locale_)) {}
    ~CLocale() {
        uselocale(previous_);
        freelocale(locale_);
    }
    CLocale(const CLocale&) = delete;
    CLocale& operator=(const CLocale&) = delete;

  private:
    locale_t locale_;
    locale_t previous_;
};

void ExpectSameAsSscanf(const std::string& text) {
    CLocale c;
    EXPECT_EQ(ScanGroupCode(text), SscanfGroupCode(text)) << "code text \"" << text << '"';
    EXPECT_EQ(Bits(ScanValue(text)), Bits(SscanfValue(text)))
        << "value text \"" << text << "\": " << ScanValue(text) << " vs " << SscanfValue(text);
}

TEST(ScanGroupCode, ReadsDecimalIntegersAsPercentD) {
    EXPECT_EQ(ScanGroupCode("10"), 10);
    EXPECT_EQ(ScanGroupCode("  -33 trailing"), -33);
    EXPECT_EQ(ScanGroupCode("\t\v\f\r 7"), 7);
    EXPECT_EQ(ScanGroupCode("+12abc"), 12);
    EXPECT_EQ(ScanGroupCode("0x1A"), 0);
    EXPECT_EQ(ScanGroupCode("007"), 7);
}

TEST(ScanGroupCode, TextWithoutANumberGivesZero) {
    for (const char* text : {"", " ", "-", "+", "+-1", "- 1", "abc", "EOF"})
        EXPECT_EQ(ScanGroupCode(text), 0) << text;
    EXPECT_EQ(ScanGroupCode("3DFACE"), 3);
}

TEST(ScanGroupCode, OverflowSaturatesAtLongThenKeepsTheLow32Bits) {
    EXPECT_EQ(ScanGroupCode("2147483647"), 2147483647);
    EXPECT_EQ(ScanGroupCode("2147483648"), std::numeric_limits<int>::min());
    EXPECT_EQ(ScanGroupCode("4294967306"), 10);
    EXPECT_EQ(ScanGroupCode("9223372036854775807"), -1);
    EXPECT_EQ(ScanGroupCode("99999999999999999999999"), -1);
    EXPECT_EQ(ScanGroupCode("-9223372036854775808"), 0);
    EXPECT_EQ(ScanGroupCode("-99999999999999999999999"), 0);
    for (const char* text :
         {"2147483648", "-2147483649", "4294967306", "9223372036854775807", "9223372036854775808",
          "-9223372036854775809", "18446744073709551626", "99999999999999999999999"})
        ExpectSameAsSscanf(text);
}

TEST(ScanGroupCode, TextEndsAtTheFirstNul) {
    EXPECT_EQ(ScanGroupCode(std::string_view("1\0"
                                             "2",
                                             3)),
              1);
    EXPECT_EQ(ScanGroupCode(std::string_view("\0"
                                             "12",
                                             3)),
              0);
}

TEST(ScanValue, ReadsTheWritersDecimals) {
    EXPECT_EQ(ScanValue("12.345"), 12.345);
    EXPECT_EQ(ScanValue("-0.001"), -0.001);
    EXPECT_EQ(ScanValue("  1e3"), 1000.0);
}

TEST(ScanValue, KeepsTheSignOfZero) {
    EXPECT_TRUE(std::signbit(ScanValue("-0.000")));
    EXPECT_TRUE(std::signbit(ScanValue("-0x.")));
    EXPECT_FALSE(std::signbit(ScanValue("0.0")));
    // "-0x" is a matching failure: the preset +0.0 stays.
    EXPECT_FALSE(std::signbit(ScanValue("-0x")));
}

TEST(ScanValue, PartialWordsAreMatchingFailures) {
    for (const char* text : {"infin", "infinit", "na", "n", "i", "-in", "nax", "inx"}) {
        EXPECT_EQ(Bits(ScanValue(text)), Bits(0.0)) << text;
        ExpectSameAsSscanf(text);
    }
    EXPECT_EQ(ScanValue("infx"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(ScanValue("-INFINITY"), -std::numeric_limits<double>::infinity());
    EXPECT_TRUE(std::isnan(ScanValue("nan(123)")));
}

// Every entry is compared with sscanf itself, so the table only has to list
// the texts worth trying.
TEST(ScanValue, MatchesSscanfOnAwkwardTexts) {
    const char* texts[] = {
        "",
        " ",
        "\t\n",
        "+",
        "-",
        ".",
        "-.",
        "+.e1",
        ".5",
        "5.",
        "-.5e-3",
        "1e",
        "1e+",
        "1e-",
        "1E5",
        "1e+-5",
        "1e5.5",
        "1..2",
        "12abc",
        "0x",
        "0X",
        "-0x",
        "+0x",
        "0x.",
        "-0x.",
        "0x.p1",
        "0x1p",
        "0x1P-",
        "0x1p3",
        "0x1.8p1",
        "0xABCp-4",
        "0x1p1f",
        "0xg",
        "0e5",
        "e5",
        "nan",
        "-nan",
        "NaN",
        "nan(",
        "nan(1)",
        "inf",
        "-Inf",
        "INFINITY",
        "infinity",
        "infinityx",
        "infinit",
        "1e308",
        "1e309",
        "-1e309",
        "2e-308",
        "4.9e-324",
        "2e-324",
        "1e-400",
        "-1e-400",
        "2.2250738585072011e-308",
        "9007199254740993",
        "0.1000000000000000055511151231257827",
        "123456789012345678901234567890",
        "0000000000000000000000001.5",
        "0.000000000000000000000000015",
        "179769313486231580793728971405301e276",
        "1,5",
        "1 5",
        "\v-2.5",
        "++1",
        "-+1",
        "1e0x",
        "0x1e+2",
    };
    for (const char* text : texts)
        ExpectSameAsSscanf(text);
}

TEST(ScanValue, TextEndsAtTheFirstNul) {
    EXPECT_EQ(ScanValue(std::string_view("1.5\0"
                                         "7",
                                         5)),
              1.5);
    EXPECT_EQ(ScanValue(std::string_view("1e\0"
                                         "7",
                                         4)),
              1.0);
    EXPECT_EQ(Bits(ScanValue(std::string_view("\0"
                                              "9",
                                              2))),
              Bits(0.0));
}

TEST(ScanValue, LongTextsBeyondALineStillMatch) {
    ExpectSameAsSscanf(std::string(300, '1'));
    ExpectSameAsSscanf("0." + std::string(400, '0') + "1e400");
    ExpectSameAsSscanf(std::string(300, ' ') + "-2.5");
}

// Random texts over the characters that matter to the two conversions,
// NUL included, in lengths up to a few dozen.
std::string RandomText(std::mt19937& random) {
    static constexpr char kAlphabet[] = "0123456789+-.eEpPxXaAfFiInNtTyY \t\r\v\f,\0";
    constexpr std::size_t kLetters = sizeof kAlphabet - 1; // the final NUL is the literal's own
    std::uniform_int_distribution<std::size_t> letter(0, kLetters - 1), length(0, 24);
    std::string text(length(random), ' ');
    for (char& c : text)
        c = kAlphabet[letter(random)];
    return text;
}

// Number-shaped texts: a sign, digits, a point, an exponent, hex prefixes,
// so that most cases get past the first character.
std::string RandomNumberLike(std::mt19937& random) {
    const char* pieces[] = {"-", "+",   "0",  "1",   "9",  "00",  "123",        "0x", "0X",
                            ".", "e",   "E",  "p",   "P",  "e-",  "e+",         "p-", "a",
                            "F", "inf", "in", "nan", "na", "ity", "9999999999", " ",  "\0"};
    std::uniform_int_distribution<std::size_t> piece(0, std::size(pieces) - 1), count(1, 6);
    std::string text;
    for (std::size_t n = count(random); n > 0; --n) {
        const char* p = pieces[piece(random)];
        text += *p ? std::string(p) : std::string(1, '\0');
    }
    return text;
}

TEST(ScanNumberDifferential, RandomTextsMatchSscanf) {
    std::mt19937 random(20240611);
    for (int i = 0; i < 20000; ++i) {
        ExpectSameAsSscanf(RandomText(random));
        ExpectSameAsSscanf(RandomNumberLike(random));
        if (HasFailure()) return;
    }
}

TEST(ScanNumberDifferential, RandomDoublesPrintedAnyWayReadBackLikeSscanf) {
    std::mt19937_64 random(7);
    const char* formats[] = {"%.17g", "%.3f", "%a", "%.6e", "%.25g", "%g"};
    char text[512];
    for (int i = 0; i < 20000; ++i) {
        const double x = std::bit_cast<double>(random());
        std::snprintf(text, sizeof text, formats[i % std::size(formats)], x);
        ExpectSameAsSscanf(text);
        if (HasFailure()) return;
    }
}

} // namespace
