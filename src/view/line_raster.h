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

#include <cstdint>

void RasterizeLine(Image& image, int x0, int y0, int x1, int y1, std::uint32_t colour);
