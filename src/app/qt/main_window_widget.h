// The main window of the Qt layer, shared by the layer's files only. Its
// widget is the window: the HWND points at it.
#pragma once

#include "app/qt/win32_api.h"
#include "view/draw_context.h"

#include <QByteArray>
#include <QList>
#include <QWidget>

#include <string>
#include <utility>
#include <vector>

class QMenuBar;

struct HMENU__ {
    std::vector<std::pair<UINT_PTR, std::string>> items; // command number and text
};

// The paths of one drop, local 8-bit text as the "A" functions use.
struct HDROP__ {
    QList<QByteArray> paths;
};

// Shows the menu bar and the client image, and posts Qt's input to the queue
// as window messages.
struct HWND__ final : QWidget {
    explicit HWND__(const WNDCLASSA& windowClass);

    // Height of the menu bar above the client area (0 while it is hidden).
    int clientTop() const;
    // Shows the items of `menu` on the bar, or hides the bar for none.
    void showMenu(HMENU shown);

    WNDPROC proc;
    HMENU menu = nullptr;
    QMenuBar* bar;
    Image image; // the client area's pixels as the last paint left them
    bool invalid = true;

protected:
    bool event(QEvent* event) override;

private:
    // Shows the client image, or white until a paint of the present size.
    void paintClient();
};

// The main window, or null while none is open.
HWND__* CurrentWindow();
// The main window if `window` names it, else null.
HWND__* OpenWindow(HWND window);
// Posts WM_MOUSEMOVE, or updates the one that waits last in the queue.
void PostMouseMove(HWND window, WPARAM wParam, LPARAM lParam);
// Empties the queue of the window that is going away.
void DropPostedMessages();
// Paints `widget` now, for the user to see before the shell goes on.
void PaintNow(QWidget* widget);
// Copies `text` into a buffer of `size` characters, cut to fit and
// NUL-terminated, as Windows fills the caller's buffers; returns the length copied.
UINT CopyCut(char* buffer, UINT size, const QByteArray& text);
