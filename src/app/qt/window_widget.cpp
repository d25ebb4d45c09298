// The widget of a window: painting the client image, input as messages.
#include "app/qt/virtual_keys.h"
#include "app/qt/window_record.h"

#include <QCloseEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPainter>

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
    const unsigned key = VirtualKeyFromQt(event->key());
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

void WindowWidget::closeEvent(QCloseEvent* event) {
    // The close box asks the window procedure, which decides (by default: destroy).
    event->ignore();
    PostMessage(window_, WM_CLOSE, 0, 0);
}
