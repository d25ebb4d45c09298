#include "support/run_program.h"

#include "support/temp_files.h"

#include <cstdlib>
#include <sys/wait.h>

ProgramRun RunProgram(const std::filesystem::path& dir, const std::string& program,
                      const std::string& arguments, const std::string& setup) {
    const auto out = dir / ".stdout", err = dir / ".stderr";
    const std::string command = "cd '" + dir.string() + "' && " + setup + " '" + program + "' " + arguments +
                                " >'" + out.string() + "' 2>'" + err.string() + "'";
    const int raw = std::system(command.c_str());
    ProgramRun result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = ReadWholeFile(out);
    result.err = ReadWholeFile(err);
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return result;
}
