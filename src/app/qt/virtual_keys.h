// Qt key codes to Windows virtual-key codes.
#pragma once

// The virtual-key code (VK_*) for the Qt key `qtKey` (a Qt::Key value), or 0
// for a key that has none here. Letters and digits map to their upper-case
// ASCII codes, as on Windows; keypad keys map like their main-block twins.
unsigned VirtualKeyFromQt(int qtKey);
