// The standard views: the model turned, from the orientation it was read in,
// so that it is seen from the top, the front, the right or at an angle from
// above, whatever turns came before. A view turns the table once and fits
// the picture afresh (zoom and pan reset); later turns start from it.
#pragma once

enum class StandardView {
    Top,   // x to the right, y up: the model as read
    Front, // x to the right, z up: looking along +y
    Right, // y to the right, z up: looking along -x
    Iso,   // from (1, -1, 1) towards the origin, z up on the screen
};

// Virtual-key codes of the digit keys 1 to 4, of the main row and of the
// keypad (Windows values): each shows the view of its number, top first.
constexpr unsigned char kKeyDigit1 = 0x31, kKeyNumpad1 = 0x61;

// Turns the table from its orientation now to the view's, in one pass, and
// resets the zoom and pan.
void ShowStandardView(StandardView view);

// For the keys 1 to 4 shows their view and returns true; any other key changes
// nothing and returns false.
bool ShowStandardViewForKey(unsigned char key);
