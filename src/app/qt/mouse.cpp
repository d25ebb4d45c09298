// The mouse capture, screen-to-client coordinates and dropped files.
#include "app/qt/window_record.h"

#include <QWidget>

#include <algorithm>
#include <cstring>

namespace {

HWND capture = nullptr;

} // namespace

HWND SetCapture(HWND window) {
    const HWND previous = capture;
    capture = LiveWindow(window) ? window : nullptr;
    if (previous && previous != capture) SendMessage(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(capture));
    return previous;
}

BOOL ReleaseCapture() {
    const HWND previous = capture;
    capture = nullptr;
    if (previous) SendMessage(previous, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture() { return LiveWindow(capture) ? capture : nullptr; }

BOOL ScreenToClient(HWND window, POINT* point) {
    HWND__* record = LiveWindow(window);
    if (!record || !point) return FALSE;
    const QPoint origin = record->widget->mapToGlobal(QPoint(0, record->widget->clientTop()));
    point->x -= origin.x();
    point->y -= origin.y();
    return TRUE;
}

void DragAcceptFiles(HWND window, BOOL accept) {
    if (HWND__* record = LiveWindow(window)) record->widget->setAcceptDrops(accept);
}

UINT DragQueryFile(HDROP drop, UINT index, LPSTR buffer, UINT size) {
    if (!drop) return 0;
    if (index == 0xFFFFFFFF) return static_cast<UINT>(drop->paths.size());
    if (index >= drop->paths.size()) return 0;
    const std::string& path = drop->paths[index];
    if (!buffer) return static_cast<UINT>(path.size());
    if (size == 0) return 0;
    const std::size_t copied = std::min<std::size_t>(path.size(), size - 1);
    std::memcpy(buffer, path.data(), copied);
    buffer[copied] = '\0';
    return static_cast<UINT>(copied);
}

void DragFinish(HDROP drop) { delete drop; }
