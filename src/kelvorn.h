// Declarations shared by every part of Kelvorn: the point and face types, the
// process-wide face table and the path buffers.
#pragma once

#include "geometry/xyz.h"

// The face table: a heap block of (count + 4) faces, replaced wholesale by a
// load that finds faces. Null until then. `nf` is the number of faces that are
// drawn and turned; 0 while a load runs and after a file with no face.
extern Face* F;
extern int nf;

// Path of the current mesh file, read again by every load (F12 included).
constexpr int PathBufferSize = 256;
extern char file[PathBufferSize];

// File title (name without directory) last chosen in the file dialog.
extern char tit[PathBufferSize];
