// Turning scaled model coordinates into 32-bit pixel positions.
#pragma once

#include <climits>
#include <cstdint>

// trunc(v): v truncated toward zero to an int. A plain cast is undefined
// behaviour (and traps on some targets) for NaN and for values outside the int
// range, which a huge, infinite or NaN coordinate produces; so NaN becomes 0
// and values beyond the range are clamped to INT_MIN or INT_MAX, and drawing
// goes on with the clamped position.
inline int TruncToPixel(double v) {
    if (v > -2147483649.0 && v < 2147483648.0) return static_cast<int>(v);
    if (v >= 2147483648.0) return INT_MAX;
    if (v <= -2147483649.0) return INT_MIN;
    return 0; // NaN
}

// a − b on ints, clamped to the int range instead of overflowing (a row
// computed from a clamped scaled value can fall outside it).
inline int SubtractClamped(int a, int b) {
    const std::int64_t difference = std::int64_t{a} - b;
    if (difference > INT_MAX) return INT_MAX;
    if (difference < INT_MIN) return INT_MIN;
    return static_cast<int>(difference);
}
