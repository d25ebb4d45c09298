// Qt key codes to Windows virtual-key codes.
#pragma once

// The virtual-key code (VK_*) for the Qt key `qtKey` (a Qt::Key value), or 0
// for a key that has none here. Letters and digits map to their upper-case
// ASCII codes, as on Windows. `keypad` (Qt's KeypadModifier) tells a keypad
// key: its digits are VK_NUMPAD0 to VK_NUMPAD9, as Windows reports them with
// Num Lock on; its other keys (Num Lock off: Home, End...) map like their
// main-block twins, as on Windows.
unsigned VirtualKeyFromQt(int qtKey, bool keypad = false);
