// Boxes, spheres, cones and cylinders as closed meshes of 3DFACEs.
//
// Round solids are built from rings of points around an axis. Every ring is
// computed once and handed to both faces or bands that share it, so shared
// corners are written as the very same text and the surface stays closed
// when read back.
#include "meshfile/writer/dxf_solids.h"
#include "meshfile/writer/dxf_writer.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <memory>
#include <new>
#include <numbers>

namespace {

bool Finite(xyz p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

double Dot(xyz a, xyz b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

xyz Cross(xyz a, xyz b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

// Two unit vectors u, v that make (u, v, axis) a right-handed orthonormal
// frame: u is the coordinate axis least parallel to `axis`, straightened.
struct RingFrame {
    xyz u, v;
};

RingFrame FrameAround(xyz axis) {
    const xyz w = axis * (1 / axis.r());
    const double ax = std::fabs(w.x), ay = std::fabs(w.y), az = std::fabs(w.z);
    const xyz helper = ax <= ay && ax <= az ? xyz(1, 0, 0) : ay <= az ? xyz(0, 1, 0) : xyz(0, 0, 1);
    xyz u = helper - w * Dot(w, helper);
    u = u * (1 / u.r());
    return {u, Cross(w, u)};
}

// n points at distance r from `centre`, in the plane of the frame, turning
// from u towards v.
void FillRing(xyz* ring, int n, xyz centre, const RingFrame& frame, double r) {
    for (int i = 0; i < n; ++i) {
        const double angle = 2 * std::numbers::pi * i / n;
        ring[i] = centre + frame.u * (r * std::cos(angle)) + frame.v * (r * std::sin(angle));
    }
}

bool FitsFaceCount(long long faces) { return faces <= INT_MAX; }

const char* AxisProblem(xyz a, xyz b) {
    if (!Finite(a) || !Finite(b)) return "end points must be finite";
    const double length = (b - a).r();
    if (length == 0) return "the two end points must differ";
    if (!std::isfinite(length)) return "the end points are too far apart";
    return nullptr;
}

const char* SegmentsProblem(int around, int along) {
    if (around < 3) return "segments around must be 3 or more";
    if (along < 1) return "segments along must be 1 or more";
    if (!FitsFaceCount(static_cast<long long>(around) * (along + 2LL)))
        return "too many segments: around x (along + 2) must be at most 2147483647";
    return nullptr;
}

std::unique_ptr<xyz[]> NewRing(int n) { return std::unique_ptr<xyz[]>(new (std::nothrow) xyz[n]); }

} // namespace

const char* BlockArgumentsProblem(double x1, double y1, double z1, double x2, double y2, double z2) {
    if (!Finite(xyz(x1, y1, z1)) || !Finite(xyz(x2, y2, z2))) return "corners must be finite";
    if (x1 == x2 || y1 == y2 || z1 == z2) return "corners must differ in x, y and z";
    return nullptr;
}

const char* SphereArgumentsProblem(xyz c, double r, int n) {
    if (!Finite(c)) return "centre must be finite";
    if (!(r > 0) || !std::isfinite(r)) return "radius must be finite and above 0";
    if (n < 3 || n > kMaxSphereSegments) return "segments must be from 3 to 65535";
    return nullptr;
}

const char* ConeArgumentsProblem(xyz a, xyz b, double ra, double rb, int around, int along) {
    if (const char* problem = AxisProblem(a, b)) return problem;
    if (!(ra >= 0) || !(rb >= 0) || !std::isfinite(ra) || !std::isfinite(rb))
        return "radii must be finite and 0 or more";
    if (ra == 0 && rb == 0) return "at least one radius must be above 0";
    return SegmentsProblem(around, along);
}

const char* CylinderArgumentsProblem(xyz a, xyz b, double r, int around, int along) {
    if (const char* problem = AxisProblem(a, b)) return problem;
    if (!(r > 0) || !std::isfinite(r)) return "radius must be finite and above 0";
    return SegmentsProblem(around, along);
}

bool DXF::block(double x1, double y1, double z1, double x2, double y2, double z2) {
    if (BlockArgumentsProblem(x1, y1, z1, x2, y2, z2)) return false;
    const double x[2] = {std::min(x1, x2), std::max(x1, x2)};
    const double y[2] = {std::min(y1, y2), std::max(y1, y2)};
    const double z[2] = {std::min(z1, z2), std::max(z1, z2)};
    // Corner i has x[i & 1], y[(i >> 1) & 1], z[i >> 2]; each face is listed
    // counter-clockwise seen from outside.
    xyz p[8];
    for (int i = 0; i < 8; ++i) p[i] = xyz(x[i & 1], y[(i >> 1) & 1], z[i >> 2]);
    face(p[0], p[2], p[3], p[1]); // bottom, z low
    face(p[4], p[5], p[7], p[6]); // top, z high
    face(p[0], p[1], p[5], p[4]); // front, y low
    face(p[2], p[6], p[7], p[3]); // back, y high
    face(p[0], p[4], p[6], p[2]); // left, x low
    face(p[1], p[3], p[7], p[5]); // right, x high
    return true;
}

bool DXF::sphere(xyz c, double r, int n) {
    if (SphereArgumentsProblem(c, r, n)) return false;
    auto previous = NewRing(n), current = NewRing(n);
    if (!previous || !current) {
        fail(ENOMEM);
        return false;
    }
    const int bands = (n + 1) / 2; // pole to pole; the first and last are fans
    const RingFrame frame{xyz(1, 0, 0), xyz(0, 1, 0)};
    for (int k = 1; k < bands; ++k) {
        const double polar = std::numbers::pi * k / bands;
        FillRing(current.get(), n, c + xyz(0, 0, r * std::cos(polar)), frame, r * std::sin(polar));
        if (k == 1) face(current.get(), n, c + xyz(0, 0, r));
        else seg(previous.get(), current.get(), n);
        std::swap(previous, current);
    }
    face(previous.get(), n, c - xyz(0, 0, r));
    return true;
}

bool DXF::cone(xyz a, xyz b, double ra, double rb, int around, int along) {
    if (ConeArgumentsProblem(a, b, ra, rb, around, along)) return false;
    auto previous = NewRing(around), current = NewRing(around);
    if (!previous || !current) {
        fail(ENOMEM);
        return false;
    }
    const RingFrame frame = FrameAround(b - a);
    FillRing(previous.get(), around, a, frame, ra);
    if (ra > 0) face(previous.get(), around, a);
    for (int k = 1; k <= along; ++k) {
        const double t = static_cast<double>(k) / along;
        const double radius = k == along ? rb : ra + (rb - ra) * t;
        FillRing(current.get(), around, k == along ? b : a + (b - a) * t, frame, radius);
        if (ra == 0 && k == 1) face(current.get(), around, a);
        else if (radius == 0) face(previous.get(), around, b);
        else seg(previous.get(), current.get(), around);
        std::swap(previous, current);
    }
    if (rb > 0) face(previous.get(), around, b);
    return true;
}

bool DXF::cylinder(xyz a, xyz b, double r, int around, int along) {
    if (CylinderArgumentsProblem(a, b, r, around, along)) return false;
    return cone(a, b, r, r, around, along);
}
