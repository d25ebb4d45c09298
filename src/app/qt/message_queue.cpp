// The message queue: posted messages first, then the quit message, then the
// paint, with Qt's event loop turning the user's input into messages meanwhile.
#include "app/qt/main_window_widget.h"

#include <QCoreApplication>

#include <deque>
#include <optional>

namespace {

std::deque<MSG> posted;
std::optional<int> quitCode;

} // namespace

BOOL PeekMessage(MSG* message, HWND, UINT, UINT, UINT) {
    if (posted.empty()) QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (!posted.empty()) {
        *message = posted.front();
        posted.pop_front();
    } else if (quitCode) {
        *message = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(*std::exchange(quitCode, std::nullopt)), 0};
    } else if (HWND__* window = CurrentWindow(); window && window->invalid) {
        *message = MSG{window, WM_PAINT, 0, 0}; // due until BeginPaint validates the window
    } else {
        return FALSE;
    }
    return TRUE;
}

BOOL GetMessage(MSG* message, HWND window, UINT first, UINT last) {
    while (!PeekMessage(message, window, first, last, PM_REMOVE))
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return message->message == WM_QUIT ? FALSE : TRUE;
}

// Characters are not used by the shell; keys arrive as key messages only.
BOOL TranslateMessage(const MSG*) { return FALSE; }

LRESULT DispatchMessage(const MSG* message) {
    return SendMessage(message->hwnd, message->message, message->wParam, message->lParam);
}

BOOL PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!OpenWindow(window)) return FALSE;
    posted.push_back(MSG{window, message, wParam, lParam});
    return TRUE;
}

void PostMouseMove(HWND window, WPARAM wParam, LPARAM lParam) {
    if (!posted.empty() && posted.back().message == WM_MOUSEMOVE) posted.pop_back(); // the latest position counts
    PostMessage(window, WM_MOUSEMOVE, wParam, lParam);
}

void DropPostedMessages() {
    for (const MSG& message : posted)
        if (message.message == WM_DROPFILES) DragFinish(reinterpret_cast<HDROP>(message.wParam));
    posted.clear();
}

void PostQuitMessage(int exitCode) { quitCode = exitCode; }

LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return OpenWindow(window) ? window->proc(window, message, wParam, lParam) : 0;
}
