#include "view/view.h"

#include <cmath>
#include <cstddef>

namespace {

// Each turn walks the face table as one flat array of points and keeps the
// operations and their order exactly, so the result is bit for bit that of
// the plain loop whatever the compiler vectorizes.

// Moves +z towards +x.
void TurnXZ(xyz* P, std::size_t n, double c, double s) {
    for (std::size_t i = 0; i < n; ++i) {
        const double t = c * P[i].z - s * P[i].x;
        P[i].x = s * P[i].z + c * P[i].x;
        P[i].z = t;
    }
}

// Moves +y towards +z.
void TurnYZ(xyz* P, std::size_t n, double c, double s) {
    for (std::size_t i = 0; i < n; ++i) {
        const double t = c * P[i].y - s * P[i].z;
        P[i].z = s * P[i].y + c * P[i].z;
        P[i].y = t;
    }
}

// Moves +x towards +y.
void TurnXY(xyz* P, std::size_t n, double c, double s) {
    for (std::size_t i = 0; i < n; ++i) {
        const double t = c * P[i].x - s * P[i].y;
        P[i].y = s * P[i].x + c * P[i].y;
        P[i].x = t;
    }
}

using Turn = void (*)(xyz*, std::size_t, double, double);

Turn TurnOf(Plane plane) {
    switch (plane) {
    case Plane::XZ: return TurnXZ;
    case Plane::YZ: return TurnYZ;
    case Plane::XY: return TurnXY;
    }
    return TurnXY;
}

void TurnTable(Plane plane, double c, double s) {
    if (F != nullptr && nf > 0) TurnOf(plane)(&F[0].A, 4 * static_cast<std::size_t>(nf), c, s);
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
