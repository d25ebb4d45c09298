// Fuzz target: arbitrary bytes flattened, as given and as the body of a
// binary DXF file. Checks the converter's promises: no crash or hang (limits
// kept small so that no input runs long), a refusal always says why, and an
// accepted drawing hands out exactly the faces it counted, all finite, with
// hidden edges of the four edge bits alone, and says where and why of
// everything it left out; strict, it refuses every drawing that leaves
// something out and draws the others alike (it refuses faults in blocks that
// nothing places too, which are not reported); and reading the plain 3DFACE
// runs on two threads changes nothing.
#include "meshfile/flatten/flatten.h"
#include "meshfile/flatten/plain_faces.h"
#include "tuning.h"

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

bool SameFaces(const std::vector<Face>& a, const std::vector<Face>& b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(Face)) == 0);
}

struct Flattened {
    std::string error;
    std::vector<Face> faces;
    long long leftOut = 0;
    std::vector<unsigned char> hiddenEdges;
};

Flattened FlattenOnce(std::string_view bytes, bool strict = false) {
    FlatDrawing drawing;
    Flattened result;
    if (!drawing.read(bytes, {20000, 20000, strict}, result.error)) {
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
    const LeftOutList& leftOut = drawing.report().leftOut;
    result.leftOut = leftOut.count();
    for (const LeftOutItem& item : leftOut.first())
        Check(!item.place.empty() && !item.reason.empty() && !item.kind.empty(),
              "a left-out item says where and why");
    return result;
}

// Strict reading refuses where something would be left out, and otherwise draws the same.
void FlattenStrictly(std::string_view bytes, const Flattened& lenient) {
    if (!lenient.error.empty()) return;
    const Flattened strict = FlattenOnce(bytes, true);
    Check(lenient.leftOut == 0 || !strict.error.empty(), "strict refuses what would be left out");
    Check(!strict.error.empty() || SameFaces(strict.faces, lenient.faces), "strict draws the same faces");
}

// The runs read on two threads whatever the size of the file, against one thread.
void FlattenInTwo(std::string_view bytes, const Flattened& once) {
    const std::size_t saved = g_tuning.readInTwoFrom;
    g_tuning.readInTwoFrom = 0;
    const Flattened inTwo = FlattenOnce(bytes);
    g_tuning.readInTwoFrom = saved;
    Check(inTwo.error == once.error, "the same refusal on two threads");
    Check(SameFaces(inTwo.faces, once.faces), "the same faces on two threads");
    Check(inTwo.hiddenEdges == once.hiddenEdges, "the same hidden edges on two threads");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Flattened once = FlattenOnce(bytes);
    FlattenInTwo(bytes, once);
    FlattenStrictly(bytes, once);
    FlattenOnce(std::string("AutoCAD Binary DXF\r\n\x1a\0", 22) + std::string(bytes));
    return 0;
}
