#include "view/table_extents.h"
#include "view/view.h"

double xb = 0, yb = 0, xs = 1, ys = 1;
int Rb = 0;

namespace {

// A range of no width, or one that does not compare (NaN), becomes 0 .. 1:
// a model flat in this coordinate keeps its offset from 0.
Extent WidenedIfFlat(Extent e) {
    if (!(e.high < e.low) && !(e.high > e.low)) {
        e.low = 0;
        e.high = 1;
    }
    return e;
}

} // namespace

void FitView(const Rect& R) { FitView(R, MeasureTableExtents()); }

void FitView(const Rect& R, const TableExtents& extents) {
    const Extent x = WidenedIfFlat(extents.x), y = WidenedIfFlat(extents.y);
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
