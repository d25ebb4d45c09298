// The viewer's own options: "--version", and "--help" or "-h" as the only
// argument, answered before any window opens; "--flatten", which shows the
// file's drawing as CAD programs show it. Every other argument is a file
// name.
#pragma once

#include <cstdio>
#include <string>

// The text that the arguments ask for ("kelvorn 0.1.0\n" or the usage), or
// empty when they name a file or nothing.
std::string ProgramOptionAnswer(int argc, char** argv);

// The viewer's command line once read.
struct ViewerCommandLine {
    const char* file = nullptr; // the first file named; null when none is
    bool drawing = false;       // --flatten: the file is read in the drawing reading
};
ViewerCommandLine ReadViewerCommandLine(int argc, char** argv);

// Writes `answer` to `out` and returns the exit status: 0, or 1 when it could
// not be written.
int PrintProgramAnswer(std::FILE* out, const std::string& answer);

#ifdef _WIN32
// A program of the Windows GUI subsystem has no console of its own: the answer
// goes to standard output when the caller gave it one (a pipe or a file),
// else to the console it was started from, else into a message box. Returns
// the exit status.
int ShowProgramAnswer(const std::string& answer);
#endif
