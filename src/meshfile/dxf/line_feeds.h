// The line feeds of bytes in memory, found 64 bytes at a time with no branch
// per byte and handed out in order. Walking a run of short lines this way,
// each line's start waits only on the previous line's feed, never on reading
// the line itself.
#pragma once

#include "meshfile/dxf/plain_lines.h"

#include <bit>
#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

class LineFeeds {
public:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    // The feeds among bytes [0, size) of `text`, except those of its last
    // size % 64 bytes, which are never read.
    LineFeeds(const char* text, std::size_t size) : text_(text), blocks_end_(size / kBlock * kBlock) {
        if (blocks_end_ != 0) bits_ = BlockBits(text);
    }

    // The offset of the next line feed, or kNone when no whole block is left.
    std::size_t next() {
        while (bits_ == 0) {
            if (block_ + kBlock >= blocks_end_) return kNone;
            block_ += kBlock;
            bits_ = BlockBits(text_ + block_);
        }
        const std::size_t at = block_ + static_cast<std::size_t>(std::countr_zero(bits_));
        bits_ &= bits_ - 1;
        return at;
    }

private:
    static constexpr std::size_t kBlock = 64;

    // Bit i set when block[i] is a line feed.
    static std::uint64_t BlockBits(const char* block) {
#if defined(__SSE2__)
        const auto feeds = [block](int part) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block) + part);
            return std::uint64_t(unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n')))));
        };
        return feeds(0) | feeds(1) << 16 | feeds(2) << 32 | feeds(3) << 48;
#else
        using namespace plain_lines;
        std::uint64_t bits = 0;
        for (std::size_t word = 0; word < kBlock / 8; ++word) {
            const std::uint64_t x = LoadWord(block + 8 * word) ^ kEachByte * '\n';
            // The top bit of each zero byte, exactly (no borrow from a byte below).
            const std::uint64_t zero = ~(((x & kEachByte * 0x7F) + kEachByte * 0x7F) | x) & kEachByte * 0x80;
            // Those eight bits gathered into the top byte, then moved to their place.
            bits |= ((zero >> 7) * 0x0102040810204080 >> 56) << 8 * word;
        }
        return bits;
#endif
    }

    const char* text_;
    std::size_t blocks_end_;
    std::size_t block_ = 0;
    std::uint64_t bits_ = 0;
};
