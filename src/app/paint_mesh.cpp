#include "paint_mesh.h"

#include "view/view.h"

void PaintMesh(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    DrawMesh(*dc, Rect{client.left, client.top, client.right, client.bottom});
    EndPaint(window, &paint);
}
