// What a thread of the large-table paint draws with: the view transform, the
// short lines, and a byte mask of its own; and the two builds of its face
// loop, one for any x86-64 processor and one for those with AVX2.
#pragma once

#include "view/line_raster.h"
#include "view/plane_bounds.h"
#include "view/projection.h"
#include "view/short_lines.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

typedef std::int32_t Int4 __attribute__((vector_size(16)));
typedef std::uint32_t UInt4 __attribute__((vector_size(16)));

// Four short lines: where each starts in the mask, and where its pixels
// are in ShortLines.
struct FourLines {
    UInt4 start, index;
};

// A mask of width × height bytes and one spare byte after them.
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

    [[gnu::always_inline]] void drawLines(const FourLines& lines) const {
        shortLines.drawTwo(mask, lines.start[0], lines.index[0], lines.start[1], lines.index[1]);
        shortLines.drawTwo(mask, lines.start[2], lines.index[2], lines.start[3], lines.index[3]);
    }

    // Draws the lines queued before, then queues the four short lines that
    // start at `column` and `startRow` and move `dx` and `dy` (all in the
    // lanes' order, `width` and `spare` in every lane). A zero-length line
    // draws nothing: it sets the spare byte instead. Start and index are
    // never negative, and unsigned they need no sign extension.
    [[gnu::always_inline]] void drawThenQueue(FourLines& pending, Int4 column, Int4 startRow, Int4 dx, Int4 dy,
                                              Int4 width, Int4 spare) const {
        const UInt4 start = UInt4((dx | dy) == 0 ? spare : startRow * width + column);
        const UInt4 index = UInt4(ShortLines::Index(dx, dy));
        drawLines(pending);
        pending = {start, index};
    }

    // Draws the edges of `f` that `hiddenEdges` leaves drawn, the general way.
    [[gnu::noinline]] void anyFace(const Face& f, unsigned hiddenEdges) const {
        Segment edges[4];
        projection.outline(f, edges);
        const int drawn = KeepDrawnEdges(edges, hiddenEdges);
        for (int k = 0; k < drawn; ++k)
            Walk(LineWalkOn(width, height, edges[k].x1, edges[k].y1, edges[k].x2, edges[k].y2), ByteCanvas{mask});
    }
};

// The hidden edges of the faces a loop paints, face i from the loop's first:
// HiddenEdges' bits, and a mask of the lanes whose lines are drawn, all ones
// there and 0 where they are hidden. A loop takes its lines' moves as 0 in
// the hidden lanes: lines of no length, which set the spare byte alone.
// Passed by value and so kept in registers: the mask's byte stores cannot
// change them.
struct NoHiddenEdges {
    static unsigned bits(std::ptrdiff_t) { return 0; }
    static Int4 drawn(std::ptrdiff_t) { return Int4{} - 1; }
};
struct HiddenEdgeLanes {
    const unsigned char* hiddenEdges;
    const Int4* drawnLanes; // by bits (16 masks), in the loop's order of lanes: a load and no arithmetic
    unsigned bits(std::ptrdiff_t i) const { return hiddenEdges[i]; }
    Int4 drawn(std::ptrdiff_t i) const { return drawnLanes[hiddenEdges[i] & 15]; }
};

// The lane masks of HiddenEdgeLanes for a loop whose lanes hold the edges of
// bits laneBits[0..3].
inline std::array<Int4, 16> DrawnLaneMasks(const int (&laneBits)[4]) {
    std::array<Int4, 16> masks;
    for (int bits = 0; bits < 16; ++bits)
        for (int lane = 0; lane < 4; ++lane) masks[bits][lane] = bits & laneBits[lane] ? 0 : -1;
    return masks;
}

// The loops read the table faster than the processor's own prefetching
// brings it in: both cache lines of the face this far ahead are asked for
// early (a prefetch past the table's end reads nothing and never faults).
inline void PrefetchAhead(const Face* f) {
    constexpr std::uintptr_t kAhead = 24 * sizeof(Face);
    const std::uintptr_t ahead = reinterpret_cast<std::uintptr_t>(f) + kAhead;
    __builtin_prefetch(reinterpret_cast<const void*>(ahead));
    __builtin_prefetch(reinterpret_cast<const void*>(ahead + 64));
}

// Each draws the faces [first, last) into the painter's mask, but for the
// edges that `hiddenEdges` (theirs, from `first` on; null for none) hides,
// and gives the bounds of their x and y; the same pixels and bounds either
// way. The loop for AVX2 takes a face's four corners in one vector, the
// other two in each.
PlaneBounds PaintFacesInPairs(const MaskPainter& painter, const Face* first, const Face* last,
                              const unsigned char* hiddenEdges);
PlaneBounds PaintFacesWithAvx2(const MaskPainter& painter, const Face* first, const Face* last,
                               const unsigned char* hiddenEdges);
