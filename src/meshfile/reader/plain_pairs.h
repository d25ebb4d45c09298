// The parse pass's run over the pairs of short lines that make up nearly all
// of a mesh file, read in place from the bytes ahead of a line reader.
#pragma once

#include <cstddef>

class DxfLineReader;
struct FaceFill;

// Reads whole pairs into `fill` as the parse pass's general reading would,
// each ending at most at source offset `stop`, until a pair it leaves to that
// reading: one too near the end of the bytes in reach, or with a line of 64
// characters or more. False when it read the value line "EOF", which ends the pass.
bool ReadPlainPairs(DxfLineReader& lines, FaceFill& fill, std::size_t stop);
