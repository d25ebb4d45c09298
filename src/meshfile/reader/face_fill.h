// What the parse pass does with a pair of code and value lines, shared by its
// general reading (face_passes.cpp) and its run over plain pairs (plain_pairs.cpp).
#pragma once

#include "geometry/xyz.h"
#include "meshfile/dxf/line_reader.h"
#include "meshfile/dxf/scan_number.h"

#include <cstddef>
#include <string_view>

constexpr std::string_view kFaceMarker = "3DFACE";

// The byte offset in a Face of the coordinate each code below 34 sets, -1
// for none: a corner code 10-13, 20-23, 30-33 names corner code % 10 and
// axis code / 10 - 1. Looked up, the code costs no division on every pair.
struct CornerOffsets {
    signed char of[34];
};
constexpr CornerOffsets MakeCornerOffsets() {
    constexpr std::size_t kCorners[] = {offsetof(Face, A), offsetof(Face, B), offsetof(Face, C), offsetof(Face, D)};
    constexpr std::size_t kAxes[] = {offsetof(xyz, x), offsetof(xyz, y), offsetof(xyz, z)};
    CornerOffsets table{};
    for (int code = 0; code < 34; ++code) {
        const bool corner = code >= 10 && code % 10 <= 3;
        table.of[code] = corner ? static_cast<signed char>(kCorners[code % 10] + kAxes[code / 10 - 1]) : -1;
    }
    return table;
}

// The coordinate that a corner code sets, or null for any other code.
inline double* CornerCoordinate(Face& face, int code) {
    static constexpr CornerOffsets kOffsets = MakeCornerOffsets();
    if (static_cast<unsigned>(code) >= sizeof kOffsets.of || kOffsets.of[code] < 0) return nullptr;
    return reinterpret_cast<double*>(reinterpret_cast<char*>(&face) + kOffsets.of[code]);
}

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
