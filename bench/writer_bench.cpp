// Speed of the DXF writer: one million faces to a file, the target being half
// a second or less.
#include "meshfile/writer/dxf_writer.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>
#include <system_error>
#include <vector>

namespace {

constexpr int kFaces = 1000000;

// A pool of faces with coordinates of a typical model, cycled through.
std::vector<Face> SampleFaces() {
    std::mt19937_64 random(42);
    std::uniform_real_distribution<double> coordinate(-1000, 1000);
    std::vector<Face> faces(4096);
    for (Face& f : faces)
        for (xyz* p : {&f.A, &f.B, &f.C, &f.D})
            *p = xyz(coordinate(random), coordinate(random), coordinate(random));
    return faces;
}

void BM_WriteMillionFaces(benchmark::State& state) {
    const std::vector<Face> faces = SampleFaces();
    const std::string path = (std::filesystem::temp_directory_path() / "kelvorn-writer-bench.dxf").string();
    for (auto _ : state) {
        DXF dxf(path.c_str());
        for (int i = 0; i < kFaces; ++i) {
            const Face& f = faces[i % faces.size()];
            dxf.face(f.A, f.B, f.C, f.D);
        }
        if (!dxf.close()) state.SkipWithError("cannot write the benchmark file");
    }
    std::error_code ignored;
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path, ignored));
    std::filesystem::remove(path, ignored);
}
BENCHMARK(BM_WriteMillionFaces)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
