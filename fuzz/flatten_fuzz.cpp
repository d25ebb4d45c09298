// Fuzz target: arbitrary bytes flattened, as given and as the body of a
// binary DXF file. Checks the converter's promises: no crash or hang (limits
// kept small so that no input runs long), a refusal always says why, and an
// accepted drawing hands out exactly the faces it counted, all finite, with
// hidden edges of the four edge bits alone; and reading the plain 3DFACE
// runs on two threads changes nothing.
#include "meshfile/flatten/flatten.h"
#include "meshfile/flatten/plain_faces.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

void Check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "flatten invariant broken: %s\n", what);
    std::abort();
}

struct Flattened {
    std::string error;
    std::vector<Face> faces;
    std::vector<unsigned char> hiddenEdges;
};

Flattened FlattenOnce(std::string_view bytes) {
    FlatDrawing drawing;
    Flattened result;
    if (!drawing.read(bytes, {20000, 20000}, result.error)) {
        Check(!result.error.empty(), "a refusal says why");
        return result;
    }
    bool finite = true, edgeBits = true;
    const bool placed = drawing.faces(
        [&](const Face* f, const unsigned char* hidden, std::size_t n) {
            result.faces.insert(result.faces.end(), f, f + n);
            for (const double* v = &f->A.x; v != &f[n].A.x; ++v) finite = finite && std::isfinite(*v);
            result.hiddenEdges.resize(result.faces.size() - n);
            if (hidden) result.hiddenEdges.insert(result.hiddenEdges.end(), hidden, hidden + n);
            else result.hiddenEdges.resize(result.faces.size());
            for (std::size_t i = 0; hidden && i < n; ++i) edgeBits = edgeBits && hidden[i] < 16;
        },
        result.error);
    Check(placed ? static_cast<long long>(result.faces.size()) == drawing.report().faces : !result.error.empty(),
          "the counted faces, or a reason");
    Check(finite, "every coordinate handed out is finite");
    Check(edgeBits, "hidden edges are the four edge bits");
    return result;
}

// The runs read on two threads whatever the size of the file, against one thread.
void FlattenInTwo(std::string_view bytes, const Flattened& once) {
    const std::size_t saved = g_plainFacesInTwoFrom;
    g_plainFacesInTwoFrom = 0;
    const Flattened inTwo = FlattenOnce(bytes);
    g_plainFacesInTwoFrom = saved;
    Check(inTwo.error == once.error, "the same refusal on two threads");
    Check(inTwo.faces.size() == once.faces.size() &&
              (once.faces.empty() ||
               std::memcmp(inTwo.faces.data(), once.faces.data(), once.faces.size() * sizeof(Face)) == 0),
          "the same faces on two threads");
    Check(inTwo.hiddenEdges == once.hiddenEdges, "the same hidden edges on two threads");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    FlattenInTwo(bytes, FlattenOnce(bytes));
    FlattenOnce(std::string("AutoCAD Binary DXF\r\n\x1a\0", 22) + std::string(bytes));
    return 0;
}
