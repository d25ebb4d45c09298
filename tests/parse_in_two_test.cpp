// The parse pass split at a face line of the count pass: where one pass
// would read the bytes alike, both halves say so (the split is really taken)
// and together give the one pass's table; where it would not, a half says so.
#include "kelvorn.h"
#include "meshfile/dxf/byte_source.h"
#include "meshfile/reader/face_passes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::string Faces(int first, int n, const char* eol = "\n") {
    std::string text;
    for (int i = first; i < first + n; ++i)
        for (const std::string& line : std::vector<std::string>{"0", "3DFACE", "8", "0", "10", std::to_string(i),
                                                                 "21", "-1.5", "33", std::to_string(i) + ".25"})
            text += line + eol;
    return text;
}

struct Halves {
    bool first = false, second = false;
    std::vector<Face> split, whole;
};

Halves ParseBothWays(const std::string& bytes) {
    ByteSource source(bytes);
    long long count = 0;
    FaceLine middle;
    EXPECT_TRUE(CountFaceLines(source, count, &middle));
    EXPECT_TRUE(middle.found());
    Halves halves;
    halves.split.resize(static_cast<std::size_t>(count) + 4);
    halves.whole.resize(halves.split.size());
    halves.first = ParseUpToFaceLine(source, halves.split.data(), middle);
    halves.second = ParseFromFaceLine(source, halves.split.data(), count, middle);
    EXPECT_TRUE(ParseFaceLines(source, halves.whole.data(), count));
    return halves;
}

bool SameTables(const Halves& halves) {
    return std::memcmp(halves.split.data(), halves.whole.data(), halves.whole.size() * sizeof(Face)) == 0;
}

TEST(ParseInTwo, MiddleFaceLineIsTheFirstCountedInTheSecondHalf) {
    const std::string bytes = Faces(0, 10);
    ByteSource source(bytes);
    long long count = 0;
    FaceLine middle;
    ASSERT_TRUE(CountFaceLines(source, count, &middle));
    EXPECT_EQ(count, 10);
    EXPECT_EQ(middle.faces_before, 5);
    EXPECT_EQ(middle.offset, Faces(0, 5).size() + 2); // after the "0" code line of the sixth face
}

TEST(ParseInTwo, WellFormedFileSplitsAndReadsAsOnePass) {
    for (const char* eol : {"\n", "\r\n"}) {
        const Halves halves = ParseBothWays("999\nheader\n" + Faces(0, 9, eol) + "0\nEOF\n");
        EXPECT_TRUE(halves.first);
        EXPECT_TRUE(halves.second);
        EXPECT_TRUE(SameTables(halves));
        EXPECT_EQ(halves.whole[8].D.z, 8.25);
    }
}

// The middle of the bytes at every byte of a CR LF face, its line ends
// included: the split falls on the first face line at or after it, and the
// halves read as one pass.
TEST(ParseInTwo, MiddleAtEveryByteOfACrLfFaceSplitsAtTheNextFaceLine) {
    const std::string faces = Faces(0, 6, "\r\n");
    for (std::size_t pad = 0; pad < 2 * Faces(0, 1, "\r\n").size(); ++pad) {
        const std::string bytes = faces + "999\r\n" + std::string(pad, 'c') + "\r\n0\r\nEOF\r\n";
        ByteSource source(bytes);
        long long count = 0;
        FaceLine middle;
        ASSERT_TRUE(CountFaceLines(source, count, &middle));
        EXPECT_EQ(count, 6);
        const std::size_t next = bytes.find("3DFACE", bytes.size() / 2);
        ASSERT_EQ(middle.found(), next != std::string::npos) << pad;
        if (!middle.found()) continue;
        EXPECT_EQ(middle.offset, next) << pad;
        EXPECT_EQ(middle.faces_before, static_cast<long long>(next / Faces(0, 1, "\r\n").size())) << pad;
        const Halves halves = ParseBothWays(bytes);
        EXPECT_TRUE(halves.first && halves.second) << pad;
        EXPECT_TRUE(SameTables(halves)) << pad;
    }
}

TEST(ParseInTwo, FaceLineInCodePositionIsNoSplitPoint) {
    // One dropped line before the middle puts every later 3DFACE in code position.
    std::string bytes = Faces(0, 8);
    bytes.erase(0, 2);
    EXPECT_FALSE(ParseBothWays(bytes).first);
}

TEST(ParseInTwo, EofMarkerBeforeTheMiddleEndsTheFirstHalfShort) {
    EXPECT_FALSE(ParseBothWays(Faces(0, 2) + "0\nEOF\n" + Faces(2, 6)).first);
}

TEST(ParseInTwo, LongLinePieceBeforeTheMiddlePutsItInCodePosition) {
    // A value line of 256 characters arrives as two pieces, so every later pair is out of step.
    EXPECT_FALSE(ParseBothWays("999\n" + std::string(256, 'x') + "\n" + Faces(0, 6)).first);
}

TEST(ParseInTwo, MiddleBeyondTheBytesIsRefusedBySecondHalf) {
    const std::string bytes = Faces(0, 2);
    ByteSource source(bytes);
    std::vector<Face> table(6);
    EXPECT_FALSE(ParseFromFaceLine(source, table.data(), 2, FaceLine{bytes.size() + 10, 1}));
    EXPECT_FALSE(ParseFromFaceLine(source, table.data(), 2, FaceLine{4, 1})) << "no face line there";
}

} // namespace
