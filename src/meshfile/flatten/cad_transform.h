// The affine maps that place a block's faces: scale, rotation, the
// extrusion's plane (DXF's arbitrary axis algorithm) and translation.
#pragma once

#include "geometry/xyz.h"

// p ↦ x·p.x + y·p.y + z·p.z + t. The identity is flagged so that faces it
// would map keep every bit (a product with 1 plus 0 turns -0 into +0).
struct Affine {
    xyz x{1, 0, 0}, y{0, 1, 0}, z{0, 0, 1};
    xyz t{0, 0, 0};
    bool identity = true;

    xyz apply(const xyz& p) const {
        return {x.x * p.x + y.x * p.y + z.x * p.z + t.x, x.y * p.x + y.y * p.y + z.y * p.z + t.y,
                x.z * p.x + y.z * p.y + z.z * p.z + t.z};
    }
    // The direction part alone: where a vector goes.
    xyz turn(const xyz& v) const { return x * v.x + y * v.y + z * v.z; }
};

// first, then second: p ↦ second(first(p)).
Affine Then(const Affine& first, const Affine& second);

// The cosine and sine of `degrees`, exact at multiples of 90 degrees.
void CosSinDegrees(double degrees, double& c, double& s);

// From the coordinates of the plane whose normal is `extrusion` (nonzero) to
// world coordinates: the arbitrary axis algorithm. The identity for (0, 0, k), k > 0.
Affine ExtrusionPlane(const xyz& extrusion);

// A block reference's map from block to world coordinates: the block's
// `base` moves to the origin, is scaled by `scale`, turned `rotation`
// degrees about z, moved to `point`, all in the extrusion's plane, which is
// then put in world coordinates.
Affine BlockPlacement(const xyz& base, const xyz& scale, double rotation, const xyz& point, const xyz& extrusion);
