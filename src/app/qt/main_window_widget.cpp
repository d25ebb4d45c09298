// The main window's widget: the menu bar, the client image, input as messages;
// the files of a drop.
#include "app/qt/main_window_widget.h"

#include <QAction>
#include <QDropEvent>
#include <QFile>
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

struct KeyPair {
    int qt;
    unsigned vk;
};

constexpr KeyPair kNamedKeys[] = {
    {Qt::Key_Backspace, VK_BACK}, {Qt::Key_Tab, VK_TAB},         {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Return, VK_RETURN},  {Qt::Key_Enter, VK_RETURN},    {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL}, {Qt::Key_Alt, VK_MENU},       {Qt::Key_Pause, VK_PAUSE},
    {Qt::Key_CapsLock, VK_CAPITAL}, {Qt::Key_Escape, VK_ESCAPE}, {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, VK_PRIOR},   {Qt::Key_PageDown, VK_NEXT},   {Qt::Key_End, VK_END},
    {Qt::Key_Home, VK_HOME},      {Qt::Key_Left, VK_LEFT},       {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},    {Qt::Key_Down, VK_DOWN},       {Qt::Key_Insert, VK_INSERT},
    {Qt::Key_Delete, VK_DELETE},
};

// The virtual-key code of a Qt key, or 0 for a key that has none here. Qt
// gives letters and digits their upper-case ASCII codes, as the virtual keys
// do. Keypad digits are VK_NUMPAD0 to VK_NUMPAD9, as Windows reports them with
// Num Lock on; the keypad's other keys (Num Lock off: Home, End...) map like
// their twins of the main block, as on Windows.
unsigned VirtualKeyFromQt(int qtKey, bool keypad) {
    if (keypad && qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return VK_NUMPAD0 + unsigned(qtKey - Qt::Key_0);
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return unsigned(qtKey);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return VK_F1 + unsigned(qtKey - Qt::Key_F1);
    for (const KeyPair& pair : kNamedKeys)
        if (pair.qt == qtKey) return pair.vk;
    return 0;
}

// The buttons and keys held, as the mouse messages' wParam carries them.
WPARAM KeyState(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    WPARAM state = 0;
    if (buttons & Qt::LeftButton) state |= MK_LBUTTON;
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
QList<QByteArray> LocalFiles(const QMimeData* data) {
    QList<QByteArray> paths;
    if (data)
        for (const QUrl& url : data->urls())
            if (url.isLocalFile()) paths += QFile::encodeName(url.toLocalFile());
    return paths;
}

// lParam of a key message as Windows builds it: repeat count 1 in the low
// word, bit 29 for Alt, bit 30 for "was down before", bit 31 for a release.
void PostKey(HWND window, const QKeyEvent* key, bool up) {
    const unsigned code = VirtualKeyFromQt(key->key(), key->modifiers() & Qt::KeypadModifier);
    const bool alt = key->modifiers() & Qt::AltModifier;
    DWORD flags = 1 | (alt ? 1u << 29 : 0) | (up || key->isAutoRepeat() ? 1u << 30 : 0) | (up ? 1u << 31 : 0);
    const UINT message = alt ? (up ? WM_SYSKEYUP : WM_SYSKEYDOWN) : (up ? WM_KEYUP : WM_KEYDOWN);
    if (code != 0) PostMessage(window, message, code, static_cast<LPARAM>(flags));
}

// The message of a press, a release or a double-click (Qt reports press,
// release, double-click, release, as Windows does for a CS_DBLCLKS class) of
// the left or the middle button; 0 for another button.
UINT ButtonMessage(QEvent::Type type, Qt::MouseButton button) {
    const int kind = type == QEvent::MouseButtonPress ? 0 : type == QEvent::MouseButtonRelease ? 1 : 2;
    static constexpr UINT left[] = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK};
    static constexpr UINT middle[] = {WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK};
    return button == Qt::LeftButton ? left[kind] : button == Qt::MiddleButton ? middle[kind] : 0;
}

} // namespace

