#include "view/large_paint.h"

#include "view/line_raster.h"
#include "view/plane_bounds.h"
#include "view/projection.h"
#include "view/short_lines.h"
#include "view/two_threads.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

typedef double Double4 __attribute__((vector_size(32)));
typedef std::int64_t Long4 __attribute__((vector_size(32)));
typedef std::int64_t Long2 __attribute__((vector_size(16)));
typedef std::int32_t Int4 __attribute__((vector_size(16)));
typedef std::uint32_t UInt4 __attribute__((vector_size(16)));

// The helpers of the face loop are inlined into each build of it (see
// PaintFaces): four-lane vectors never pass between functions, so how the
// ABI passes them, which GCC warns has changed, does not matter here.
#define LANE_HELPER [[gnu::always_inline]] inline
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wpsabi"
#endif

LANE_HELPER Double4 All(double v) { return Double4{v, v, v, v}; }
LANE_HELPER Int4 All(std::int32_t v) { return Int4{v, v, v, v}; }
LANE_HELPER bool AllSet(const Long4& v) {
    const Long2 both = __builtin_shufflevector(v, v, 0, 1) & __builtin_shufflevector(v, v, 2, 3);
    return (both[0] & both[1]) != 0;
}
LANE_HELPER bool Any(Int4 v) {
    Long2 halves;
    std::memcpy(&halves, &v, sizeof v);
    return (halves[0] | halves[1]) != 0;
}
LANE_HELPER Int4 Trunc(const Double4& v) { return __builtin_convertvector(v, Int4); }
// Each lane's value moved to the lane before: the corner a line from that
// lane's corner ends at.
LANE_HELPER Int4 Next(Int4 v) { return __builtin_shufflevector(v, v, 1, 2, 3, 0); }

// The smallest and largest x and y of the corners seen, lane by lane, with
// no look for NaN: a NaN corner leaves them as they were (its face goes the
// general way, which notes it).
struct LaneBounds {
    Double4 lowX = All(1e50), highX = All(-1e50), lowY = All(1e50), highY = All(-1e50);

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
        corners.low = XY{std::min({lowX[0], lowX[1], lowX[2], lowX[3]}), std::min({lowY[0], lowY[1], lowY[2], lowY[3]})};
        corners.high =
            XY{std::max({highX[0], highX[1], highX[2], highX[3]}), std::max({highY[0], highY[1], highY[2], highY[3]})};
        bounds.append(corners);
    }
};

// Four short lines: where each starts in the mask, and where its pixels
// are in ShortLines.
struct FourLines {
    UInt4 start, index;
};

// What one thread draws into: a mask of width × height bytes and one spare
// byte after them.
struct MaskPainter {
    Projection projection;
    const ShortLines& shortLines;
    int width, height;
    std::uint8_t* mask;

    // A corner goes the fast way when its scaled x lies in [0, xEnd) and its
    // scaled y in [yStart, yEnd): then its column, start row and end row are
    // plain truncations inside the image (v >= 0 truncates down; for v in
    // (Rb, Rb + 1), Rb − v is exact) and every pixel index fits an int. No
    // NaN passes; an image too large for int indexes takes none.
    double xEnd() const { return pixelCount() < kSpareLimit ? width : 0; }
    double yStart() const { return std::max(0.0, static_cast<double>(projection.Rb) - height + 1); }
    double yEnd() const { return static_cast<double>(projection.Rb) + 1; }
    std::int32_t spare() const { return static_cast<std::int32_t>(pixelCount()); }
    long long pixelCount() const { return static_cast<long long>(width) * height; }
    static constexpr long long kSpareLimit = (1LL << 31) - 1;

    // Four lines that set only the spare byte.
    FourLines nothing() const {
        const auto index = static_cast<std::uint32_t>(ShortLines::Index(0, 0));
        const auto start = static_cast<std::uint32_t>(spare());
        return {UInt4{start, start, start, start}, UInt4{index, index, index, index}};
    }

    LANE_HELPER void drawLines(const FourLines& lines) const {
        shortLines.drawTwo(mask, lines.start[0], lines.index[0], lines.start[1], lines.index[1]);
        shortLines.drawTwo(mask, lines.start[2], lines.index[2], lines.start[3], lines.index[3]);
    }

    // Draws the edges of `f` the general way.
    [[gnu::noinline]] void anyFace(const Face& f) const {
        Segment edges[4];
        projection.outline(f, edges);
        for (const Segment& e : edges)
            Walk(LineWalkOn(width, height, e.x1, e.y1, e.x2, e.y2), ByteCanvas{mask});
    }
};

