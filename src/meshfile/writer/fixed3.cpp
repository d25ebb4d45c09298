#include "meshfile/writer/fixed3.h"

#include <charconv>
#include <cstdint>
#include <cstring>

namespace {

constexpr int kMantissaBits = 52;
constexpr int kExponentBias = 1075; // a double is m·2^(e − 1075) with m its 53-bit significand
constexpr std::uint64_t kThousand = 1000;

constexpr char kDigitPairs[] = "0001020304050607080910111213141516171819"
                               "2021222324252627282930313233343536373839"
                               "4041424344454647484950515253545556575859"
                               "6061626364656667686970717273747576777879"
                               "8081828384858687888990919293949596979899";

int DigitCount(std::uint64_t n) {
    int count = 1;
    for (; n >= 10000; n /= 10000) count += 4;
    if (n >= 1000) return count + 3;
    if (n >= 100) return count + 2;
    return n >= 10 ? count + 1 : count;
}

// Decimal digits of n, most significant first.
char* WriteUnsigned(std::uint64_t n, char* out) {
    char* end = out + DigitCount(n);
    char* p = end;
    for (; n >= 100; n /= 100) {
        p -= 2;
        std::memcpy(p, kDigitPairs + 2 * (n % 100), 2);
    }
    if (n >= 10) {
        p -= 2;
        std::memcpy(p, kDigitPairs + 2 * n, 2);
    } else {
        *--p = static_cast<char>('0' + n);
    }
    return end;
}

// printf pads these to the field width of five.
char* WriteNotFinite(bool negative, bool nan, char* out) {
    const char* text = nan ? (negative ? " -nan" : "  nan") : (negative ? " -inf" : "  inf");
    std::memcpy(out, text, 5);
    return out + 5;
}

// m·2^-shift·1000 rounded to the nearest integer, halfway cases to even.
// m < 2^53, so m·1000 < 2^63 and the product is exact in 64 bits.
std::uint64_t ThousandthsRounded(std::uint64_t m, int shift) {
    const std::uint64_t scaled = m * kThousand;
    if (shift >= 64) return 0; // below half of one in 2^63: rounds down
    const std::uint64_t whole = scaled >> shift;
    const std::uint64_t rest = scaled - (whole << shift);
    const std::uint64_t half = std::uint64_t{1} << (shift - 1);
    return (rest > half || (rest == half && (whole & 1))) ? whole + 1 : whole;
}

} // namespace

char* FormatFixed3(double v, char* out) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    const bool negative = (bits >> 63) != 0;
    const int biased = static_cast<int>((bits >> kMantissaBits) & 0x7ff);
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << kMantissaBits) - 1);
    if (biased == 0x7ff) return WriteNotFinite(negative, fraction != 0, out);

    const std::uint64_t m = biased == 0 ? fraction : fraction | (std::uint64_t{1} << kMantissaBits);
    const int exponent = (biased == 0 ? 1 : biased) - kExponentBias;
    if (exponent > 11) // an integer of 65 bits or more: rare enough for the library
        return std::to_chars(out, out + kFixed3MaxLength, v, std::chars_format::fixed, 3).ptr;

    if (negative) *out++ = '-';
    if (exponent >= 0) {
        out = WriteUnsigned(m << exponent, out);
        std::memcpy(out, ".000", 4);
        return out + 4;
    }
    const std::uint64_t thousandths = ThousandthsRounded(m, -exponent);
    out = WriteUnsigned(thousandths / kThousand, out);
    const auto decimals = static_cast<unsigned>(thousandths % kThousand);
    out[0] = '.';
    out[1] = static_cast<char>('0' + decimals / 100);
    std::memcpy(out + 2, kDigitPairs + 2 * (decimals % 100), 2);
    return out + 4;
}
