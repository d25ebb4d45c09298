// The face loop built for AVX2: everything between the pragmas below,
// the loop of face_loop.h included, is compiled for AVX2, and runs only on
// processors that have it. The headers come first, so that nothing shared
// with the rest of the program is built for AVX2 by this file.
#include "view/mask_painter.h"

#include <immintrin.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif

#include "view/face_loop.h"

namespace {

typedef double Double4 __attribute__((vector_size(32)));
typedef std::int64_t Long4 __attribute__((vector_size(32)));

// Inlined into the loop: four-lane vectors are never passed between functions.
#define LANE_HELPER [[gnu::always_inline]] inline

LANE_HELPER Double4 All(double v) { return Double4{v, v, v, v}; }
// For lanes all ones or zero: the sign bits of the lanes, tested at once.
LANE_HELPER bool AllSet(const Long4& v) { return _mm256_movemask_pd(__m256d(v)) == 0xF; }
LANE_HELPER Int4 Trunc(const Double4& v) { return __builtin_convertvector(v, Int4); }

// The smallest and largest x and y of the corners seen, lane by lane, with
// no look for NaN: a NaN corner leaves them as they were (its face goes the
// general way, which notes it). They start at ±1e50.
struct LaneBounds {
    Double4 lowX, highX, lowY, highY;

    // Written out: a constructor the compiler makes is not built for AVX2.
    LANE_HELPER LaneBounds() : lowX(All(1e50)), highX(All(-1e50)), lowY(All(1e50)), highY(All(-1e50)) {}

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

// The four corners of a face, A, B, C and D, in the four lanes of AVX2
// vectors. Not FMA: a fused multiply-add would round once where the loop in
// pairs rounds twice.
struct FourCornerLanes : LaneConstants<Double4> {
    using Bounds = LaneBounds;
    static constexpr int kLaneBits[4] = {1, 2, 4, 8}; // lines A→B, B→C, C→D, D→A

    // Written out, as LaneBounds' is, and inlined with LaneConstants'.
    LANE_HELPER explicit FourCornerLanes(const MaskPainter& painter) : LaneConstants(painter) {}

    LANE_HELPER bool project(const Face& f, LaneBounds& bounds, Int4& column, Int4& startRow, Int4& endRow) const {
        const XY a = LoadXY(f.A), b = LoadXY(f.B), c = LoadXY(f.C), d = LoadXY(f.D);
        const Double4 ac = __builtin_shufflevector(a, c, 0, 1, 2, 3), bd = __builtin_shufflevector(b, d, 0, 1, 2, 3);
        const Double4 x = __builtin_shufflevector(ac, bd, 0, 4, 2, 6), y = __builtin_shufflevector(ac, bd, 1, 5, 3, 7);
        bounds.add(x, y);
        const Double4 u = (x + xb) * xs, v = (y + yb) * ys;
        if (!AllSet((u >= xStart) & (u < xEnd) & (v >= yStart) & (v < yEnd))) return false;
        column = Trunc(u);
        startRow = RbInt - Trunc(v);
        endRow = Trunc(Rb - v);
        return true;
    }

    // Each lane's value moved to the lane before: the corner a line from
    // that lane's corner ends at.
    LANE_HELPER static Int4 Next(Int4 v) { return __builtin_shufflevector(v, v, 1, 2, 3, 0); }
    LANE_HELPER static bool Any(Int4 v) { return !_mm_testz_si128(__m128i(v), __m128i(v)); }
};

} // namespace

PlaneBounds PaintFacesWithAvx2(const MaskPainter& painter, const Face* first, const Face* last,
                               const unsigned char* hiddenEdges) {
    return PaintFacesWith<FourCornerLanes>(painter, first, last, hiddenEdges);
}

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif
