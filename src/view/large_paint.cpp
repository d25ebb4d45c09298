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

typedef std::int32_t Int2 __attribute__((vector_size(8)));
typedef std::int32_t Int4 __attribute__((vector_size(16)));
typedef std::uint32_t UInt4 __attribute__((vector_size(16)));

XY Both(double v) { return XY{v, v}; }
Int4 All(std::int32_t v) { return Int4{v, v, v, v}; }
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
    XY xEnd() const { return Both(pixelCount() < kSpareLimit ? width : 0); }
    XY yStart() const { return Both(std::max(0.0, static_cast<double>(projection.Rb) - height + 1)); }
    XY yEnd() const { return Both(static_cast<double>(projection.Rb) + 1); }
    std::int32_t spare() const { return static_cast<std::int32_t>(pixelCount()); }
    long long pixelCount() const { return static_cast<long long>(width) * height; }
    static constexpr long long kSpareLimit = (1LL << 31) - 1;

    // Four lines that set only the spare byte.
    FourLines nothing() const {
        const auto index = static_cast<std::uint32_t>(ShortLines::Index(0, 0));
        const auto start = static_cast<std::uint32_t>(spare());
        return {UInt4{start, start, start, start}, UInt4{index, index, index, index}};
    }

    void drawLines(const FourLines& lines) const {
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

// Draws the faces [first, last) and gives the bounds of their x and y. Each
// face's corners are taken as two pairs, A and C, B and D, in the lanes of
// vectors: the four corners of a face projected, checked and truncated with
// few instructions and no branch; its four lines are short ones for nearly
// every face of a fine mesh. The painter is a copy of its own: the mask's
// byte stores could change anything in memory as far as the compiler knows,
// so what the loop reads again and again must not live there.
PlaneBounds PaintFaces(const MaskPainter painter, const Face* first, const Face* last) {
    const Projection& p = painter.projection;
    const XY xb = Both(p.xb), yb = Both(p.yb), xs = Both(p.xs), ys = Both(p.ys), Rb = Both(p.Rb);
    const XY xStart = Both(0), xEnd = painter.xEnd(), yStart = painter.yStart(), yEnd = painter.yEnd();
    const Int4 RbInt = All(p.Rb), width = All(painter.width), spare = All(painter.spare());
    PairBounds pairs;
    PlaneBounds bounds;
    // The lines of one face are drawn while the next is projected: the
    // stores wait for a long chain of conversions, and the processor can
    // work on two faces at once.
    FourLines pending = painter.nothing();
    for (const Face* f = first; f != last; ++f) {
        const XY a = LoadXY(f->A), b = LoadXY(f->B), c = LoadXY(f->C), d = LoadXY(f->D);
        const XY x0 = __builtin_shufflevector(a, c, 0, 2), x1 = __builtin_shufflevector(b, d, 0, 2);
        const XY y0 = __builtin_shufflevector(a, c, 1, 3), y1 = __builtin_shufflevector(b, d, 1, 3);
        pairs.add(x0, x1, y0, y1);
        const XY u0 = (x0 + xb) * xs, u1 = (x1 + xb) * xs, v0 = (y0 + yb) * ys, v1 = (y1 + yb) * ys;
        const XYMask inside = (Smallest(u0, u1) >= xStart) & (Largest(u0, u1) < xEnd) &
                              (Smallest(v0, v1) >= yStart) & (Largest(v0, v1) < yEnd);
        if (!(inside[0] & inside[1])) {
            painter.anyFace(*f);
            bounds.noteNaN(*f);
            continue;
        }
        // Lanes A, C, B, D: the lines A→B, C→D, B→C, D→A end in lanes 2, 3, 1, 0.
        const Int4 column = Join(Trunc(u0), Trunc(u1));
        const Int4 startRow = RbInt - Join(Trunc(v0), Trunc(v1));
        const Int4 endRow = Join(Trunc(Rb - v0), Trunc(Rb - v1));
        const Int4 dx = __builtin_shufflevector(column, column, 2, 3, 1, 0) - column;
        const Int4 dy = __builtin_shufflevector(endRow, endRow, 2, 3, 1, 0) - startRow;
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
    pairs.addTo(bounds);
    return bounds;
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
