#include "paint_mesh.h"

#include "paint_image.h"
#include "view/view.h"

Image& PaintClientImage(const RECT& client) {
    // Kept from paint to paint so that its buffer is reused.
    static Image image;
    PaintMeshImage(image, Rect{client.left, client.top, client.right, client.bottom});
    return image;
}

void PaintMesh(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    ShowPaintImage(dc, PaintClientImage(client));
    EndPaint(window, &paint);
}
