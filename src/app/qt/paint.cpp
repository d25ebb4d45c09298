// Painting: the client area is an Image that a paint fills between
// BeginPaint and EndPaint, and that the widget shows.
#include "app/qt/window_record.h"
#include "paint_image.h"

namespace {

// Stock objects: the white brush erases; pens are chosen on the drawing context itself.
HBRUSH__ whiteBrush{Image::kWhite};

} // namespace

HGDIOBJ GetStockObject(int object) { return object == WHITE_BRUSH ? &whiteBrush : nullptr; }

HDC BeginPaint(HWND window, PAINTSTRUCT* paint) {
    HWND__* record = LiveWindow(window);
    if (!record || !paint) return nullptr;
    RECT client;
    GetClientRect(window, &client);
    Image& image = record->image;
    const bool resized = image.width != client.right || image.height != client.bottom;
    if (resized || record->erase)
        image.reset(client.right, client.bottom, record->background ? record->background->colour : Image::kWhite);
    record->invalid = record->erase = false;
    paint->hdc = &record->paintContext;
    return paint->hdc;
}

BOOL EndPaint(HWND window, const PAINTSTRUCT*) {
    HWND__* record = LiveWindow(window);
    if (!record) return FALSE;
    // Shown now, as a paint on Windows is, even when a long load follows in the same message.
    record->widget->repaint();
    return TRUE;
}

BOOL InvalidateRect(HWND window, const RECT*, BOOL erase) {
    HWND__* record = LiveWindow(window);
    if (!record) return FALSE;
    record->invalid = true;
    record->erase = record->erase || erase;
    return TRUE;
}

// The picture becomes the window's client image, which EndPaint shows.
void ShowPaintImage(HDC dc, const Image& image) {
    if (HWND__* record = dc ? LiveWindow(dc->window) : nullptr) record->image = image;
}
