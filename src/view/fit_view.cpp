#include "view/view.h"

#include <algorithm>

double xb = 0, yb = 0, xs = 1, ys = 1;
int Rb = 0;

namespace {

// Running extent of one coordinate. For finite corners any minimum and maximum
// would do; the comparisons are written out exactly because they also decide
// what a NaN corner does to the fit, and a file must give the same picture in
// every build (the viewer on Windows and Linux, the tool's renders, the tests'
// reference pictures), so no compiler or library choice may change it: a
// face's largest and smallest value are std::max and std::min over A, B, C, D
// in that order (a NaN counts only as the first corner), a NaN largest value
// never raises `high`, and a NaN smallest value does replace `low`.
struct Extent {
    double low = 1e50, high = -1e50;

    void add(double a, double b, double c, double d) {
        const double largest = std::max({a, b, c, d});
        const double smallest = std::min({a, b, c, d});
        if (high <= largest) high = largest;
        if (!(low < smallest)) low = smallest;
    }

    // A range of no width, or one that does not compare (NaN), becomes 0 .. 1:
    // a model flat in this coordinate keeps its offset from 0.
    void widenIfFlat() {
        if (!(high < low) && !(high > low)) {
            low = 0;
            high = 1;
        }
    }
};

} // namespace

void FitView(const Rect& R) {
    Extent x, y;
    const int faces = F != nullptr ? nf : 0;
    for (int i = 0; i < faces; ++i) {
        const Face& f = F[i];
        x.add(f.A.x, f.B.x, f.C.x, f.D.x);
        y.add(f.A.y, f.B.y, f.C.y, f.D.y);
    }
    x.widenIfFlat();
    y.widenIfFlat();
    xb = -x.low;
    yb = -y.low;
    // The numerators as doubles: no int overflow even for extreme rectangles.
    xs = (static_cast<double>(R.right) - 2) / (x.high - x.low);
    ys = (static_cast<double>(R.bottom) - 2) / (y.high - y.low);
    if (xs < ys)
        ys = xs;
    else
        xs = ys;
}
