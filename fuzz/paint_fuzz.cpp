// Fuzz target: arbitrary faces (NaN, infinities, huge and subnormal values)
// fitted, turned and painted into client areas from 0 × 0 to 5000 × 5000.
// Sanitizers catch any overflow or out-of-bounds write; the picture may hold
// only black and white pixels, and a turn changes nothing for other keys.
// The faces repeated into a large table, turned and painted the fast way
// (two threads, masks), give the same pixels as the plain way.
#include "kelvorn.h"
#include "view/table_extents.h"
#include "view/view.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

void Check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "paint invariant broken: %s\n", what);
    std::abort();
}

int ClientSide(const unsigned char* bytes) {
    std::uint16_t v;
    std::memcpy(&v, bytes, sizeof v);
    return v % 5001;
}

// The faces repeated to a large table, turned by the same stroke and painted
// into an image only (the fast way) and with a recording context (the plain
// way, line by line) at a size of at most 300 × 300.
void CheckLargeTablePaintsAsThePlainWay(const std::vector<Face>& faces, Rect client, unsigned char key, int rep) {
    std::vector<Face> large(kLargeTable);
    for (std::size_t i = 0; i < large.size(); ++i) large[i] = faces[i % faces.size()];
    F = large.data();
    nf = kLargeTable;
    RotateMesh(key, rep);
    client.right %= 301;
    client.bottom %= 301;
    static Image fast, plain;
    fast.reset(client.right, client.bottom);
    plain.reset(client.right, client.bottom);
    DrawContext fastContext(&fast);
    DrawMesh(fastContext, client);
    std::vector<Segment> record;
    DrawContext plainContext(&plain, &record);
    DrawMesh(plainContext, client);
    Check(fast.pixels == plain.pixels, "a large table paints as the plain way does");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    constexpr std::size_t kHeader = 6; // width, height, key, repeat count
    if (size < kHeader) return 0;
    const Rect client{0, 0, ClientSide(data), ClientSide(data + 2)};
    const unsigned char key = data[4];
    const int rep = static_cast<signed char>(data[5]);
    const std::size_t count = (size - kHeader) / sizeof(Face);
    std::vector<Face> faces(count);
    if (count > 0) std::memcpy(faces.data(), data + kHeader, count * sizeof(Face));
    F = faces.empty() ? nullptr : faces.data();
    nf = static_cast<int>(count);

    const std::vector<Face> before = faces;
    if (!RotateMesh(key, rep))
        Check(count == 0 || std::memcmp(before.data(), faces.data(), count * sizeof(Face)) == 0,
              "a key that does not turn changes nothing");

    static Image image;
    image.reset(client.right, client.bottom);
    DrawContext dc(&image);
    DrawMesh(dc, client);
    for (std::uint32_t pixel : image.pixels) Check(pixel == Image::kWhite || pixel == Image::kBlack, "two colours");
    if (count > 0) CheckLargeTablePaintsAsThePlainWay(before, client, key, rep);
    F = nullptr;
    nf = 0;
    return 0;
}
