// Reading a command's input file into the viewer's face table.
#pragma once

// Loads `path` with the viewer's reader; on failure prints one line naming the
// file and the reason on stderr and returns false.
bool LoadMeshOrReport(const char* path);
