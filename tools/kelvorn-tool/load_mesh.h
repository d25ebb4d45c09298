// Reading a command's input file into the viewer's face table.
#pragma once

#include "command_line.h"

// The --flatten option of the commands that read a file into the face table.
constexpr Option kFlattenOption = {"--flatten", nullptr,
                                   "read FILE as 'kelvorn-tool flatten' converts it:\n"
                                   "blocks, polyface meshes and MESH entities as faces,\n"
                                   "the edges the file hides not drawn"};

// Loads `path` with the viewer's reader, or flattened (flatten.h) when
// `flatten`; on failure prints one line naming the file and the reason on
// stderr and returns false.
bool LoadMeshOrReport(const char* path, bool flatten = false);
