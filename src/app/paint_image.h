// The picture of one paint: the shell draws into an image the size of the
// client area and the platform puts that image on the screen, so every build
// of the viewer shows the same pixels.
#pragma once

#include "view/draw_context.h"
#include "winsys.h"

// The drawing context of the paint whose context BeginPaint returned as `dc`:
// it draws into an image of the client size `client`, erased white as the
// paint asks.
DrawContext& PaintImage(HDC dc, const RECT& client);

// Puts the image drawn for the paint on `dc` on the screen; called before EndPaint.
void ShowPaintImage(HDC dc);
