// Key strokes and mouse steps written as text, for the tool and the scripts
// that drive the viewer: "pgdn,home*2,drag:40:-25,wheel:120:300:200,del".
//
// Steps are separated by commas; an empty text is no step at all.
// - Keys: one of the names pgup, pgdn, home, end, ins, del (Page Up, Page
//   Down, Home, End, Insert, Delete), optionally followed by "*N": N is the
//   stroke's repeat count, a decimal from -32768 to 32767 (the range of the
//   key message's 16-bit signed count), 1 when absent. One stroke turns by
//   N × 10 degrees.
// - Standard views: top, front, right, iso — the keys 1 to 4 (a count
//   changes nothing: a view is where the model ends, not a turn).
// - drag:DX:DY — the cursor moved by DX, DY pixels (right, down) with the left
//   button held: a turn. shiftdrag:DX:DY — the same with Shift held.
//   pan:DX:DY — the same with the middle button (or Ctrl and the left button)
//   held: the picture follows. DX and DY are from -65535 to 65535.
// - wheel:DELTA:X:Y — the wheel turned by DELTA (120 a notch; positive: away
//   from the user, zoom in) with the cursor on client pixel X, Y (from the
//   top-left corner); each from -32768 to 32767.
// - dblclick — a double-click of the left button: back to the fitted view.
// - size:WxH — the client area is now W × H pixels (each 0 to 32767): later
//   drags and wheel turns are measured in it, as after resizing the window.
#pragma once

#include "view/view.h"

#include <string>
#include <string_view>
#include <vector>

struct KeyStroke {
    unsigned char key; // virtual-key code, one of the kKey* codes of view/view.h and view/standard_views.h
    int rep;           // repeat count
    friend bool operator==(const KeyStroke&, const KeyStroke&) = default;
};

enum class StepKind { Key, Drag, ShiftDrag, Pan, Wheel, DoubleClick, Size };

struct ViewStep {
    StepKind kind = StepKind::Key;
    KeyStroke stroke{}; // Key
    int x = 0, y = 0;   // Drag, ShiftDrag, Pan: the motion; Wheel: the cursor; Size: width and height
    int delta = 0;      // Wheel
    friend bool operator==(const ViewStep&, const ViewStep&) = default;
};

// Parses `text` into `steps`. On a bad name or number returns false, leaves
// `steps` empty and puts the reason, naming the offending step, in `error`.
bool ParseViewSteps(std::string_view text, std::vector<ViewStep>& steps, std::string& error);

// Does what the step does in the viewer whose client area is `client`: turns
// the face table, zooms or pans the view; a size step changes `client`.
void DoViewStep(const ViewStep& step, Rect& client);
