// Menus: a menu is a list of string items; the window's menu is shown as its
// menu bar.
#include "app/qt/main_window_widget.h"

#include <QMenuBar>

HMENU CreateMenu() { return new HMENU__; }

BOOL AppendMenu(HMENU menu, UINT, UINT_PTR id, LPCSTR text) {
    menu->items.emplace_back(id, text);
    return TRUE;
}

BOOL DestroyMenu(HMENU menu) {
    delete menu;
    return TRUE;
}

BOOL SetMenu(HWND window, HMENU menu) {
    if (!OpenWindow(window)) return FALSE;
    window->showMenu(menu);
    return TRUE;
}

HMENU GetMenu(HWND window) { return OpenWindow(window) ? window->menu : nullptr; }

BOOL DrawMenuBar(HWND window) {
    if (!OpenWindow(window)) return FALSE;
    // Painted now, not when the event loop next runs: the caller may keep the
    // loop busy (a load) while the bar is to be read.
    PaintNow(window->bar);
    return TRUE;
}
