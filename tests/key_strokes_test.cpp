#include "view/key_strokes.h"
#include "view/view.h"

#include <gtest/gtest.h>

namespace {

std::vector<KeyStroke> Parse(std::string_view text) {
    std::vector<KeyStroke> strokes;
    std::string error;
    EXPECT_TRUE(ParseKeyStrokes(text, strokes, error)) << error;
    return strokes;
}

std::string ParseError(std::string_view text) {
    std::vector<KeyStroke> strokes{{kKeyEnd, 1}};
    std::string error;
    EXPECT_FALSE(ParseKeyStrokes(text, strokes, error)) << text;
    EXPECT_TRUE(strokes.empty());
    return error;
}

} // namespace

TEST(KeyStrokes, NamesTheSixRotationKeys) {
    EXPECT_EQ(Parse("pgup,pgdn,home,end,ins,del"),
              (std::vector<KeyStroke>{{kKeyPageUp, 1}, {kKeyPageDown, 1}, {kKeyHome, 1}, {kKeyEnd, 1},
                                      {kKeyInsert, 1}, {kKeyDelete, 1}}));
}

TEST(KeyStrokes, StarGivesTheRepeatCount) {
    EXPECT_EQ(Parse("pgdn,home*2,del"), (std::vector<KeyStroke>{{kKeyPageDown, 1}, {kKeyHome, 2}, {kKeyDelete, 1}}));
    EXPECT_EQ(Parse("end*32767,ins*-32768,del*0"),
              (std::vector<KeyStroke>{{kKeyEnd, 32767}, {kKeyInsert, -32768}, {kKeyDelete, 0}}));
}

TEST(KeyStrokes, EmptyTextIsNoStroke) {
    EXPECT_TRUE(Parse("").empty());
}

TEST(KeyStrokes, UnknownNamesAreRefusedByName) {
    EXPECT_NE(ParseError("pgdn,left").find("'left'"), std::string::npos);
    EXPECT_NE(ParseError("PGDN").find("'PGDN'"), std::string::npos);
    EXPECT_NE(ParseError("del,").find("''"), std::string::npos);
    EXPECT_NE(ParseError(",del").find("''"), std::string::npos);
    ParseError(" del");
}

TEST(KeyStrokes, BadRepeatCountsAreRefused) {
    for (const char* text : {"del*", "del*x", "del*2x", "del*+2", "del*32768", "del*-32769", "del*99999999999",
                             "del*1*2", "del* 2"})
        EXPECT_NE(ParseError(text).find("repeat count"), std::string::npos) << text;
}
