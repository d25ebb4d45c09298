#include "same_file.h"

#if defined(_WIN32)
#include <windows.h>

namespace {

// The file's identity; false when it cannot be opened. Backup semantics
// open directories too, and sharing everything disturbs no other program.
bool FileIdentity(const char* path, BY_HANDLE_FILE_INFORMATION& info) {
    const HANDLE file = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool known = GetFileInformationByHandle(file, &info) != 0;
    CloseHandle(file);
    return known;
}

} // namespace

bool IsSameFile(const char* a, const char* b) {
    BY_HANDLE_FILE_INFORMATION first{}, second{};
    return FileIdentity(a, first) && FileIdentity(b, second) &&
           first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
}

#else
#include <sys/stat.h>

bool IsSameFile(const char* a, const char* b) {
    struct stat first {
    }, second{};
    return stat(a, &first) == 0 && stat(b, &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

#endif
