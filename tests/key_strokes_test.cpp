#include "view/key_strokes.h"
#include "view/view.h"

#include <gtest/gtest.h>

namespace {

std::vector<ViewStep> ParseSteps(std::string_view text) {
    std::vector<ViewStep> steps;
    std::string error;
    EXPECT_TRUE(ParseViewSteps(text, steps, error)) << error;
    return steps;
}

// The key strokes of a text of keys only.
std::vector<KeyStroke> Parse(std::string_view text) {
    std::vector<KeyStroke> strokes;
    for (const ViewStep& step : ParseSteps(text)) {
        EXPECT_EQ(step.kind, StepKind::Key) << text;
        strokes.push_back(step.stroke);
    }
    return strokes;
}

std::string ParseError(std::string_view text) {
    std::vector<ViewStep> steps{ViewStep{}};
    std::string error;
    EXPECT_FALSE(ParseViewSteps(text, steps, error)) << text;
    EXPECT_TRUE(steps.empty());
    return error;
}

} // namespace

TEST(KeyStrokes, NamesTheSixRotationKeys) {
    EXPECT_EQ(Parse("pgup,pgdn,home,end,ins,del"),
              (std::vector<KeyStroke>{{kKeyPageUp, 1}, {kKeyPageDown, 1}, {kKeyHome, 1}, {kKeyEnd, 1},
                                      {kKeyInsert, 1}, {kKeyDelete, 1}}));
}

TEST(KeyStrokes, StandardViewsAreTheDigitKeysOneToFour) {
    EXPECT_EQ(Parse("top,front,right,iso"),
              (std::vector<KeyStroke>{{0x31, 1}, {0x32, 1}, {0x33, 1}, {0x34, 1}}));
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

TEST(ViewSteps, MouseStepsCarryTheirNumbers) {
    EXPECT_EQ(ParseSteps("drag:40:-25,shiftdrag:-65535:65535,pan:0:7,wheel:-120:300:-2,dblclick,size:640x0,end"),
              (std::vector<ViewStep>{{StepKind::Drag, {}, 40, -25, 0},
                                     {StepKind::ShiftDrag, {}, -65535, 65535, 0},
                                     {StepKind::Pan, {}, 0, 7, 0},
                                     {StepKind::Wheel, {}, 300, -2, -120},
                                     {StepKind::DoubleClick, {}, 0, 0, 0},
                                     {StepKind::Size, {}, 640, 0, 0},
                                     {StepKind::Key, {kKeyEnd, 1}, 0, 0, 0}}));
}

TEST(ViewSteps, BadMouseStepsAreRefusedWithTheirForm) {
    for (const char* text : {"drag", "drag:", "drag:1", "drag:1:", "drag:1:2:3", "drag:65536:0", "drag:+1:2",
                             "drag: 1:2", "pan:1x2", "shiftdrag:a:b", "wheel:120:1", "wheel:32768:0:0",
                             "wheel:120:0:-32769", "size:640", "size:640:480", "size:-1x4", "size:32768x1"})
        EXPECT_NE(ParseError(text).find("bad step '" + std::string(text) + "' (want "), std::string::npos) << text;
    EXPECT_NE(ParseError("dblclick:2").find("unknown step 'dblclick:2'"), std::string::npos);
    EXPECT_NE(ParseError("zoom:2").find("unknown step 'zoom:2'"), std::string::npos);
}
