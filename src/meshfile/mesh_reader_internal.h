// Seams into the reader for tests of what a user cannot arrange on demand: a
// file that changes between the two passes, and a table that cannot be had.
#pragma once

// Called, when set, after the count pass has closed the file and before the
// parse pass opens it again; a test may rewrite or remove the file here.
extern void (*g_betweenReaderPasses)(const char* path);

// The largest face count AllocateFaceTable tries to allocate; above it the
// allocation fails as if memory were short. Defaults to the largest count an
// int `nf` can hold with the spare faces.
extern long long g_faceTableLimit;
