// Fuzz target: arbitrary bytes as a mesh file, read through the real file path.
// Checks the reader's promises: no crash, a consistent table, the same result
// on a second read, and the previous model untouched by a failed one.
#include "kelvorn.h"
#include "meshfile/mesh_reader.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::string ScratchPath() {
    static const std::string path = "/tmp/kelvorn-fuzz-reader-" + std::to_string(getpid()) + ".dxf";
    return path;
}

void Check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "reader invariant broken: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string path = ScratchPath();
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return 0;
    if (size > 0) std::fwrite(data, 1, size, out);
    std::fclose(out);

    ReleaseMeshTable();
    Check(ReadMeshFile(path.c_str(), nullptr).ok(), "a readable file reads");
    Check(nf >= 0 && (nf == 0 || F != nullptr), "nf faces are in the table");
    Check(static_cast<std::size_t>(nf) <= size / 6 + 1, "every face was counted from a 3DFACE line");
    const std::vector<Face> first(F, F + nf);

    Check(ReadMeshFile(path.c_str(), nullptr).ok(), "the same file reads again");
    Check(static_cast<std::size_t>(nf) == first.size(), "the same count twice");
    Check(nf == 0 || std::memcmp(first.data(), F, first.size() * sizeof(Face)) == 0, "the same faces twice");

    const int before = nf;
    Check(!ReadMeshFile((path + ".missing").c_str(), nullptr).ok(), "a missing file fails");
    Check(nf == before, "a failed read keeps the model");
    std::remove(path.c_str());
    return 0;
}
