// The seam where a finished picture goes to the screen: the shell draws each
// paint into an image the size of the client area, and the platform puts that
// image on the window in one call, so every build of the viewer shows the
// same pixels.
#pragma once

#include "view/draw_context.h"
#include "winsys.h"

// Puts `image` on the paint context `dc` that BeginPaint returned, its top-left
// pixel at the client area's; called before EndPaint.
void ShowPaintImage(HDC dc, const Image& image);
