// The answer to --help and --version where a GUI program has no console.
#include "app/program_options.h"

#include <windows.h>

#include <cstdio>

namespace {

bool HasStandardOutput() {
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    return out && out != INVALID_HANDLE_VALUE && GetFileType(out) != FILE_TYPE_UNKNOWN;
}

} // namespace

int ShowProgramAnswer(const std::string& answer) {
    if (HasStandardOutput()) return PrintProgramAnswer(stdout, answer);
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        std::FILE* console = std::fopen("CONOUT$", "w");
        if (console) {
            const int status = PrintProgramAnswer(console, answer);
            std::fclose(console);
            return status;
        }
    }
    MessageBoxA(nullptr, answer.c_str(), "Kelvorn", MB_OK);
    return 0;
}
