// Writing a painted client area as a picture file.
#pragma once

#include "view/draw_context.h"

#include <string>
#include <vector>

// Writes `image` as a PNG file. On failure returns false with the reason in `error`.
bool WritePng(const Image& image, const char* path, std::string& error);

// Writes the segments as an SVG drawing of width × height: a white background
// and one black line of width 1 per segment, with the segments' own pixel
// coordinates (shifted half a pixel so that lines run through pixel centres).
// On failure returns false with the reason in `error`.
bool WriteSvg(int width, int height, const std::vector<Segment>& segments, const char* path, std::string& error);
