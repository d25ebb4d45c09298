// Coordinates written exactly: the shortest text that reads back as the same
// double, as std::to_chars(first, last, value) writes it (fixed or scientific,
// whichever is shorter, fixed on a tie).
#pragma once

// The longest text FormatShortest can produce ("-2.2250738585072014e-308").
constexpr int kShortestMaxLength = 24;

// Writes `v` at `out`, byte for byte what std::to_chars(out, out + 24, v)
// writes, and returns the end of the text (no NUL is written). Values with
// at most three decimals and few digits, as drawings hold them, take a fast
// path; everything else goes to std::to_chars.
char* FormatShortest(double v, char* out);
