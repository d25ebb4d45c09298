// Speed of the view: turning a million-face model by one stroke, and fitting
// and painting it into a full-HD image.
#include "kelvorn.h"
#include "view/view.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

constexpr int kRings = 1000, kSectors = 1000; // 1,000,000 faces, 4,000,000 points

// A unit sphere as a latitude–longitude grid of quads, tilted so that its
// outline is not aligned with the axes. The poles give zero-length edges.
std::vector<Face> SphereFaces() {
    const double pi = std::acos(-1.0), tilt = 0.4;
    auto point = [&](int ring, int sector) {
        const double polar = pi * ring / kRings, azimuth = 2 * pi * sector / kSectors;
        const double x = std::sin(polar) * std::cos(azimuth), y = std::sin(polar) * std::sin(azimuth);
        const double z = std::cos(polar);
        return xyz(x, y * std::cos(tilt) - z * std::sin(tilt), y * std::sin(tilt) + z * std::cos(tilt));
    };
    std::vector<Face> faces;
    faces.reserve(static_cast<std::size_t>(kRings) * kSectors + 4);
    for (int ring = 0; ring < kRings; ++ring)
        for (int sector = 0; sector < kSectors; ++sector)
            faces.push_back({point(ring, sector), point(ring, sector + 1), point(ring + 1, sector + 1),
                             point(ring + 1, sector)});
    return faces;
}

// The sphere as the face table for one benchmark.
struct SphereModel {
    std::vector<Face> faces = SphereFaces();
    SphereModel() {
        F = faces.data();
        nf = static_cast<int>(faces.size());
    }
    ~SphereModel() {
        F = nullptr;
        nf = 0;
    }
};

void BM_RotateMeshOneStroke(benchmark::State& state) {
    SphereModel model;
    for (auto _ : state) {
        RotateMesh(kKeyDelete, 1);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 4 * static_cast<long>(nf));
}
BENCHMARK(BM_RotateMeshOneStroke)->Unit(benchmark::kMillisecond);

void BM_FitView(benchmark::State& state) {
    SphereModel model;
    for (auto _ : state) {
        FitView(Rect{0, 0, 1920, 1080});
        benchmark::DoNotOptimize(xs);
    }
}
BENCHMARK(BM_FitView)->Unit(benchmark::kMillisecond);

// One paint without the erase: fit, then four lines per face into the image.
void BM_FitAndDrawMeshFullHd(benchmark::State& state) {
    SphereModel model;
    Image image;
    image.reset(1920, 1080);
    for (auto _ : state) {
        DrawContext dc(&image);
        DrawMesh(dc, Rect{0, 0, 1920, 1080});
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 4 * static_cast<long>(nf));
}
BENCHMARK(BM_FitAndDrawMeshFullHd)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
