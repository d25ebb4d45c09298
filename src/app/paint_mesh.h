// Painting the main window.
#pragma once

#include "view/draw_context.h"
#include "winsys.h"

// Handles one paint of `window`: the client area, erased white, gets the face
// table drawn as a wireframe fitted to it.
void PaintMesh(HWND window);

// The picture of one paint of a client area of `client`'s size: white, with
// the face table drawn on it fitted to the area. The image is the shell's own
// and is reused, so the reference holds until the next call.
Image& PaintClientImage(const RECT& client);
