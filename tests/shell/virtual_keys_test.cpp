#include "app/qt/virtual_keys.h"
#include "app/qt/win32_api.h"

#include <Qt>

#include <gtest/gtest.h>

namespace {

TEST(VirtualKeys, LettersAndDigitsAreTheirCapitalAsciiCodes) {
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_A), 0x41u);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Z), 0x5Au);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_0), 0x30u);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_9), 0x39u);
}

TEST(VirtualKeys, FunctionKeysRunFromF1ToF12) {
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_F1), 0x70u);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_F5), 0x74u);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_F12), 0x7Bu);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_F24), 0x87u);
}

TEST(VirtualKeys, RotationKeysHaveTheirWindowsCodes) {
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Insert), 0x2Du);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Delete), 0x2Eu);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Home), 0x24u);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_End), 0x23u);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_PageUp), 0x21u);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_PageDown), 0x22u);
}

TEST(VirtualKeys, ArrowsAndEditingKeys) {
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Left), 0x25u);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Up), 0x26u);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Right), 0x27u);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Down), 0x28u);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Backspace), 0x08u);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Tab), 0x09u);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Return), 0x0Du);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Enter), 0x0Du);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Escape), 0x1Bu);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Space), 0x20u);
}

TEST(VirtualKeys, KeysWithoutAVirtualCodeGiveZero) {
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_unknown), 0u);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_F35), 0u);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Eject), 0u);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Agrave), 0u);
}

} // namespace

TEST(VirtualKeys, KeypadDigitsAreTheNumpadCodesAndItsOtherKeysTheirTwins) {
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_0, true), 0x60u);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_1, true), 0x61u);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_4, true), 0x64u);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_9, true), 0x69u);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_1, false), 0x31u);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Home, true), 0x24u); // Num Lock off
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_A, true), 0x41u);
}
