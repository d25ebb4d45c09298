// Peak memory of one load of a one-million-face file: prints the process's
// maximum resident set next to the face table's size, and fails when the
// load needed more than the table plus 16 MB (the table is the only large
// block a load may hold; the file is read through a bounded buffer, or mapped
// and its pages given back a window at a time).
// One load per process, since the peak is the process's high-water mark:
//     reader_peak_memory lf   |   reader_peak_memory crlf
#include "bench_mesh_file.h"

#include "kelvorn.h"
#include "meshfile/reader/mesh_reader.h"

#include <cstdio>
#include <cstring>
#include <sys/resource.h>

int main(int argc, char** argv) {
    if (argc != 2 || (std::strcmp(argv[1], "lf") != 0 && std::strcmp(argv[1], "crlf") != 0)) {
        std::fprintf(stderr, "usage: reader_peak_memory lf|crlf\n");
        return 2;
    }
    constexpr long kFaces = 1'000'000;
    const LineEnd end = std::strcmp(argv[1], "lf") == 0 ? LineEnd::Lf : LineEnd::CrLf;
    BenchDir dir;
    const auto path = dir.path() / "mesh.dxf";
    if (!WriteBenchMesh(path, kFaces, end)) {
        std::fprintf(stderr, "cannot write %s\n", path.string().c_str());
        return 1;
    }
    const ReadStatus status = ReadMeshFile(path.string().c_str(), nullptr);
    if (!status.ok() || nf != kFaces) {
        std::fprintf(stderr, "cannot read %s: %s\n", path.string().c_str(),
                     DescribeReadError(status).c_str());
        return 1;
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double peak_mb = usage.ru_maxrss / 1024.0;
    const double table_mb = (kFaces + 4) * sizeof(Face) / 1048576.0;
    const bool fits = peak_mb <= table_mb + 16.0;
    std::printf("%-4s %ld faces: table %.1f MB, peak resident %.1f MB (limit %.1f MB) %s\n", argv[1], kFaces,
                table_mb, peak_mb, table_mb + 16.0, fits ? "ok" : "TOO MUCH");
    return fits ? 0 : 1;
}
