// Running one of the project's programs the way a user runs it, for tests.
#pragma once

#include <filesystem>
#include <string>

struct ProgramRun {
    int status = -1; // the exit status; -1 when the program did not exit normally
    std::string out, err;
};

// Runs "PROGRAM ARGUMENTS" through the shell with `dir` as the working
// directory and returns its exit status, stdout and stderr. `setup` runs
// first in the same shell (limits, traps, environment changes).
ProgramRun RunProgram(const std::filesystem::path& dir, const std::string& program,
                      const std::string& arguments, const std::string& setup = "");
