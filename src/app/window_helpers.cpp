#include "window_helpers.h"

#include "kelvorn.h"

#include <cstring>
#include <filesystem>
#include <string>

char tit[PathBufferSize] = "";
OPENFILENAMEA ofn;

namespace {

std::string fileFolder; // absolute; empty: the current directory

// Absolute, so that a later change of the current directory cannot move it.
std::string FolderNow() {
    std::error_code ignored;
    return fileFolder.empty() ? std::filesystem::current_path(ignored).string() : fileFolder;
}

} // namespace

void RememberFileFolder(const char* path) {
    std::error_code failed;
    const std::filesystem::path absolute = std::filesystem::absolute(path, failed);
    if (!failed) fileFolder = absolute.parent_path().string();
}

void ForgetFileFolder() { fileFolder.clear(); }

menudisp::menudisp(HWND wn, const char* s) : w(wn), m(GetMenu(wn)), n(CreateMenu()) {
    AppendMenu(n, MF_STRING, 0, s);
    SetMenu(w, n);
    DrawMenuBar(w);
}

menudisp::~menudisp() {
    SetMenu(w, m);
    DestroyMenu(n);
    DrawMenuBar(w);
}

void SetTitle(HWND wn, const char* S) { SendMessage(wn, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(S)); }

void LC(char* s) {
    for (; *s; ++s)
        if (*s >= 'A' && *s <= 'Z') *s = static_cast<char>(*s + 32);
}

int GetFileName(HWND wn, char* file, const char* t, const char* f, int write) {
    const std::string folder = FolderNow();
    std::strcpy(file, tit);
    ofn = OPENFILENAMEA{};
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ofn.hwndOwner = wn;
    ofn.lpstrFilter = f;
    ofn.lpstrFile = file;
    ofn.nMaxFile = 128;
    ofn.lpstrFileTitle = tit;
    ofn.nMaxFileTitle = PathBufferSize;
    ofn.lpstrTitle = t;
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.Flags = write ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST;
    const BOOL chosen = write ? GetSaveFileName(&ofn) : GetOpenFileName(&ofn);
    ofn.lpstrInitialDir = nullptr; // `folder` ends here
    if (chosen) RememberFileFolder(file); // even when it then cannot be read
#ifdef _WIN32
    LC(file); // the Windows file system ignores case
#endif
    LC(tit);
    return chosen ? 1 : 0;
}
