// The window-system calls of the shell, under their Windows names and with
// the Windows types and numeric values, carried out by Qt for the one main
// window and its one message queue. Each call does what the shell relies on
// its Windows namesake to do (see the notes), with ANSI ("A") text.
#pragma once

#include <cstdint>

#define WINAPI
#define CALLBACK

typedef int BOOL;
typedef unsigned short WORD;
typedef std::uint32_t DWORD;
typedef std::int32_t LONG;
typedef unsigned int UINT;
typedef std::uintptr_t UINT_PTR;
typedef std::uintptr_t WPARAM;
typedef std::intptr_t LPARAM;
typedef std::intptr_t LRESULT;
typedef char* LPSTR;
typedef const char* LPCSTR;

#define TRUE 1
#define FALSE 0

// Handles: the window is the layer's widget; the others are its small records.
typedef struct HINSTANCE__* HINSTANCE;
typedef struct HWND__* HWND;
typedef struct HMENU__* HMENU;
typedef struct HICON__* HICON;
typedef struct HCURSOR__* HCURSOR;
typedef struct HBRUSH__* HBRUSH;
typedef struct HDROP__* HDROP;
typedef struct HDC__* HDC;
typedef void* HGDIOBJ;

typedef LRESULT (*WNDPROC)(HWND, UINT, WPARAM, LPARAM);

#define LOWORD(l) ((WORD)(((UINT_PTR)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((UINT_PTR)(l)) >> 16) & 0xffff))

struct POINT {
    LONG x, y;
};

struct RECT {
    LONG left, top, right, bottom;
};

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

struct PAINTSTRUCT {
    HDC hdc;
};

// The fields the shell fills, under their Windows names.
struct WNDCLASSA {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra, cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
};

struct MINMAXINFO {
    POINT ptReserved, ptMaxSize, ptMaxPosition, ptMinTrackSize, ptMaxTrackSize;
};

struct OPENFILENAMEA {
    DWORD lStructSize;
    HWND hwndOwner;
    LPCSTR lpstrFilter;
    LPSTR lpstrFile;
    DWORD nMaxFile;
    LPSTR lpstrFileTitle;
    DWORD nMaxFileTitle;
    LPCSTR lpstrInitialDir;
    LPCSTR lpstrTitle;
    DWORD Flags;
};
// The record has no extension fields here, so the old size is the whole size.
#define OPENFILENAME_SIZE_VERSION_400A sizeof(OPENFILENAMEA)

// Messages.
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_SETTEXT 0x000C
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_GETMINMAXINFO 0x0024
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_SYSKEYDOWN 0x0104
#define WM_SYSKEYUP 0x0105
#define WM_COMMAND 0x0111
#define WM_ENTERIDLE 0x0121
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define WM_LBUTTONUP 0x0202
#define WM_LBUTTONDBLCLK 0x0203
#define WM_MBUTTONDOWN 0x0207
#define WM_MBUTTONUP 0x0208
#define WM_MBUTTONDBLCLK 0x0209
#define WM_MOUSEWHEEL 0x020A
#define WM_CAPTURECHANGED 0x0215
#define WM_DROPFILES 0x0233

// Buttons and keys held, in the wParam of the mouse messages.
#define MK_LBUTTON 0x0001
#define MK_SHIFT 0x0004
#define MK_CONTROL 0x0008
#define MK_MBUTTON 0x0010

// Virtual-key codes.
#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_MENU 0x12
#define VK_PAUSE 0x13
#define VK_CAPITAL 0x14
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_PRIOR 0x21
#define VK_NEXT 0x22
#define VK_END 0x23
#define VK_HOME 0x24
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_INSERT 0x2D
#define VK_DELETE 0x2E
#define VK_NUMPAD0 0x60
#define VK_F1 0x70
#define VK_F12 0x7B

// Class and window styles, placement, show command, menu items, message
// boxes, peeking, the stock brush, cursors, file dialogs.
#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002
#define CS_DBLCLKS 0x0008
#define WS_OVERLAPPEDWINDOW 0x00CF0000L
#define WS_MAXIMIZE 0x01000000L
#define CW_USEDEFAULT ((int)0x80000000)
#define SW_SHOW 5
#define MF_STRING 0x00000000L
#define MB_OK 0x00000000L
#define MB_YESNO 0x00000004L
#define MB_ICONQUESTION 0x00000020L
#define IDOK 1
#define IDYES 6
#define IDNO 7
#define PM_REMOVE 0x0001
#define WHITE_BRUSH 0
#define IDC_ARROW ((LPCSTR)32512)
#define IDC_WAIT ((LPCSTR)32514)
#define OFN_OVERWRITEPROMPT 0x00000002
#define OFN_FILEMUSTEXIST 0x00001000

