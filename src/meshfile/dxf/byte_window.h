// A window over the bytes of a ByteSource that a reader moves through from
// front to back: the bytes ahead of its place are at hand as one run of
// memory, read in place from a source in memory or through a buffer from a
// file read in pieces, and the bytes it has passed are given back.
//
// Both DXF readers stand on it: the line reader's fixed 255-character pieces
// (and the count pass's look for markers), the group reader's whole lines of
// any length and binary groups.
#pragma once

#include "meshfile/dxf/byte_source.h"

#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

// The place of the first line feed among `size` bytes at `start`, counted
// from start; npos when there is none.
inline std::size_t LineFeedIn(const char* start, std::size_t size) {
    const void* lf = size > 0 ? std::memchr(start, '\n', size) : nullptr;
    return lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - start) : std::string_view::npos;
}

// The `length` characters before a line feed, without the CR of a CR LF
// pair: DXF files written on Windows end their lines so, and read alike.
inline std::string_view BeforeLineEnd(const char* start, std::size_t length) {
    return {start, length - (length > 0 && start[length - 1] == '\r')};
}

// How much a window holds at a time.
struct WindowSizes {
    // Bytes of a source in memory brought into reach at once; the bytes
    // passed before each step go back to the source. kAllOfThem: all of them
    // from the start, none given back.
    std::size_t memoryStep;
    // The buffer of a file read in pieces; it grows when a reader needs more
    // bytes at hand than it holds.
    std::size_t fileBuffer;

    static constexpr std::size_t kAllOfThem = static_cast<std::size_t>(-1);
};

class ByteWindow {
public:
    // The bytes of `source` from its start; for a source in memory, from
    // byte `from` on.
    ByteWindow(ByteSource& source, WindowSizes sizes, std::size_t from = 0);
    ByteWindow(const ByteWindow&) = delete;
    ByteWindow& operator=(const ByteWindow&) = delete;

    ByteSource& source() const { return source_; }

    // The bytes at hand from the reader's place on: here()[0, left()).
    const char* here() const { return data_ + at_; }
    std::size_t left() const { return end_ - at_; }
    // The source offset of here().
    std::size_t offset() const { return base_ + at_; }
    void skip(std::size_t n) { at_ += n; }

    // Brings `wanted` bytes from here on into reach, as far as the source
    // has them: true when they are at hand. False too after a read error or
    // when memory for a larger buffer ran short (error() says which).
    bool more(std::size_t wanted) { return end_ - at_ >= wanted || refill(wanted); }

    // Bytes from source offset `offset` (at or before here) on stay at hand
    // until the next keepFrom, so that the reader can go back to them with
    // moveTo. Without it only the bytes from here on are kept.
    void keepFrom(std::size_t offset) { keep_ = offset; }
    // Goes to source offset `offset`, among the bytes still at hand.
    void moveTo(std::size_t offset) { at_ = offset - base_; }

    // The next line of any length without its line end (LF, or CR LF), the
    // end of the bytes ending a last line too; here() moves past it.
    std::string_view wholeLine();

    // The errno-style reason the window stopped short: a read error of the
    // source, or ENOMEM when a larger buffer could not be had; 0 otherwise.
    int error() const { return error_; }

private:
    bool refill(std::size_t wanted);
    bool stepInMemory(std::size_t wanted);
    bool readFile(std::size_t wanted);
    bool makeRoom(std::size_t kept, std::size_t needed);

    ByteSource& source_;
    const WindowSizes sizes_;
    const char* data_ = nullptr; // the source's memory, or buffer_ for a file read in pieces
    std::size_t base_ = 0;       // the source offset of data_[0]
    std::size_t at_ = 0, end_ = 0;
    std::size_t keep_ = kNoKeep; // a source offset, or kNoKeep: keep from here
    std::size_t released_ = 0;   // the source offset up to which a memory source's bytes went back
    bool sourceEnded_ = false;
    int error_ = 0;
    std::unique_ptr<char[]> buffer_;
    std::size_t capacity_ = 0;

    static constexpr std::size_t kNoKeep = static_cast<std::size_t>(-1);
};
