// The records behind the handles of the Qt layer, shared by its files only.
#pragma once

#include "app/qt/win32_api.h"
#include "view/draw_context.h"

#include <QCursor>
#include <QIcon>
#include <QWidget>

#include <string>
#include <vector>

class QMenuBar;

struct HICON__ {
    QIcon icon;
};

struct HCURSOR__ {
    QCursor cursor;
};

struct HBRUSH__ {
    std::uint32_t colour; // 0xAARRGGBB, as the client image stores pixels
};

// The paths of one drop, local 8-bit text as the "A" functions use.
struct HDROP__ {
    std::vector<std::string> paths;
};

struct MenuItem {
    UINT flags;
    UINT_PTR id;
    std::string text;
};

struct HMENU__ {
    std::vector<MenuItem> items;
};

class WindowWidget;

// The paint context of a window: what BeginPaint hands out for it.
struct HDC__ {
    HWND window;
};

struct HWND__ {
    WNDPROC proc = nullptr;
    UINT classStyle = 0;
    HBRUSH background = nullptr;
    DWORD style = 0;
    HMENU menu = nullptr;
    WindowWidget* widget = nullptr;
    QMenuBar* bar = nullptr;
    // The client area's pixels as the last paint left them.
    Image image;
    HDC__ paintContext{this};
    bool invalid = true;
    bool erase = true;
    // A paint under way owes the image an erase with the class brush, which
    // EndPaint does unless a picture of the whole area came first.
    bool eraseOwed = false;
};

// The top-level widget of a window: shows the menu bar and the client image,
// and turns Qt's input into posted window messages. It is the program's one
// subclass: Qt hands a widget's paint, key and close events only to overrides.
class WindowWidget : public QWidget {
public:
    explicit WindowWidget(HWND window);

    // Height of the menu bar above the client area (0 without a menu).
    int clientTop() const;
    // Places the menu bar over the full width (after a resize or a menu change).
    void placeMenuBar();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void postKey(QKeyEvent* event, bool up);
    // Posts a mouse message for `event`'s button; false for another button.
    bool postButton(QMouseEvent* event, UINT left, UINT middle);

    HWND window_;
};

// The record of a live window, or null for a handle that names none.
HWND__* LiveWindow(HWND window);
// A live window that waits for a paint, or null.
HWND FirstInvalidWindow();
// Removes the posted messages of a window that is going away.
void DropMessagesOf(HWND window);
// Posts WM_MOUSEMOVE, or updates the one that waits last in the queue.
void PostMouseMove(HWND window, WPARAM wParam, LPARAM lParam);
