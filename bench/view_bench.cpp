// Speed of the view on a million-face sphere in a full-HD image: the turn of
// one stroke, the fit, the paint, the whole stroke (turn, fit, paint into a
// white image, as one key press costs) and one drag frame (a turn by an
// arbitrary angle, fit, paint; and one of a motion across and down, which
// turns twice); a standard view (a turn by a whole matrix, fit, paint); the
// paint of the sphere read flattened, half its faces hiding an edge; and the
// same stroke on a 12-face cube, which must stay instant. Every figure is
// also reported in table reads: one plain
// pass summing every coordinate of the million-face table, measured in the
// same run.
#include "view_bench_model.h"

#include "view/standard_views.h"
#include "view/table_extents.h"
#include "view/view.h"
#include "view/view_navigation.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

constexpr int kWidth = 1920, kHeight = 1080;
constexpr Rect kClient{0, 0, kWidth, kHeight};
constexpr double kDragAngle = 0.0123; // radians: a small mouse movement

std::vector<Face> MillionFaces() { return SphereFaces(1000, 1000); }

// One paint as the viewer makes it: the image white with the mesh on it.
void Paint(Image& image) { PaintMeshImage(image, kClient); }

void Stroke() { RotateMesh(kKeyPageDown, 1); }

void BM_TableRead(benchmark::State& state) {
    BenchModel model(MillionFaces());
    TimeInTableReads(state, [] { benchmark::DoNotOptimize(SumEveryCoordinate(F, nf)); });
}

void BM_Turn(benchmark::State& state) {
    BenchModel model(MillionFaces());
    TimeInTableReads(state, Stroke);
}

// The fit of the paint that follows a stroke, as the paint of a large table
// into an image makes it: to the extents the turn found on its way.
void BM_FitAfterTurn(benchmark::State& state) {
    BenchModel model(MillionFaces());
    TimeInTableReads(state, [] {
        TableExtents extents;
        if (!RememberedTableExtents(extents)) extents = MeasureTableExtents();
        FitView(kClient, extents);
    }, Stroke);
}

// The paint that follows a stroke: fit and draw on a white image.
void BM_PaintAfterTurn(benchmark::State& state) {
    BenchModel model(MillionFaces());
    Image image;
    TimeInTableReads(state, [&] { Paint(image); }, Stroke);
}

// The same paint in the flattened reading, where HiddenEdges is set: every
// other face hides an edge, as split quadrilaterals hide their diagonals.
void BM_PaintAfterTurnHidingEdges(benchmark::State& state) {
    BenchModel model(MillionFaces(), HiddenDiagonals(1'000'000));
    Image image;
    TimeInTableReads(state, [&] { Paint(image); }, Stroke);
}

void BM_Stroke(benchmark::State& state) {
    BenchModel model(MillionFaces());
    Image image;
    TimeInTableReads(state, [&] {
        Stroke();
        Paint(image);
    });
}

void BM_DragFrame(benchmark::State& state) {
    BenchModel model(MillionFaces());
    Image image;
    TimeInTableReads(state, [&] {
        TurnMesh(Plane::XZ, kDragAngle);
        Paint(image);
    });
}

// A mouse motion both across and down: two turns, as the viewer's drag makes them.
void BM_DiagonalDragFrame(benchmark::State& state) {
    BenchModel model(MillionFaces());
    Image image;
    TimeInTableReads(state, [&] {
        TurnByDrag(3, -2, false, kClient);
        Paint(image);
    });
}

// A standard view and its paint: front and isometric in turn, so that every
// one turns the whole table, by a matrix with no zero in it every other time.
void BM_StandardView(benchmark::State& state) {
    BenchModel model(MillionFaces());
    Image image;
    bool front = false;
    TimeInTableReads(state, [&] {
        front = !front;
        ShowStandardView(front ? StandardView::Front : StandardView::Iso);
        Paint(image);
    });
}

// The cube's stroke without the erase, which alone would hide it.
void BM_CubeStroke(benchmark::State& state) {
    BenchModel model(CubeFaces());
    Image image;
    image.reset(kWidth, kHeight);
    TimeInTableReads(state, [&] {
        Stroke();
        DrawContext dc(&image);
        DrawMesh(dc, kClient);
    });
}

#define VIEW_BENCHMARK(name) \
    BENCHMARK(name)->UseManualTime()->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Fastest)
VIEW_BENCHMARK(BM_TableRead);
VIEW_BENCHMARK(BM_Turn);
// Nearly free: timed to a fixed count, or the untimed turns would take minutes.
VIEW_BENCHMARK(BM_FitAfterTurn)->Iterations(50);
VIEW_BENCHMARK(BM_PaintAfterTurn);
VIEW_BENCHMARK(BM_PaintAfterTurnHidingEdges);
VIEW_BENCHMARK(BM_Stroke);
VIEW_BENCHMARK(BM_DragFrame);
VIEW_BENCHMARK(BM_DiagonalDragFrame);
VIEW_BENCHMARK(BM_StandardView);
BENCHMARK(BM_CubeStroke)->UseManualTime()->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", Fastest);

} // namespace

BENCHMARK_MAIN();
