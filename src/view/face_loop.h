// The face loop of the large-table paint, written once for both ways of
// holding a face's corners in vector lanes (face_pairs_loop.cpp, and
// face_avx2_loop.cpp, which includes this under the AVX2 target so that the
// loop is built for AVX2 there). Include it in those two files only.
//
// A corner kit `Corners` derives from LaneConstants of its vector of reals,
// and gives:
//   Bounds             lane-wise extents of the corners: add(...), which
//                      project() calls, and addTo(PlaneBounds&), merged as bounds;
//   kLaneBits          the HiddenEdges bit of the line that starts in each lane;
//   project(f, bounds, column, startRow, endRow)
//                      adds f's corners to `bounds`; true when all four pass
//                      MaskPainter's check, with their column, start row and
//                      end row in the kit's order of lanes;
//   Next(v)            each lane's value from the lane its line ends at;
//   Any(v)             true when a lane is not zero.
#pragma once

#include "view/mask_painter.h"

#include <array>
#include <cstddef>

// The painter's projection and limits in every lane of the vectors of reals
// `Reals` (XY for two lanes, four doubles for four), and the mask's width and
// spare byte in every lane of an Int4.
template <class Reals> struct LaneConstants {
    Reals xb, yb, xs, ys, Rb, xStart, xEnd, yStart, yEnd;
    Int4 RbInt, width, spare;

    // Inlined, so that the loop keeps them in registers: a copy the loop
    // had to pass to a call would live in memory, where the mask's byte
    // stores could change it as far as the compiler knows.
    [[gnu::always_inline]] explicit LaneConstants(const MaskPainter& painter)
        : xb(Every(painter.projection.xb)), yb(Every(painter.projection.yb)), xs(Every(painter.projection.xs)),
          ys(Every(painter.projection.ys)), Rb(Every(painter.projection.Rb)), xStart(Every(0)),
          xEnd(Every(painter.xEnd())), yStart(Every(painter.yStart())), yEnd(Every(painter.yEnd())),
          RbInt(Int4{} + painter.projection.Rb), width(Int4{} + painter.width), spare(Int4{} + painter.spare()) {}

    [[gnu::always_inline]] static Reals Every(double v) {
        Reals lanes;
        for (std::size_t i = 0; i < sizeof(Reals) / sizeof(double); ++i) lanes[i] = v;
        return lanes;
    }
};

// The corners of a face projected, checked and truncated with few
// instructions and no branch; its four lines are short ones for nearly every
// face of a fine mesh. Both kits do the same operations on the same values,
// so they draw the same pixels and find the same bounds.
template <class Corners, class Hidden>
PlaneBounds PaintFaceLoop(const MaskPainter& shared, const Face* first, const Face* last, Hidden hidden) {
    // A copy of its own: the mask's byte stores could change anything in
    // memory as far as the compiler knows, so what the loop reads again and
    // again must not live there.
    const MaskPainter painter = shared;
    const Corners corners(painter);
    typename Corners::Bounds lanes;
    PlaneBounds bounds;
    // The lines of one face are drawn while the next is projected: the
    // stores wait for a long chain of conversions, and the processor can
    // work on two faces at once.
    FourLines pending = painter.nothing();
    for (const Face* f = first; f != last; ++f) {
        PrefetchAhead(f);
        Int4 column, startRow, endRow;
        if (!corners.project(*f, lanes, column, startRow, endRow)) {
            painter.anyFace(*f, hidden.bits(f - first));
            bounds.noteNaN(*f);
            continue;
        }
        const Int4 drawn = hidden.drawn(f - first);
        const Int4 dx = (Corners::Next(column) - column) & drawn, dy = (Corners::Next(endRow) - startRow) & drawn;
        if (Corners::Any(ShortLines::Beyond(dx, dy))) {
            painter.anyFace(*f, hidden.bits(f - first));
            continue;
        }
        painter.drawThenQueue(pending, column, startRow, dx, dy, corners.width, corners.spare);
    }
    painter.drawLines(pending);
    lanes.addTo(bounds);
    return bounds;
}

// The loop with the faces' hidden edges as lane masks, or with none.
template <class Corners>
PlaneBounds PaintFacesWith(const MaskPainter& painter, const Face* first, const Face* last,
                           const unsigned char* hiddenEdges) {
    if (!hiddenEdges) return PaintFaceLoop<Corners>(painter, first, last, NoHiddenEdges{});
    static const std::array<Int4, 16> kDrawnLanes = DrawnLaneMasks(Corners::kLaneBits);
    return PaintFaceLoop<Corners>(painter, first, last, HiddenEdgeLanes{hiddenEdges, kDrawnLanes.data()});
}
