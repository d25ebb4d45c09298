#include "view/pixel_position.h"
#include "view/view.h"

// Line and DrawMesh share this file so that the four Line calls per face are
// inlined into the painting loop.

void Line(DrawContext& dc, xyz P, xyz Q) {
    // The start row subtracts the truncated value from Rb; the end row
    // truncates after subtracting in floating point. For a non-integral scaled
    // y the end point of a model point lies one row above its start point.
    dc.MoveTo(TruncToPixel((P.x + xb) * xs), SubtractClamped(Rb, TruncToPixel((P.y + yb) * ys)));
    dc.LineTo(TruncToPixel((Q.x + xb) * xs), TruncToPixel(Rb - (Q.y + yb) * ys));
}

void Line(DrawContext& dc, int x, int y, int X, int Y) {
    dc.MoveTo(x, y);
    dc.LineTo(X, Y);
}

void DrawMesh(DrawContext& dc, const Rect& R) {
    Rb = SubtractClamped(R.bottom, 1);
    const Pen old = dc.SelectPen(Pen::Black);
    if (nf != 0 && F != nullptr) {
        FitView(R);
        for (int i = 0; i < nf; ++i) {
            const Face& f = F[i];
            Line(dc, f.A, f.B);
            Line(dc, f.B, f.C);
            Line(dc, f.C, f.D);
            Line(dc, f.D, f.A);
        }
    }
    dc.SelectPen(old);
}
