// Painting: the client area is an Image that the view draws into between
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
    *paint = PAINTSTRUCT{};
    // A fresh context per paint: pen and position start anew, as with a paint DC.
    record->context = DrawContext(&image);
    paint->hdc = &record->context;
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

// The paint context is the window's own image context, which BeginPaint sized
// and erased; EndPaint shows it.
DrawContext& PaintImage(HDC dc, const RECT&) { return *dc; }

void ShowPaintImage(HDC) {}
