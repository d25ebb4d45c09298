// The viewer's command line, read before any window opens.
//
// An argument that starts with '-' and is longer than "-" is an option, up to
// "--", after which every argument is a file name; every other argument ("-"
// included) is a file name, and the first of them is the file read at the
// start. The options the viewer knows are one table in program_options.cpp:
// "--help" and "-h" (the usage, on standard output), "--version", and
// "--flatten" (the file's drawing, as CAD programs show it). Help wins
// over everything, then the version; otherwise an option that is not in the
// table is refused: one line naming it and the usage on standard error, exit
// status 2, no window. To add a flag: one line in that table, then read it
// with ProgramArguments::has.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

struct ProgramArguments {
    std::string answer;                  // the text asked for: the usage or the version; or the refusal
    bool refused = false;                // the answer is a usage error, for standard error and exit status 2
    const char* file = nullptr;          // the first file name, or null
    std::vector<std::string_view> flags; // the table's flags that were given

    bool has(std::string_view flag) const;
};

// Reads argv[1] to argv[argc - 1].
ProgramArguments ReadProgramArguments(int argc, char** argv);

// Writes `answer` to `out` and returns the exit status: 0, or 1 when it could
// not be written.
int PrintProgramAnswer(std::FILE* out, const std::string& answer);

// Prints the answer of `arguments` (standard output, or standard error for a
// refusal) and returns the exit status: 2 for a refusal, else that of
// PrintProgramAnswer.
int AnswerProgramArguments(const ProgramArguments& arguments);

#ifdef _WIN32
// A program of the Windows GUI subsystem has no console of its own: the answer
// goes to the standard output (or error, for a refusal) the caller gave it (a
// pipe or a file), else to the console it was started from, else into a
// message box. Returns the exit status.
int ShowProgramAnswer(const ProgramArguments& arguments);
#endif
