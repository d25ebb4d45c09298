// Fuzz target: arbitrary bytes as a mesh file, read from memory. Checks the
// reader's promises: no crash or read beyond the bytes, a consistent table,
// the same table whether the parse pass is split in two halves or read in
// one, and the previous model untouched by a failed read.
#include "kelvorn.h"
#include "meshfile/reader/mesh_reader.h"
#include "tuning.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

void Check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "reader invariant broken: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ReleaseMeshTable();
    g_tuning.readInTwoFrom = 0; // split wherever the second half holds a face line
    Check(ReadMeshBytes(bytes).ok(), "bytes read");
    Check(nf >= 0 && (nf == 0 || F != nullptr), "nf faces are in the table");
    Check(static_cast<std::size_t>(nf) <= size / 6 + 1, "every face was counted from a 3DFACE line");
    const std::vector<Face> split(F, F + (nf > 0 ? nf + 4 : 0));

    g_tuning.readInTwoFrom = static_cast<std::size_t>(-1); // one pass
    Check(ReadMeshBytes(bytes).ok(), "the same bytes read again");
    Check(static_cast<std::size_t>(nf) + (nf > 0 ? 4 : 0) == split.size(), "the same count both ways");
    Check(nf == 0 || std::memcmp(split.data(), F, split.size() * sizeof(Face)) == 0, "the same faces both ways");

    const Face* shown = F;
    const int before = nf;
    g_tuning.faceTableLimit = 0;
    const ReadStatus refused = ReadMeshBytes(bytes);
    g_tuning.faceTableLimit = LLONG_MAX;
    Check(before == 0 || refused.error == ReadError::OutOfMemory, "a table that cannot be had is said");
    Check(before == 0 || (nf == before && F == shown), "a failed read keeps the model");
    return 0;
}
