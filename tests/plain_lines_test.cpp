// The in-place readers of short lines against the plain way: every short
// text over an alphabet of the characters that matter, and random longer
// ones around the eight bytes read as one word, are taken exactly when they
// are plain decimals, with the value ScanValue gives; and the line feeds of a
// bitmap are those a byte-by-byte search finds.
#include "meshfile/dxf/line_feeds.h"
#include "meshfile/dxf/plain_lines.h"
#include "meshfile/dxf/scan_number.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

bool IsDigitChar(char c) { return c >= '0' && c <= '9'; }

// The length of a plain decimal line at the start of `text` (sign, 1 to 15
// digits around an optional point, LF or CR LF), or 0, found character by character.
std::size_t PlainDecimalLength(const std::string& text) {
    std::size_t i = text[0] == '-' || text[0] == '+', digits = 0;
    for (; IsDigitChar(text[i]); ++i)
        ++digits;
    if (text[i] == '.')
        for (++i; IsDigitChar(text[i]); ++i)
            ++digits;
    if (digits == 0 || digits > 15) return 0;
    if (text[i] == '\n') return i + 1;
    return text[i] == '\r' && text[i + 1] == '\n' ? i + 2 : 0;
}

// Reads `line` padded to a whole window; the first mismatch as a message, or "".
std::string CheckDecimal(const std::string& line) {
    const std::string text = line + std::string(kPlainWindow + 2, '\n');
    double x = 12345.0;
    const std::size_t length = ReadPlainDecimal(text.data(), x);
    const std::size_t expected = PlainDecimalLength(text);
    if (length != expected)
        return "length " + std::to_string(length) + " instead of " + std::to_string(expected) + " for '" + line + "'";
    if (length == 0) return x == 12345.0 ? "" : "value written for refused '" + line + "'";
    const std::size_t ending = text[length - 2] == '\r' ? 2 : 1;
    const double scanned = ScanValue(std::string_view(text.data(), length - ending));
    return std::memcmp(&x, &scanned, sizeof x) == 0 ? "" : "other value for '" + line + "'";
}

TEST(PlainLines, EveryShortTextOverTheCharactersThatMatter) {
    const std::string alphabet = "019.-+\r\nx ";
    int failures = 0, taken = 0;
    for (std::size_t length = 1; length <= 6; ++length) {
        std::vector<std::size_t> at(length, 0);
        for (;;) {
            std::string line;
            for (std::size_t i : at)
                line += alphabet[i];
            const std::string problem = CheckDecimal(line);
            if (!problem.empty() && ++failures <= 5) ADD_FAILURE() << problem;
            taken += PlainDecimalLength(line + "\n") != 0;
            std::size_t i = 0;
            while (i < length && ++at[i] == alphabet.size())
                at[i++] = 0;
            if (i == length) break;
        }
    }
    EXPECT_EQ(failures, 0);
    EXPECT_GT(taken, 1000);
}

TEST(PlainLines, RandomTextsAroundTheWordLength) {
    std::mt19937 random(7);
    const std::string characters = "0123456789.-+\r\n";
    int failures = 0;
    for (int n = 0; n < 300000; ++n) {
        std::string line(1 + random() % 20, '0');
        for (char& c : line)
            c = random() % 4 ? characters[random() % 10] : characters[random() % characters.size()];
        if (random() % 2) line += random() % 2 ? "\n" : "\r\n";
        const std::string problem = CheckDecimal(line);
        if (!problem.empty() && ++failures <= 5) ADD_FAILURE() << problem;
    }
    EXPECT_EQ(failures, 0);
}

TEST(PlainLines, WriterValuesReadAsScanned) {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> value(-99999.0, 99999.0);
    for (int n = 0; n < 100000; ++n) {
        char text[32];
        std::snprintf(text, sizeof text, "%.*f", static_cast<int>(random() % 5), value(random));
        EXPECT_EQ(CheckDecimal(std::string(text) + (n % 2 ? "\r\n" : "\n")), "");
    }
}

// Every text of up to five characters with a line feed: a short code is read
// exactly when ReadPlainCode reads one or two digits there, with its value.
TEST(PlainLines, ShortCodesAsReadPlainCodeReadsThem) {
    const std::string alphabet = "0379 \r\n-x";
    int short_codes = 0;
    for (std::size_t length = 1; length <= 5; ++length) {
        std::vector<std::size_t> at(length, 0);
        for (;;) {
            std::string line;
            for (std::size_t i : at)
                line += alphabet[i];
            const std::string text = line + std::string(kPlainWindow, '\n');
            const std::size_t feed = text.find('\n');
            int plain = -1, code = -1;
            const std::size_t plain_length = ReadPlainCode(text.data(), plain);
            const std::size_t digits = feed - (feed > 0 && text[feed - 1] == '\r');
            const bool expected = plain_length == feed + 1 && text[0] != ' ' && digits <= 2;
            ASSERT_EQ(plain_lines::ReadShortCode(text.data(), feed, code), expected) << "'" << line << "'";
            if (expected) {
                ASSERT_EQ(code, plain) << "'" << line << "'";
            }
            short_codes += expected;
            std::size_t i = 0;
            while (i < length && ++at[i] == alphabet.size())
                at[i++] = 0;
            if (i == length) break;
        }
    }
    EXPECT_GT(short_codes, 100);
}

TEST(LineFeeds, FindsEveryFeedOfTheWholeBlocksInOrder) {
    std::mt19937 random(3);
    for (int n = 0; n < 2000; ++n) {
        std::string text(random() % 400, 'a');
        const unsigned density = 1 + random() % 40;
        for (char& c : text)
            c = random() % density == 0 ? '\n' : static_cast<char>(random());
        std::vector<std::size_t> expected, found;
        for (std::size_t i = 0; i < text.size() / 64 * 64; ++i)
            if (text[i] == '\n') expected.push_back(i);
        LineFeeds feeds(text.data(), text.size());
        for (std::size_t at; (at = feeds.next()) != LineFeeds::kNone;)
            found.push_back(at);
        ASSERT_EQ(found, expected) << "text of " << text.size() << " bytes";
        EXPECT_EQ(feeds.next(), LineFeeds::kNone);
    }
}

} // namespace
