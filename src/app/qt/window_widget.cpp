// The widget of a window: painting the client image, input as messages.
#include "app/qt/virtual_keys.h"
#include "app/qt/window_record.h"

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

WindowWidget::WindowWidget(HWND window) : window_(window) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    window->bar = new QMenuBar(this);
    window->bar->setNativeMenuBar(false); // the bar belongs in the window, as on Windows
    window->bar->setFocusPolicy(Qt::NoFocus);
    window->bar->hide();
}

int WindowWidget::clientTop() const {
    const QMenuBar* bar = window_->bar;
    if (bar->isHidden()) return 0;
    const int height = bar->heightForWidth(width());
    return height > 0 ? height : bar->sizeHint().height();
}

void WindowWidget::placeMenuBar() { window_->bar->setGeometry(0, 0, width(), clientTop()); }

void WindowWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int top = clientTop();
    const Image& image = window_->image;
    const QRect client(0, top, width(), height() - top);
    if (image.width != client.width() || image.height != client.height()) {
        // A paint message is on its way; until then the area shows the class brush.
        painter.fillRect(client, QColor::fromRgba(window_->background ? window_->background->colour : Image::kWhite));
        return;
    }
    const QImage pixels(reinterpret_cast<const uchar*>(image.pixels.data()), image.width, image.height,
                        static_cast<qsizetype>(image.width) * 4, QImage::Format_RGB32);
    painter.drawImage(client.topLeft(), pixels);
}

void WindowWidget::resizeEvent(QResizeEvent*) {
    placeMenuBar();
    // CS_HREDRAW | CS_VREDRAW: a new size repaints the whole client area.
    if (window_->classStyle & (CS_HREDRAW | CS_VREDRAW)) InvalidateRect(window_, nullptr, TRUE);
}

void WindowWidget::keyPressEvent(QKeyEvent* event) { postKey(event, false); }

void WindowWidget::keyReleaseEvent(QKeyEvent* event) {
    // Windows reports a held key as repeated key-downs only, with no release between them.
    if (event->isAutoRepeat()) return;
    postKey(event, true);
}

void WindowWidget::postKey(QKeyEvent* event, bool up) {
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
    PostMessage(window_, message, key, static_cast<LPARAM>(flags));
}

bool WindowWidget::postButton(QMouseEvent* event, UINT left, UINT middle) {
    const UINT message = event->button() == Qt::LeftButton ? left : event->button() == Qt::MiddleButton ? middle : 0;
    if (message == 0) return false;
    const QPoint client = event->position().toPoint() - QPoint(0, clientTop());
    PostMessage(window_, message, KeyState(event->buttons(), event->modifiers()), PackPoint(client));
    return true;
}

void WindowWidget::mousePressEvent(QMouseEvent* event) {
    if (!postButton(event, WM_LBUTTONDOWN, WM_MBUTTONDOWN)) event->ignore();
}

void WindowWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (!postButton(event, WM_LBUTTONUP, WM_MBUTTONUP)) event->ignore();
}

void WindowWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    // Qt reports press, release, double-click, release; Windows the same with
    // CS_DBLCLKS, and without it a second press in place of the double-click.
    const bool doubleClicks = window_->classStyle & CS_DBLCLKS;
    if (!postButton(event, doubleClicks ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN,
                    doubleClicks ? WM_MBUTTONDBLCLK : WM_MBUTTONDOWN))
        event->ignore();
}

void WindowWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPoint client = event->position().toPoint() - QPoint(0, clientTop());
    PostMouseMove(window_, KeyState(event->buttons(), event->modifiers()), PackPoint(client));
}

void WindowWidget::wheelEvent(QWheelEvent* event) {
    // angleDelta counts eighths of a degree: 120 a notch, as Windows reports it.
    const int delta = std::clamp(event->angleDelta().y(), -32768, 32767);
    if (delta == 0) {
        event->ignore();
        return;
    }
    const WPARAM state = KeyState(event->buttons(), event->modifiers()) | (static_cast<WPARAM>(delta) & 0xFFFF) << 16;
    PostMessage(window_, WM_MOUSEWHEEL, state, PackPoint(event->globalPosition().toPoint()));
}

void WindowWidget::dragEnterEvent(QDragEnterEvent* event) {
    if (!LocalFiles(event->mimeData()).empty()) event->acceptProposedAction();
}

void WindowWidget::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths = LocalFiles(event->mimeData());
    if (paths.empty()) return;
    PostMessage(window_, WM_DROPFILES, reinterpret_cast<WPARAM>(new HDROP__{std::move(paths)}), 0);
    event->acceptProposedAction();
}

void WindowWidget::closeEvent(QCloseEvent* event) {
    // The close box asks the window procedure, which decides (by default: destroy).
    event->ignore();
    PostMessage(window_, WM_CLOSE, 0, 0);
}
