#include "meshfile/writer/shortest.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

constexpr double kThousand = 1000;
constexpr double kMaxExact = 1e15; // fewer digits than a double tells apart

constexpr char kDigitPairs[] = "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
                               "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
                               "8081828384858687888990919293949596979899";

// Writes `whole` in decimal, two digits at a time from its end, straight
// into place once its length is known.
char* WriteWhole(std::uint64_t whole, char* out) {
    int length = 1;
    for (std::uint64_t rest = whole; rest >= 10; rest /= 10) ++length;
    char* digit = out + length;
    for (; whole >= 100; whole /= 100) std::memcpy(digit -= 2, kDigitPairs + 2 * (whole % 100), 2);
    if (whole >= 10) std::memcpy(digit - 2, kDigitPairs + 2 * whole, 2);
    else digit[-1] = static_cast<char>('0' + whole);
    return out + length;
}

// Writes ".ddd" for 1..999 thousandths, without trailing zeros.
char* WriteThousandths(unsigned thousandths, char* out) {
    out[0] = '.';
    out[1] = static_cast<char>('0' + thousandths / 100);
    std::memcpy(out + 2, kDigitPairs + 2 * (thousandths % 100), 2);
    return out + (thousandths % 10 != 0 ? 4 : thousandths % 100 != 0 ? 3 : 2);
}

} // namespace

// A decimal m / 10^k of at most 15 digits is the shortest text of the double
// nearest to it: two different decimals of at most 15 digits lie more than a
// double's spacing apart, so no shorter one reads back as the same double.
// If any k <= 3 gives back v, so does k = 3, with m ending in zeros, which
// are dropped. Whether v is the double nearest to m / 1000 is what the
// division m / 1000.0 answers, rounded correctly as every IEEE division is:
// m and 1000 are exact, and below 1e12 no such decimal lies halfway between
// two doubles (one that is a multiple of 1/8 is itself a double there).
// Fixed is then never longer than scientific, but for whole numbers of six
// digits or more (100000 is "1e+05"): those, like every other value, go to
// to_chars.
char* FormatShortest(double v, char* out) {
    const double magnitude = std::fabs(v);
    if (magnitude < kMaxExact / kThousand && magnitude >= 0.5 / kThousand) {
        // Rounded by adding a half: a wrong m only fails the check below.
        const auto m = static_cast<std::uint64_t>(magnitude * kThousand + 0.5);
        const std::uint64_t whole = m / 1000;
        const auto thousandths = static_cast<unsigned>(m % 1000);
        if (static_cast<double>(m) / kThousand == magnitude && (thousandths != 0 || whole < 100000)) {
            *out = '-';
            out = WriteWhole(whole, out + std::signbit(v));
            return thousandths == 0 ? out : WriteThousandths(thousandths, out);
        }
    }
    return std::to_chars(out, out + kShortestMaxLength, v).ptr;
}
