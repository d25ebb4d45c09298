// Points and faces of a mesh.
//
// `xyz` is a plain value of three doubles and `Face` four of them. Both are
// standard-layout with no padding, so an array of n faces is also an array of
// 4·n points (A, B, C, D of face 0, then face 1, ...); the rotation walks the
// face table that way.
#pragma once

#include <cmath>

class xyz {
public:
    double x, y, z;

    xyz() = default;
    constexpr xyz(double X, double Y, double Z) : x(X), y(Y), z(Z) {}

    constexpr xyz operator+(const xyz& a) const { return {x + a.x, y + a.y, z + a.z}; }
    constexpr xyz operator-(const xyz& a) const { return {x - a.x, y - a.y, z - a.z}; }
    constexpr xyz operator-() const { return {-x, -y, -z}; }
    constexpr xyz operator*(double m) const { return {m * x, m * y, m * z}; }

    // Squared length and length.
    constexpr double rr() const { return x * x + y * y + z * z; }
    double r() const { return std::sqrt(rr()); }
};

// One mesh face. A triangle repeats its third corner as D; a face read from a
// file that gives no fourth corner keeps D at the origin.
struct Face {
    xyz A, B, C, D;
};

static_assert(sizeof(xyz) == 3 * sizeof(double), "xyz must be exactly three doubles");
static_assert(sizeof(Face) == 4 * sizeof(xyz), "Face must be exactly four points");

// P[j] = (X[3j], X[3j+1], X[3j+2]) for j in [0, n). Writes nothing for n <= 0.
void set(xyz* P, const double* X, int n);
