// The pixels of the short lines that most edges of a large model are, as
// index offsets from the start pixel in an image of a given width, so that
// drawing one needs no Bresenham loop: a table lookup and four byte stores.
#pragma once

#include "view/line_raster.h"

#include <cstdint>

class ShortLines {
public:
    // Lines that move dx in [-kLeft, 8 - kLeft) columns and dy in [-kUp, 8 - kUp)
    // rows. Up is the longer way, since a line ends one row above where the
    // next starts for most corners (see Projection::endRow).
    static constexpr int kLeft = 4, kUp = 4;
    // A line moving that little has at most this many pixels.
    static constexpr int kPixels = kLeft > kUp ? kLeft : kUp;

    explicit ShortLines(int width) {
        for (int dy = -kUp; dy < 8 - kUp; ++dy)
            for (int dx = -kLeft; dx < 8 - kLeft; ++dx) {
                Offsets& line = lines_[Index(dx, dy)];
                int count = 0;
                Walk(InsideLineWalk(width, 0, 0, dx, dy), Recorder{&line, &count});
                // The places left over repeat the last pixel; a zero-length
                // line's are all the start pixel, which its caller must not draw.
                for (int k = count; k < kPixels; ++k) line.at[k] = count > 0 ? line.at[count - 1] : 0;
            }
    }

    // Not zero for a line moving (dx, dy) beyond the table, and the table
    // index of one within it; also for four lines at once in vectors of ints.
    template <class Int> static Int Beyond(Int dx, Int dy) { return ((dx + kLeft) | (dy + kUp)) & ~7; }
    template <class Int> static Int Index(Int dx, Int dy) { return ((dy + kUp) << 3) + (dx + kLeft); }

    // Sets the pixels of the line with table index `index` starting at `start`.
    void draw(std::uint8_t* start, int index) const {
        const std::int32_t* const at = lines_[index].at;
        start[at[0]] = 1;
        start[at[1]] = 1;
        start[at[2]] = 1;
        start[at[3]] = 1;
    }

private:
    struct Offsets {
        std::int32_t at[kPixels];
    };
    struct Recorder {
        Offsets* line;
        int* count;
        void set(std::ptrdiff_t at) const { line->at[(*count)++] = static_cast<std::int32_t>(at); }
    };
    Offsets lines_[64];
};
