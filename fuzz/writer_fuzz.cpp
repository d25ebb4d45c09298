// Fuzz target: arbitrary doubles written as faces into memory and read back
// from there. Every face
// the writer takes must come back in write order, each coordinate within the
// writer's rounding to three decimals (NaN as NaN, infinities as themselves).
// The only face it may refuse is one with a coordinate too long for a line.
#include "kelvorn.h"
#include "meshfile/reader/mesh_reader.h"
#include "meshfile/writer/dxf_writer.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

void Check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "writer round trip broken: %s\n", what);
    std::abort();
}

bool SameAfterRounding(double written, double read) {
    if (std::isnan(written)) return std::isnan(read);
    if (std::isinf(written)) return read == written;
    // The text carries three decimals; a double holds about 16 significant digits.
    const double tolerance = 0.0005 + std::abs(written) * 1e-15;
    return std::abs(read - written) <= tolerance;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    constexpr std::size_t kFaceBytes = 12 * sizeof(double);
    const std::size_t count = size / kFaceBytes;
    std::vector<double> values(count * 12);
    if (count > 0) std::memcpy(values.data(), data, count * kFaceBytes);

    std::size_t written = 0;
    std::string bytes;
    {
        DXF out(MemorySink(bytes));
        for (std::size_t i = 0; i < count; ++i) {
            const double* v = &values[12 * i];
            out.face(xyz(v[0], v[1], v[2]), xyz(v[3], v[4], v[5]), xyz(v[6], v[7], v[8]), xyz(v[9], v[10], v[11]));
        }
        written = static_cast<std::size_t>(out.faces());
        if (!out.close()) {
            Check(out.error() == ERANGE && written < count, "only an over-long coordinate is refused");
            const double* refused = &values[12 * written];
            Check(std::any_of(refused, refused + 12, [](double v) { return std::snprintf(nullptr, 0, "%.3f", v) > 253; }),
                  "the refused face has an over-long coordinate");
        }
    }
    ReleaseMeshTable();
    Check(ReadMeshBytes(bytes).ok(), "the bytes read back");
    Check(static_cast<std::size_t>(nf) == written, "one face per written face");
    const double* read = written > 0 ? &F[0].A.x : nullptr;
    for (std::size_t i = 0; i < 12 * written; ++i) Check(SameAfterRounding(values[i], read[i]), "coordinates survive");
    return 0;
}
