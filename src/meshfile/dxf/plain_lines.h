// The short code and value lines that make up nearly all of a mesh file, read
// in place, straight from the bytes, by the parse pass: "10", "  0" or
// "-12.345" followed by LF or CR LF. Each reader looks at most kPlainWindow
// bytes ahead, so it may be given any text with that many bytes readable, and
// decides only lines that are whole within its reach: it returns the line's
// length with its line end, or 0 to leave the line to the general scanners
// (ScanGroupCode, ScanValue), which read every line it reads the same way.
#pragma once

#include "meshfile/dxf/plain_decimal.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

constexpr std::size_t kPlainWindow = 64;

namespace plain_lines {

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the line ending at text[i] ("\n" or "\r\n"), or 0 when no line end stands there.
inline std::size_t LineLength(const char* text, std::size_t i) {
    if (text[i] == '\n') return i + 1;
    if (text[i] == '\r' && text[i + 1] == '\n') return i + 2;
    return 0;
}

constexpr std::uint64_t kEachByte = 0x0101010101010101;

// Eight bytes of text with text[i] in bits 8i to 8i + 7, whatever the byte order.
inline std::uint64_t LoadWord(const char* text) {
    std::uint64_t word;
    std::memcpy(&word, text, sizeof word);
    if constexpr (std::endian::native == std::endian::big) {
        std::uint64_t swapped = 0;
        for (int i = 0; i < 8; ++i, word >>= 8)
            swapped = swapped << 8 | (word & 0xFF);
        word = swapped;
    }
    return word;
}

// The top bit of every byte of `word` that is not 0..9, the other bits clear.
// Adding 0x76 to the low seven bits carries into the top bit from 10 on, and
// never into the next byte.
inline std::uint64_t BytesAboveNine(std::uint64_t word) {
    return (((word & kEachByte * 0x7F) + kEachByte * 0x76) | word) & kEachByte * 0x80;
}

// The number of the digit values 0..9 in bytes [0, count) of `values`, the
// first the most significant; count from 1 to 8.
inline std::uint64_t DigitsValue(std::uint64_t values, std::size_t count) {
    // Moved to the top bytes, the digits follow count - 8 leading zeros.
    values <<= 8 * (8 - count);
    values = values * (10 * 256 + 1) >> 8 & 0x00FF00FF00FF00FF;
    values = values * (100 * 65536 + 1) >> 16 & 0x0000FFFF0000FFFF;
    return values * (10000ULL << 32 | 1) >> 32;
}

// The bytes below byte `count` (0 to 7) of a word.
inline std::uint64_t BytesBelow(std::size_t count) { return (std::uint64_t(1) << 8 * count) - 1; }

// The digits and point after the sign, when they and the line end's first
// byte lie within eight bytes, read a word at a time with no branch on their
// count: lengths vary from line to line in no pattern either.
inline std::size_t ReadShortDecimal(const char* text, std::size_t sign, bool negative, double& x) {
    const std::uint64_t values = LoadWord(text + sign) ^ kEachByte * '0';
    const std::uint64_t others = BytesAboveNine(values);
    if (others == 0) return 0;
    const std::size_t first = static_cast<std::size_t>(std::countr_zero(others)) / 8;
    const bool point = text[sign + first] == '.';
    const std::uint64_t after = point ? others & (others - 1) : others;
    if (after == 0) return 0;
    const std::size_t end = static_cast<std::size_t>(std::countr_zero(after)) / 8;
    const std::size_t count = end - point;
    const std::size_t length = LineLength(text, sign + end);
    if (count == 0 || length == 0) return 0;
    // The digits after the point moved down over it.
    const std::uint64_t joined = (values & BytesBelow(first)) | (values >> 8 & ~BytesBelow(first));
    x = SignedDecimal(DigitsValue(joined, count), point ? end - first - 1 : 0, negative);
    return length;
}

// A code line of one or two digits, such as every code of a face, whose line
// feed is known to stand at text[length]: its value, or false to leave it to
// ReadPlainCode. No loop, so that the value is ready early.
inline bool ReadShortCode(const char* text, std::size_t length, int& k) {
    if (length == 0 || length > 3) return false;
    const std::size_t digits = length - (text[length - 1] == '\r');
    const int first = text[0] - '0', second = text[1] - '0';
    if (digits == 0 || unsigned(first) > 9 || (digits == 2 && unsigned(second) > 9) || digits > 2) return false;
    k = digits == 2 ? first * 10 + second : first;
    return true;
}

} // namespace plain_lines

// A code line such as "10" or "  0": its length, or 0 to leave it to ScanGroupCode.
inline std::size_t ReadPlainCode(const char* text, int& k) {
    std::size_t i = 0;
    while (i < 8 && text[i] == ' ')
        ++i;
    const std::size_t first = i;
    int value = 0;
    for (; i - first < 9 && plain_lines::IsDigit(text[i]); ++i)
        value = value * 10 + (text[i] - '0');
    const std::size_t length = i == first ? 0 : plain_lines::LineLength(text, i);
    if (length) k = value;
    return length;
}

// A value line of at most 15 digits around an optional point after an
// optional sign, such as the writer's "-12.345": its length, or 0 to leave it
// to ScanValue.
[[gnu::always_inline]] inline std::size_t ReadPlainDecimal(const char* text, double& x) {
    using namespace plain_lines;
    constexpr std::size_t kMaxDigits = kPlainDecimalDigits;
    const bool negative = text[0] == '-';
    const std::size_t sign = negative || text[0] == '+';
    if (const std::size_t length = ReadShortDecimal(text, sign, negative, x)) return length;
    std::size_t i = sign;
    std::uint64_t digits = 0;
    for (; i - sign <= kMaxDigits && IsDigit(text[i]); ++i)
        digits = digits * 10 + unsigned(text[i] - '0');
    std::size_t count = i - sign, fraction = 0;
    if (text[i] == '.') {
        const std::size_t point = ++i;
        for (; count + (i - point) <= kMaxDigits && IsDigit(text[i]); ++i)
            digits = digits * 10 + unsigned(text[i] - '0');
        fraction = i - point;
        count += fraction;
    }
    if (count == 0 || count > kMaxDigits) return 0;
    const std::size_t length = LineLength(text, i);
    if (length) x = SignedDecimal(digits, fraction, negative);
    return length;
}
