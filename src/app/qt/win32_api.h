// The window-system operations of the shell, with the Windows names, types and
// numeric values, carried out by Qt. Only what the shell and its tests use is
// here; each operation behaves as its Windows namesake in the ways the shell
// relies on (see the notes at each one), with the ANSI ("A") text semantics.
//
// Handles are pointers to the layer's own records.
#pragma once

#include <cstddef>
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
typedef WORD ATOM;
typedef char* LPSTR;
typedef const char* LPCSTR;

#define TRUE 1
#define FALSE 0

struct HINSTANCE__;
struct HWND__;
struct HMENU__;
struct HICON__;
struct HCURSOR__;
struct HBRUSH__;
struct HDC__;
struct HDROP__;
typedef HINSTANCE__* HINSTANCE;
typedef HWND__* HWND;
typedef HMENU__* HMENU;
typedef HICON__* HICON;
typedef HCURSOR__* HCURSOR;
typedef HBRUSH__* HBRUSH;
typedef HDROP__* HDROP;
typedef void* HGDIOBJ;
typedef HDC__* HDC;

typedef LRESULT (*WNDPROC)(HWND, UINT, WPARAM, LPARAM);

#define LOWORD(l) ((WORD)(((UINT_PTR)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((UINT_PTR)(l)) >> 16) & 0xffff))
#define MAKEINTRESOURCEA(i) ((LPSTR)((UINT_PTR)((WORD)(i))))

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
typedef MSG* LPMSG;

struct PAINTSTRUCT {
    HDC hdc;
};

struct WNDCLASSA {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
};

struct MINMAXINFO {
    POINT ptReserved;
    POINT ptMaxSize;
    POINT ptMaxPosition;
    POINT ptMinTrackSize;
    POINT ptMaxTrackSize;
};

// The fields the shell fills or reads, under their Windows names.
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
#define WM_NCDESTROY 0x0082
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
#define MK_RBUTTON 0x0002
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

// Window and class styles, show commands, placement.
#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002
#define CS_DBLCLKS 0x0008
#define WS_OVERLAPPED 0x00000000L
#define WS_MAXIMIZEBOX 0x00010000L
#define WS_MINIMIZEBOX 0x00020000L
#define WS_THICKFRAME 0x00040000L
#define WS_SYSMENU 0x00080000L
#define WS_CAPTION 0x00C00000L
#define WS_MAXIMIZE 0x01000000L
#define WS_VISIBLE 0x10000000L
#define WS_OVERLAPPEDWINDOW (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)
#define CW_USEDEFAULT ((int)0x80000000)
#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_SHOWMAXIMIZED 3
#define SW_SHOW 5

// Menus, message boxes, peeking, stock objects, cursors, file dialogs.
#define MF_STRING 0x00000000L
#define MB_OK 0x00000000L
#define MB_YESNO 0x00000004L
#define MB_ICONQUESTION 0x00000020L
#define IDOK 1
#define IDYES 6
#define IDNO 7
#define PM_REMOVE 0x0001
#define WHITE_BRUSH 0
#define BLACK_PEN 7
#define IDC_ARROW MAKEINTRESOURCEA(32512)
#define IDC_WAIT MAKEINTRESOURCEA(32514)
#define OFN_OVERWRITEPROMPT 0x00000002
#define OFN_FILEMUSTEXIST 0x00001000

// The argument count and vector of the process, as the Windows runtime keeps
// them; the Linux entry fills them before it calls WinMain.
extern int __argc;
extern char** __argv;

// Modules and resources. The resources ("KELVORN" menu and icon) are built in
// code; the cursor is always the arrow.
HINSTANCE GetModuleHandle(LPCSTR name);
HMENU LoadMenu(HINSTANCE instance, LPCSTR name);
HICON LoadIcon(HINSTANCE instance, LPCSTR name);
HCURSOR LoadCursor(HINSTANCE instance, LPCSTR name);
// Shows `cursor` over every window of the program at once, until the next
// SetCursor; null gives each window its class cursor back. Returns the cursor
// set before (null at first).
HCURSOR SetCursor(HCURSOR cursor);
HGDIOBJ GetStockObject(int object);

// Window classes and windows. CreateWindowEx sends WM_GETMINMAXINFO and
// WM_CREATE before it returns; CW_USEDEFAULT gives a window three quarters of
// the screen's work area, centred. A window starts invalid, so its first
// paint comes with UpdateWindow. DestroyWindow sends WM_DESTROY.
ATOM RegisterClass(const WNDCLASSA* windowClass);
BOOL UnregisterClass(LPCSTR className, HINSTANCE instance);
HWND CreateWindowEx(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y, int width, int height,
                    HWND parent, HMENU menu, HINSTANCE instance, void* param);
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);
BOOL ShowWindow(HWND window, int command);
BOOL UpdateWindow(HWND window);
BOOL GetClientRect(HWND window, RECT* rect);

// The message queue. GetMessage waits (running Qt's event loop) until a posted
// message, the quit message or a paint is due; WM_PAINT comes only when no
// posted message waits. PeekMessage is the same without waiting.
BOOL GetMessage(LPMSG message, HWND window, UINT first, UINT last);
BOOL PeekMessage(LPMSG message, HWND window, UINT first, UINT last, UINT remove);
BOOL TranslateMessage(const MSG* message);
LRESULT DispatchMessage(const MSG* message);
BOOL PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
// Calls the window procedure at once and returns its result.
LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// WM_CLOSE destroys the window, WM_SETTEXT sets the caption, WM_PAINT
// validates; everything else is ignored with result 0.
LRESULT DefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Menus. SetMenu shows the menu as the window's menu bar; DrawMenuBar paints
// the bar at once, without handling any queued event.
HMENU CreateMenu();
BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text);
BOOL DestroyMenu(HMENU menu);
BOOL SetMenu(HWND window, HMENU menu);
HMENU GetMenu(HWND window);
BOOL DrawMenuBar(HWND window);

// Painting. BeginPaint sizes the window's client-area image to the client
// area, erases it with the class brush when asked and hands out the window's
// paint context; the shell puts its picture on that context, and EndPaint
// shows the image. InvalidateRect marks the whole client area (the rectangle
// is not used) and causes exactly one later WM_PAINT.
HDC BeginPaint(HWND window, PAINTSTRUCT* paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);
BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);

// The mouse. The widget that got a button press keeps the pointer until the
// release (Qt's implicit grab), so capture only records which window has it;
// it goes with WM_CAPTURECHANGED to the window that loses it. Mouse messages
// carry client coordinates, WM_MOUSEWHEEL screen coordinates. Consecutive
// WM_MOUSEMOVE messages of a window that wait in the queue are merged into
// the latest, as Windows does.
HWND SetCapture(HWND window);
BOOL ReleaseCapture();
HWND GetCapture();
BOOL ScreenToClient(HWND window, POINT* point);

// Files dropped on a window that accepts them come as WM_DROPFILES, with the
// list of paths in wParam. DragQueryFile with index 0xFFFFFFFF gives the
// count; with a null buffer, the length of path `index`; else it copies the
// path, cut to the buffer, and gives the length copied. DragFinish frees it.
void DragAcceptFiles(HWND window, BOOL accept);
UINT DragQueryFile(HDROP drop, UINT index, LPSTR buffer, UINT size);
void DragFinish(HDROP drop);

// Dialogs: a modal message box with an OK button, and the open and save file
// dialogs over the open-file-name record.
int MessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
BOOL GetOpenFileName(OPENFILENAMEA* ofn);
BOOL GetSaveFileName(OPENFILENAMEA* ofn);
