// Subcommands of kelvorn-tool. Each takes the arguments after its name and
// returns the process exit status: 0 done, 1 a file could not be read or
// written, 2 a usage error.
#pragma once

int FacesCommand(int argc, char** argv);
int InfoCommand(int argc, char** argv);
int GenCommand(int argc, char** argv);
int RenderCommand(int argc, char** argv);
int SegmentsCommand(int argc, char** argv);

// Loads `path` with the viewer's reader; on failure prints one line naming the
// file and the reason on stderr and returns false.
bool LoadMeshOrReport(const char* path);
