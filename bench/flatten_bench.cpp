// Flattening a one-million-face plain 3DFACE file (the writer's format with
// CR LF, about 170 MB) against loading it, in the same run: each iteration
// times one read(2) of the whole file, one ReadMeshFile load and one flatten
// as "kelvorn-tool flatten" does it (read, convert, write the exact-format
// file), and reports the flatten as multiples of the load and of the read.
// The target: at most 3 loads. A second case with 250,000 faces shows that
// the cost grows linearly with the faces.
#include "bench_mesh_file.h"

#include "kelvorn.h"
#include "meshfile/dxf/file_source.h"
#include "meshfile/flatten/flatten.h"
#include "meshfile/reader/mesh_reader.h"
#include "meshfile/writer/dxf_writer.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

const std::string& MeshPath(BenchDir& dir, long faces) {
    static std::map<long, std::string> paths;
    std::string& path = paths[faces];
    if (path.empty()) {
        const auto target = dir.path() / ("plain" + std::to_string(faces) + ".dxf");
        if (WriteBenchMesh(target, faces, LineEnd::CrLf)) path = target.string();
    }
    return path;
}

// One read(2) of the whole file into a buffer: the unit.
bool ReadOnce(const std::string& path, char* buffer, std::size_t size) {
    FileSource source;
    return source.open(path.c_str()) == 0 && source.read(buffer, size) >= 0;
}

bool FlattenOnce(const std::string& input, const std::string& output, long long& faces) {
    std::string error;
    FlatDrawing drawing;
    if (!drawing.readFile(input.c_str(), {}, error)) return false;
    DXF dxf(output.c_str());
    dxf.setCoordinates(DxfCoordinates::Shortest);
    const bool expanded = drawing.faces(
        [&](const Face* f, const unsigned char* hidden, std::size_t n) { dxf.faces(f, hidden, n); }, error);
    faces = dxf.faces();
    return dxf.close() && expanded;
}

void FlattenAgainstLoad(benchmark::State& state) {
    static BenchDir dir;
    const long kFaces = static_cast<long>(state.range(0));
    const std::string& path = MeshPath(dir, kFaces);
    const std::string output = (dir.path() / "flat.dxf").string();
    const std::size_t size = path.empty() ? 0 : std::filesystem::file_size(path);
    std::unique_ptr<char[]> buffer(new char[size + 1]);
    double read = 0, load = 0, flatten = 0;
    for (auto _ : state) {
        Clock::time_point start = Clock::now();
        bool ok = ReadOnce(path, buffer.get(), size + 1);
        read += SecondsSince(start);
        start = Clock::now();
        ok = ok && ReadMeshFile(path.c_str(), nullptr).ok() && nf == kFaces;
        load += SecondsSince(start);
        start = Clock::now();
        long long written = 0;
        ok = ok && FlattenOnce(path, output, written) && written == kFaces;
        flatten += SecondsSince(start);
        if (!ok) state.SkipWithError("cannot write, load or flatten the benchmark mesh");
    }
    ReleaseMeshTable();
    const double n = static_cast<double>(state.iterations());
    state.counters["read_ms"] = 1000 * read / n;
    state.counters["load_ms"] = 1000 * load / n;
    state.counters["flatten_ms"] = 1000 * flatten / n;
    state.counters["flatten_loads"] = flatten / load;
    state.counters["flatten_reads"] = flatten / read;
    state.counters["flatten_ns_per_face"] = 1e9 * flatten / n / static_cast<double>(kFaces);
}

BENCHMARK(FlattenAgainstLoad)->Arg(250'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

} // namespace

BENCHMARK_MAIN();
