// The reader's two passes over a DXF file, each from the file's start.
#pragma once

#include "geometry/xyz.h"

#include <cstddef>

class ByteSource;

// A line that begins with "3DFACE", where the parse pass may be split in two.
struct FaceLine {
    std::size_t offset = 0;      // its first byte in the source
    long long faces_before = -1; // the face lines counted before it; -1: no such line
    bool found() const { return faces_before >= 0; }
};

// Count pass: the number of lines (255-character pieces of longer lines
// included) that begin with "3DFACE". For a source in memory, `middle`
// receives the first such line that begins in the second half of the bytes,
// if any; when WorthReadingInTwo (read_in_two.h), the two halves are counted on
// two threads. False on a read error (or a fault of the mapped bytes).
bool CountFaceLines(ByteSource& source, long long& count, FaceLine* middle = nullptr);

// Parse pass: pairs of code and value lines up to the value line "EOF". Each
// value line beginning with "3DFACE" starts the next face; the corner codes
// that follow set its coordinates until a pair with code 0 ends it. Faces
// from `count` on (a file that grew since it was counted) are read over and
// never stored, so nothing beyond table[count - 1] is written. False on a
// read error.
bool ParseFaceLines(ByteSource& source, Face* table, long long count);

// The two halves of a parse pass split at the face line `middle` of a source
// in memory, each writing only its own faces, so that they can run at once:
// ParseUpToFaceLine fills faces [0, middle.faces_before) from the start and
// ParseFromFaceLine the rest from `middle` on. Each returns whether its part
// of the bytes reads as it would in one pass: the first that one pass would
// reach `middle` as a value line with exactly middle.faces_before faces
// started, the second that the value line at `middle` starts a face. When
// both do, the table holds exactly what ParseFaceLines would put there.
bool ParseUpToFaceLine(ByteSource& source, Face* table, FaceLine middle);
bool ParseFromFaceLine(ByteSource& source, Face* table, long long count, FaceLine middle);
