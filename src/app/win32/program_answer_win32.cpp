// The answer to --help and --version, or the refusal of an unknown option,
// where a GUI program has no console.
#include "app/program_options.h"

#include <windows.h>

#include <cstdio>

namespace {

bool HasStandardHandle(DWORD which) {
    const HANDLE handle = GetStdHandle(which);
    return handle && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

int WithRefusalStatus(const ProgramArguments& arguments, int status) {
    return arguments.refused ? 2 : status;
}

} // namespace

int ShowProgramAnswer(const ProgramArguments& arguments) {
    if (HasStandardHandle(arguments.refused ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE))
        return AnswerProgramArguments(arguments);
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        std::FILE* console = std::fopen("CONOUT$", "w");
        if (console) {
            const int status = PrintProgramAnswer(console, arguments.answer);
            std::fclose(console);
            return WithRefusalStatus(arguments, status);
        }
    }
    MessageBoxA(nullptr, arguments.answer.c_str(), "Kelvorn",
                arguments.refused ? MB_OK | MB_ICONERROR : MB_OK);
    return WithRefusalStatus(arguments, 0);
}
