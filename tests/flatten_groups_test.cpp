#include "meshfile/flatten/dxf_groups.h"
#include "support/dxf_pairs.h"

#include <gtest/gtest.h>

#include <cmath>
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
    const Read read = ReadAll(DxfBinary("0 SECTION\n999 note\n0 EOF\n", true));
    ASSERT_EQ(read.error, "");
    ASSERT_EQ(read.groups.size(), 3u);
    EXPECT_EQ(read.groups[1].code, 999);
    EXPECT_EQ(read.groups[1].text, "note");
}

TEST(DxfGroups, BinaryFileCutInsideAGroupIsRefused) {
    const std::string whole = DxfBinary("0 SECTION\n10 1.5\n0 EOF\n");
    const std::size_t valueAt = 22 + 2 + 8 + 2; // the double of group 10
    EXPECT_EQ(ReadAll(whole.substr(0, valueAt + 5)).error, "byte 32: the file ends inside the value of group code 10");
    EXPECT_EQ(ReadAll(whole.substr(0, valueAt - 1)).error, "byte 32: the file ends inside a group code");
    EXPECT_EQ(ReadAll(whole.substr(0, 22 + 2 + 3)).error, "byte 22: the file ends inside the value of group code 0");
}

} // namespace
