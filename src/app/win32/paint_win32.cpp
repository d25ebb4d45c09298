// Painting on Win32: the view draws into an Image the size of the client
// area, which is then copied to the paint's device context in one call.
#include "paint_image.h"

namespace {

Image image;
DrawContext context{&image};

} // namespace

DrawContext& PaintImage(HDC, const RECT& client) {
    image.reset(client.right, client.bottom, Image::kWhite);
    context = DrawContext(&image); // pen and position start anew, as with a paint DC
    return context;
}

void ShowPaintImage(HDC dc) {
    if (image.width == 0 || image.height == 0) return;
    // Image pixels are 0xAARRGGBB words, rows from the top: a top-down 32-bit DIB
    // (blue, green, red, unused bytes in memory).
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, 0, 0, image.width, image.height, 0, 0, 0, image.height, image.pixels.data(), &info,
                      DIB_RGB_COLORS);
}
