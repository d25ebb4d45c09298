// The turn of the face table since it was read, as a 3×3 matrix: a corner
// read as P0 is now (within the rounding of the turns) Orientation · P0. Every
// turn of the table multiplies it from the left by the turn's own matrix; a
// load starts it again at the identity. Keeping it changes nothing in the
// turns' arithmetic on the table: it is computed beside it.
#pragma once

#include "view/view.h"

struct Orientation {
    double m[3][3]; // row r, column c

    static constexpr Orientation Identity() { return {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}; }
    Orientation operator*(const Orientation& right) const;
    // The inverse of a turn: its transpose.
    Orientation transposed() const;
};

// The matrix of the turn in `plane` by the angle of cosine c and sine s, as
// the turns of the table compute it (view.h).
Orientation PlaneTurnOrientation(Plane plane, double c, double s);

// The table's orientation now.
extern Orientation TableOrientation;

// The table has just been read: it is as the file gives it.
void ForgetOrientation();

// Turns every corner of the face table by `turn` in one pass (on two threads
// for a large table, as the key turns) and multiplies the orientation by it.
void TurnMeshBy(const Orientation& turn);
