#include "meshfile/dxf/byte_source.h"
#include "meshfile/dxf/file_source.h"
#include "meshfile/flatten/dxf_groups.h"
#include "support/dxf_pairs.h"
#include "support/temp_files.h"
#include "tuning.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

struct Read {
    std::vector<DxfGroup> groups;
    std::string error;
};

Read ReadAll(std::string_view bytes) {
    Read read;
    DxfGroupReader reader(bytes);
    DxfGroup group;
    while (reader.next(group)) read.groups.push_back(group);
    read.error = reader.error();
    return read;
}

double Real(const DxfGroup& group) {
    double value = -1;
    EXPECT_TRUE(ReadReal(group, value)) << group.text;
    return value;
}

TEST(DxfGroups, TextPairsWithCrLfBlanksAndALastLineWithoutLineEnd) {
    const Read read = ReadAll("  0\r\nSECTION \r\n10\n -1.5\n 70\n     3\n0\nEOF");
    ASSERT_EQ(read.error, "");
    ASSERT_EQ(read.groups.size(), 4u);
    EXPECT_EQ(read.groups[0].code, 0);
    EXPECT_EQ(read.groups[0].text, "SECTION");
    EXPECT_EQ(read.groups[1].code, 10);
    EXPECT_EQ(Real(read.groups[1]), -1.5);
    EXPECT_EQ(read.groups[1].position, 3); // the code's line
    long long flags = 0;
    EXPECT_TRUE(ReadInteger(read.groups[2], flags));
    EXPECT_EQ(flags, 3);
    EXPECT_EQ(read.groups[3].text, "EOF");
}

TEST(DxfGroups, NumbersAreWholeFiniteValues) {
    const auto value = [](std::string_view text, double& out) {
        DxfGroup group;
        group.text = text;
        return ReadReal(group, out);
    };
    double v = 0;
    EXPECT_TRUE(value("+2.5e3", v));
    EXPECT_EQ(v, 2500);
    EXPECT_TRUE(value("0.1", v));
    EXPECT_EQ(v, 0.1);
    EXPECT_TRUE(value("-0", v));
    EXPECT_TRUE(std::signbit(v));
    for (const char* bad : {"", "abc", "1.5x", "1,5", "nan", "inf", "-infinity", "1e999", "0x10"})
        EXPECT_FALSE(value(bad, v)) << bad;
    DxfGroup integer;
    long long n = 0;
    for (const char* bad : {"1.0", "4294967296", "-2147483649", "7 7"}) {
        integer.text = bad;
        EXPECT_FALSE(ReadInteger(integer, n)) << bad;
    }
    integer.text = "-1";
    EXPECT_TRUE(ReadInteger(integer, n));
    EXPECT_EQ(n, -1);
}

TEST(DxfGroups, BadCodeLineAndValueMissingAtTheEnd) {
    EXPECT_EQ(ReadAll("0\nSECTION\nX1\nfoo\n").error, "line 3: 'X1' is not a group code");
    EXPECT_EQ(ReadAll("0\nSECTION\n-5\nfoo\n").error, "line 3: '-5' is not a group code");
    EXPECT_EQ(ReadAll("0\nSECTION\n10\n").error, "line 3: the file ends after a group code, before its value");
}

TEST(DxfGroups, BinaryFileReadsAsItsTextForm) {
    const std::string pairs = "0 SECTION\n2 ENTITIES\n0 3DFACE\n10 1.25\n20 -3\n70 -2\n90 70000\n0 EOF\n";
    for (const bool oneByte : {false, true}) {
        const std::string binary = DxfBinary(pairs, oneByte), text = DxfText(pairs);
        ASSERT_TRUE(IsBinaryDxf(binary));
        ASSERT_FALSE(IsBinaryDxf(text));
        const Read fromBinary = ReadAll(binary), fromText = ReadAll(text);
        ASSERT_EQ(fromBinary.error, "");
        ASSERT_EQ(fromBinary.groups.size(), fromText.groups.size());
        for (std::size_t i = 0; i < fromText.groups.size(); ++i) {
            const DxfGroup &b = fromBinary.groups[i], &t = fromText.groups[i];
            EXPECT_EQ(b.code, t.code) << i;
            if (b.numeric) {
                EXPECT_EQ(Real(b), Real(t)) << i;
            } else {
                EXPECT_EQ(b.text, t.text) << i;
            }
        }
        EXPECT_EQ(fromBinary.groups[3].position, 22 + (oneByte ? 1 + 8 + 1 + 9 + 1 + 7 : 2 + 8 + 2 + 9 + 2 + 7));
    }
}

