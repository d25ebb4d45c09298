#include "view/face_loop.h"

#include <cstdint>
#include <cstring>

namespace {

typedef std::int32_t Int2 __attribute__((vector_size(8)));

XY Both(double v) { return XY{v, v}; }
Int4 Join(Int2 low, Int2 high) { return __builtin_shufflevector(low, high, 0, 1, 2, 3); }
Int2 Trunc(XY v) { return __builtin_convertvector(v, Int2); }

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

// The corners of a face taken as two pairs, A and C, B and D, in the lanes
// of SSE2 vectors, which every x86-64 processor has: lanes A, C, B, D.
struct CornerPairs : LaneConstants<XY> {
    using Bounds = PairBounds;
    static constexpr int kLaneBits[4] = {1, 4, 2, 8}; // lines A→B, C→D, B→C, D→A

    [[gnu::always_inline]] explicit CornerPairs(const MaskPainter& painter) : LaneConstants(painter) {}

    bool project(const Face& f, PairBounds& bounds, Int4& column, Int4& startRow, Int4& endRow) const {
        const XY a = LoadXY(f.A), b = LoadXY(f.B), c = LoadXY(f.C), d = LoadXY(f.D);
        const XY x0 = __builtin_shufflevector(a, c, 0, 2), x1 = __builtin_shufflevector(b, d, 0, 2);
        const XY y0 = __builtin_shufflevector(a, c, 1, 3), y1 = __builtin_shufflevector(b, d, 1, 3);
        bounds.add(x0, x1, y0, y1);
        const XY u0 = (x0 + xb) * xs, u1 = (x1 + xb) * xs, v0 = (y0 + yb) * ys, v1 = (y1 + yb) * ys;
        const XYMask inside = (Smallest(u0, u1) >= xStart) & (Largest(u0, u1) < xEnd) &
                              (Smallest(v0, v1) >= yStart) & (Largest(v0, v1) < yEnd);
        if (!(inside[0] & inside[1])) return false;
        column = Join(Trunc(u0), Trunc(u1));
        startRow = RbInt - Join(Trunc(v0), Trunc(v1));
        endRow = Join(Trunc(Rb - v0), Trunc(Rb - v1));
        return true;
    }

    // The lines A→B, C→D, B→C, D→A end in lanes 2, 3, 1, 0.
    static Int4 Next(Int4 v) { return __builtin_shufflevector(v, v, 2, 3, 1, 0); }
    static bool Any(Int4 v) {
        XYMask halves;
        std::memcpy(&halves, &v, sizeof v);
        return (halves[0] | halves[1]) != 0;
    }
};

} // namespace

PlaneBounds PaintFacesInPairs(const MaskPainter& painter, const Face* first, const Face* last,
                              const unsigned char* hiddenEdges) {
    return PaintFacesWith<CornerPairs>(painter, first, last, hiddenEdges);
}
