#include "view/large_paint.h"
#include "view/projection.h"
#include "view/table_extents.h"
#include "view/view.h"
#include "view/view_navigation.h"

namespace {

// Whether the table is large, and so painted on two threads through masks
// where the context draws only into an image: then the paint sets every
// pixel of the image, and no erase need come before it.
bool LargeTableLoaded() { return F != nullptr && nf >= kLargeTable; }

// A large table drawn only into an image fits to the extents remembered from
// its last turn or paint, checked as it is drawn; any other paint measures
// the table first.
FitExtents ExtentsToFit(bool large) {
    FitExtents fit;
    fit.guessed = large && RememberedTableExtents(fit.extents);
    if (!fit.guessed) fit.extents = MeasureTableExtents();
    return fit;
}

// The outlines go to the context in batches, in face order, without the
// edges that HiddenEdges hides.
void DrawEveryFace(DrawContext& dc) {
    const Projection projection = Projection::Current();
    const unsigned char* const hidden = HiddenEdges;
    constexpr int kBatchFaces = 256;
    Segment batch[4 * kBatchFaces];
    for (int first = 0; first < nf; first += kBatchFaces) {
        const int faces = nf - first < kBatchFaces ? nf - first : kBatchFaces;
        std::size_t drawn = 0;
        for (int i = 0; i < faces; ++i) {
            projection.outline(F[first + i], batch + drawn);
            drawn += hidden ? static_cast<std::size_t>(KeepDrawnEdges(batch + drawn, hidden[first + i])) : 4;
        }
        dc.DrawSegments(batch, drawn);
    }
}

// Where the last line drawn ends: the paint of a large table leaves the
// context there, as drawing the lines one by one would.
void MoveToEndOfLastLine(DrawContext& dc) {
    const Projection projection = Projection::Current();
    Segment edges[4];
    for (int i = nf - 1; i >= 0; --i) {
        projection.outline(F[i], edges);
        const int drawn = KeepDrawnEdges(edges, HiddenEdges ? HiddenEdges[i] : 0);
        if (drawn > 0) return dc.MoveTo(edges[drawn - 1].x2, edges[drawn - 1].y2);
    }
}

// Draws with the fitted view; false when `fit` was a wrong guess and is now
// the true extents, to fit and draw again.
bool DrawFaces(DrawContext& dc, Image* largeImage, FitExtents& fit, bool everyPixel) {
    if (largeImage == nullptr) {
        DrawEveryFace(dc);
        return true;
    }
    if (!PaintLargeTable(*largeImage, fit, everyPixel)) return false;
    MoveToEndOfLastLine(dc);
    return true;
}

// DrawMesh; with `everyPixel`, the paint of a large table sets every pixel
// of the context's image, as if it had been white.
void DrawMeshSetting(DrawContext& dc, const Rect& R, bool everyPixel) {
    Rb = SubtractClamped(R.bottom, 1);
    const Pen old = dc.SelectPen(Pen::Black);
    if (nf != 0 && F != nullptr) {
        Image* const largeImage = LargeTableLoaded() ? dc.OnlyImage() : nullptr;
        FitExtents fit = ExtentsToFit(largeImage != nullptr);
        do {
            FitView(R, fit.extents);
            ApplyNavigation();
        } while (!DrawFaces(dc, largeImage, fit, everyPixel));
    }
    dc.SelectPen(old);
}

} // namespace

void Line(DrawContext& dc, xyz P, xyz Q) { Projection::Current().line(dc, P, Q); }

void Line(DrawContext& dc, int x, int y, int X, int Y) {
    dc.MoveTo(x, y);
    dc.LineTo(X, Y);
}

void DrawMesh(DrawContext& dc, const Rect& R) { DrawMeshSetting(dc, R, false); }

void PaintMeshImage(Image& image, const Rect& R) {
    // The erase is left to the paint where the paint sets every pixel.
    const bool paintSetsEveryPixel = LargeTableLoaded();
    if (paintSetsEveryPixel)
        image.resize(R.right, R.bottom);
    else
        image.reset(R.right, R.bottom, Image::kWhite);
    DrawContext dc(&image);
    DrawMeshSetting(dc, R, paintSetsEveryPixel);
}
