#include "bench_mesh_file.h"

#include <cstdio>
#include <random>
#include <string>
#include <unistd.h>

bool WriteBenchMesh(const std::filesystem::path& path, long faces, LineEnd end) {
    std::FILE* out = std::fopen(path.string().c_str(), "wb");
    if (!out) return false;
    const char* eol = end == LineEnd::CrLf ? "\r\n" : "\n";
    std::mt19937 random(12345);
    std::uniform_real_distribution<double> coordinate(-500.0, 500.0);
    std::fprintf(out, "0%sSECTION%s2%sENTITIES%s", eol, eol, eol, eol);
    static constexpr int kCodes[] = {10, 20, 30, 11, 21, 31, 12, 22, 32, 13, 23, 33};
    for (long i = 0; i < faces; ++i) {
        std::fprintf(out, "0%s3DFACE%s8%s0%s", eol, eol, eol, eol);
        for (int code : kCodes)
            std::fprintf(out, "%d%s%5.3f%s", code, eol, coordinate(random), eol);
    }
    std::fprintf(out, "0%sENDSEC%s0%sEOF%s", eol, eol, eol, eol);
    return std::fclose(out) == 0;
}

BenchDir::BenchDir()
    : path_(std::filesystem::temp_directory_path() / ("kelvorn-bench-" + std::to_string(getpid()))) {
    std::filesystem::create_directories(path_);
}

BenchDir::~BenchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}
