// Coordinates as DXF files carry them: the text C's printf("%5.3f") gives in
// the C locale, produced without printf and without the locale.
#pragma once

// The longest text FormatFixed3 can produce: the largest double has 309
// integer digits, plus sign, point and three decimals.
constexpr int kFixed3MaxLength = 314;

// Writes `v` at `out` exactly as printf("%5.3f", v) does with glibc in the C
// locale and returns the end of the text (no NUL is written). The value is
// rounded from its exact binary value, halfway cases to even; a negative value
// keeps its sign even when it rounds to zero ("-0.000"); NaN and infinities
// read "nan", "-nan", "inf", "-inf", padded on the left to five characters.
// `out` must have room for kFixed3MaxLength characters.
char* FormatFixed3(double v, char* out);
