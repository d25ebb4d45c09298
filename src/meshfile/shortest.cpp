#include "meshfile/shortest.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace {

constexpr double kThousand = 1000;
constexpr double kMaxExact = 1e15; // fewer digits than a double tells apart

// Writes the decimal m / 10^decimals (m > 0, no trailing zero when decimals > 0).
char* WriteDecimal(std::uint64_t m, int decimals, char* out) {
    char digits[24];
    int n = 0;
    for (; m != 0 || n <= decimals; m /= 10) digits[n++] = static_cast<char>('0' + m % 10);
    while (n > 0) {
        *out++ = digits[--n];
        if (n == decimals && decimals > 0) *out++ = '.';
    }
    return out;
}

} // namespace

// A decimal m / 10^k of at most 15 digits is the shortest text of the double
// nearest to it: two different decimals of at most 15 digits lie more than a
// double's spacing apart, so no shorter one reads back as the same double.
// If any k <= 3 gives back v exactly (the division is correctly rounded), so
// does k = 3, with m ending in zeros, which are dropped. Fixed is then never
// longer than scientific, but for whole numbers of five digits or more
// (100000 is "1e+05"): those, like every other value, go to to_chars.
char* FormatShortest(double v, char* out) {
    const double magnitude = std::fabs(v);
    if (magnitude < kMaxExact / kThousand && magnitude != 0) {
        // Rounded by adding a half: a wrong m only fails the check below.
        auto m = static_cast<std::uint64_t>(magnitude * kThousand + 0.5);
        if (static_cast<double>(m) / kThousand == magnitude) {
            int decimals = 3;
            for (; decimals > 0 && m % 10 == 0; --decimals) m /= 10;
            if (decimals > 0 || m < 10000) {
                if (std::signbit(v)) *out++ = '-';
                return WriteDecimal(m, decimals, out);
            }
        }
    }
    return std::to_chars(out, out + kShortestMaxLength, v).ptr;
}
