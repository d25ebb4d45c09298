// Loading a one-million-face file (the writer's format, about 150 MB) with
// ReadMeshFile from the page cache, LF and CR LF, and a 12-face cube. Each
// iteration also times the unit, one read(2) of the whole file into a buffer,
// so that every load is reported as a multiple of it, measured under the same
// conditions:
//   load_ms   the load, both passes and the table     unit_ms  the read(2)
//   x_unit    load_ms / unit_ms                        MB/s     file bytes per second of load
#include "bench_mesh_file.h"

#include "kelvorn.h"
#include "meshfile/reader/mesh_reader.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr long kFaces = 1'000'000;
constexpr long kCubeFaces = 12;

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// A generated mesh file, written once per process.
const std::string& MeshPath(long faces, LineEnd end) {
    static BenchDir dir;
    static std::string paths[2][2];
    std::string& path = paths[faces == kFaces][end == LineEnd::CrLf];
    if (path.empty()) {
        const auto target = dir.path() / (std::to_string(faces) + (end == LineEnd::CrLf ? "-crlf.dxf" : "-lf.dxf"));
        if (WriteBenchMesh(target, faces, end)) path = target.string();
    }
    return path;
}

// The unit: the whole file into `buffer` (sized to it) with one read(2).
bool ReadWholeFile(const std::string& path, std::vector<char>& buffer) {
    const int fd = open(path.c_str(), O_RDONLY);
    if (fd < 0) return false;
    const ssize_t got = read(fd, buffer.data(), buffer.size());
    close(fd);
    return got == static_cast<ssize_t>(buffer.size());
}

void LoadMesh(benchmark::State& state, long faces, LineEnd end) {
    const std::string& path = MeshPath(faces, end);
    if (path.empty()) return state.SkipWithError("cannot write the benchmark mesh");
    const auto bytes = static_cast<std::size_t>(std::filesystem::file_size(path));
    std::vector<char> buffer(bytes, 1); // touched: the unit copies, it does not fault pages in
    double unit = 0, load = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const Clock::time_point unit_start = Clock::now();
        const bool unit_ok = ReadWholeFile(path, buffer);
        unit += SecondsSince(unit_start);
        state.ResumeTiming();
        const Clock::time_point load_start = Clock::now();
        const ReadStatus status = ReadMeshFile(path.c_str(), nullptr);
        load += SecondsSince(load_start);
        if (!unit_ok || !status.ok() || nf != faces) {
            state.SkipWithError(("load failed: " + DescribeReadError(status)).c_str());
            break;
        }
        benchmark::DoNotOptimize(F);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["load_ms"] = 1e3 * load / n;
    state.counters["unit_ms"] = 1e3 * unit / n;
    state.counters["x_unit"] = load / unit;
    state.counters["MB/s"] = static_cast<double>(bytes) * n / load / 1e6;
    ReleaseMeshTable();
}

void BM_ReadMeshFileLf(benchmark::State& state) { LoadMesh(state, kFaces, LineEnd::Lf); }
void BM_ReadMeshFileCrLf(benchmark::State& state) { LoadMesh(state, kFaces, LineEnd::CrLf); }
// A small model stays instant: one pass each, no thread.
void BM_ReadMeshFileCube(benchmark::State& state) { LoadMesh(state, kCubeFaces, LineEnd::CrLf); }

BENCHMARK(BM_ReadMeshFileLf)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(BM_ReadMeshFileCrLf)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(BM_ReadMeshFileCube)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(1.0);

} // namespace

BENCHMARK_MAIN();
