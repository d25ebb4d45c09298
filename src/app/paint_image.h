// The seam where a finished picture goes to the screen: the shell draws each
// paint into an image the size of the client area, and the platform puts that
// image on the window in one call, so every build of the viewer shows the
// same pixels.
#pragma once

#include "view/draw_context.h"
#include "winsys.h"

// Puts `image` on the paint context `dc` that BeginPaint returned, its top-left
// pixel at the client area's; called before EndPaint. The Qt layer keeps the
// image as the window's and leaves `image` holding its previous pixels, so a
// caller paints every pixel of the next picture anew.
void ShowPaintImage(HDC dc, Image& image);
