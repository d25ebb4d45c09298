// Seams into the reader for tests of what a user cannot arrange on demand: a
// file that changes between the two passes, a table that cannot be had, a
// file that cannot be mapped, and a small file read in two halves.
#pragma once

#include <cstddef>

// Called, when set, after the count pass has closed the file and before the
// parse pass opens it again; a test may rewrite or remove the file here.
extern void (*g_betweenReaderPasses)(const char* path);

// The largest face count AllocateFaceTable tries to allocate; above it the
// allocation fails as if memory were short. Defaults to the largest count an
// int `nf` can hold with the spare faces.
extern long long g_faceTableLimit;

// The smallest file mapped into memory where it can be (1 MB by default);
// smaller files are read in pieces, as are all files where mapping is
// impossible. 0 maps every file that can be; SIZE_MAX none.
extern std::size_t g_mapFilesFrom;

// The fewest bytes in memory whose passes are split between two threads.
extern std::size_t g_splitPassesMinBytes;
