// The view transform of one paint, read once from the globals so that the
// painting loops keep it in registers (drawing never changes it).
#pragma once

#include "view/draw_context.h"
#include "view/pixel_position.h"
#include "view/view.h"

#include <cmath>

struct Projection {
    // Scaled values and Rb below this size keep every pixel position and
    // every row difference well inside the int range (NaN is never below it).
    static constexpr double kSmall = 1e9;

    double xb, yb, xs, ys;
    int Rb;
    bool RbIsSmall = Rb > -kSmall && Rb < kSmall;

    static Projection Current() { return {::xb, ::yb, ::xs, ::ys, ::Rb}; }

    int column(double x) const { return TruncToPixel((x + xb) * xs); }
    double scaledY(double y) const { return (y + yb) * ys; }
    // The start row subtracts the truncated value from Rb; the end row
    // truncates after subtracting in floating point. For a non-integral scaled
    // y the end point of a model point lies one row above its start point.
    int startRow(double v) const { return SubtractClamped(Rb, TruncToPixel(v)); }
    int endRow(double v) const { return TruncToPixel(Rb - v); }

    void line(DrawContext& dc, const xyz& P, const xyz& Q) const {
        dc.MoveTo(column(P.x), startRow(scaledY(P.y)));
        dc.LineTo(column(Q.x), endRow(scaledY(Q.y)));
    }

    // Column, start row and end row of one corner.
    void project(const xyz& P, int& x, int& yStart, int& yEnd) const {
        const double u = (P.x + xb) * xs, v = scaledY(P.y);
        if (RbIsSmall & (std::fabs(u) < kSmall) & (std::fabs(v) < kSmall)) {
            // Nothing here can leave the int range: the plain conversions and
            // subtraction give what the clamping ones would, only faster.
            x = static_cast<int>(u);
            yStart = Rb - static_cast<int>(v);
            yEnd = static_cast<int>(Rb - v);
        } else {
            x = TruncToPixel(u);
            yStart = startRow(v);
            yEnd = endRow(v);
        }
    }

    // The segments of Line(A, B), Line(B, C), Line(C, D), Line(D, A), with
    // each corner projected once: its column and its scaled y serve both its
    // ends.
    void outline(const Face& f, Segment* out) const {
        int columns[4], startRows[4], endRows[4];
        project(f.A, columns[0], startRows[0], endRows[0]);
        project(f.B, columns[1], startRows[1], endRows[1]);
        project(f.C, columns[2], startRows[2], endRows[2]);
        project(f.D, columns[3], startRows[3], endRows[3]);
        for (int k = 0; k < 4; ++k) {
            const int next = (k + 1) & 3;
            out[k] = {columns[k], startRows[k], columns[next], endRows[next]};
        }
    }
};

// Keeps, in order, the edges of an outline (the four segments
// Projection::outline makes) that `hiddenEdges` (HiddenEdges' bits) leaves
// drawn, at the front of `edges`; returns how many there are.
inline int KeepDrawnEdges(Segment* edges, unsigned hiddenEdges) {
    int kept = 0;
    for (int k = 0; k < 4; ++k)
        if ((hiddenEdges >> k & 1) == 0) edges[kept++] = edges[k];
    return kept;
}
