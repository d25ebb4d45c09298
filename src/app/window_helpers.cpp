#include "window_helpers.h"

#include "kelvorn.h"

#include <cstring>

char tit[PathBufferSize] = "";
OPENFILENAMEA ofn;

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
    ofn.Flags = write ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST;
    const BOOL chosen = write ? GetSaveFileName(&ofn) : GetOpenFileName(&ofn);
#ifdef _WIN32
    LC(file); // the Windows file system ignores case
#endif
    LC(tit);
    return chosen ? 1 : 0;
}
