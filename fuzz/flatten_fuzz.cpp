// Fuzz target: arbitrary bytes flattened, as given and as the body of a
// binary DXF file. Checks the converter's promises: no crash or hang (limits
// kept small so that no input runs long), a refusal always says why, and an
// accepted drawing hands out exactly the faces it counted, all finite.
#include "meshfile/flatten/flatten.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void Check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "flatten invariant broken: %s\n", what);
    std::abort();
}

void FlattenOnce(std::string_view bytes) {
    FlatDrawing drawing;
    std::string error;
    if (!drawing.read(bytes, {20000, 20000}, error)) return Check(!error.empty(), "a refusal says why");
    long long faces = 0;
    bool finite = true;
    const bool placed = drawing.faces(
        [&](const Face* f, std::size_t n) {
            faces += static_cast<long long>(n);
            for (const double* v = &f->A.x; v != &f[n].A.x; ++v) finite = finite && std::isfinite(*v);
        },
        error);
    Check(placed ? faces == drawing.report().faces : !error.empty(), "the counted faces, or a reason");
    Check(finite, "every coordinate handed out is finite");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    FlattenOnce(bytes);
    FlattenOnce(std::string("AutoCAD Binary DXF\r\n\x1a\0", 22) + std::string(bytes));
    return 0;
}
