#include "view/large_paint.h"

#include "view/mask_painter.h"
#include "view/two_threads.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

// GCC does not align the stack for AVX on Win64 (its spills of 32-byte
// vectors there could fault), so Windows takes the loop in pairs.
#if defined(__x86_64__) && !defined(_WIN32)
bool paintWithAvx2 = __builtin_cpu_supports("avx2");
#else
bool paintWithAvx2 = false;
#endif

namespace {

PlaneBounds PaintFaces(const MaskPainter& painter, const Face* first, const Face* last) {
    return paintWithAvx2 ? PaintFacesWithAvx2(painter, first, last) : PaintFacesInPairs(painter, first, last);
}

// The masks of the two threads, kept from paint to paint and left all zero
// but for the spare byte.
std::vector<std::uint8_t> masks[2];

// Blackens the pixels [first, last) of `image` that either mask marks, and
// clears the masks there. Eight pixels at a time: most groups are all clear.
void PutOnImage(Image& image, std::size_t first, std::size_t last) {
    std::uint32_t* const pixels = image.pixels.data();
    std::uint8_t *const one = masks[0].data(), *const other = masks[1].data();
    std::size_t i = first;
    for (; i + 8 <= last; i += 8) {
        std::uint64_t a, b;
        std::memcpy(&a, one + i, 8);
        std::memcpy(&b, other + i, 8);
        const std::uint64_t marks = a | b;
        if (marks == 0) continue;
        for (int k = 0; k < 8; ++k) pixels[i + k] = (marks >> (8 * k)) & 0xFF ? Image::kBlack : pixels[i + k];
        std::memset(one + i, 0, 8);
        std::memset(other + i, 0, 8);
    }
    for (; i < last; ++i) {
        pixels[i] = one[i] | other[i] ? Image::kBlack : pixels[i];
        one[i] = other[i] = 0;
    }
}

} // namespace

bool PaintLargeTable(Image& image, FitExtents& fit) {
    const std::size_t pixelCount = image.pixels.size();
    for (auto& mask : masks)
        if (mask.size() != pixelCount + 1) mask.assign(pixelCount + 1, 0);
    const Projection projection = Projection::Current();
    const ShortLines shortLines(image.width);
    PlaneBounds bounds[2];
    OnTwoThreads([&](int part) {
        const MaskPainter painter{projection, shortLines, image.width, image.height, masks[part].data()};
        bounds[part] = PaintFaces(painter, F + PartStart(nf, part), F + (part == 0 ? PartStart(nf, 1) : nf));
    });
    bounds[0].append(bounds[1]);
    TableExtents found;
    const bool settled = bounds[0].exactExtents(found);
    if (fit.guessed && !(settled && found.same(fit.extents))) {
        for (auto& mask : masks) mask.assign(pixelCount + 1, 0);
        fit = {settled ? found : MeasureTableExtents(), false};
        RememberTableExtents(fit.extents);
        return false;
    }
    if (!fit.guessed) RememberTableExtents(fit.extents);
    const std::size_t middle = pixelCount / 2;
    OnTwoThreads([&](int part) { PutOnImage(image, part == 0 ? 0 : middle, part == 0 ? middle : pixelCount); });
    return true;
}
