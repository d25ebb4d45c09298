// Small helpers of the shell over the window system: the busy banner, the
// title, lower-casing and the file dialogs.
#pragma once

#include "winsys.h"

// The busy banner: while it lives, the window's menu bar shows the one inert
// item `s` instead of its menu; it is drawn at once. Destruction brings the
// previous menu (or none) back.
class menudisp {
public:
    menudisp(HWND wn, const char* s);
    ~menudisp();
    menudisp(const menudisp&) = delete;
    menudisp& operator=(const menudisp&) = delete;

private:
    HWND w;
    HMENU m;
    HMENU n;
};

// Sets the caption of `wn` to `S` (through WM_SETTEXT).
void SetTitle(HWND wn, const char* S);

// Lower-cases the ASCII capitals A-Z of the NUL-terminated `s` in place; every
// other byte stays.
void LC(char* s);

// The record handed to the file dialogs, filled anew by each GetFileName.
extern OPENFILENAMEA ofn;

// The folder the file dialogs start in: that of the file last read (named on
// the command line, dropped, chosen or read again) or chosen; until there is
// one, the current directory.
void RememberFileFolder(const char* path);
void ForgetFileFolder();

// Runs the open (`write` 0) or save dialog owned by `wn`, titled `t`, with the
// filter `f`, in the folder above, proposing the last chosen file title `tit`. The chosen path
// (at most 127 characters) goes into `file` and its name into `tit`, which is
// lower-cased; returns 1 when a file was chosen, else 0, with `file` then
// holding the proposed title. On Windows the path is lower-cased too; where
// the file system tells the cases apart it is kept as chosen.
int GetFileName(HWND wn, char* file, const char* t, const char* f, int write);
