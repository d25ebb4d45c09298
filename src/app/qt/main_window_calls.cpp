// The main window: its class, creation, showing, the client rectangle, the
// default procedure and destruction; the mouse capture; the resources.
#include "app/qt/main_window_widget.h"

#include "kelvorn_icon.xpm"
#include "kelvorn_ids.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QScreen>
#include <QThread>
#include <QWindow>

#include <algorithm>
#include <utility>

struct HINSTANCE__ {};
struct HICON__ {
    QIcon icon;
};
struct HCURSOR__ {
    QCursor cursor;
};
struct HBRUSH__ {};

namespace {

WNDCLASSA mainClass{};
HWND mainWindow = nullptr;
HCURSOR overrideCursor = nullptr;
bool captured = false;

// Where Windows puts a window created with CW_USEDEFAULT: it takes about three
// quarters of the screen's work area; here it is centred in it. A window that
// starts maximized comes back to this place and size when it is restored.
void PlaceWindow(QWidget* widget) {
    QRect area(0, 0, 1024, 768);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) area = screen->availableGeometry();
    widget->resize(area.width() * 3 / 4, area.height() * 3 / 4);
    widget->move(area.center() - QPoint(widget->width() / 2, widget->height() / 2));
}

// Windows shows a window before ShowWindow returns, so the first paint and a
// banner put up right after it reach the screen. Qt maps it later: wait, for a
// second at most, until the window system exposes it. Only Qt's own events run
// meanwhile; input stays pending and no window procedure is called.
void WaitUntilExposed(QWidget* widget) {
    const QWindow* handle = widget->windowHandle();
    const QDeadlineTimer deadline(1000);
    while (handle && !handle->isExposed() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(5);
    }
}

void DestroyWindow(HWND window) {
    ReleaseCapture();
    SendMessage(window, WM_DESTROY, 0, 0);
    if (window->menu) DestroyMenu(window->menu); // a window's menu goes with it
    mainWindow = nullptr;
    // Every widget event only posts messages, so no event handler of this
    // widget is running now and it can go at once.
    delete window;
    DropPostedMessages();
}

} // namespace

HWND__* CurrentWindow() { return mainWindow; }

HWND__* OpenWindow(HWND window) { return window && window == mainWindow ? window : nullptr; }

int RegisterClass(const WNDCLASSA* windowClass) {
    mainClass = *windowClass;
    return 1;
}

HWND CreateWindowEx(DWORD, LPCSTR, LPCSTR title, DWORD style, int, int, int, int, HWND, HMENU, HINSTANCE, void*) {
    mainWindow = new HWND__(mainClass);
    mainWindow->setWindowTitle(QString::fromLocal8Bit(title));
    mainWindow->setWindowIcon(mainClass.hIcon->icon);
    mainWindow->setCursor(mainClass.hCursor->cursor);
    PlaceWindow(mainWindow);
    if (style & WS_MAXIMIZE) mainWindow->setWindowState(Qt::WindowMaximized);
    // WM_CREATE carries no creation record here: the shell never reads it.
    SendMessage(mainWindow, WM_CREATE, 0, 0);
    return mainWindow;
}

BOOL ShowWindow(HWND window, int) {
    if (!OpenWindow(window)) return FALSE;
    const BOOL wasVisible = window->isVisible() ? TRUE : FALSE;
    window->show();
    WaitUntilExposed(window);
    return wasVisible;
}

BOOL UpdateWindow(HWND window) {
    if (!OpenWindow(window)) return FALSE;
    if (window->invalid) SendMessage(window, WM_PAINT, 0, 0);
    return TRUE;
}

BOOL GetClientRect(HWND window, RECT* rect) {
    if (!OpenWindow(window)) return FALSE;
    *rect = {0, 0, window->width(), std::max(0, window->height() - window->clientTop())};
    return TRUE;
}

LRESULT DefWindowProc(HWND window, UINT message, WPARAM, LPARAM lParam) {
    if (!OpenWindow(window)) return 0;
    switch (message) {
    case WM_CLOSE: DestroyWindow(window); return 0;
    case WM_SETTEXT: window->setWindowTitle(QString::fromLocal8Bit(reinterpret_cast<LPCSTR>(lParam))); return TRUE;
    case WM_PAINT: window->invalid = false; return 0;
    default: return 0;
    }
}

HWND SetCapture(HWND window) {
    const HWND previous = GetCapture();
    captured = OpenWindow(window) != nullptr;
    return previous;
}

BOOL ReleaseCapture() {
    if (std::exchange(captured, false)) SendMessage(mainWindow, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture() { return captured ? mainWindow : nullptr; }

BOOL ScreenToClient(HWND window, POINT* point) {
    if (!OpenWindow(window)) return FALSE;
    const QPoint origin = window->mapToGlobal(QPoint(0, window->clientTop()));
    point->x -= origin.x();
    point->y -= origin.y();
    return TRUE;
}

void DragAcceptFiles(HWND window, BOOL accept) {
    if (OpenWindow(window)) window->setAcceptDrops(accept);
}

// An application override cursor goes to the screen at once, also while the
// caller keeps the event loop busy.
HCURSOR SetCursor(HCURSOR cursor) {
    const HCURSOR previous = std::exchange(overrideCursor, cursor);
    if (previous) QGuiApplication::restoreOverrideCursor();
    if (cursor) QGuiApplication::setOverrideCursor(cursor->cursor);
    return previous;
}

HINSTANCE GetModuleHandle(LPCSTR) {
    static HINSTANCE__ module;
    return &module;
}

// The menu's texts and command numbers are those of the Windows resource script.
HMENU LoadMenu(HINSTANCE, LPCSTR) {
    HMENU menu = CreateMenu();
    AppendMenu(menu, MF_STRING, IDM_READ, "&read meshfile");
    AppendMenu(menu, MF_STRING, IDM_EXIT, "e&xit");
    AppendMenu(menu, MF_STRING, IDM_HELP, "&help");
    return menu;
}

// The icon's 32×32 picture has two of its sixteen possible colours: black lines on white.
HICON LoadIcon(HINSTANCE, LPCSTR) {
    static HICON__ icon{QIcon(QPixmap(kelvorn_icon_xpm))};
    return &icon;
}

// The arrow, and the hourglass as Qt's busy cursor.
HCURSOR LoadCursor(HINSTANCE, LPCSTR name) {
    static HCURSOR__ arrow{QCursor(Qt::ArrowCursor)};
    static HCURSOR__ wait{QCursor(Qt::WaitCursor)};
    return name == IDC_WAIT ? &wait : &arrow;
}

// The white brush is the only one; the client area is white until painted.
HGDIOBJ GetStockObject(int) {
    static HBRUSH__ white;
    return &white;
}

// Filled by the Linux entry before WinMain, as the Windows runtime fills its own.
int __argc = 0;
char** __argv = nullptr;
