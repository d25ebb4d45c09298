// The message queue: posted messages first, then the quit message, then paints,
// with Qt's event loop turning window-system events into messages meanwhile.
#include "app/qt/vector_state.h"
#include "app/qt/window_record.h"

#include <QCoreApplication>

#include <deque>

namespace {

std::deque<MSG> posted;
bool quitPending = false;
int quitCode = 0;

// The next due message without waiting, or false when none is due.
bool TakeMessage(MSG& message, bool remove) {
    if (!posted.empty()) {
        message = posted.front();
        if (remove) posted.pop_front();
        return true;
    }
    if (quitPending) {
        message = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(quitCode), 0};
        if (remove) quitPending = false;
        return true;
    }
    if (HWND window = FirstInvalidWindow()) {
        // A paint stays due until BeginPaint validates the window.
        message = MSG{window, WM_PAINT, 0, 0};
        return true;
    }
    return false;
}

} // namespace

BOOL PeekMessage(LPMSG message, HWND, UINT, UINT, UINT remove) {
    if (!message) return FALSE;
    if (posted.empty()) QCoreApplication::processEvents(QEventLoop::AllEvents);
    ClearUpperVectorState();
    return TakeMessage(*message, remove & PM_REMOVE) ? TRUE : FALSE;
}

BOOL GetMessage(LPMSG message, HWND, UINT, UINT) {
    if (!message) return -1;
    if (posted.empty()) QCoreApplication::processEvents(QEventLoop::AllEvents);
    while (!TakeMessage(*message, true)) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    ClearUpperVectorState();
    return message->message == WM_QUIT ? FALSE : TRUE;
}

// Characters are not used by the shell; keys arrive as key messages only.
BOOL TranslateMessage(const MSG*) { return FALSE; }

LRESULT DispatchMessage(const MSG* message) {
    if (!message || !LiveWindow(message->hwnd)) return 0;
    return message->hwnd->proc(message->hwnd, message->message, message->wParam, message->lParam);
}

BOOL PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!LiveWindow(window)) return FALSE;
    posted.push_back(MSG{window, message, wParam, lParam});
    return TRUE;
}

void PostMouseMove(HWND window, WPARAM wParam, LPARAM lParam) {
    if (!posted.empty() && posted.back().hwnd == window && posted.back().message == WM_MOUSEMOVE)
        posted.pop_back(); // only the latest position matters
    PostMessage(window, WM_MOUSEMOVE, wParam, lParam);
}

void DropMessagesOf(HWND window) {
    std::erase_if(posted, [window](const MSG& message) {
        if (message.hwnd != window) return false;
        if (message.message == WM_DROPFILES) DragFinish(reinterpret_cast<HDROP>(message.wParam));
        return true;
    });
}

void PostQuitMessage(int exitCode) {
    quitPending = true;
    quitCode = exitCode;
}

LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!LiveWindow(window)) return 0;
    ClearUpperVectorState();
    return window->proc(window, message, wParam, lParam);
}
