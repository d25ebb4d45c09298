// Painting the main window.
#pragma once

#include "winsys.h"

// Handles one paint of `window`: the client area, erased white, gets the face
// table drawn as a wireframe fitted to it.
void PaintMesh(HWND window);
