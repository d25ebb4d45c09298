// Rasterizing one-pixel lines into an Image.
//
// A line from (x0, y0) to (x1, y1) covers the pixels of a Bresenham line
// that starts at (x0, y0) and stops one step short of (x1, y1), as the
// Windows LineTo does: the start pixel is drawn, the end pixel never is, and
// a zero-length line draws nothing.
//
// The pixels: with n = max(|dx|, |dy|) steps along the major axis, step i
// (0 <= i < n) lies i pixels along the major axis and
// m(i) = floor((2·i·|minor delta| + n) / (2·n)) pixels along the minor axis.
// That is the ideal line rounded to the nearest pixel, a tie (the line passing
// exactly midway between two pixels) going to the pixel farther from the start.
// When |dx| == |dy| the line counts as x-major. GDI settles such ties by its
// own grid-intersection rule, so a few tie pixels may differ from a window's
// picture; every other pixel is the same.
//
// Clipping keeps exactly the pixels of the whole line that fall inside the
// image; the part inside is found arithmetically, so a line of any length,
// with coordinates anywhere in the int range, costs at most one step per
// image column or row and never overflows.
#pragma once

#include "view/draw_context.h"

#include <cstddef>
#include <cstdint>

// Any line; the general case, with clipping.
void RasterizeClippedLine(Image& image, int x0, int y0, int x1, int y1, std::uint32_t colour);

// The common case, inline for speed: a line with both ends inside the image,
// every step inside too.
inline void RasterizeInsideLine(std::uint32_t* pixels, int width, int x0, int y0, int x1, int y1,
                                std::uint32_t colour) {
    const int dx = x1 - x0, dy = y1 - y0, adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
    const std::ptrdiff_t stepX = dx < 0 ? -1 : 1, stepY = dy < 0 ? -std::ptrdiff_t{width} : width;
    const bool xMajor = adx >= ady;
    const std::int64_t n = xMajor ? adx : ady, twoN = 2 * n, twoDv = 2 * std::int64_t{xMajor ? ady : adx};
    const std::ptrdiff_t stepU = xMajor ? stepX : stepY, stepV = xMajor ? stepY : stepX;
    if (n == 0) return;
    std::ptrdiff_t at = std::ptrdiff_t{y0} * width + x0;
    std::int64_t r = n;
    pixels[at] = colour;
    for (std::int64_t count = n - 1; count > 0; --count) {
        r += twoDv;
        if (r >= twoN) {
            r -= twoN;
            at += stepV;
        }
        at += stepU;
        pixels[at] = colour;
    }
}

inline bool InsideImage(int width, int height, int x, int y) {
    return static_cast<unsigned>(x) < static_cast<unsigned>(width) &&
           static_cast<unsigned>(y) < static_cast<unsigned>(height);
}

// Draws the line into `image` (pixels, width and height passed apart so that
// a caller drawing many lines keeps them in registers).
inline void RasterizeLine(Image& image, std::uint32_t* pixels, int width, int height, int x0, int y0, int x1,
                          int y1, std::uint32_t colour) {
    if (InsideImage(width, height, x0, y0) && InsideImage(width, height, x1, y1))
        RasterizeInsideLine(pixels, width, x0, y0, x1, y1, colour);
    else
        RasterizeClippedLine(image, x0, y0, x1, y1, colour);
}

inline void RasterizeLine(Image& image, int x0, int y0, int x1, int y1, std::uint32_t colour) {
    RasterizeLine(image, image.pixels.data(), image.width, image.height, x0, y0, x1, y1, colour);
}
