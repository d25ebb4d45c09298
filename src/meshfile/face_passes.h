// The reader's two passes over a DXF file, each from the file's start.
#pragma once

#include "geometry/xyz.h"

class FileSource;

// Count pass: the number of lines (255-character pieces of longer lines
// included) that begin with "3DFACE". False on a read error.
bool CountFaceLines(FileSource& source, long long& count);

// Parse pass: pairs of code and value lines up to the value line "EOF". Each
// value line beginning with "3DFACE" starts the next face; the corner codes
// that follow set its coordinates until a pair with code 0 ends it. Faces
// from `count` on (a file that grew since it was counted) are read over and
// never stored, so nothing beyond table[count - 1] is written. False on a
// read error.
bool ParseFaceLines(FileSource& source, Face* table, long long count);
