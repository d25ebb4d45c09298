#include "threads/two_threads.h"
#include "view/orientation.h"
#include "view/plane_bounds.h"
#include "view/table_extents.h"
#include "view/view.h"

#include <cmath>
#include <cstddef>
#include <type_traits>

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

// One of those turns with its cosine and sine.
template <void Formula(xyz&, double, double)> struct PlaneTurn {
    double c, s;
    void operator()(xyz& P) const { Formula(P, c, s); }
};

// Two turns of each point, one after the other: each point ends where two
// passes would leave it, after one.
template <class First, class Second> struct TwoTurns {
    First first;
    Second second;
    void operator()(xyz& P) const {
        first(P);
        second(P);
    }
};

// Any turn at all, by its matrix: a standard view in one pass.
struct MatrixTurn {
    Orientation turn;
    void operator()(xyz& P) const {
        const auto& m = turn.m;
        const xyz old = P;
        P.x = m[0][0] * old.x + m[0][1] * old.y + m[0][2] * old.z;
        P.y = m[1][0] * old.x + m[1][1] * old.y + m[1][2] * old.z;
        P.z = m[2][0] * old.x + m[2][1] * old.y + m[2][2] * old.z;
    }
};

// Calls then(turn) with the turn in `plane` by the angle of cosine c and sine s.
template <class Then> void WithPlaneTurn(Plane plane, double c, double s, const Then& then) {
    switch (plane) {
    case Plane::XZ: return then(PlaneTurn<TurnXZ>{c, s});
    case Plane::YZ: return then(PlaneTurn<TurnYZ>{c, s});
    case Plane::XY: return then(PlaneTurn<TurnXY>{c, s});
    }
}

// Turns the corners of the faces [first, last), one flat array of points,
// and gives the bounds of their x and y after the turn.
template <class PointTurn> PlaneBounds TurnFaces(Face* first, Face* last, const PointTurn& turn) {
    xyz* const points = reinterpret_cast<xyz*>(first); // a face is its four corners
    xyz* const end = points + 4 * (last - first);
    PlaneBounds bounds;
    for (xyz* P = points; P != end; ++P) {
        turn(*P);
        // From the values just computed: loading both as one from memory
        // would wait for the two stores.
        bounds.add(XY{P->x, P->y});
    }
    return bounds;
}

template <class PointTurn> void TurnSmallTable(const PointTurn& turn) { TurnFaces(F, F + nf, turn); }

// A large table is turned on two threads, and the extents of the turned
// faces, found on the way, are remembered for the next paint.
template <class PointTurn> void TurnLargeTable(const PointTurn& turn) {
    PlaneBounds bounds[2];
    ShareOnTwoThreads(nf, [&](int thread, std::ptrdiff_t first, std::ptrdiff_t last) {
        bounds[thread].append(TurnFaces(F + first, F + last, turn));
    });
    bounds[0].append(bounds[1]);
    TableExtents extents;
    if (bounds[0].exactExtents(extents))
        RememberTableExtents(extents);
    else
        ForgetTableExtents();
}

template <class PointTurn> void TurnTable(const PointTurn& turn) {
    if (F == nullptr || nf <= 0) return;
    if (nf >= kLargeTable)
        TurnLargeTable(turn);
    else
        TurnSmallTable(turn);
}

void TurnTable(Plane plane, double c, double s) {
    TableOrientation = PlaneTurnOrientation(plane, c, s) * TableOrientation;
    WithPlaneTurn(plane, c, s, [](const auto& turn) { TurnTable(turn); });
}

} // namespace

void TurnMesh(Plane plane, double angle) {
    TurnTable(plane, std::cos(angle), std::sin(angle));
}

void TurnMeshBy(const Orientation& turn) {
    TableOrientation = turn * TableOrientation;
    TurnTable(MatrixTurn{turn});
}

void TurnMeshTwice(Turn first, Turn second) {
    const double c1 = std::cos(first.angle), s1 = std::sin(first.angle);
    const double c2 = std::cos(second.angle), s2 = std::sin(second.angle);
    TableOrientation = PlaneTurnOrientation(second.plane, c2, s2) * PlaneTurnOrientation(first.plane, c1, s1) *
                       TableOrientation;
    WithPlaneTurn(first.plane, c1, s1, [&](const auto& one) {
        WithPlaneTurn(second.plane, c2, s2, [&](const auto& two) {
            TurnTable(TwoTurns<std::decay_t<decltype(one)>, std::decay_t<decltype(two)>>{one, two});
        });
    });
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
