// Keys pressed on the main window reach the window procedure with their
// Windows virtual-key codes.
#include "shell_fixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <initializer_list>
#include <vector>

namespace {

class VirtualKeys : public ShellTest {
protected:
    // The wParam of each WM_KEYDOWN that the presses of `keys` bring, in order.
    std::vector<WPARAM> CodesOf(std::initializer_list<Qt::Key> keys, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        Start({"kelvorn"});
        Pump();
        for (Qt::Key key : keys) {
            // Sent as the window system sends them: QTest has no text for some of these keys.
            QKeyEvent press(QEvent::KeyPress, key, modifiers), release(QEvent::KeyRelease, key, modifiers);
            QApplication::sendEvent(Widget(), &press);
            QApplication::sendEvent(Widget(), &release);
        }
        Pump();
        std::vector<WPARAM> codes;
        for (const SeenMessage& seen : Seen(WM_KEYDOWN)) codes.push_back(seen.wParam);
        return codes;
    }
};

TEST_F(VirtualKeys, LettersAndDigitsAreTheirCapitalAsciiCodes) {
    EXPECT_EQ(CodesOf({Qt::Key_A, Qt::Key_Z, Qt::Key_0, Qt::Key_9}), (std::vector<WPARAM>{0x41, 0x5A, 0x30, 0x39}));
}

TEST_F(VirtualKeys, FunctionKeysRunFromF1ToF24) {
    EXPECT_EQ(CodesOf({Qt::Key_F1, Qt::Key_F5, Qt::Key_F12, Qt::Key_F24}),
              (std::vector<WPARAM>{0x70, 0x74, 0x7B, 0x87}));
}

TEST_F(VirtualKeys, RotationKeysHaveTheirWindowsCodes) {
    EXPECT_EQ(CodesOf({Qt::Key_Insert, Qt::Key_Delete, Qt::Key_Home, Qt::Key_End, Qt::Key_PageUp, Qt::Key_PageDown}),
              (std::vector<WPARAM>{0x2D, 0x2E, 0x24, 0x23, 0x21, 0x22}));
}

TEST_F(VirtualKeys, ArrowsAndEditingKeys) {
    EXPECT_EQ(CodesOf({Qt::Key_Left, Qt::Key_Up, Qt::Key_Right, Qt::Key_Down, Qt::Key_Backspace, Qt::Key_Tab,
                       Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Space}),
              (std::vector<WPARAM>{0x25, 0x26, 0x27, 0x28, 0x08, 0x09, 0x0D, 0x0D, 0x1B, 0x20}));
}

TEST_F(VirtualKeys, KeysWithoutAVirtualCodeBringNoMessage) {
    EXPECT_EQ(CodesOf({Qt::Key_F35, Qt::Key_Eject, Qt::Key_Agrave, Qt::Key_PageDown}), std::vector<WPARAM>{0x22});
}

TEST_F(VirtualKeys, KeypadDigitsAreTheNumpadCodesAndItsOtherKeysTheirTwins) {
    EXPECT_EQ(CodesOf({Qt::Key_0, Qt::Key_1, Qt::Key_4, Qt::Key_9, Qt::Key_Home}, Qt::KeypadModifier),
              (std::vector<WPARAM>{0x60, 0x61, 0x64, 0x69, 0x24}));
}

} // namespace
