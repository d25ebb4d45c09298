// The plain picture every paint of a face table must match.
#pragma once

#include "kelvorn.h"
#include "view/view.h"

#include <vector>

// Draws the edges of each face with Line, A→B, B→C, C→D, D→A, in table order.
inline void DrawEdgesWithLine(DrawContext& dc, const std::vector<Face>& faces) {
    for (const Face& f : faces) {
        Line(dc, f.A, f.B);
        Line(dc, f.B, f.C);
        Line(dc, f.C, f.D);
        Line(dc, f.D, f.A);
    }
}
