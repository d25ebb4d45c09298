#include "view/mask_painter.h"

#include <immintrin.h>

#include <algorithm>
#include <cstdint>

namespace {

typedef double Double4 __attribute__((vector_size(32)));
typedef std::int64_t Long4 __attribute__((vector_size(32)));

// The helpers are built for AVX2 as the loop is, and inlined into it: four-lane
// vectors pass between functions only where both have AVX.
#define LANE_HELPER [[gnu::always_inline, gnu::target("avx2")]] inline

LANE_HELPER Double4 All(double v) { return Double4{v, v, v, v}; }
LANE_HELPER Int4 All(std::int32_t v) { return Int4{v, v, v, v}; }
// For lanes all ones or zero: the sign bits of the lanes, tested at once.
LANE_HELPER bool AllSet(const Long4& v) { return _mm256_movemask_pd(__m256d(v)) == 0xF; }
LANE_HELPER bool Any(Int4 v) { return !_mm_testz_si128(__m128i(v), __m128i(v)); }
LANE_HELPER Int4 Trunc(const Double4& v) { return __builtin_convertvector(v, Int4); }
// Each lane's value moved to the lane before: the corner a line from that
// lane's corner ends at.
LANE_HELPER Int4 Next(Int4 v) { return __builtin_shufflevector(v, v, 1, 2, 3, 0); }

// The smallest and largest x and y of the corners seen, lane by lane, with
// no look for NaN: a NaN corner leaves them as they were (its face goes the
// general way, which notes it). They start at ±1e50.
struct LaneBounds {
    Double4 lowX, highX, lowY, highY;

    LANE_HELPER void add(const Double4& x, const Double4& y) {
        lowX = x < lowX ? x : lowX;
        highX = x > highX ? x : highX;
        lowY = y < lowY ? y : lowY;
        highY = y > highY ? y : highY;
    }

    LANE_HELPER void addTo(PlaneBounds& bounds) const {
        // Merged as bounds, not added as points: a thread with no face has
        // its start values here, and a low one must not raise `high`.
        PlaneBounds corners;
        corners.low = XY{std::min({lowX[0], lowX[1], lowX[2], lowX[3]}),
                         std::min({lowY[0], lowY[1], lowY[2], lowY[3]})};
        corners.high = XY{std::max({highX[0], highX[1], highX[2], highX[3]}),
                          std::max({highY[0], highY[1], highY[2], highY[3]})};
        bounds.append(corners);
    }
};

// The four corners of a face, A, B, C and D, lie in the four lanes of
// vectors: projected, checked and truncated with few instructions and no
// branch; its four lines are short ones for nearly every face of a fine
// mesh. The same operations on the same values as the loop in pairs: the
// same pixels and bounds. Not FMA: a fused multiply-add would round once
// where the other loops round twice.
template <class Hidden>
[[gnu::target("avx2")]] PlaneBounds PaintWithAvx2(const MaskPainter& shared, const Face* first, const Face* last,
                                                  Hidden hidden) {
    // A copy of its own: the mask's byte stores could change anything in
    // memory as far as the compiler knows, so what the loop reads again and
    // again must not live there.
    const MaskPainter painter = shared;
    const Projection& p = painter.projection;
    const Double4 xb = All(p.xb), yb = All(p.yb), xs = All(p.xs), ys = All(p.ys), Rb = All(static_cast<double>(p.Rb));
    const Double4 xStart = All(0.0), xEnd = All(painter.xEnd());
    const Double4 yStart = All(painter.yStart()), yEnd = All(painter.yEnd());
    const Int4 RbInt = All(p.Rb), width = All(painter.width), spare = All(painter.spare());
    LaneBounds lanes{All(1e50), All(-1e50), All(1e50), All(-1e50)};
    PlaneBounds bounds;
    // The lines of one face are drawn while the next is projected: the
    // stores wait for a long chain of conversions, and the processor can
    // work on two faces at once.
    FourLines pending = painter.nothing();
    for (const Face* f = first; f != last; ++f) {
        PrefetchAhead(f);
        const XY a = LoadXY(f->A), b = LoadXY(f->B), c = LoadXY(f->C), d = LoadXY(f->D);
        const Double4 ac = __builtin_shufflevector(a, c, 0, 1, 2, 3), bd = __builtin_shufflevector(b, d, 0, 1, 2, 3);
        const Double4 x = __builtin_shufflevector(ac, bd, 0, 4, 2, 6), y = __builtin_shufflevector(ac, bd, 1, 5, 3, 7);
        lanes.add(x, y);
        const Double4 u = (x + xb) * xs, v = (y + yb) * ys;
        if (!AllSet((u >= xStart) & (u < xEnd) & (v >= yStart) & (v < yEnd))) {
            painter.anyFace(*f, hidden.bits(f - first));
            bounds.noteNaN(*f);
            continue;
        }
        const Int4 column = Trunc(u), startRow = RbInt - Trunc(v), endRow = Trunc(Rb - v);
        const Int4 drawn = hidden.drawn(f - first);
        const Int4 dx = (Next(column) - column) & drawn, dy = (Next(endRow) - startRow) & drawn;
        if (Any(ShortLines::Beyond(dx, dy))) {
            painter.anyFace(*f, hidden.bits(f - first));
            continue;
        }
        painter.drawThenQueue(pending, column, startRow, dx, dy, width, spare);
    }
    painter.drawLines(pending);
    lanes.addTo(bounds);
    return bounds;
}

} // namespace

PlaneBounds PaintFacesWithAvx2(const MaskPainter& painter, const Face* first, const Face* last,
                               const unsigned char* hiddenEdges) {
    if (!hiddenEdges) return PaintWithAvx2(painter, first, last, NoHiddenEdges{});
    static const std::array<Int4, 16> kDrawnLanes = DrawnLaneMasks({1, 2, 4, 8}); // lanes A→B, B→C, C→D, D→A
    return PaintWithAvx2(painter, first, last, HiddenEdgeLanes{hiddenEdges, kDrawnLanes.data()});
}
