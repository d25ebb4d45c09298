#include "view/orientation.h"

Orientation TableOrientation = Orientation::Identity();

Orientation Orientation::operator*(const Orientation& right) const {
    Orientation product{};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            product.m[r][c] = m[r][0] * right.m[0][c] + m[r][1] * right.m[1][c] + m[r][2] * right.m[2][c];
    return product;
}

Orientation Orientation::transposed() const {
    Orientation turned{};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            turned.m[r][c] = m[c][r];
    return turned;
}

// The rows are the new x, y and z as the turns of rotate_mesh.cpp compute them.
Orientation PlaneTurnOrientation(Plane plane, double c, double s) {
    switch (plane) {
    case Plane::XZ:
        return {{{c, 0, s}, {0, 1, 0}, {-s, 0, c}}};
    case Plane::YZ:
        return {{{1, 0, 0}, {0, c, -s}, {0, s, c}}};
    case Plane::XY:
        return {{{c, -s, 0}, {s, c, 0}, {0, 0, 1}}};
    }
    return Orientation::Identity();
}

void ForgetOrientation() {
    TableOrientation = Orientation::Identity();
}
