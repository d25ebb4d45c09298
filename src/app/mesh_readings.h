// The two readings of a file that the viewer can show.
//
// The faces reading takes the file's 3DFACE entities as they stand, blocks
// not expanded: what `kelvorn FILE`, the open dialog and F12 read by default.
// The drawing reading takes what a CAD program shows of the file's model
// space: 3DFACEs, polyface and polygon meshes, MESH entities and the blocks
// that INSERTs place, with the edges the file hides left out (see
// meshfile/flatten/flatten.h). The reading in force stays for every later
// load (F12, the dialog, a dropped file) until the user switches it.
#pragma once

#include "meshfile/flatten/flatten.h"

#include <functional>
#include <string>

enum class Reading { Faces, Drawing };

extern Reading readingInForce;

// What one read of a file into the face table came to.
struct ReadOutcome {
    std::string failure;  // why the file could not be read; empty when it was
    FlattenReport drawing; // the drawing reading's report
    bool ok() const { return failure.empty(); }
};

// Reads `path` into the face table (F, nf) in `reading`, calling `announce`
// once the read has begun. On failure the table stays as it was (the faces
// reading has set nf to 0 meanwhile and puts it back).
ReadOutcome ReadInReading(const char* path, Reading reading, const std::function<void()>& announce);
