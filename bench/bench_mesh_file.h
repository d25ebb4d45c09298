// Large mesh files for the reader's benchmarks, in the writer's exact text
// format, generated on demand into a scratch directory and never committed.
#pragma once

#include <filesystem>

enum class LineEnd { Lf, CrLf };

// Writes `faces` random faces ("0 / 3DFACE / 8 / 0" then the twelve corner
// pairs with "%5.3f" values), between the writer's header and trailer, to
// `path`. Seeded, so every run writes the same bytes. Returns false when the
// file cannot be written.
bool WriteBenchMesh(const std::filesystem::path& path, long faces, LineEnd end);

// A fresh scratch directory that is removed with its content at destruction.
class BenchDir {
  public:
    BenchDir();
    ~BenchDir();
    BenchDir(const BenchDir&) = delete;
    BenchDir& operator=(const BenchDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};
