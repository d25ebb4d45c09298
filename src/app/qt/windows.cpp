// Window classes and windows: creation, showing, destruction, the client
// rectangle and the default window procedure.
#include "app/qt/vector_state.h"
#include "app/qt/window_inspection.h"
#include "app/qt/window_record.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QMenuBar>
#include <QScreen>
#include <QThread>
#include <QWindow>

#include <algorithm>
#include <map>
#include <memory>
#include <string>

namespace {

// Window extra bytes have no use here: the layer keeps its own record per
// window, so cbClsExtra and cbWndExtra are accepted and not allocated.
std::map<std::string, WNDCLASSA> classes;
std::vector<std::unique_ptr<HWND__>> windows;
MSG lastDefault{};
HCURSOR overrideCursor = nullptr;

// Windows asks the procedure for the maximized placement during creation. Qt
// leaves placement to the window manager, so the answer is not applied.
void AskMinMaxInfo(HWND window) {
    MINMAXINFO info{};
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        info.ptMaxSize = {area.width(), area.height()};
        info.ptMaxTrackSize = info.ptMaxSize;
    }
    SendMessage(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
}

// Where Windows puts a window created with CW_USEDEFAULT: it takes about three
// quarters of the screen's work area; here it is centred in it. A window that
// starts maximized comes back to this place and size when it is restored.
void PlaceWindow(QWidget* widget, int x, int y, int width, int height) {
    QRect area(0, 0, 1024, 768);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) area = screen->availableGeometry();
    if (width == CW_USEDEFAULT || height == CW_USEDEFAULT) {
        width = area.width() * 3 / 4;
        height = area.height() * 3 / 4;
    }
    widget->resize(width, height);
    if (x == CW_USEDEFAULT || y == CW_USEDEFAULT)
        widget->move(area.center() - QPoint(width / 2, height / 2));
    else
        widget->move(x, y);
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
    ClearUpperVectorState();
}

} // namespace

HWND__* LiveWindow(HWND window) {
    for (const auto& record : windows)
        if (record.get() == window) return record.get();
    return nullptr;
}

HWND FirstInvalidWindow() {
    for (const auto& record : windows)
        if (record->invalid) return record.get();
    return nullptr;
}

ATOM RegisterClass(const WNDCLASSA* windowClass) {
    if (!windowClass || !windowClass->lpszClassName || !windowClass->lpfnWndProc) return 0;
    const auto [entry, added] = classes.emplace(windowClass->lpszClassName, *windowClass);
    if (!added) return 0; // as on Windows: a class name is registered once
    entry->second.lpszClassName = entry->first.c_str();
    return static_cast<ATOM>(classes.size());
}

BOOL UnregisterClass(LPCSTR className, HINSTANCE) { return className && classes.erase(className) ? TRUE : FALSE; }

HWND CreateWindowEx(DWORD, LPCSTR className, LPCSTR title, DWORD style, int x, int y, int width, int height, HWND,
                    HMENU menu, HINSTANCE, void*) {
    const auto found = className ? classes.find(className) : classes.end();
    if (found == classes.end() || !qApp) return nullptr;
    const WNDCLASSA& windowClass = found->second;
    windows.push_back(std::make_unique<HWND__>());
    HWND window = windows.back().get();
    window->proc = windowClass.lpfnWndProc;
    window->classStyle = windowClass.style;
    window->background = windowClass.hbrBackground;
    window->style = style;
    window->widget = new WindowWidget(window);
    window->widget->setWindowTitle(QString::fromLocal8Bit(title ? title : ""));
    if (windowClass.hIcon) window->widget->setWindowIcon(windowClass.hIcon->icon);
    if (windowClass.hCursor) window->widget->setCursor(windowClass.hCursor->cursor);
    PlaceWindow(window->widget, x, y, width, height);
    if (menu) SetMenu(window, menu);
    AskMinMaxInfo(window);
    // WM_CREATE carries no creation record here: the procedures of this program never read it.
    if (SendMessage(window, WM_CREATE, 0, 0) == -1) {
        DestroyWindow(window);
        return nullptr;
    }
    if (style & WS_VISIBLE) ShowWindow(window, SW_SHOW);
    return window;
}

BOOL DestroyWindow(HWND window) {
    if (!LiveWindow(window)) return FALSE;
    if (GetCapture() == window) ReleaseCapture();
    SendMessage(window, WM_DESTROY, 0, 0);
    SendMessage(window, WM_NCDESTROY, 0, 0);
    if (window->menu) DestroyMenu(window->menu); // a window's menu goes with it
    // Every widget event only posts messages, so no event handler of this
    // widget is running now and it can go at once.
    delete window->widget;
    DropMessagesOf(window);
    std::erase_if(windows, [window](const auto& record) { return record.get() == window; });
    return TRUE;
}

BOOL IsWindow(HWND window) { return LiveWindow(window) ? TRUE : FALSE; }

BOOL ShowWindow(HWND window, int command) {
    HWND__* record = LiveWindow(window);
    if (!record) return FALSE;
    const BOOL wasVisible = record->widget->isVisible() ? TRUE : FALSE;
    if (command == SW_HIDE)
        record->widget->hide();
    else if (command == SW_SHOWMAXIMIZED || (record->style & WS_MAXIMIZE))
        record->widget->showMaximized();
    else
        record->widget->show();
    if (command != SW_HIDE) WaitUntilExposed(record->widget);
    return wasVisible;
}

BOOL UpdateWindow(HWND window) {
    HWND__* record = LiveWindow(window);
    if (!record) return FALSE;
    if (record->invalid) SendMessage(window, WM_PAINT, 0, 0);
    return TRUE;
}

// An application override cursor goes to the screen at once, also while the
// caller keeps the event loop busy.
HCURSOR SetCursor(HCURSOR cursor) {
    const HCURSOR previous = overrideCursor;
    if (overrideCursor) QGuiApplication::restoreOverrideCursor();
    if (cursor) QGuiApplication::setOverrideCursor(cursor->cursor);
    overrideCursor = cursor;
    return previous;
}

BOOL GetClientRect(HWND window, RECT* rect) {
    HWND__* record = LiveWindow(window);
    if (!record || !rect) return FALSE;
    const int top = record->widget->clientTop();
    *rect = {0, 0, record->widget->width(), std::max(0, record->widget->height() - top)};
    return TRUE;
}

LRESULT DefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND__* record = LiveWindow(window);
    if (!record) return 0;
    lastDefault = {window, message, wParam, lParam};
    switch (message) {
    case WM_CLOSE: DestroyWindow(window); return 0;
    case WM_SETTEXT:
        record->widget->setWindowTitle(QString::fromLocal8Bit(reinterpret_cast<const char*>(lParam)));
        return TRUE;
    case WM_PAINT:
        if (record->invalid) {
            PAINTSTRUCT paint;
            BeginPaint(window, &paint);
            EndPaint(window, &paint);
        }
        return 0;
    default: return 0;
    }
}

QWidget* WidgetOf(HWND window) {
    HWND__* record = LiveWindow(window);
    return record ? record->widget : nullptr;
}

QMenuBar* MenuBarOf(HWND window) {
    HWND__* record = LiveWindow(window);
    return record ? record->bar : nullptr;
}

const Image* ClientImageOf(HWND window) {
    HWND__* record = LiveWindow(window);
    return record ? &record->image : nullptr;
}

MSG LastDefaultMessage() { return lastDefault; }
