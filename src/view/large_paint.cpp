#include "view/large_paint.h"

#include "view/mask_painter.h"
#include "threads/two_threads.h"
#include "tuning.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

PlaneBounds PaintFaces(const MaskPainter& painter, const Face* first, const Face* last,
                       const unsigned char* hiddenEdges) {
    return g_tuning.paintWithAvx2 ? PaintFacesWithAvx2(painter, first, last, hiddenEdges)
                         : PaintFacesInPairs(painter, first, last, hiddenEdges);
}

// The masks of the two threads, kept from paint to paint and left all zero
// but for the spare byte.
std::vector<std::uint8_t> masks[2];

typedef std::uint8_t Bytes16 __attribute__((vector_size(16)));
typedef std::uint16_t Words8 __attribute__((vector_size(16)));
typedef std::uint32_t Pixels4 __attribute__((vector_size(16)));

// The pixels under the marks of a mask: those of the image, or white for an
// image whose every pixel is to be set.
struct ImagePixels {
    static Pixels4 Load(const std::uint32_t* pixels) {
        Pixels4 four;
        std::memcpy(&four, pixels, sizeof four);
        return four;
    }
    static std::uint32_t One(std::uint32_t pixel) { return pixel; }
    static constexpr bool kEveryPixel = false;
};
struct WhitePixels {
    static Pixels4 Load(const std::uint32_t*) { return Pixels4{} | Image::kWhite; }
    static std::uint32_t One(std::uint32_t) { return Image::kWhite; }
    static constexpr bool kEveryPixel = true;
};

// Sets the four pixels at `pixels` to black where their bytes in `set` (all
// ones or zero, two to a pixel's word) are set, and to what lies under them
// elsewhere.
template <class Under> void PutFour(std::uint32_t* pixels, Words8 set) {
    const Pixels4 black = Pixels4(set);
    const Pixels4 four = (Under::Load(pixels) & ~black) | (black & Image::kBlack);
    std::memcpy(pixels, &four, sizeof four);
}

// Sets the sixteen pixels at `pixels`, black where `marks` are set. Each
// mark is widened to the 32 bits of its pixel by interleaving it with
// itself, twice: a choice between black and the pixel in every lane at once.
template <class Under> void PutSixteen(std::uint32_t* pixels, Bytes16 marks) {
    const Bytes16 set = Bytes16(marks != 0);
    const Words8 low = Words8(__builtin_shufflevector(set, set, 0, 16, 1, 17, 2, 18, 3, 19, 4, 20, 5, 21, 6, 22, 7, 23));
    const Words8 high =
        Words8(__builtin_shufflevector(set, set, 8, 24, 9, 25, 10, 26, 11, 27, 12, 28, 13, 29, 14, 30, 15, 31));
    PutFour<Under>(pixels, __builtin_shufflevector(low, low, 0, 8, 1, 9, 2, 10, 3, 11));
    PutFour<Under>(pixels + 4, __builtin_shufflevector(low, low, 4, 12, 5, 13, 6, 14, 7, 15));
    PutFour<Under>(pixels + 8, __builtin_shufflevector(high, high, 0, 8, 1, 9, 2, 10, 3, 11));
    PutFour<Under>(pixels + 12, __builtin_shufflevector(high, high, 4, 12, 5, 13, 6, 14, 7, 15));
}

// Blackens the pixels [first, last) of `image` that either mask marks, and
// clears the masks there; the other pixels keep their colour or, under
// WhitePixels, become white. Sixteen pixels at a time: many groups are all
// clear.
template <class Under> void PutOnImage(Image& image, std::size_t first, std::size_t last) {
    std::uint32_t* const pixels = image.pixels.data();
    std::uint8_t *const one = masks[0].data(), *const other = masks[1].data();
    std::size_t i = first;
    for (; i + 16 <= last; i += 16) {
        Bytes16 a, b;
        std::memcpy(&a, one + i, sizeof a);
        std::memcpy(&b, other + i, sizeof b);
        const Bytes16 marks = a | b;
        std::uint64_t halves[2];
        std::memcpy(halves, &marks, sizeof marks);
        if ((halves[0] | halves[1]) == 0) {
            if (Under::kEveryPixel) std::fill(pixels + i, pixels + i + 16, Image::kWhite);
            continue;
        }
        PutSixteen<Under>(pixels + i, marks);
        std::memset(one + i, 0, sizeof a);
        std::memset(other + i, 0, sizeof b);
    }
    for (; i < last; ++i) {
        pixels[i] = one[i] | other[i] ? Image::kBlack : Under::One(pixels[i]);
        one[i] = other[i] = 0;
    }
}

} // namespace

bool PaintLargeTable(Image& image, FitExtents& fit, bool everyPixel) {
    const std::size_t pixelCount = image.pixels.size();
    for (auto& mask : masks)
        if (mask.size() != pixelCount + 1) mask.assign(pixelCount + 1, 0);
    const Projection projection = Projection::Current();
    const ShortLines shortLines(image.width);
    PlaneBounds bounds[2];
    ShareOnTwoThreads(nf, [&](int thread, std::ptrdiff_t first, std::ptrdiff_t last) {
        const MaskPainter painter{projection, shortLines, image.width, image.height, masks[thread].data()};
        bounds[thread].append(PaintFaces(painter, F + first, F + last, HiddenEdges ? HiddenEdges + first : nullptr));
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
    ShareOnTwoThreads(static_cast<std::ptrdiff_t>(pixelCount), [&](int, std::ptrdiff_t first, std::ptrdiff_t last) {
        if (everyPixel)
            PutOnImage<WhitePixels>(image, first, last);
        else
            PutOnImage<ImagePixels>(image, first, last);
    });
    return true;
}
