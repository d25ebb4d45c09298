#include "view/view_navigation.h"

#include "view/pixel_position.h"

#include <algorithm>
#include <cmath>
#include <numbers>

ViewNavigation Navigation;

void ResetNavigation() { Navigation = ViewNavigation{}; }

void ApplyNavigation() {
    const ViewNavigation& n = Navigation;
    if (n.zoom == 1 && n.right == 0 && n.up == 0) return; // the fit itself
    xs *= n.zoom;
    ys *= n.zoom;
    // (x + xb + right / xs) · xs = (x + xb) · xs + right. A zero scale (a
    // client area two pixels wide) shows everything in one column: no pan.
    if (xs != 0) xb += n.right / xs;
    if (ys != 0) yb += n.up / ys;
}

void ZoomAt(int delta, int x, int y, const Rect& R) {
    const double step = std::pow(kZoomPerNotch, std::fabs(static_cast<double>(delta)) / kWheelNotch);
    const double wanted = delta > 0 ? Navigation.zoom * step : Navigation.zoom / step;
    const double zoom = std::clamp(wanted, kMinZoom, kMaxZoom);
    const double factor = zoom / Navigation.zoom;
    if (factor == 1) return;
    // The centre of the pixel under the cursor, as a fitted position: a column
    // and a height above Rb. The model point there stays there.
    const double u = x + 0.5;
    const double v = static_cast<double>(SubtractClamped(R.bottom, 1)) - y + 0.5;
    Navigation.right = u - factor * (u - Navigation.right);
    Navigation.up = v - factor * (v - Navigation.up);
    Navigation.zoom = zoom;
}

void PanBy(int dx, int dy) {
    Navigation.right += dx;
    Navigation.up -= dy; // screen rows grow downwards
}

void TurnByDrag(int dx, int dy, bool shift, const Rect& R) {
    const int side = std::max(1, std::min(R.right, R.bottom));
    const double perPixel = std::numbers::pi / side;
    const Turn across{shift ? Plane::XY : Plane::XZ, shift ? -(dx * perPixel) : dx * perPixel};
    const Turn down{Plane::YZ, dy * perPixel};
    if (dx != 0 && dy != 0)
        TurnMeshTwice(across, down); // a pass over the table less than the two turns
    else if (dx != 0)
        TurnMesh(across.plane, across.angle);
    else if (dy != 0)
        TurnMesh(down.plane, down.angle);
}
