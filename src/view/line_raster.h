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
//
// A line is first turned into a walk (where its first pixel inside lies and
// how the following ones step), then walked onto a canvas: the pixels of an
// Image, or one byte per pixel of a mask the same size, which several
// threads can fill apart and which is then put on the image at once.
#pragma once

#include "view/draw_context.h"

#include <cstddef>
#include <cstdint>

// The pixels of a line as steps from its first pixel inside the canvas: the
// index of that pixel (y · width + x), the index change of a step along the
// major axis and of one along the minor axis, the number of pixels, and the
// Bresenham remainder r, rising by twoDv a step and taking a minor step each
// time it reaches twoN.
struct LineWalk {
    std::ptrdiff_t at = 0, stepU = 0, stepV = 0;
    std::int64_t count = 0, r = 0, twoN = 0, twoDv = 0;
};

// Any line on a width × height canvas; the general case, with clipping.
LineWalk ClippedLineWalk(int width, int height, int x0, int y0, int x1, int y1);

// The common case, inline for speed: a line with both ends inside the canvas,
// every step inside too.
inline LineWalk InsideLineWalk(int width, int x0, int y0, int x1, int y1) {
    const int dx = x1 - x0, dy = y1 - y0, adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
    const std::ptrdiff_t stepX = dx < 0 ? -1 : 1, stepY = dy < 0 ? -std::ptrdiff_t{width} : width;
    const bool xMajor = adx >= ady;
    const std::int64_t n = xMajor ? adx : ady;
    return {std::ptrdiff_t{y0} * width + x0, xMajor ? stepX : stepY, xMajor ? stepY : stepX,
            n,                               n, 2 * n, 2 * std::int64_t{xMajor ? ady : adx}};
}

inline bool InsideImage(int width, int height, int x, int y) {
    return static_cast<unsigned>(x) < static_cast<unsigned>(width) &&
           static_cast<unsigned>(y) < static_cast<unsigned>(height);
}

// The walk of any line, inside or not.
inline LineWalk LineWalkOn(int width, int height, int x0, int y0, int x1, int y1) {
    if (InsideImage(width, height, x0, y0) && InsideImage(width, height, x1, y1))
        return InsideLineWalk(width, x0, y0, x1, y1);
    return ClippedLineWalk(width, height, x0, y0, x1, y1);
}

// The pixels of an image, all set in one colour.
struct PixelCanvas {
    std::uint32_t* pixels;
    std::uint32_t colour;
    void set(std::ptrdiff_t at) const { pixels[at] = colour; }
};

// One byte per pixel, set to 1.
struct ByteCanvas {
    std::uint8_t* bytes;
    void set(std::ptrdiff_t at) const { bytes[at] = 1; }
};

template <class Canvas> inline void Walk(LineWalk walk, const Canvas& canvas) {
    for (; walk.count > 0; --walk.count) {
        canvas.set(walk.at);
        walk.r += walk.twoDv;
        if (walk.r >= walk.twoN) {
            walk.r -= walk.twoN;
            walk.at += walk.stepV;
        }
        walk.at += walk.stepU;
    }
}

// Draws the line into `image`.
inline void RasterizeLine(Image& image, int x0, int y0, int x1, int y1, std::uint32_t colour) {
    Walk(LineWalkOn(image.width, image.height, x0, y0, x1, y1), PixelCanvas{image.pixels.data(), colour});
}
