// The main window's widget: the menu bar, the client image, input as messages;
// the files of a drop.
#include "app/qt/virtual_keys.h"
#include "app/qt/main_window_widget.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>
#include <QWheelEvent>

#include <algorithm>
#include <cstring>

namespace {

// The buttons and keys held, as the mouse messages' wParam carries them.
WPARAM KeyState(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    WPARAM state = 0;
    if (buttons & Qt::LeftButton) state |= MK_LBUTTON;
    if (buttons & Qt::RightButton) state |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton) state |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier) state |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier) state |= MK_CONTROL;
    return state;
}

// x in the low word, y in the high word, each as a signed 16-bit number.
LPARAM PackPoint(QPoint point) {
    return static_cast<LPARAM>((static_cast<DWORD>(point.x()) & 0xFFFF) | (static_cast<DWORD>(point.y()) & 0xFFFF) << 16);
}

// The local files among the dropped URLs.
std::vector<std::string> LocalFiles(const QMimeData* data) {
    std::vector<std::string> paths;
    if (data)
        for (const QUrl& url : data->urls())
            if (url.isLocalFile()) paths.push_back(url.toLocalFile().toLocal8Bit().toStdString());
    return paths;
}

} // namespace

HWND__::HWND__(const WNDCLASSA& windowClass)
    : proc(windowClass.lpfnWndProc), classStyle(windowClass.style), bar(new QMenuBar(this)) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    bar->setNativeMenuBar(false); // the bar belongs in the window, as on Windows
    bar->setFocusPolicy(Qt::NoFocus);
    bar->hide();
}

int HWND__::clientTop() const {
    if (bar->isHidden()) return 0;
    const int height = bar->heightForWidth(width());
    return height > 0 ? height : bar->sizeHint().height();
}

void HWND__::showMenu(HMENU shown) {
    const int oldTop = clientTop();
    menu = shown;
    bar->clear();
    for (const auto& [id, text] : menu ? menu->items : decltype(menu->items)()) {
        const WPARAM command = LOWORD(id);
        connect(bar->addAction(QString::fromLocal8Bit(text.c_str())), &QAction::triggered, bar,
                [this, command] { PostMessage(this, WM_COMMAND, command, 0); });
    }
    bar->setHidden(menu == nullptr);
    bar->setGeometry(0, 0, width(), clientTop());
    // The client area grows or shrinks with the bar, which repaints it as a resize does.
    if (clientTop() != oldTop) invalid = true;
}

void HWND__::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect client(0, clientTop(), width(), height() - clientTop());
    if (image.width != client.width() || image.height != client.height()) {
        // A paint message is on its way; until then the area shows the class brush.
        painter.fillRect(client, Qt::white);
        return;
    }
    const QImage pixels(reinterpret_cast<const uchar*>(image.pixels.data()), image.width, image.height,
                        static_cast<qsizetype>(image.width) * 4, QImage::Format_RGB32);
    painter.drawImage(client.topLeft(), pixels);
}

void HWND__::resizeEvent(QResizeEvent*) {
    bar->setGeometry(0, 0, width(), clientTop());
    // CS_HREDRAW | CS_VREDRAW: a new size repaints the whole client area.
    if (classStyle & (CS_HREDRAW | CS_VREDRAW)) invalid = true;
}

void HWND__::keyPressEvent(QKeyEvent* event) { postKey(event, false); }

void HWND__::keyReleaseEvent(QKeyEvent* event) {
    // Windows reports a held key as repeated key-downs only, with no release between them.
    if (event->isAutoRepeat()) return;
    postKey(event, true);
}

void HWND__::postKey(QKeyEvent* event, bool up) {
    const unsigned key = VirtualKeyFromQt(event->key(), event->modifiers() & Qt::KeypadModifier);
    if (key == 0) {
        event->ignore();
        return;
    }
    const bool alt = event->modifiers() & Qt::AltModifier;
    // lParam as Windows builds it: repeat count 1 in the low word, bit 29 for
    // Alt, bit 30 for "was down before", bit 31 for a release.
    DWORD flags = 1;
    if (alt) flags |= 1u << 29;
    if (up || event->isAutoRepeat()) flags |= 1u << 30;
    if (up) flags |= 1u << 31;
    const UINT message = alt ? (up ? WM_SYSKEYUP : WM_SYSKEYDOWN) : (up ? WM_KEYUP : WM_KEYDOWN);
    PostMessage(this, message, key, static_cast<LPARAM>(flags));
}

bool HWND__::postButton(QMouseEvent* event, UINT left, UINT middle) {
    const UINT message = event->button() == Qt::LeftButton ? left : event->button() == Qt::MiddleButton ? middle : 0;
    if (message == 0) return false;
    const QPoint client = event->position().toPoint() - QPoint(0, clientTop());
    PostMessage(this, message, KeyState(event->buttons(), event->modifiers()), PackPoint(client));
    return true;
}

void HWND__::mousePressEvent(QMouseEvent* event) {
    if (!postButton(event, WM_LBUTTONDOWN, WM_MBUTTONDOWN)) event->ignore();
}

void HWND__::mouseReleaseEvent(QMouseEvent* event) {
    if (!postButton(event, WM_LBUTTONUP, WM_MBUTTONUP)) event->ignore();
}

void HWND__::mouseDoubleClickEvent(QMouseEvent* event) {
    // Qt reports press, release, double-click, release; Windows the same with
    // CS_DBLCLKS, and without it a second press in place of the double-click.
    const bool doubleClicks = classStyle & CS_DBLCLKS;
    if (!postButton(event, doubleClicks ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN,
                    doubleClicks ? WM_MBUTTONDBLCLK : WM_MBUTTONDOWN))
        event->ignore();
}

void HWND__::mouseMoveEvent(QMouseEvent* event) {
    const QPoint client = event->position().toPoint() - QPoint(0, clientTop());
    PostMouseMove(this, KeyState(event->buttons(), event->modifiers()), PackPoint(client));
}

void HWND__::wheelEvent(QWheelEvent* event) {
    // angleDelta counts eighths of a degree: 120 a notch, as Windows reports it.
    const int delta = std::clamp(event->angleDelta().y(), -32768, 32767);
    if (delta == 0) {
        event->ignore();
        return;
    }
    const WPARAM state = KeyState(event->buttons(), event->modifiers()) | (static_cast<WPARAM>(delta) & 0xFFFF) << 16;
    PostMessage(this, WM_MOUSEWHEEL, state, PackPoint(event->globalPosition().toPoint()));
}

void HWND__::dragEnterEvent(QDragEnterEvent* event) {
    if (!LocalFiles(event->mimeData()).empty()) event->acceptProposedAction();
}

void HWND__::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths = LocalFiles(event->mimeData());
    if (paths.empty()) return;
    PostMessage(this, WM_DROPFILES, reinterpret_cast<WPARAM>(new HDROP__{std::move(paths)}), 0);
    event->acceptProposedAction();
}

void HWND__::closeEvent(QCloseEvent* event) {
    // The close box asks the window procedure, which decides (by default: destroy).
    event->ignore();
    PostMessage(this, WM_CLOSE, 0, 0);
}

UINT DragQueryFile(HDROP drop, UINT index, LPSTR buffer, UINT size) {
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
