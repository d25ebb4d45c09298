// The viewer's frame: entry, window class, main window, message dispatch and
// the load action. Everything runs on the thread of the message loop.
#pragma once

#include "winsys.h"

extern HINSTANCE Instance;  // the program's module, from WinMain
extern HWND Main;           // the main window; null when creation failed
extern unsigned char Argc;  // argument count cut to a byte; 0 once the command-line file was taken
extern const char* progname; // "Kelvorn": class name and first title
extern const char* filter;  // the open dialog's filter: "DXF files", NUL, "*.DXF", NUL, NUL
extern const char* commandLineFile; // the file the first paint loads; null when none is named

// Reads the process's arguments (__argc, __argv): the file the first paint
// loads, and with --flatten the drawing reading for it and every later load.
void TakeCommandLine();

// Registers the class, opens the maximized main window, runs the message loop
// and returns the quit message's code. A start-up failure prints one line on
// stderr and ends the process with a non-zero status.
int WINAPI WinMain(HINSTANCE hInst, HINSTANCE hPrev, LPSTR CmdLine, int nCmdShow);

// Registers window class `name` with procedure `proc` (white background,
// arrow cursor, the "KELVORN" icon, full repaint on any size change).
void Register(const char* name, WNDPROC proc);

// Creates, shows and updates (first paint included) a top-level window of
// class `clas` with title `name` and style `c` | WS_OVERLAPPEDWINDOW; null on failure.
HWND newwindow(const char* clas, const char* name, DWORD c);

// The window procedure of the main window.
LRESULT CALLBACK MainWinProc(HWND wn, UINT iMessage, WPARAM S, LPARAM L);

// Copies `path` into `file` and loads it. A path longer than `file` holds is
// refused with a message that calls it `what` ("The file named on the command
// line"); returns 0.
LRESULT LoadPath(HWND wn, const char* path, const char* what);

// Reads `file` into the face table with the busy banner up and the title
// "Kelvorn: " + path, then asks for a repaint. When the file cannot be read
// the model stays as it was and a message box names the file and the reason.
// Returns 0.
LRESULT LoadMesh(HWND wn);
