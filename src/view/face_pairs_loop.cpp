#include "view/mask_painter.h"

#include <cstdint>
#include <cstring>

namespace {

typedef std::int32_t Int2 __attribute__((vector_size(8)));

XY Both(double v) { return XY{v, v}; }
Int4 AllInt(std::int32_t v) { return Int4{v, v, v, v}; }
Int4 Join(Int2 low, Int2 high) { return __builtin_shufflevector(low, high, 0, 1, 2, 3); }
Int2 Trunc(XY v) { return __builtin_convertvector(v, Int2); }
bool Any(Int4 v) {
    XYMask halves;
    std::memcpy(&halves, &v, sizeof v);
    return (halves[0] | halves[1]) != 0;
}

// The smaller and the larger of a and b in each lane. Smallest is NaN where
// b is, Largest where a is: between them they let no NaN through.
XY Smallest(XY a, XY b) { return a < b ? a : b; }
XY Largest(XY a, XY b) { return b > a ? b : a; }

// The smallest and largest x and y of the corners seen, lane by lane: for
// corners that come in pairs, with no look for NaN.
struct PairBounds {
    XY lowX = Both(1e50), highX = Both(-1e50), lowY = Both(1e50), highY = Both(-1e50);

    void add(XY x0, XY x1, XY y0, XY y1) {
        lowX = Smallest(Smallest(x0, x1), lowX);
        highX = Largest(highX, Largest(x0, x1));
        lowY = Smallest(Smallest(y0, y1), lowY);
        highY = Largest(highY, Largest(y0, y1));
    }

    void addTo(PlaneBounds& bounds) const {
        // Merged as bounds, not added as points: a thread with no face has
        // its start values here, and a low one must not raise `high`.
        PlaneBounds corners;
        corners.low = Smallest(__builtin_shufflevector(lowX, lowY, 0, 2), __builtin_shufflevector(lowX, lowY, 1, 3));
        corners.high =
            Largest(__builtin_shufflevector(highX, highY, 0, 2), __builtin_shufflevector(highX, highY, 1, 3));
        bounds.append(corners);
    }
};

// The corners of a face are taken as two pairs, A and C, B and D, in the
// lanes of vectors: the four projected, checked and truncated with few
// instructions and no branch; its four lines are short ones for nearly every
// face of a fine mesh.
template <class Hidden>
PlaneBounds PaintInPairs(const MaskPainter& shared, const Face* first, const Face* last, Hidden hidden) {
    // A copy of its own: the mask's byte stores could change anything in
    // memory as far as the compiler knows, so what the loop reads again and
    // again must not live there.
    const MaskPainter painter = shared;
    const Projection& p = painter.projection;
    const XY xb = Both(p.xb), yb = Both(p.yb), xs = Both(p.xs), ys = Both(p.ys), Rb = Both(p.Rb);
    const XY xStart = Both(0), xEnd = Both(painter.xEnd());
    const XY yStart = Both(painter.yStart()), yEnd = Both(painter.yEnd());
    const Int4 RbInt = AllInt(p.Rb), width = AllInt(painter.width), spare = AllInt(painter.spare());
    PairBounds pairs;
    PlaneBounds bounds;
    // The lines of one face are drawn while the next is projected: the
    // stores wait for a long chain of conversions, and the processor can
    // work on two faces at once.
    FourLines pending = painter.nothing();
    for (const Face* f = first; f != last; ++f) {
        PrefetchAhead(f);
        const XY a = LoadXY(f->A), b = LoadXY(f->B), c = LoadXY(f->C), d = LoadXY(f->D);
        const XY x0 = __builtin_shufflevector(a, c, 0, 2), x1 = __builtin_shufflevector(b, d, 0, 2);
        const XY y0 = __builtin_shufflevector(a, c, 1, 3), y1 = __builtin_shufflevector(b, d, 1, 3);
        pairs.add(x0, x1, y0, y1);
        const XY u0 = (x0 + xb) * xs, u1 = (x1 + xb) * xs, v0 = (y0 + yb) * ys, v1 = (y1 + yb) * ys;
        const XYMask inside = (Smallest(u0, u1) >= xStart) & (Largest(u0, u1) < xEnd) &
                              (Smallest(v0, v1) >= yStart) & (Largest(v0, v1) < yEnd);
        if (!(inside[0] & inside[1])) {
            painter.anyFace(*f, hidden.bits(f - first));
            bounds.noteNaN(*f);
            continue;
        }
        // Lanes A, C, B, D: the lines A→B, C→D, B→C, D→A end in lanes 2, 3, 1, 0.
        const Int4 column = Join(Trunc(u0), Trunc(u1));
        const Int4 startRow = RbInt - Join(Trunc(v0), Trunc(v1));
        const Int4 endRow = Join(Trunc(Rb - v0), Trunc(Rb - v1));
        const Int4 drawn = hidden.drawn(f - first);
        const Int4 dx = (__builtin_shufflevector(column, column, 2, 3, 1, 0) - column) & drawn;
        const Int4 dy = (__builtin_shufflevector(endRow, endRow, 2, 3, 1, 0) - startRow) & drawn;
        if (Any(ShortLines::Beyond(dx, dy))) {
            painter.anyFace(*f, hidden.bits(f - first));
            continue;
        }
        painter.drawThenQueue(pending, column, startRow, dx, dy, width, spare);
    }
    painter.drawLines(pending);
    pairs.addTo(bounds);
    return bounds;
}

} // namespace

PlaneBounds PaintFacesInPairs(const MaskPainter& painter, const Face* first, const Face* last,
                              const unsigned char* hiddenEdges) {
    if (!hiddenEdges) return PaintInPairs(painter, first, last, NoHiddenEdges{});
    static const std::array<Int4, 16> kDrawnLanes = DrawnLaneMasks({1, 4, 2, 8}); // lanes A→B, C→D, B→C, D→A
    return PaintInPairs(painter, first, last, HiddenEdgeLanes{hiddenEdges, kDrawnLanes.data()});
}
