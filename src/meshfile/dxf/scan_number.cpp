#include "meshfile/dxf/scan_number.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#if defined(_WIN32)
#include <charconv>
#include <limits>
#else
#include <locale.h>
#endif

namespace {

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsHexDigit(char c) {
    return IsDigit(c) || ((c | 0x20) >= 'a' && (c | 0x20) <= 'f');
}
char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c | 0x20) : c;
}

// The text as a C string sees it: up to the first NUL.
std::string_view UpToNul(std::string_view text) {
    const void* nul = std::memchr(text.data(), 0, text.size());
    return nul ? text.substr(0, static_cast<const char*>(nul) - text.data()) : text;
}

std::size_t SkipSpace(std::string_view s, std::size_t i) {
    while (i < s.size() && IsSpace(s[i]))
        ++i;
    return i;
}

#if defined(_WIN32)
// msvcrt's strtod reads neither "inf", "nan" nor hexadecimal, and MinGW's own
// strtod follows the locale's decimal point; from_chars reads all of them,
// correctly rounded, in no locale. It takes no '+' and no "0x", and leaves an
// out-of-range value to its caller: as strtod, overflow gives infinity and
// underflow zero (with lines of at most 255 characters the exponent's sign tells which).
double CToDouble(const char* token) {
    const char* p = token;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    auto format = std::chars_format::general;
    if (p[0] == '0' && (p[1] | 0x20) == 'x') {
        p += 2;
        format = std::chars_format::hex;
    }
    double value = 0.0;
    if (std::from_chars(p, p + std::strlen(p), value, format).ec == std::errc::result_out_of_range) {
        const char* exponent = std::strpbrk(p, format == std::chars_format::hex ? "pP" : "eE");
        const bool overflow = exponent && exponent[1] != '-';
        value = overflow ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}
#else
double CToDouble(const char* token) {
    static locale_t c_locale = newlocale(LC_ALL_MASK, "C", nullptr);
    return strtod_l(token, nullptr, c_locale);
}
#endif

// Accepts what glibc's scanf collects for a floating conversion and returns
// the length collected, or 0 when scanf would report a matching failure.
std::size_t CollectFloat(std::string_view s, std::size_t i) {
    const std::size_t start = i;
    bool got_sign = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
        got_sign = true;
        ++i;
        if (i == s.size()) return 0;
    }
    auto match_word = [&](const char* word) {
        std::size_t n = std::strlen(word);
        if (s.size() - i < n) return false;
        for (std::size_t k = 0; k < n; ++k)
            if (Lower(s[i + k]) != word[k]) return false;
        return true;
    };
    if (i < s.size() && Lower(s[i]) == 'n') return match_word("nan") ? i + 3 - start : 0;
    if (i < s.size() && Lower(s[i]) == 'i') {
        if (!match_word("inf")) return 0;
        i += 3;
        if (i < s.size() && Lower(s[i]) == 'i') return match_word("inity") ? i + 5 - start : 0;
        return i - start;
    }
    bool hex = false, got_digit = false, got_dot = false, got_e = false;
    char exp_char = 'e';
    if (i < s.size() && s[i] == '0') {
        ++i;
        if (i < s.size() && Lower(s[i]) == 'x') {
            hex = true;
            exp_char = 'p';
            ++i;
        } else {
            got_digit = true;
        }
    }
    for (; i < s.size(); ++i) {
        const char c = s[i];
        if (IsDigit(c) || (!got_e && hex && IsHexDigit(c))) {
            got_digit = true;
        } else if (got_e && Lower(s[i - 1]) == exp_char && (c == '-' || c == '+')) {
        } else if (got_digit && !got_e && Lower(c) == exp_char) {
            got_e = got_dot = true;
        } else if (c == '.' && !got_dot) {
            got_dot = true;
        } else {
            break;
        }
    }
    const std::size_t length = i - start;
    if (length == std::size_t(got_sign) || (hex && length == 2 + std::size_t(got_sign))) return 0;
    return length;
}

} // namespace

int ScanGroupCode(std::string_view text) {
    const std::string_view s = UpToNul(text);
    std::size_t i = SkipSpace(s, 0);
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
    if (i == s.size() || !IsDigit(s[i])) return 0;
    // strtol into a 64-bit long saturates; the store into an int keeps the low 32 bits.
    std::uint64_t magnitude = 0;
    bool overflow = false;
    for (; i < s.size() && IsDigit(s[i]); ++i) {
        const unsigned digit = unsigned(s[i] - '0');
        if (magnitude > (std::uint64_t(INT64_MAX) + 1 - digit) / 10)
            overflow = true;
        else
            magnitude = magnitude * 10 + digit;
    }
    std::int64_t value;
    if (negative)
        value =
            (overflow || magnitude > std::uint64_t(INT64_MAX) + 1) ? INT64_MIN : std::int64_t(0 - magnitude);
    else
        value = (overflow || magnitude > std::uint64_t(INT64_MAX)) ? INT64_MAX : std::int64_t(magnitude);
    return static_cast<int>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)));
}

double ScanValue(std::string_view text) {
    const std::string_view s = UpToNul(text);
    const std::size_t start = SkipSpace(s, 0);
    const std::size_t length = CollectFloat(s, start);
    if (length == 0) return 0.0;
    const std::string_view token = s.substr(start, length);
    // strtod needs the token alone: on the whole text it would read further
    // than scanf does ("nan(1)", "infin"). Lines of a file fit the buffer;
    // only longer texts from other callers take the heap.
    char buffer[256];
    if (token.size() >= sizeof buffer) return CToDouble(std::string(token).c_str());
    std::memcpy(buffer, token.data(), token.size());
    buffer[token.size()] = '\0';
    return CToDouble(buffer);
}
