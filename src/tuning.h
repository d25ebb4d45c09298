// The sizes at which the core changes how it works: where it maps a file
// rather than reading it, and where it shares work between two threads. Each
// way gives the same faces, bytes and pixels; only the time differs. Tests
// reach both sides of a size through the one seam below, g_tuning.
#pragma once

#include <climits>
#include <cstddef>

// Below a megabyte, a read or two (or, for a face table, a block from the
// heap) costs less than setting up a mapping.
inline constexpr std::size_t kMapFrom = std::size_t{1} << 20;

// Below a few megabytes a thread's start costs more than half a pass over
// the bytes saves: the reader's two passes, the converter's runs of faces.
inline constexpr std::size_t kReadInTwoFrom = std::size_t{8} << 20;

// Below this, a thread's start costs more than half a cleared face table's
// page clearing saves.
inline constexpr std::size_t kClearInTwoFrom = std::size_t{16} << 20;

// Faces per round of the writer on two threads; the converter hands faces
// to the writer in batches of this many, so that each batch fills a round.
inline constexpr std::size_t kWriteRoundFaces = std::size_t{1} << 14;

// From this many faces the view turns and paints a table on two threads.
inline constexpr int kLargeTable = 1 << 15;

// What tests may change, all in one place; the program never writes it.
struct Tuning {
    // The smallest file mapped into memory where it can be; smaller files
    // are read in pieces, as are all files where mapping is impossible. 0
    // maps every file that can be; SIZE_MAX none.
    std::size_t mapFilesFrom = kMapFrom;
    // The fewest bytes in memory that the reader and the converter read on
    // two threads.
    std::size_t readInTwoFrom = kReadInTwoFrom;
    // The largest face count a face table is allocated for; above it the
    // allocation fails as if memory were short. A table never holds more
    // than an int `nf` can count with the spare faces, whatever this says.
    long long faceTableLimit = LLONG_MAX;
    // Whether the paint takes its face loop built for AVX2, four corners to
    // a vector, rather than the one for any x86-64 processor, two to a
    // vector: true where the processor has AVX2 (and not on Windows). Both
    // draw the same pixels; tests turn it off to check the other loop.
    bool paintWithAvx2;
    // Called, when set, after the reader's count pass has closed the file
    // and before the parse pass opens it again; a test may rewrite or remove
    // the file here.
    void (*betweenReaderPasses)(const char* path) = nullptr;
};

extern Tuning g_tuning;
