// DXF files written compactly for tests: one "CODE VALUE" pair per line
// (the value is everything after the first blank; blank lines are skipped).
#pragma once

#include <string>
#include <string_view>

// The text DXF file of the pairs: code line, value line, each ending with LF.
std::string DxfText(std::string_view pairs);

// The binary DXF file of the same pairs: the sentinel, then each code in two
// bytes (one byte, 255 before a longer code, when `oneByteCodes`) and its value
// in the binary type of its code (strings, doubles, 16- and 32-bit integers).
std::string DxfBinary(std::string_view pairs, bool oneByteCodes = false);