TEST(DxfGroups, BinaryCodeAbove254InOneByteFile) {
    const std::string bytes = DxfBinary("0 SECTION\n999 note\n0 EOF\n", true);
    const Read read = ReadAll(bytes); // its groups' texts point into `bytes`
    ASSERT_EQ(read.error, "");
    ASSERT_EQ(read.groups.size(), 3u);
    EXPECT_EQ(read.groups[1].code, 999);
    EXPECT_EQ(read.groups[1].text, "note");
}

// A binary chunk is its length byte and that many bytes, with no NUL after.
TEST(DxfGroups, BinaryChunkIsItsLengthByteAndItsBytes) {
    const std::string bytes = std::string("AutoCAD Binary DXF\r\n\x1a\0", 22) + std::string("\x36\x01\x03" "a\0b", 6) +
                              std::string("\0\0EOF\0", 6);
    const Read read = ReadAll(bytes);
    ASSERT_EQ(read.error, "");
    ASSERT_EQ(read.groups.size(), 2u);
    EXPECT_EQ(read.groups[0].code, 310);
    EXPECT_EQ(read.groups[0].text, std::string_view("a\0b", 3));
    EXPECT_EQ(read.groups[1].text, "EOF");
    EXPECT_EQ(ReadAll(bytes.substr(0, 22 + 4)).error, "byte 22: the file ends inside the value of group code 310");
}

TEST(DxfGroups, BinaryFileCutInsideAGroupIsRefused) {
    const std::string whole = DxfBinary("0 SECTION\n10 1.5\n0 EOF\n");
    const std::size_t valueAt = 22 + 2 + 8 + 2; // the double of group 10
    EXPECT_EQ(ReadAll(whole.substr(0, valueAt + 5)).error, "byte 32: the file ends inside the value of group code 10");
    EXPECT_EQ(ReadAll(whole.substr(0, valueAt - 1)).error, "byte 32: the file ends inside a group code");
    EXPECT_EQ(ReadAll(whole.substr(0, 22 + 2 + 3)).error, "byte 22: the file ends inside the value of group code 0");
}

// A file of about 4 MB read through the reader's window gives the groups
// of the same bytes read in memory: lines of every length, across every
// refill, and one value longer than the window (1.5 MB), which makes it grow.
// A source that reads the open `file` in pieces through the reader's window, whatever its size.
ByteSource InPieces(FileSource& file) {
    const std::size_t mapFrom = g_tuning.mapFilesFrom;
    g_tuning.mapFilesFrom = static_cast<std::size_t>(-1);
    ByteSource source(file);
    g_tuning.mapFilesFrom = mapFrom;
    return source;
}

// The end of the file window's first megabyte at every byte of a comment's
// line end, a code line, a value line and their CR LF pairs.
TEST(DxfGroups, CrLfPairsAcrossTheFileWindowsEndReadAsInMemory) {
    TempDir dir;
    const std::string head = "999\r\n", tail = "\r\n10\r\n1.5\r\n20\r\n-2\r\n0\r\nEOF\r\n";
    for (std::size_t before = 1; before <= 18; ++before) { // bytes of the tail before the megabyte's end
        const std::string comment((std::size_t{1} << 20) - head.size() - before, 'c');
        const std::string bytes = head + comment + tail;
        FileSource file;
        ASSERT_EQ(file.open(dir.write("crlf.dxf", bytes).c_str()), 0);
        ByteSource source = InPieces(file);
        DxfGroupReader reader(source);
        const Read want = ReadAll(bytes);
        ASSERT_EQ(want.groups.size(), 4u);
        EXPECT_EQ(want.groups[0].text, comment);
        EXPECT_EQ(want.groups[1].text, "1.5");
        std::size_t i = 0;
        for (DxfGroup group; reader.next(group); ++i) { // a group's text lasts until the next call
            ASSERT_LT(i, want.groups.size()) << before;
            EXPECT_EQ(group.code, want.groups[i].code) << before;
            EXPECT_EQ(group.position, want.groups[i].position) << before;
            EXPECT_EQ(group.text, want.groups[i].text) << before;
        }
        EXPECT_EQ(i, want.groups.size()) << before;
        EXPECT_EQ(reader.error(), "") << before;
    }
}

