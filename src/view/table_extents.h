// The x–y extents of the face table that the fit maps onto the client area,
// and the extents remembered between a turn or a paint and the next paint of
// a large table, so that the paint need not read the table twice.
#pragma once

#include "kelvorn.h"
#include "tuning.h"
#include "view/view.h"

#include <algorithm>
#include <bit>
#include <cstdint>

// Running extent of one coordinate over faces taken in table order. For
// finite corners any minimum and maximum would do; the comparisons are written
// out exactly because they also decide what a NaN corner does to the fit, and
// a file must give the same picture in every build (the viewer on Windows and
// Linux, the tool's renders, the tests' reference pictures), so no compiler or
// library choice may change it: a face's largest and smallest value are
// std::max and std::min over A, B, C, D in that order (a NaN counts only as
// the first corner), a NaN largest value never raises `high`, and a NaN
// smallest value does replace `low`.
struct Extent {
    double low = 1e50, high = -1e50;

    void add(double a, double b, double c, double d) {
        const double largest = std::max({a, b, c, d});
        const double smallest = std::min({a, b, c, d});
        if (high <= largest) high = largest;
        if (!(low < smallest)) low = smallest;
    }

    // The same bounds bit for bit (a -0 bound is not the same as a +0 one).
    bool same(const Extent& other) const {
        return std::bit_cast<std::uint64_t>(low) == std::bit_cast<std::uint64_t>(other.low) &&
               std::bit_cast<std::uint64_t>(high) == std::bit_cast<std::uint64_t>(other.high);
    }
};

// The extents of x and y over faces in table order.
struct TableExtents {
    Extent x, y;

    void add(const Face& f) {
        x.add(f.A.x, f.B.x, f.C.x, f.D.x);
        y.add(f.A.y, f.B.y, f.C.y, f.D.y);
    }

    bool same(const TableExtents& other) const { return x.same(other.x) && y.same(other.y); }
};

// The extents of the nf faces of F, in one pass in table order.
TableExtents MeasureTableExtents();

// Tables from kLargeTable faces on (tuning.h) are turned and painted on two
// threads, and their extents are remembered from one pass over them to the
// next paint.

// Remembers `extents` as those of the current F and nf, found by a pass that
// has just read every face (a turn or a paint of a large table). Only
// extents whose bounds are numbers other than zero are kept: those are
// checked by comparing values, which a NaN fails and which cannot tell a +0
// bound from a -0 one.
void RememberTableExtents(const TableExtents& extents);
// Forgets them: the next paint measures.
void ForgetTableExtents();
// The extents remembered for the current F and nf, if any. A write to the
// table that is not a turn does not tell them, so they are only a guess that
// whoever draws with them checks against the faces as it draws.
bool RememberedTableExtents(TableExtents& extents);

// Fits to `extents`, which must be those of the current table: xb, yb, xs
// and ys as FitView(R) sets them.
void FitView(const Rect& R, const TableExtents& extents);
