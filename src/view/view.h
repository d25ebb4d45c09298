// Fitting the model to the client area, painting it as a wireframe and
// turning it with the keyboard.
#pragma once

#include "kelvorn.h"
#include "view/draw_context.h"

// A client rectangle: left and top are 0, right and bottom the width and height in pixels.
struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// The view transform: screen x = trunc((x + xb) · xs), screen y = Rb − trunc((y + yb) · ys).
extern double xb, yb, xs, ys;
extern int Rb;

// Maps the x–y bounding box of all corners of the nf faces onto R with one uniform scale.
void FitView(const Rect& R);

// Draws the projected segment P→Q (the two ends rounded by their own rules).
void Line(DrawContext& dc, xyz P, xyz Q);
// Moves to (x, y) and draws to (X, Y).
void Line(DrawContext& dc, int x, int y, int X, int Y);

// One paint of the face table into a client area R: sets Rb, selects the black
// pen, fits and draws the four edges of every face, and puts the old pen back.
// Draws nothing when there are no faces. The caller erases the background.
void DrawMesh(DrawContext& dc, const Rect& R);

// One paint of the face table into a client area R as an image: `image`
// sized R.right × R.bottom, white, with DrawMesh's picture on it. Where the
// paint sets every pixel anyway (a large table), the image is not erased
// first.
void PaintMeshImage(Image& image, const Rect& R);

// Virtual-key codes of the six rotation keys (Windows values).
constexpr unsigned char kKeyPageUp = 0x21, kKeyPageDown = 0x22, kKeyEnd = 0x23, kKeyHome = 0x24,
                        kKeyInsert = 0x2D, kKeyDelete = 0x2E;

// Turns every corner of the face table by rep × 10 degrees for a rotation key
// and returns true; any other key changes nothing and returns false.
bool RotateMesh(unsigned char key, int rep);

// The three planes a turn acts in, each named by the axis it moves first.
enum class Plane {
    XZ, // moves +z towards +x (Page Down)
    YZ, // moves +y towards +z (End)
    XY, // moves +x towards +y (Delete)
};

// Turns every corner of the face table by `angle` radians in `plane`, with the
// formulas of the key turns: a positive angle turns as Page Down, End and
// Delete do, a negative one as Page Up, Home and Insert.
void TurnMesh(Plane plane, double angle);

// A turn by `angle` radians in `plane`, as TurnMesh makes it.
struct Turn {
    Plane plane;
    double angle;
};

// Turns every corner by `first` and then by `second`, in one pass over the
// table: the corners bit for bit those of the two TurnMesh calls in turn.
void TurnMeshTwice(Turn first, Turn second);
