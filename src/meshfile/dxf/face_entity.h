// The 3DFACE entity as both readers find it in a DXF file: the value that
// starts it, and the group codes of its corners.
#pragma once

#include "geometry/xyz.h"

#include <cstddef>
#include <string_view>

// The entity's name, the value of the group 0 that starts it.
constexpr std::string_view kFaceMarker = "3DFACE";

// Group codes 10-13, 20-23 and 30-33: x, y and z of corners 1 to 4.
constexpr bool IsFaceCornerCode(int code) { return code >= 10 && code <= 33 && code % 10 <= 3; }

// The byte offset in a Face of the coordinate each code below 34 sets, -1
// for none: a corner code names corner code % 10 and axis code / 10 - 1.
// Looked up, the code costs no division on every pair.
struct CornerOffsets {
    signed char of[34];
};
constexpr CornerOffsets MakeCornerOffsets() {
    constexpr std::size_t kCorners[] = {offsetof(Face, A), offsetof(Face, B), offsetof(Face, C), offsetof(Face, D)};
    constexpr std::size_t kAxes[] = {offsetof(xyz, x), offsetof(xyz, y), offsetof(xyz, z)};
    CornerOffsets table{};
    for (int code = 0; code < 34; ++code)
        table.of[code] =
            IsFaceCornerCode(code) ? static_cast<signed char>(kCorners[code % 10] + kAxes[code / 10 - 1]) : -1;
    return table;
}

// The coordinate that a corner code sets, or null for any other code.
inline double* CornerCoordinate(Face& face, int code) {
    static constexpr CornerOffsets kOffsets = MakeCornerOffsets();
    if (static_cast<unsigned>(code) >= sizeof kOffsets.of || kOffsets.of[code] < 0) return nullptr;
    return reinterpret_cast<double*>(reinterpret_cast<char*>(&face) + kOffsets.of[code]);
}
