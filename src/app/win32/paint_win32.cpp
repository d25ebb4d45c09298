// Painting on Win32: the paint's image is copied to its device context in one call.
#include "paint_image.h"

void ShowPaintImage(HDC dc, Image& image) {
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