// The first comment puts the end of the first megabyte 3 bytes into a value.
TEST(DxfGroups, FileReadThroughItsWindowReadsAsInMemory) {
    std::string pairs = "999 " + std::string((std::size_t{1} << 20) - 11, 'c') + "\n10 1.234567\n";
    for (int i = 0; pairs.size() < (std::size_t{3} << 20); ++i)
        pairs += std::to_string(10 + i % 30) + " " + std::string(static_cast<std::size_t>(i % 53 + 1), '7') + "\n";
    pairs += "1 " + std::string(std::size_t{3} << 19, 'x') + "\n0 EOF\n";
    TempDir dir;
    for (const bool binary : {false, true}) {
        const std::string bytes = binary ? DxfBinary(pairs) : DxfText(pairs);
        const std::string path = dir.write("big.dxf", bytes);
        FileSource file;
        ASSERT_EQ(file.open(path.c_str()), 0);
        ByteSource source = InPieces(file);
        DxfGroupReader fromFile(source), inMemory(bytes);
        DxfGroup a, b;
        std::size_t groups = 0;
        for (bool more = true; more; ++groups) {
            more = inMemory.next(b);
            ASSERT_EQ(fromFile.next(a), more) << groups;
            if (!more) break;
            ASSERT_EQ(a.code, b.code) << groups;
            ASSERT_EQ(a.text, b.text) << groups;
            ASSERT_EQ(a.number, b.number) << groups;
            ASSERT_EQ(a.position, b.position) << groups;
            if (groups % 1000 == 7) {
                fromFile.putBack();
                inMemory.putBack();
            }
        }
        EXPECT_EQ(fromFile.error(), "");
        EXPECT_GT(groups, 50000u);
    }
}

// Plain decimals of every length, at the end of the bytes and before more of
// them: read as from_chars reads their digits, ending after the last digit,
// and refused past 15 digits or with none.
TEST(DxfGroups, PlainDecimalsOfEveryLengthReadAsFromChars) {
    std::mt19937 random(5);
    const auto digits = [&](int n) {
        std::string text;
        for (int i = 0; i < n; ++i) text += static_cast<char>('0' + random() % 10);
        return text;
    };
    static const char* const kAfter[] = {"\r\n", "\n", " ", "x", "e5", "-", "/", ":", ""};
    for (int i = 0; i < 200000; ++i) {
        const int whole = static_cast<int>(random() % 18), fraction = static_cast<int>(random() % 18);
        const bool point = random() % 4 != 0;
        const std::string number = (random() % 2 ? "-" : "") + digits(whole) + (point ? "." : "") + digits(fraction);
        const std::string text = number + kAfter[random() % std::size(kAfter)];
        const std::string padded = text + std::string(16, '\n');
        double atEnd = -1, beforeMore = -1;
        const char* const endStop = ScanPlainDecimal(text.data(), text.data() + text.size(), atEnd);
        const char* const moreStop = ScanPlainDecimal(padded.data(), padded.data() + padded.size(), beforeMore);
        const int count = whole + fraction;
        ASSERT_EQ(endStop != nullptr, count > 0 && count <= 15) << text;
        ASSERT_EQ(moreStop != nullptr, count > 0 && count <= 15) << text;
        if (!endStop) continue;
        EXPECT_EQ(endStop - text.data(), static_cast<std::ptrdiff_t>(number.size())) << text;
        EXPECT_EQ(moreStop - padded.data(), static_cast<std::ptrdiff_t>(number.size())) << text;
        double expected = 0;
        std::from_chars(number.data() + (number[0] == '-'), number.data() + number.size(), expected);
        if (number[0] == '-') expected = -expected;
        EXPECT_EQ(std::bit_cast<std::uint64_t>(atEnd), std::bit_cast<std::uint64_t>(expected)) << text;
        EXPECT_EQ(std::bit_cast<std::uint64_t>(beforeMore), std::bit_cast<std::uint64_t>(expected)) << text;
    }
}

} // namespace
