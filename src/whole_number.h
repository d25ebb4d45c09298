// Numbers typed by a user on a command line or in a key-stroke text, read
// whole: the entire text is one number in the C locale's notation ("12",
// "-3", "2.5e1"), whatever the user's locale; an empty text, a sign alone,
// leading or trailing spaces or any other character make it no number.
#pragma once

#include <charconv>
#include <climits>
#include <string_view>
#include <system_error>

// An integer from `low` to `high`. On failure returns false; `value` is then unspecified.
inline bool ParseWholeInt(std::string_view text, int& value, int low = INT_MIN, int high = INT_MAX) {
    const char* end = text.data() + text.size();
    const auto [stop, failure] = std::from_chars(text.data(), end, value);
    return !text.empty() && failure == std::errc() && stop == end && value >= low && value <= high;
}

// A floating-point number, "inf" and "nan" included. On failure returns false.
inline bool ParseWholeDouble(std::string_view text, double& value) {
    const char* end = text.data() + text.size();
    const auto [stop, failure] = std::from_chars(text.data(), end, value);
    return !text.empty() && failure == std::errc() && stop == end;
}