HWND__::HWND__(const WNDCLASSA& windowClass)
    : proc(windowClass.lpfnWndProc), bar(new QMenuBar(this)) {
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
    for (const auto& [id, text] : menu ? menu->items : HMENU__().items) {
        const WPARAM command = LOWORD(id);
        connect(bar->addAction(QString::fromLocal8Bit(text.c_str())), &QAction::triggered, bar,
                [this, command] { PostMessage(this, WM_COMMAND, command, 0); });
    }
    bar->setHidden(menu == nullptr);
    bar->setGeometry(0, 0, width(), clientTop());
    // The client area grows or shrinks with the bar, which repaints it as a resize does.
    if (clientTop() != oldTop) invalid = true;
}

void HWND__::paintClient() {
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

bool HWND__::event(QEvent* event) {
    const auto* mouse = dynamic_cast<const QMouseEvent*>(event);
    const QPoint client = mouse ? mouse->position().toPoint() - QPoint(0, clientTop()) : QPoint();
    switch (event->type()) {
    case QEvent::Paint: paintClient(); return true;
    case QEvent::Resize:
        bar->setGeometry(0, 0, width(), clientTop());
        invalid = true; // the class has CS_HREDRAW | CS_VREDRAW: a new size repaints the whole client area
        return true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        // Windows reports a held key as repeated key-downs only, with no release between them.
        if (event->type() == QEvent::KeyPress || !static_cast<QKeyEvent*>(event)->isAutoRepeat())
            PostKey(this, static_cast<QKeyEvent*>(event), event->type() == QEvent::KeyRelease);
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        if (const UINT message = ButtonMessage(event->type(), mouse->button()))
            PostMessage(this, message, KeyState(mouse->buttons(), mouse->modifiers()), PackPoint(client));
        return true;
    case QEvent::MouseMove:
        PostMouseMove(this, KeyState(mouse->buttons(), mouse->modifiers()), PackPoint(client));
        return true;
    case QEvent::Wheel: {
        // angleDelta counts eighths of a degree: 120 a notch, as Windows reports it.
        const auto* wheel = static_cast<const QWheelEvent*>(event);
        const int delta = std::clamp(wheel->angleDelta().y(), -32768, 32767);
        const WPARAM state = KeyState(wheel->buttons(), wheel->modifiers()) | (WPARAM(delta) & 0xFFFF) << 16;
        if (delta != 0) PostMessage(this, WM_MOUSEWHEEL, state, PackPoint(wheel->globalPosition().toPoint()));
        return true;
    }
    case QEvent::DragEnter:
        if (!LocalFiles(static_cast<QDropEvent*>(event)->mimeData()).empty())
            static_cast<QDropEvent*>(event)->acceptProposedAction();
        return true;
    case QEvent::Drop:
        if (QList<QByteArray> paths = LocalFiles(static_cast<QDropEvent*>(event)->mimeData()); !paths.empty()) {
            PostMessage(this, WM_DROPFILES, reinterpret_cast<WPARAM>(new HDROP__{std::move(paths)}), 0);
            static_cast<QDropEvent*>(event)->acceptProposedAction();
        }
        return true;
    case QEvent::Close:
        // The close box asks the window procedure, which decides (by default: destroy).
        event->ignore();
        PostMessage(this, WM_CLOSE, 0, 0);
        return true;
    default: return QWidget::event(event);
    }
}

UINT CopyCut(char* buffer, UINT size, const QByteArray& text) {
    if (size == 0) return 0;
    const auto copied = static_cast<UINT>(std::min<qsizetype>(text.size(), size - 1));
    std::memcpy(buffer, text.constData(), copied);
    buffer[copied] = '\0';
    return copied;
}

UINT DragQueryFile(HDROP drop, UINT index, LPSTR buffer, UINT size) {
    if (index == 0xFFFFFFFF) return static_cast<UINT>(drop->paths.size());
    if (index >= drop->paths.size()) return 0;
    const QByteArray& path = drop->paths[index];
    return buffer ? CopyCut(buffer, size, path) : static_cast<UINT>(path.size());
}

void DragFinish(HDROP drop) { delete drop; }
