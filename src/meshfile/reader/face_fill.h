// What the parse pass does with a pair of code and value lines, shared by its
// general reading (face_passes.cpp) and its run over plain pairs (plain_pairs.cpp).
#pragma once

#include "geometry/xyz.h"
#include "meshfile/dxf/face_entity.h"
#include "meshfile/dxf/line_reader.h"
#include "meshfile/dxf/scan_number.h"

#include <cstddef>
#include <string_view>

// The parse pass's state between two pairs.
struct FaceFill {
    Face* table;
    long long limit;      // faces from here on are read over, never stored
    long long j = -1;     // the face started last
    Face* face = nullptr; // the face being filled, null between faces

    void startFace() {
        if (j < limit) ++j;
        face = j < limit ? &(table[j] = Face{}) : nullptr;
    }
};

// The value line of a pair with code `k`, `coordinate` the one that code
// sets in the face being filled (or null): a face line starts the next face,
// any other value of code 0 ends the face, a corner's value is stored. False
// for the value line "EOF", which ends the pass.
inline bool TakeValueLine(FaceFill& fill, int k, double* coordinate, const DxfLine& value) {
    if (value.ended && value.text == "EOF") return false;
    if (StartsWith(value, kFaceMarker)) {
        fill.startFace();
    } else if (k == 0) {
        fill.face = nullptr;
    } else if (coordinate) {
        *coordinate = ScanValue(value.text);
    }
    return true;
}
