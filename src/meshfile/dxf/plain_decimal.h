// The one way both readers turn a plain decimal's digits into a double: at
// most 15 digits, an optional point, an optional minus, as coordinates are
// nearly always written. Each reader finds the digits its own way (a word at
// a time, or a byte at a time to a line's end) under its own rules.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

inline constexpr std::size_t kPlainDecimalDigits = 15;

inline constexpr double kPowersOfTen[kPlainDecimalDigits + 1] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                                 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// `digits` / 10^fraction with the sign, rounded once. Both the digits (at
// most 15) and the power of ten are exact doubles, so the one division rounds
// exactly as strtod and from_chars do.
inline double SignedDecimal(std::uint64_t digits, std::size_t fraction, bool negative) {
    const double magnitude = static_cast<double>(digits) / kPowersOfTen[fraction];
    // The sign bit set without a branch: signs come in no pattern a branch predictor could learn.
    return std::bit_cast<double>(std::bit_cast<std::uint64_t>(magnitude) | std::uint64_t(negative) << 63);
}
