#include "paint_mesh.h"

#include "paint_image.h"
#include "view/view.h"

void PaintMesh(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    DrawMesh(PaintImage(dc, client), Rect{client.left, client.top, client.right, client.bottom});
    ShowPaintImage(dc);
    EndPaint(window, &paint);
}
