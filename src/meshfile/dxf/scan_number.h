// Number parsing for DXF group-code and value lines.
//
// Both functions read their text exactly as glibc's sscanf reads it with "%d"
// and "%le" in the C locale, so that a file gives the same model on every
// platform and in every locale: leading white space is skipped, a partial
// number ("12abc", "1e", "0x1p") yields its valid prefix, and text that holds
// no number yields 0. The text ends at its first NUL byte, as a C string would.
#pragma once

#include <string_view>

// "%d": decimal digits with an optional sign. Values beyond the range of a
// 64-bit long saturate there and are then cut to their low 32 bits, as glibc
// stores a long into an int.
int ScanGroupCode(std::string_view text);

// "%le": decimal and hexadecimal floating point, "inf", "infinity" and "nan"
// in any letter case. Numbers too large for a double give an infinity.
double ScanValue(std::string_view text);
