#include "meshfile/shortest.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace {

constexpr double kThousand = 1000;
__extension__ typedef __int128 Int128; // GCC and Clang, MinGW included
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

// True when `magnitude` (normal, below 2^52) is the double nearest to the
// decimal m / 1000, decided exactly in integers instead of by a division:
// with magnitude = M * 2^e, the decimal must lie within half a spacing of it,
// |m - 1000 M 2^e| < 500 * 2^e, that is |m 2^-e - 1000 M| < 500 (250 below a
// power of two, where the spacing underneath halves). A tie is left to
// to_chars.
bool IsNearestToThousandths(double magnitude, std::uint64_t m) {
    const auto bits = std::bit_cast<std::uint64_t>(magnitude);
    const int shift = 1075 - static_cast<int>(bits >> 52); // -e
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
    const std::uint64_t mantissa = fraction | std::uint64_t{1} << 52;
    if (shift <= 0 || shift > 74) return false; // beyond the range the caller gives
    const Int128 distance = (static_cast<Int128>(m) << shift) - static_cast<Int128>(1000) * mantissa;
    const Int128 limit = distance < 0 && fraction == 0 ? 250 : 500;
    return distance < limit && -distance < limit;
}

} // namespace

// A decimal m / 10^k of at most 15 digits is the shortest text of the double
// nearest to it: two different decimals of at most 15 digits lie more than a
// double's spacing apart, so no shorter one reads back as the same double.
// If any k <= 3 gives back v, so does k = 3, with m ending in zeros, which
// are dropped. Fixed is then never longer than scientific, but for whole
// numbers of five digits or more (100000 is "1e+05"): those, like every
// other value, go to to_chars.
char* FormatShortest(double v, char* out) {
    const double magnitude = std::fabs(v);
    if (magnitude < kMaxExact / kThousand && magnitude >= 0.5 / kThousand) {
        // Rounded by adding a half: a wrong m only fails the check below.
        auto m = static_cast<std::uint64_t>(magnitude * kThousand + 0.5);
        if (IsNearestToThousandths(magnitude, m)) {
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