// Draws the faces [first, last) and gives the bounds of their x and y. The
// four corners of a face, A, B, C and D, lie in the four lanes of vectors:
// projected, checked and truncated with few instructions and no branch; its
// four lines are short ones for nearly every face of a fine mesh. The
// painter is a copy of its own: the mask's byte stores could change anything
// in memory as far as the compiler knows, so what the loop reads again and
// again must not live there.
LANE_HELPER PlaneBounds PaintFacesIn(const MaskPainter painter, const Face* first, const Face* last) {
    const Projection& p = painter.projection;
    const Double4 xb = All(p.xb), yb = All(p.yb), xs = All(p.xs), ys = All(p.ys), Rb = All(static_cast<double>(p.Rb));
    const Double4 xStart = All(0.0), xEnd = All(painter.xEnd());
    const Double4 yStart = All(painter.yStart()), yEnd = All(painter.yEnd());
    const Int4 RbInt = All(p.Rb), width = All(painter.width), spare = All(painter.spare());
    LaneBounds lanes;
    PlaneBounds bounds;
    // The lines of one face are drawn while the next is projected: the
    // stores wait for a long chain of conversions, and the processor can
    // work on two faces at once.
    FourLines pending = painter.nothing();
    for (const Face* f = first; f != last; ++f) {
        const XY a = LoadXY(f->A), b = LoadXY(f->B), c = LoadXY(f->C), d = LoadXY(f->D);
        const Double4 ac = __builtin_shufflevector(a, c, 0, 1, 2, 3), bd = __builtin_shufflevector(b, d, 0, 1, 2, 3);
        const Double4 x = __builtin_shufflevector(ac, bd, 0, 4, 2, 6), y = __builtin_shufflevector(ac, bd, 1, 5, 3, 7);
        lanes.add(x, y);
        const Double4 u = (x + xb) * xs, v = (y + yb) * ys;
        if (!AllSet((u >= xStart) & (u < xEnd) & (v >= yStart) & (v < yEnd))) {
            painter.anyFace(*f);
            bounds.noteNaN(*f);
            continue;
        }
        const Int4 column = Trunc(u), startRow = RbInt - Trunc(v), endRow = Trunc(Rb - v);
        const Int4 dx = Next(column) - column, dy = Next(endRow) - startRow;
        if (Any(ShortLines::Beyond(dx, dy))) {
            painter.anyFace(*f);
            continue;
        }
        // A zero-length line draws nothing: it sets the spare byte instead.
        // Both are never negative, and unsigned they need no sign extension.
        const UInt4 start = UInt4((dx | dy) == 0 ? spare : startRow * width + column);
        const UInt4 index = UInt4(ShortLines::Index(dx, dy));
        painter.drawLines(pending);
        pending = {start, index};
    }
    painter.drawLines(pending);
    lanes.addTo(bounds);
    return bounds;
}

// The same loop built for the processor's 256-bit vectors where it has them:
// the same operations on the same values, so the same pixels and bounds.
[[gnu::target("avx2")]] PlaneBounds PaintFacesWide(const MaskPainter& painter, const Face* first, const Face* last) {
    return PaintFacesIn(painter, first, last);
}

PlaneBounds PaintFacesNarrow(const MaskPainter& painter, const Face* first, const Face* last) {
    return PaintFacesIn(painter, first, last);
}

PlaneBounds PaintFaces(const MaskPainter& painter, const Face* first, const Face* last) {
    static const bool wide = __builtin_cpu_supports("avx2");
    return wide ? PaintFacesWide(painter, first, last) : PaintFacesNarrow(painter, first, last);
}

// The masks of the two threads, kept from paint to paint and left all zero
// but for the spare byte.
std::vector<std::uint8_t> masks[2];

// Blackens the pixels [first, last) of `image` that either mask marks, and
// clears the masks there. Eight pixels at a time: most groups are all clear.
void PutOnImage(Image& image, std::size_t first, std::size_t last) {
    std::uint32_t* const pixels = image.pixels.data();
    std::uint8_t *const one = masks[0].data(), *const other = masks[1].data();
    std::size_t i = first;
    for (; i + 8 <= last; i += 8) {
        std::uint64_t a, b;
        std::memcpy(&a, one + i, 8);
        std::memcpy(&b, other + i, 8);
        const std::uint64_t marks = a | b;
        if (marks == 0) continue;
        for (int k = 0; k < 8; ++k) pixels[i + k] = (marks >> (8 * k)) & 0xFF ? Image::kBlack : pixels[i + k];
        std::memset(one + i, 0, 8);
        std::memset(other + i, 0, 8);
    }
    for (; i < last; ++i) {
        pixels[i] = one[i] | other[i] ? Image::kBlack : pixels[i];
        one[i] = other[i] = 0;
    }
}

} // namespace

bool PaintLargeTable(Image& image, FitExtents& fit) {
    const std::size_t pixelCount = image.pixels.size();
    for (auto& mask : masks)
        if (mask.size() != pixelCount + 1) mask.assign(pixelCount + 1, 0);
    const Projection projection = Projection::Current();
    const ShortLines shortLines(image.width);
    PlaneBounds bounds[2];
    OnTwoThreads([&](int part) {
        const MaskPainter painter{projection, shortLines, image.width, image.height, masks[part].data()};
        bounds[part] = PaintFaces(painter, F + PartStart(nf, part), F + (part == 0 ? PartStart(nf, 1) : nf));
    });
    bounds[0].append(bounds[1]);
    TableExtents found;
    const bool settled = bounds[0].exactExtents(found);
    if (fit.guessed && !(settled && found.same(fit.extents))) {
        for (auto& mask : masks) mask.assign(pixelCount + 1, 0);
        fit = {settled ? found : MeasureTableExtents(), false};
        RememberTableExtents(fit.extents);
        return false;
    }
    if (!fit.guessed) RememberTableExtents(fit.extents);
    const std::size_t middle = pixelCount / 2;
    OnTwoThreads([&](int part) { PutOnImage(image, part == 0 ? 0 : middle, part == 0 ? middle : pixelCount); });
    return true;
}
