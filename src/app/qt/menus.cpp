// Menus: a menu is a list of string items; the one attached to a window is
// shown as the window's QMenuBar, each item a top-level action that posts
// WM_COMMAND with its command number.
#include "app/qt/window_record.h"

#include <QAction>
#include <QMenuBar>

#include <memory>

namespace {

std::vector<std::unique_ptr<HMENU__>> menus;

HMENU__* LiveMenu(HMENU menu) {
    for (const auto& record : menus)
        if (record.get() == menu) return record.get();
    return nullptr;
}

// Makes the bar show the items of the window's menu, or hides it without one.
void RebuildMenuBar(HWND__* window) {
    QMenuBar* bar = window->bar;
    const int oldTop = window->widget->clientTop();
    bar->clear();
    if (HMENU__* menu = LiveMenu(window->menu)) {
        for (const MenuItem& item : menu->items) {
            QAction* action = bar->addAction(QString::fromLocal8Bit(item.text.c_str()));
            const WPARAM command = LOWORD(item.id);
            QObject::connect(action, &QAction::triggered, bar,
                             [window, command] { PostMessage(window, WM_COMMAND, command, 0); });
        }
    }
    bar->setHidden(window->menu == nullptr);
    window->widget->placeMenuBar();
    // The client area grows or shrinks with the bar, which repaints it as a resize does.
    if (window->widget->clientTop() != oldTop) InvalidateRect(window, nullptr, TRUE);
}

} // namespace

HMENU CreateMenu() {
    menus.push_back(std::make_unique<HMENU__>());
    return menus.back().get();
}

BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text) {
    HMENU__* record = LiveMenu(menu);
    if (!record || flags != MF_STRING || !text) return FALSE; // string items are the only kind here
    record->items.push_back({flags, id, text});
    return TRUE;
}

BOOL DestroyMenu(HMENU menu) {
    if (!LiveMenu(menu)) return FALSE;
    std::erase_if(menus, [menu](const auto& record) { return record.get() == menu; });
    return TRUE;
}

BOOL SetMenu(HWND window, HMENU menu) {
    HWND__* record = LiveWindow(window);
    if (!record || (menu && !LiveMenu(menu))) return FALSE;
    record->menu = menu;
    RebuildMenuBar(record);
    return TRUE;
}

HMENU GetMenu(HWND window) {
    HWND__* record = LiveWindow(window);
    return record ? record->menu : nullptr;
}

BOOL DrawMenuBar(HWND window) {
    HWND__* record = LiveWindow(window);
    if (!record) return FALSE;
    RebuildMenuBar(record);
    // Painted now, not when the event loop next runs: the caller may keep the
    // loop busy (a load) while the bar is to be read.
    record->bar->repaint();
    return TRUE;
}
