// The face table's memory: one block of count + 4 cleared faces.
//
// A large table is taken straight from the system where that is possible, in
// huge pages and with its pages mapped up front: a fresh block of a hundred
// megabytes otherwise costs the load a page fault every 4 KB, about as much
// time as reading the file. Elsewhere it is a plain calloc.
#pragma once

#include "geometry/xyz.h"

constexpr int kSpareFaces = 4; // room beyond the counted faces

// Room for count + kSpareFaces faces, every corner (0, 0, 0), or null when
// the count is beyond the table limit (an int count) or memory is short.
Face* AllocateFaceTable(long long count);

// Releases a block from AllocateFaceTable; null is allowed.
void FreeFaceTable(Face* table);

// Puts `edges` (a block from malloc, or null) in place of HiddenEdges and
// frees the block that was there.
void ReplaceHiddenEdges(unsigned char* edges);
