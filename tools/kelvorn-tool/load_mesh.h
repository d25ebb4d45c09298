// Reading a command's input file into the viewer's face table.
#pragma once

#include "command_line.h"

#include "meshfile/flatten/flatten.h"

// The --flatten option of the commands that read a file into the face table,
// and --strict, which goes with it.
constexpr Option kFlattenOption = {"--flatten", nullptr,
                                   "read FILE as 'kelvorn-tool flatten' converts it:\n"
                                   "blocks, polyface meshes and MESH entities as faces,\n"
                                   "the edges the file hides not drawn"};
constexpr Option kStrictOption = {"--strict", nullptr,
                                  "with --flatten: refuse FILE at the first thing the\n"
                                  "converter cannot draw, instead of leaving it out"};

// How a command reads its file, and what the converter said of it.
struct MeshLoad {
    bool flatten = false;
    bool strict = false;
    FlattenReport report; // of a flattened load
};

// The reading that --flatten and --strict ask for.
MeshLoad MeshLoadOf(const Arguments& arguments);

// Loads `path` with the viewer's reader, or flattened (flatten.h) when
// `load.flatten`. On failure prints one line naming the file and the reason
// on stderr and returns false; after a flattened load, prints what was left
// out (PrintLeftOut).
bool LoadMeshOrReport(const char* path, MeshLoad& load);

// After a load that gave no face: one line on stderr, "kelvorn-tool: " and
// why there is nothing to draw, as "info" says it.
void ReportNothingToDraw(const char* path, const MeshLoad& load);

// What the converter left out of `path`, on stderr, each line after `prefix`:
// the first few items in full, then one line a kind for the rest.
void PrintLeftOut(const char* prefix, const char* path, const FlattenReport& report);
