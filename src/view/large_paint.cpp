#include "view/large_paint.h"

#include "view/line_raster.h"
#include "view/plane_bounds.h"
#include "view/projection.h"
#include "view/two_threads.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// The pixels of every line inside the image that moves at most kReach
// pixels along each axis, as index offsets from its start pixel: most edges
// of a large model are that short, and these need no Bresenham loop. A line
// of fewer than kReach pixels repeats its last one in the places left over.
constexpr int kReach = 4;

struct ShortLine {
    std::ptrdiff_t offset[kReach];
};

struct ShortLines {
    // By dy + kReach, then dx + kReach; rows of 16 make the index a shift.
    ShortLine lines[2 * kReach + 1][16];

    explicit ShortLines(int width) {
        for (int dy = -kReach; dy <= kReach; ++dy)
            for (int dx = -kReach; dx <= kReach; ++dx) {
                ShortLine& line = lines[dy + kReach][dx + kReach];
                int count = 0;
                Walk(InsideLineWalk(width, 0, 0, dx, dy), Recorder{&line, &count});
                for (int k = count; k < kReach; ++k) line.offset[k] = count > 0 ? line.offset[count - 1] : 0;
            }
    }

    struct Recorder {
        ShortLine* line;
        int* count;
        void set(std::ptrdiff_t at) const { line->offset[(*count)++] = at; }
    };
};

// One corner's column, start row and end row.
struct Corner {
    int x, yStart, yEnd;
};

// |v| in both lanes.
inline XY Abs(XY v) {
    XYMask bits;
    std::memcpy(&bits, &v, sizeof v);
    bits &= ~(XYMask{1, 1} << 63);
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// What one thread draws into: a mask of width × height bytes.
struct MaskPainter {
    Projection projection;
    const ShortLines& shortLines;
    int width, height;
    std::uint8_t* mask;

    // The corners of `f` when all of them project the fast way
    // (Projection::project) and fall inside the image.
    bool projectInside(const Face& f, Corner c[4]) const {
        const XY bias = {projection.xb, projection.yb}, scale = {projection.xs, projection.ys};
        const XY a = (LoadXY(f.A) + bias) * scale, b = (LoadXY(f.B) + bias) * scale;
        const XY d = (LoadXY(f.C) + bias) * scale, e = (LoadXY(f.D) + bias) * scale;
        constexpr XY kSmall = {Projection::kSmall, Projection::kSmall};
        const XYMask small = (Abs(a) < kSmall) & (Abs(b) < kSmall) & (Abs(d) < kSmall) & (Abs(e) < kSmall);
        if (!(small[0] & small[1])) return false;
        const int Rb = projection.Rb;
        c[0] = {static_cast<int>(a[0]), Rb - static_cast<int>(a[1]), static_cast<int>(Rb - a[1])};
        c[1] = {static_cast<int>(b[0]), Rb - static_cast<int>(b[1]), static_cast<int>(Rb - b[1])};
        c[2] = {static_cast<int>(d[0]), Rb - static_cast<int>(d[1]), static_cast<int>(Rb - d[1])};
        c[3] = {static_cast<int>(e[0]), Rb - static_cast<int>(e[1]), static_cast<int>(Rb - e[1])};
        const unsigned w = width, h = height;
        return (unsigned(c[0].x) < w) & (unsigned(c[1].x) < w) & (unsigned(c[2].x) < w) & (unsigned(c[3].x) < w) &
               (unsigned(c[0].yStart) < h) & (unsigned(c[1].yStart) < h) & (unsigned(c[2].yStart) < h) &
               (unsigned(c[3].yStart) < h) & (unsigned(c[0].yEnd) < h) & (unsigned(c[1].yEnd) < h) &
               (unsigned(c[2].yEnd) < h) & (unsigned(c[3].yEnd) < h);
    }

    // Inline, or the four calls of every face cost more than the lines.
    [[gnu::always_inline]] void insideLine(int x0, int y0, int x1, int y1) const {
        const int dx = x1 - x0, dy = y1 - y0;
        if ((static_cast<unsigned>(dx + kReach) | static_cast<unsigned>(dy + kReach)) > 2 * kReach) {
            Walk(InsideLineWalk(width, x0, y0, x1, y1), ByteCanvas{mask});
            return;
        }
        if ((dx | dy) == 0) return; // a zero-length line draws nothing
        const std::ptrdiff_t* const offset = shortLines.lines[dy + kReach][dx + kReach].offset;
        const std::ptrdiff_t o0 = offset[0], o1 = offset[1], o2 = offset[2], o3 = offset[3];
        std::uint8_t* const start = mask + (std::ptrdiff_t{y0} * width + x0);
        start[o0] = 1;
        start[o1] = 1;
        start[o2] = 1;
        start[o3] = 1;
    }

    // Draws the edges of `f`; false when it took the general way, which also
    // takes corners that are NaN.
    [[gnu::always_inline]] bool face(const Face& f) const {
        Corner c[4];
        if (projection.RbIsSmall && projectInside(f, c)) {
            insideLine(c[0].x, c[0].yStart, c[1].x, c[1].yEnd);
            insideLine(c[1].x, c[1].yStart, c[2].x, c[2].yEnd);
            insideLine(c[2].x, c[2].yStart, c[3].x, c[3].yEnd);
            insideLine(c[3].x, c[3].yStart, c[0].x, c[0].yEnd);
            return true;
        }
        Segment edges[4];
        projection.outline(f, edges);
        for (const Segment& e : edges) Walk(LineWalkOn(width, height, e.x1, e.y1, e.x2, e.y2), ByteCanvas{mask});
        return false;
    }
};

// Draws the faces [first, last) and gives the bounds of their x and y. The
// painter is a copy of its own: the mask's byte stores could change anything
// in memory as far as the compiler knows, so what the loop reads again and
// again must not live there.
PlaneBounds PaintFaces(const MaskPainter painter, const Face* first, const Face* last) {
    PlaneBounds bounds;
    for (const Face* f = first; f != last; ++f) {
        bounds.addNumbers(*f);
        // A face drawn the fast way has no NaN: its scaled corners were
        // compared with a bound.
        if (!painter.face(*f)) bounds.noteNaN(*f);
    }
    return bounds;
}

// The masks of the two threads, kept from paint to paint and left all zero.
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
        if (mask.size() != pixelCount) mask.assign(pixelCount, 0);
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
        for (auto& mask : masks) mask.assign(pixelCount, 0);
        fit = {settled ? found : MeasureTableExtents(), false};
        RememberTableExtents(fit.extents);
        return false;
    }
    if (!fit.guessed) RememberTableExtents(fit.extents);
    OnTwoThreads([&](int part) { PutOnImage(image, part == 0 ? 0 : pixelCount / 2, part == 0 ? pixelCount / 2 : pixelCount); });
    return true;
}
