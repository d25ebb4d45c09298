// Subcommands of kelvorn-tool. Each takes the arguments after its name and
// returns the process exit status: 0 done, 1 a file could not be read or
// written, 2 a usage error.
#pragma once

#include <initializer_list>

int FacesCommand(int argc, char** argv);
int InfoCommand(int argc, char** argv);
int GenCommand(int argc, char** argv);
int RenderCommand(int argc, char** argv);
int SegmentsCommand(int argc, char** argv);

// True when the arguments ask for a command's help ("--help" or "-h").
bool AsksForHelp(int argc, char** argv);
// Prints a command's help on stdout: its usage line, then each paragraph
// after a blank line. Returns the exit status: 0, or 1 if stdout failed.
int PrintCommandHelp(const char* usage, std::initializer_list<const char*> paragraphs);

// Loads `path` with the viewer's reader; on failure prints one line naming the
// file and the reason on stderr and returns false.
bool LoadMeshOrReport(const char* path);
