// The pixels of the short lines that most edges of a large model are, as
// index offsets from the start pixel in an image of a given width, so that
// drawing one needs no Bresenham loop: a table lookup and four byte stores.
#pragma once

#include "view/line_raster.h"

#include <cstddef>
#include <cstdint>

class ShortLines {
public:
    // Lines that move dx and dy in [-kReach, kReach] columns and rows: a fine
    // mesh's edges in a large image move up to four pixels either way.
    static constexpr int kReach = 4, kSide = 2 * kReach + 1;
    // A line moving that little has at most this many pixels.
    static constexpr int kPixels = kReach;

    explicit ShortLines(int width) {
        for (int dy = -kReach; dy <= kReach; ++dy)
            for (int dx = -kReach; dx <= kReach; ++dx) {
                std::ptrdiff_t* const line = at_ + Index(dx, dy);
                int count = 0;
                Walk(InsideLineWalk(width, 0, 0, dx, dy), Recorder{line, &count});
                // The places left over repeat the last pixel; a zero-length
                // line's are all the start pixel, which its caller must not draw.
                for (int k = count; k < kPixels; ++k) line[k] = count > 0 ? line[count - 1] : 0;
            }
    }

    // True (all ones) for a line moving (dx, dy) beyond the table, and where
    // in the table one within it is; also for four lines at once in vectors
    // of ints. A value beyond the reach makes one of the four terms negative.
    template <class Int> static auto Beyond(Int dx, Int dy) {
        return ((dx + kReach) | (kReach - dx) | (dy + kReach) | (kReach - dy)) < 0;
    }
    template <class Int> static Int Index(Int dx, Int dy) {
        return ((dy + kReach) * kSide + (dx + kReach)) * kPixels;
    }

    // Sets the pixels of two lines, each at `index` in the table and starting
    // at mask + start. Every offset is read before any pixel is set: a byte
    // store could change the table as far as the compiler knows, and reading
    // it after one would wait for the store.
    void drawTwo(std::uint8_t* mask, unsigned start0, unsigned index0, unsigned start1, unsigned index1) const {
        const std::ptrdiff_t *const at0 = at_ + index0, *const at1 = at_ + index1;
        const std::ptrdiff_t a0 = at0[0], a1 = at0[1], a2 = at0[2], a3 = at0[3];
        const std::ptrdiff_t b0 = at1[0], b1 = at1[1], b2 = at1[2], b3 = at1[3];
        std::uint8_t *const line0 = mask + start0, *const line1 = mask + start1;
        line0[a0] = line0[a1] = line0[a2] = line0[a3] = 1;
        line1[b0] = line1[b1] = line1[b2] = line1[b3] = 1;
    }

private:
    struct Recorder {
        std::ptrdiff_t* line;
        int* count;
        void set(std::ptrdiff_t at) const { line[(*count)++] = at; }
    };
    std::ptrdiff_t at_[kSide * kSide * kPixels];
};
