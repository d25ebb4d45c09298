// Fuzz target: arbitrary faces (NaN, infinities, huge and subnormal values)
// fitted, turned and painted into client areas from 0 × 0 to 5000 × 5000.
// Sanitizers catch any overflow or out-of-bounds write; the picture may hold
// only black and white pixels, and a turn changes nothing for other keys.
// The fast way of painting a large table gives the same pixels as the plain
// way, and finds out a wrong guess of the extents. Bytes left over after the
// faces, if any, are the faces' hidden edges in turn.
#include "kelvorn.h"
#include "tuning.h"
#include "view/large_paint.h"
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

// The paint with the face loop chosen now against the plain one's image.
void CheckFastLoopIsPlain(const Image& plain) {
    static Image fast;
    fast.reset(plain.width, plain.height);
    FitExtents fit{MeasureTableExtents(), false};
    Check(PaintLargeTable(fast, fit), "a measured fit is kept");
    Check(fast.pixels == plain.pixels, "the fast paint is the plain one");
    FitExtents wrong{fit.extents, true};
    wrong.extents.x.high = wrong.extents.x.high * 2 + 1;
    if (!wrong.extents.same(fit.extents)) {
        Check(!PaintLargeTable(fast, wrong), "a wrong guess is found out");
        Check(wrong.extents.same(fit.extents) && !wrong.guessed, "the true extents replace a wrong guess");
        Check(fast.pixels == plain.pixels, "a wrong guess draws nothing");
    }
}

// The fast way of painting a large table (two threads, masks), applied to
// these faces with the view just fitted, gives the image the plain way drew;
// told wrong extents as a guess, it draws nothing and gives the true ones.
// Both face loops: the one this processor takes and the loop in pairs.
void CheckFastPaintIsPlain(const Image& plain) {
    if (plain.pixels.size() > (1u << 20)) return; // the masks are as large as the image
    const bool ownChoice = g_tuning.paintWithAvx2;
    for (bool avx2 : {ownChoice, false}) {
        g_tuning.paintWithAvx2 = avx2;
        CheckFastLoopIsPlain(plain);
    }
    g_tuning.paintWithAvx2 = ownChoice;
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
    const std::size_t spare = (size - kHeader) % sizeof(Face);
    std::vector<unsigned char> hidden(spare > 0 ? count : 0);
    for (std::size_t i = 0; i < hidden.size(); ++i) hidden[i] = data[size - spare + i % spare] & 15;
    HiddenEdges = hidden.empty() ? nullptr : hidden.data();

    const std::vector<Face> before = faces;
    if (!RotateMesh(key, rep))
        Check(count == 0 || std::memcmp(before.data(), faces.data(), count * sizeof(Face)) == 0,
              "a key that does not turn changes nothing");

    static Image image;
    image.reset(client.right, client.bottom);
    DrawContext dc(&image);
    DrawMesh(dc, client);
    for (std::uint32_t pixel : image.pixels) Check(pixel == Image::kWhite || pixel == Image::kBlack, "two colours");
    if (count > 0) CheckFastPaintIsPlain(image);
    F = nullptr;
    nf = 0;
    HiddenEdges = nullptr;
    return 0;
}
