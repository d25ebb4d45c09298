#include "view/line_raster.h"

#include <algorithm>
#include <cstddef>

namespace {

// A coordinate range times a delta reaches 2^65, beyond 64 bits.
__extension__ typedef __int128 Wide;

// Smallest integer not below a / b, for b > 0.
Wide CeilDiv(Wide a, Wide b) {
    const Wide q = a / b;
    return q * b < a ? q + 1 : q;
}

// The line along its major axis u and minor axis v. Step i (0 <= i < n) is at
// u = u0 + su·i, v = v0 + sv·m(i), m(i) = floor((2·i·dv + n) / (2·n)).
struct MajorMinorLine {
    std::int64_t u0, v0;
    std::int64_t n, dv; // 0 <= dv <= n, n > 0
    int su, sv;         // +1 or -1
};

struct StepRange {
    std::int64_t first, last; // empty when first > last
};

// The steps whose u lies in [0, extent).
StepRange MajorSteps(const MajorMinorLine& line, std::int64_t extent) {
    if (line.su > 0) return {std::max<std::int64_t>(0, -line.u0), std::min(line.n - 1, extent - 1 - line.u0)};
    return {std::max<std::int64_t>(0, line.u0 - (extent - 1)), std::min(line.n - 1, line.u0)};
}

// The steps whose v lies in [0, extent): m(i) within [low, high], m rising with i.
StepRange MinorSteps(const MajorMinorLine& line, std::int64_t extent) {
    const std::int64_t low = line.sv > 0 ? -line.v0 : line.v0 - (extent - 1);
    const std::int64_t high = line.sv > 0 ? extent - 1 - line.v0 : line.v0;
    const Wide twoN = 2 * static_cast<Wide>(line.n), twoDv = 2 * static_cast<Wide>(line.dv);
    StepRange steps{0, line.n - 1};
    if (high < 0 || (low > 0 && line.dv == 0)) return {1, 0};
    // m(i) >= low  <=>  2·i·dv + n >= 2·n·low;   m(i) <= high  <=>  2·i·dv + n < 2·n·(high + 1)
    if (low > 0) steps.first = static_cast<std::int64_t>(CeilDiv(twoN * low - line.n, twoDv));
    if (high < line.dv) steps.last = static_cast<std::int64_t>(CeilDiv(twoN * (high + 1) - line.n, twoDv) - 1);
    return steps;
}

LineWalk StepsWalk(int width, const MajorMinorLine& line, bool xMajor, StepRange steps) {
    const std::int64_t twoN = 2 * line.n, twoDv = 2 * line.dv;
    std::int64_t m = 0, r = line.n;
    if (steps.first > 0) {
        const Wide q = 2 * static_cast<Wide>(steps.first) * line.dv + line.n;
        m = static_cast<std::int64_t>(q / twoN);
        r = static_cast<std::int64_t>(q % twoN);
    }
    const std::int64_t u = line.u0 + line.su * steps.first, v = line.v0 + line.sv * m;
    const std::int64_t x = xMajor ? u : v, y = xMajor ? v : u;
    const std::ptrdiff_t stepU = xMajor ? line.su : line.su * std::ptrdiff_t{width};
    const std::ptrdiff_t stepV = xMajor ? line.sv * std::ptrdiff_t{width} : line.sv;
    const std::int64_t count = steps.last - steps.first + 1;
    return {static_cast<std::ptrdiff_t>(y * width + x), stepU, stepV, count, r, twoN, twoDv};
}

} // namespace

LineWalk ClippedLineWalk(int width, int height, int x0, int y0, int x1, int y1) {
    if (width <= 0 || height <= 0) return {};
    const std::int64_t dx = std::int64_t{x1} - x0, dy = std::int64_t{y1} - y0;
    const std::int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
    if (adx == 0 && ady == 0) return {};
    const bool xMajor = adx >= ady;
    const int sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
    const MajorMinorLine line = xMajor ? MajorMinorLine{x0, y0, adx, ady, sx, sy}
                                       : MajorMinorLine{y0, x0, ady, adx, sy, sx};
    const StepRange major = MajorSteps(line, xMajor ? width : height);
    if (major.first > major.last) return {};
    const StepRange minor = MinorSteps(line, xMajor ? height : width);
    const StepRange steps{std::max(major.first, minor.first), std::min(major.last, minor.last)};
    if (steps.first > steps.last) return {};
    return StepsWalk(width, line, xMajor, steps);
}
