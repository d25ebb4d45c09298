// Painting: the client area is an image that the shell's paint hands over
// between BeginPaint and EndPaint, and that the widget shows.
#include "app/qt/main_window_widget.h"
#include "paint_image.h"

#include <utility>

namespace {

// Qt's painting can return with the upper halves of the AVX registers still in
// use (seen with Qt 6.4 showing a full-HD client image). Until something
// clears them, every SSE instruction after it is slower on some processors:
// on AMD Zen 4 a pass over the face table takes about 1.7 times as long, and
// so would the turn, the reader and the paint's merge of its masks.
#if defined(__x86_64__) || defined(__i386__)
[[gnu::target("avx")]] void ZeroUpper() { __builtin_ia32_vzeroupper(); }

void ClearUpperVectorState() {
    if (__builtin_cpu_supports("avx")) ZeroUpper();
}
#else
void ClearUpperVectorState() {}
#endif

} // namespace

// Every paint that the shell waits for runs here, and the shell's code resumes
// right after it: the paint of a picture, then the next turn or read, and the
// banner's menu bar, then the read. So here the upper vector state is cleared.
void PaintNow(QWidget* widget) {
    widget->repaint();
    ClearUpperVectorState();
}

HDC BeginPaint(HWND window, PAINTSTRUCT* paint) {
    if (!OpenWindow(window)) return nullptr;
    window->invalid = false;
    paint->hdc = reinterpret_cast<HDC>(window);
    return paint->hdc;
}

// Shown now, as a paint on Windows is, even when a long load follows in the same message.
BOOL EndPaint(HWND window, const PAINTSTRUCT*) {
    if (!OpenWindow(window)) return FALSE;
    PaintNow(window);
    return TRUE;
}

BOOL InvalidateRect(HWND window, const RECT*, BOOL) {
    if (!OpenWindow(window)) return FALSE;
    window->invalid = true;
    return TRUE;
}

// The picture becomes the window's client image, which EndPaint shows; the
// caller gets the buffer of the one before, to paint the next picture in.
void ShowPaintImage(HDC dc, Image& image) {
    if (HWND__* window = OpenWindow(reinterpret_cast<HWND>(dc))) std::swap(window->image, image);
}
