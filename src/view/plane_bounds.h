// The smallest and largest x and y over a set of points, found in any order
// and on any number of threads, and what they say about the extents that the
// fit takes from the faces in table order.
#pragma once

#include "kelvorn.h"
#include "view/table_extents.h"

#include <cstdint>
#include <cstring>

// Two doubles in one register: a point's x and y side by side, as xyz holds
// them (GCC and Clang vectors).
typedef double XY __attribute__((vector_size(16)));
typedef std::int64_t XYMask __attribute__((vector_size(16)));

inline XY LoadXY(const xyz& p) {
    XY v;
    std::memcpy(&v, &p.x, sizeof v);
    return v;
}

struct PlaneBounds {
    XY low = {1e50, 1e50}, high = {-1e50, -1e50};
    XYMask nan = {0, 0}; // all ones in a lane once it saw a NaN

    void add(XY p) {
        low = p < low ? p : low;
        high = p > high ? p : high;
        nan |= p != p;
    }

    // The four corners of `f` with no look for NaN: for a caller that has
    // seen none (use noteNaN for the faces it is not sure of).
    void addNumbers(const Face& f) {
        const XY a = LoadXY(f.A), b = LoadXY(f.B), c = LoadXY(f.C), d = LoadXY(f.D);
        const XY ab = a < b ? a : b, cd = c < d ? c : d, smallest = ab < cd ? ab : cd;
        const XY AB = a > b ? a : b, CD = c > d ? c : d, largest = AB > CD ? AB : CD;
        low = smallest < low ? smallest : low;
        high = largest > high ? largest : high;
    }

    void noteNaN(const Face& f) {
        for (const xyz* p : {&f.A, &f.B, &f.C, &f.D}) {
            const XY v = LoadXY(*p);
            nan |= v != v;
        }
    }

    void append(const PlaneBounds& other) {
        low = other.low < low ? other.low : low;
        high = other.high > high ? other.high : high;
        nan |= other.nan;
    }

    // The extents FitView would measure from the same faces, when the bounds
    // settle them bit for bit: with no NaN, each extent is the extreme value
    // (or the start value ±1e50), and a value other than zero has one
    // encoding. A zero bound could be +0 or -0, so it settles nothing.
    bool exactExtents(TableExtents& extents) const {
        if (nan[0] | nan[1]) return false;
        if (low[0] == 0 || low[1] == 0 || high[0] == 0 || high[1] == 0) return false;
        extents = {{low[0], high[0]}, {low[1], high[1]}};
        return true;
    }
};
