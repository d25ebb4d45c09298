// The parse pass of a large file in memory, on two threads.
#pragma once

#include "geometry/xyz.h"
#include "meshfile/reader/face_passes.h"

// Fills `table` exactly as ParseFaceLines does. When the source is in
// memory, large enough (WorthReadingInTwo, read_in_two.h) and the count pass
// found a face line `middle` in its second half, a second thread reads from `middle` on
// while this one reads up to it; should either half not read as the single
// pass would (a file whose pairs fall out of step, or whose EOF marker comes
// first), the second half's faces are cleared and the pass is read again in
// one piece. Small files, files read in pieces and a thread that cannot be
// started get the single pass. False on a read error.
bool ParseFaceLinesInTwo(ByteSource& source, Face* table, long long count, FaceLine middle);