// The argument count and vector of the process, as the Windows runtime keeps
// them; the Linux entry fills them before it calls WinMain.
extern int __argc;
extern char** __argv;

// Resources: the "KELVORN" menu and icon, built in code; the arrow and the
// hourglass cursors; the white brush. SetCursor shows `cursor` over the
// window at once, null gives it its class cursor back; it returns the one
// set before.
HINSTANCE GetModuleHandle(LPCSTR name);
HMENU LoadMenu(HINSTANCE instance, LPCSTR name);
HICON LoadIcon(HINSTANCE instance, LPCSTR name);
HCURSOR LoadCursor(HINSTANCE instance, LPCSTR name);
HCURSOR SetCursor(HCURSOR cursor);
HGDIOBJ GetStockObject(int object);

// The window. RegisterClass keeps the class of the window to come (the last
// one registered); CreateWindowEx makes the window of it, three quarters of
// the screen's work area and centred, sends WM_CREATE and returns. The window
// starts invalid, so its first paint comes with UpdateWindow. WS_MAXIMIZE
// shows it maximized where the window manager places it, so WM_GETMINMAXINFO,
// which asks the procedure for that place, is not sent.
int RegisterClass(const WNDCLASSA* windowClass);
HWND CreateWindowEx(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y, int width, int height,
                    HWND parent, HMENU menu, HINSTANCE instance, void* param);
BOOL ShowWindow(HWND window, int command);
BOOL UpdateWindow(HWND window);
BOOL GetClientRect(HWND window, RECT* rect);
// WM_CLOSE destroys the window (WM_DESTROY is sent, the menu goes with it),
// WM_SETTEXT sets the caption, WM_PAINT validates; else nothing, result 0.
LRESULT DefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The queue. Posted messages come first, then the quit message, then the
// paint of an invalid window. GetMessage runs Qt's event loop, which turns
// the user's input into posted messages, until one is due; PeekMessage takes
// one if it is due and removes it (PM_REMOVE is its only mode). Consecutive
// WM_MOUSEMOVE messages waiting in the queue are merged into the latest, as
// Windows does. SendMessage calls the window procedure at once.
BOOL GetMessage(MSG* message, HWND window, UINT first, UINT last);
BOOL PeekMessage(MSG* message, HWND window, UINT first, UINT last, UINT remove);
BOOL TranslateMessage(const MSG* message);
LRESULT DispatchMessage(const MSG* message);
BOOL PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Menus: lists of string items. The window's menu is its menu bar, each item
// posting WM_COMMAND with its number; DrawMenuBar paints the bar at once.
HMENU CreateMenu();
BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text);
BOOL DestroyMenu(HMENU menu);
BOOL SetMenu(HWND window, HMENU menu);
HMENU GetMenu(HWND window);
BOOL DrawMenuBar(HWND window);

// Painting. BeginPaint validates the window and hands out its paint context;
// the shell puts its picture on it (ShowPaintImage) and EndPaint shows it at
// once. InvalidateRect marks the whole client area for one later WM_PAINT.
HDC BeginPaint(HWND window, PAINTSTRUCT* paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);
BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);

// The mouse. The window keeps the pointer from a press to its release (Qt's
// implicit grab), so the capture only records that it has it; losing it
// sends WM_CAPTURECHANGED. Mouse messages carry client coordinates,
// WM_MOUSEWHEEL screen coordinates.
HWND SetCapture(HWND window);
BOOL ReleaseCapture();
HWND GetCapture();
BOOL ScreenToClient(HWND window, POINT* point);

// Local files dropped on the window come as WM_DROPFILES with the list of
// paths in wParam. DragQueryFile with index 0xFFFFFFFF gives the count; with
// a null buffer, the length of path `index`; else it copies the path, cut to
// the buffer, and gives the length copied. DragFinish frees the list.
void DragAcceptFiles(HWND window, BOOL accept);
UINT DragQueryFile(HDROP drop, UINT index, LPSTR buffer, UINT size);
void DragFinish(HDROP drop);

// Modal dialogs: a message box with OK, or Yes and No; the open and the save
// file dialogs over the open-file-name record.
int MessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
BOOL GetOpenFileName(OPENFILENAMEA* ofn);
BOOL GetSaveFileName(OPENFILENAMEA* ofn);
