#include "view/plane_bounds.h"
#include "view/table_extents.h"
#include "view/two_threads.h"
#include "view/view.h"

#include <cmath>
#include <cstddef>

namespace {

// Each turn walks the face table as one flat array of points and keeps the
// operations and their order exactly, so the result is bit for bit that of
// the plain loop whatever the compiler vectorizes or the threads split.

// Moves +z towards +x.
void TurnXZ(xyz& P, double c, double s) {
    const double t = c * P.z - s * P.x;
    P.x = s * P.z + c * P.x;
    P.z = t;
}

// Moves +y towards +z.
void TurnYZ(xyz& P, double c, double s) {
    const double t = c * P.y - s * P.z;
    P.z = s * P.y + c * P.z;
    P.y = t;
}

// Moves +x towards +y.
void TurnXY(xyz& P, double c, double s) {
    const double t = c * P.x - s * P.y;
    P.y = s * P.x + c * P.y;
    P.x = t;
}

// Turns the points [first, last) and gives the bounds of their x and y
// after the turn.
template <void Turn(xyz&, double, double)>
PlaneBounds TurnPoints(xyz* first, xyz* last, double c, double s) {
    PlaneBounds bounds;
    for (xyz* P = first; P != last; ++P) {
        Turn(*P, c, s);
        // From the values just computed: loading both as one from memory
        // would wait for the two stores.
        bounds.add(XY{P->x, P->y});
    }
    return bounds;
}

using PointsTurn = PlaneBounds (*)(xyz*, xyz*, double, double);

PointsTurn TurnOf(Plane plane) {
    switch (plane) {
    case Plane::XZ: return TurnPoints<TurnXZ>;
    case Plane::YZ: return TurnPoints<TurnYZ>;
    case Plane::XY: return TurnPoints<TurnXY>;
    }
    return TurnPoints<TurnXY>;
}

void TurnSmallTable(PointsTurn turn, double c, double s) {
    xyz* const points = &F[0].A;
    turn(points, points + 4 * static_cast<std::size_t>(nf), c, s);
}

// A large table is turned on two threads, and the extents of the turned
// faces, found on the way, are remembered for the next paint.
void TurnLargeTable(PointsTurn turn, double c, double s) {
    xyz* const points = &F[0].A;
    PlaneBounds bounds[2];
    ShareOnTwoThreads(nf, [&](int thread, std::ptrdiff_t first, std::ptrdiff_t last) {
        bounds[thread].append(turn(points + 4 * first, points + 4 * last, c, s));
    });
    bounds[0].append(bounds[1]);
    TableExtents extents;
    if (bounds[0].exactExtents(extents))
        RememberTableExtents(extents);
    else
        ForgetTableExtents();
}

void TurnTable(Plane plane, double c, double s) {
    if (F == nullptr || nf <= 0) return;
    if (nf >= kLargeTable)
        TurnLargeTable(TurnOf(plane), c, s);
    else
        TurnSmallTable(TurnOf(plane), c, s);
}

} // namespace

void TurnMesh(Plane plane, double angle) {
    TurnTable(plane, std::cos(angle), std::sin(angle));
}

bool RotateMesh(unsigned char key, int rep) {
    Plane plane = Plane::XY;
    bool negate = false;
    switch (key) {
    case kKeyPageUp: plane = Plane::XZ, negate = true; break;
    case kKeyPageDown: plane = Plane::XZ; break;
    case kKeyHome: plane = Plane::YZ, negate = true; break;
    case kKeyEnd: plane = Plane::YZ; break;
    case kKeyInsert: plane = Plane::XY, negate = true; break;
    case kKeyDelete: plane = Plane::XY; break;
    default: return false;
    }
    const double deg = std::atan(1.0) / 45;
    // rep·10 in 64 bits: the same value as the int product wherever that one
    // exists, and no overflow for any int rep.
    const double angle = static_cast<double>(static_cast<long long>(rep) * 10) * deg;
    const double c = std::cos(angle), s = negate ? -std::sin(angle) : std::sin(angle);
    TurnTable(plane, c, s);
    return true;
}
