// Painting: the client area is an Image that a paint fills between
// BeginPaint and EndPaint, and that the widget shows.
#include "app/qt/vector_state.h"
#include "app/qt/window_record.h"
#include "paint_image.h"

#include <utility>

namespace {

// Stock objects: the white brush erases; pens are chosen on the drawing context itself.
HBRUSH__ whiteBrush{Image::kWhite};

// The window's client image sized to its client area and erased with the class brush.
void EraseClientImage(HWND__* record) {
    RECT client;
    GetClientRect(record, &client);
    record->image.reset(client.right, client.bottom, record->background ? record->background->colour : Image::kWhite);
}

} // namespace

HGDIOBJ GetStockObject(int object) { return object == WHITE_BRUSH ? &whiteBrush : nullptr; }

HDC BeginPaint(HWND window, PAINTSTRUCT* paint) {
    HWND__* record = LiveWindow(window);
    if (!record || !paint) return nullptr;
    RECT client;
    GetClientRect(window, &client);
    const bool resized = record->image.width != client.right || record->image.height != client.bottom;
    record->eraseOwed = resized || record->erase;
    record->invalid = record->erase = false;
    paint->hdc = &record->paintContext;
    return paint->hdc;
}

BOOL EndPaint(HWND window, const PAINTSTRUCT*) {
    HWND__* record = LiveWindow(window);
    if (!record) return FALSE;
    if (record->eraseOwed) EraseClientImage(record);
    record->eraseOwed = false;
    // Shown now, as a paint on Windows is, even when a long load follows in the same message.
    record->widget->repaint();
    ClearUpperVectorState();
    return TRUE;
}

BOOL InvalidateRect(HWND window, const RECT*, BOOL erase) {
    HWND__* record = LiveWindow(window);
    if (!record) return FALSE;
    record->invalid = true;
    record->erase = record->erase || erase;
    return TRUE;
}

// The picture becomes the window's client image, which EndPaint shows; the
// caller gets the buffer of the one before, to paint the next picture in.
void ShowPaintImage(HDC dc, Image& image) {
    HWND__* record = dc ? LiveWindow(dc->window) : nullptr;
    if (!record) return;
    std::swap(record->image, image);
    record->eraseOwed = false;
}
