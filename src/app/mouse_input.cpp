#include "mouse_input.h"

#include "main_window.h"
#include "view/view_navigation.h"

#include <string>

namespace {

// The drag in progress: the cursor position its last motion was measured to.
struct Drag {
    bool active = false;
    int x = 0, y = 0;
};
Drag drag;

// Mouse positions are two signed 16-bit numbers: x in the low word, y in the high word.
int XOf(LPARAM L) { return static_cast<short>(LOWORD(L)); }
int YOf(LPARAM L) { return static_cast<short>(HIWORD(L)); }

Rect ClientRect(HWND wn) {
    RECT client{};
    GetClientRect(wn, &client);
    return Rect{client.left, client.top, client.right, client.bottom};
}

} // namespace

LRESULT OnButtonDown(HWND wn, LPARAM L) {
    SetCapture(wn);
    drag = {true, XOf(L), YOf(L)};
    return 0;
}

LRESULT OnButtonUp(HWND wn, WPARAM S) {
    if (S & (MK_LBUTTON | MK_MBUTTON)) return 0; // the other button still drags
    drag.active = false;
    if (GetCapture() == wn) ReleaseCapture();
    return 0;
}

LRESULT OnCaptureChanged() {
    drag.active = false;
    return 0;
}

LRESULT OnMouseMove(HWND wn, WPARAM S, LPARAM L) {
    // Motion with a button that was pressed elsewhere is no drag of this window.
    if (!drag.active || !(S & (MK_LBUTTON | MK_MBUTTON))) return 0;
    const int dx = XOf(L) - drag.x, dy = YOf(L) - drag.y;
    drag.x = XOf(L);
    drag.y = YOf(L);
    if (dx == 0 && dy == 0) return 0;
    if (S & (MK_MBUTTON | MK_CONTROL))
        PanBy(dx, dy);
    else
        TurnByDrag(dx, dy, S & MK_SHIFT, ClientRect(wn));
    InvalidateRect(wn, nullptr, TRUE);
    // A turn costs as much as a paint: paint now rather than let the next
    // motions turn again first, so every turn is seen and none lags behind.
    UpdateWindow(wn);
    return 0;
}

LRESULT OnMouseWheel(HWND wn, WPARAM S, LPARAM L) {
    POINT cursor{XOf(L), YOf(L)}; // screen coordinates
    ScreenToClient(wn, &cursor);
    ZoomAt(static_cast<short>(HIWORD(S)), cursor.x, cursor.y, ClientRect(wn));
    InvalidateRect(wn, nullptr, TRUE);
    return 0;
}

LRESULT OnDoubleClick(HWND wn) {
    ResetNavigation();
    InvalidateRect(wn, nullptr, TRUE);
    return 0;
}

LRESULT OnDropFiles(HWND wn, WPARAM S) {
    const auto drop = reinterpret_cast<HDROP>(S);
    std::string path;
    if (DragQueryFile(drop, 0xFFFFFFFF, nullptr, 0) > 0) {
        path.resize(DragQueryFile(drop, 0, nullptr, 0));
        DragQueryFile(drop, 0, path.data(), static_cast<UINT>(path.size() + 1));
    }
    DragFinish(drop);
    return path.empty() ? 0 : LoadPath(wn, path.c_str(), "The file dropped on the window");
}
