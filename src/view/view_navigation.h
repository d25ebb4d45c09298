// What the mouse does to the view: turning the model by dragging, and zooming
// and panning on top of the fit that every paint makes.
//
// Zoom and pan are kept as a factor and an offset in pixels of the fitted
// picture: a fitted screen position u (column) or v (rows above Rb) is shown
// at zoom · u + right and zoom · v + up. The offset is measured from the
// fit's anchor, the client area's bottom-left corner, so a new client size
// keeps both (the fit itself follows the size). Loading a file resets them.
#pragma once

#include "view/view.h"

struct ViewNavigation {
    double zoom = 1;  // 1: the fitted size
    double right = 0; // pixels the picture is moved to the right
    double up = 0;    // pixels the picture is moved up
};

extern ViewNavigation Navigation;

// Zoom limits: far enough to see a single face of a dense model and to shrink
// any model to a few pixels; beyond them a wheel turn zooms no further.
constexpr double kMinZoom = 1.0 / 1024, kMaxZoom = 1 << 20;
// One notch of the wheel (a delta of 120) zooms by this factor.
constexpr double kZoomPerNotch = 1.25;
constexpr int kWheelNotch = 120;

// Back to the fitted view: zoom 1, no pan. The model is not turned back.
void ResetNavigation();

// Adjusts the fit that FitView just computed (xb, yb, xs, ys) by the zoom and
// the pan. At zoom 1 with no pan it changes nothing, to the bit.
void ApplyNavigation();

// A wheel turn of `delta` (120 a notch, as the wheel message reports it;
// positive: away from the user) with the cursor on pixel (x, y) of client
// area R: zooms in by kZoomPerNotch a notch for a positive delta and out for
// a negative one, smaller deltas in proportion, so that the model point under
// the cursor stays under it.
void ZoomAt(int delta, int x, int y, const Rect& R);

// A pan by (dx, dy) pixels (right and down, as the cursor moved): the picture
// follows the cursor pixel for pixel.
void PanBy(int dx, int dy);

// A left-drag by (dx, dy) pixels in client area R turns the model: a drag
// across the smaller side of R turns it by 180 degrees. Horizontal motion
// turns in the x–z plane (to the right as Page Down does: the near side
// follows the cursor), vertical motion then in the y–z plane (down as End
// does). With `shift`, horizontal motion turns in the x–y plane instead, to
// the right clockwise (as Insert does), like a dial grabbed at its top.
void TurnByDrag(int dx, int dy, bool shift, const Rect& R);
