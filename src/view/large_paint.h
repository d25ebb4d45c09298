// Painting a large face table: both cores draw half of the faces each into a
// mask of their own, one byte per pixel, free of races; the two masks then
// go onto the image together. The image comes out as the lines drawn one by
// one would leave it, since all of them are black.
#pragma once

#include "view/draw_context.h"
#include "view/table_extents.h"

// The extents a paint fits to: measured from the table, or remembered from
// the last turn or paint and so only a guess (see RememberedTableExtents).
struct FitExtents {
    TableExtents extents;
    bool guessed = false;
};

// Draws the four edges of each of the nf faces of F, but for those that
// HiddenEdges hides, into `image` with the view transform of the globals,
// and remembers the extents of the faces (every corner) for the next paint.
// When `fit` is a guess and the faces' extents turn out to differ, draws
// nothing, makes `fit` the true extents and returns false: the caller fits
// again and calls once more. With `everyPixel`, the image's pixels are not
// read: each is set, black or white, as a white image would come out.
bool PaintLargeTable(Image& image, FitExtents& fit, bool everyPixel = false);

