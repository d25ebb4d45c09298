#include "meshfile/flatten/cad_transform.h"

#include <cmath>
#include <numbers>

namespace {

xyz Cross(const xyz& a, const xyz& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

xyz Unit(const xyz& v) { return v * (1 / v.r()); }

} // namespace

Affine Then(const Affine& first, const Affine& second) {
    if (first.identity) return second;
    if (second.identity) return first;
    return {second.turn(first.x), second.turn(first.y), second.turn(first.z), second.apply(first.t), false};
}

void CosSinDegrees(double degrees, double& c, double& s) {
    double turn = std::fmod(degrees, 360.0);
    if (turn < 0) turn += 360.0;
    if (turn == 0 || turn == 90 || turn == 180 || turn == 270) {
        const int quarter = static_cast<int>(turn / 90);
        constexpr double kCos[] = {1, 0, -1, 0}, kSin[] = {0, 1, 0, -1};
        c = kCos[quarter];
        s = kSin[quarter];
        return;
    }
    const double radians = turn * (std::numbers::pi / 180);
    c = std::cos(radians);
    s = std::sin(radians);
}

Affine ExtrusionPlane(const xyz& extrusion) {
    if (extrusion.x == 0 && extrusion.y == 0 && extrusion.z > 0) return {};
    const xyz normal = Unit(extrusion);
    // The plane's x axis is perpendicular to world y or world z, whichever
    // lies farther from the normal; its y axis completes a right-handed frame.
    constexpr double kNearZ = 1.0 / 64;
    const bool nearZ = std::fabs(normal.x) < kNearZ && std::fabs(normal.y) < kNearZ;
    const xyz ax = Unit(Cross(nearZ ? xyz{0, 1, 0} : xyz{0, 0, 1}, normal));
    const xyz ay = Unit(Cross(normal, ax));
    return {ax, ay, normal, {0, 0, 0}, false};
}

Affine BlockPlacement(const xyz& base, const xyz& scale, double rotation, const xyz& point, const xyz& extrusion) {
    double c, s;
    CosSinDegrees(rotation, c, s);
    Affine inPlane{xyz{c, s, 0} * scale.x, xyz{-s, c, 0} * scale.y, xyz{0, 0, scale.z}, {0, 0, 0}, false};
    inPlane.t = point - inPlane.turn(base);
    inPlane.identity = c == 1 && scale.x == 1 && scale.y == 1 && scale.z == 1 && inPlane.t.rr() == 0;
    return Then(inPlane, ExtrusionPlane(extrusion));
}
