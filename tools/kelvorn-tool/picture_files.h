// A painted client area as the bytes of a picture file, in the format that
// the file's name asks for.
#pragma once

#include "view/draw_context.h"

#include <string>
#include <string_view>
#include <vector>

enum class PictureFormat { Unknown, Png, Jpeg, Bmp, Ppm, Svg };

// The extensions render knows, for messages: ".png, .jpg, .jpeg, .bmp, .ppm or .svg".
extern const char* const kPictureExtensions;

// The format that the extension of `path` names, in any letter case
// ("X.JPG" is JPEG); Unknown for any other extension or none.
PictureFormat PictureFormatOf(std::string_view path);

// Encodes `image` as a PNG, JPEG, BMP or PPM file's bytes (`format` is one of
// them). On failure returns false with the reason in `error`.
bool EncodeRasterPicture(const Image& image, PictureFormat format, std::string& bytes, std::string& error);

// The segments as an SVG drawing of width × height: a white background and
// one black line of width 1 per segment, with the segments' own pixel
// coordinates (shifted half a pixel so that lines run through pixel centres).
std::string SvgText(int width, int height, const std::vector<Segment>& segments);
