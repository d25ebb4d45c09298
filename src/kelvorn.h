// Declarations shared by every part of Kelvorn: the point and face types, the
// process-wide face table and the path buffers.
#pragma once

#include "geometry/xyz.h"

// The face table: a heap block of (count + 4) faces, replaced wholesale by a
// load that finds faces. Null until then. `nf` is the number of faces that are
// drawn and turned; 0 while a load runs and after a file with no face.
extern Face* F;
extern int nf;

// The edges of each face of F that are not drawn, one byte per face beside
// the table (whose layout stays four corners a face): bit 1 the edge A→B, 2
// B→C, 4 C→D, 8 D→A, as DXF 3DFACE group 70 has them. Null when every edge
// is drawn: the viewer's own reading of 3DFACEs never sets it, the flattened
// reading of a CAD drawing sets it only where a face hides an edge. A
// heap block (malloc) with room for at least nf bytes, owned and replaced or
// cleared together with F by every load; turns leave it alone.
extern unsigned char* HiddenEdges;

// Path of the current mesh file, read again by every load (F12 included).
constexpr int PathBufferSize = 256;
extern char file[PathBufferSize];

// File title (name without directory) last chosen in the file dialog.
extern char tit[PathBufferSize];
