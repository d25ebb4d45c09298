// Loading a one-million-face file (the writer's format, about 150 MB) with
// ReadMeshFile, from the page cache. Reports bytes per second of file, both
// passes included; LF and CR LF line ends.
#include "bench_mesh_file.h"

#include "kelvorn.h"
#include "meshfile/mesh_reader.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace {

constexpr long kFaces = 1'000'000;

const std::string& MeshPath(LineEnd end) {
    static BenchDir dir;
    static std::string paths[2];
    std::string& path = paths[end == LineEnd::CrLf];
    if (path.empty()) {
        const auto target = dir.path() / (end == LineEnd::CrLf ? "crlf.dxf" : "lf.dxf");
        if (WriteBenchMesh(target, kFaces, end)) path = target.string();
    }
    return path;
}

void LoadMesh(benchmark::State& state, LineEnd end) {
    const std::string& path = MeshPath(end);
    if (path.empty()) {
        state.SkipWithError("cannot write the benchmark mesh");
        return;
    }
    for (auto _ : state) {
        const ReadStatus status = ReadMeshFile(path.c_str(), nullptr);
        if (!status.ok() || nf != kFaces) {
            state.SkipWithError(("load failed: " + DescribeReadError(status)).c_str());
            break;
        }
        benchmark::DoNotOptimize(F);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(std::filesystem::file_size(path)));
    state.counters["faces"] = static_cast<double>(nf);
    ReleaseMeshTable();
}

void BM_ReadMeshFileLf(benchmark::State& state) {
    LoadMesh(state, LineEnd::Lf);
}
void BM_ReadMeshFileCrLf(benchmark::State& state) {
    LoadMesh(state, LineEnd::CrLf);
}

BENCHMARK(BM_ReadMeshFileLf)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ReadMeshFileCrLf)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
