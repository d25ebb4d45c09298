#include "meshfile/face_table.h"

#include "meshfile/mesh_reader_internal.h"

#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

long long g_faceTableLimit = INT_MAX - kSpareFaces;

#if defined(__linux__)

namespace {

// The mapping's length is kept in front of the faces, one cache line's worth;
// 0 there marks a small block from calloc.
constexpr std::size_t kHeader = 64;

// Below this, a block from the heap costs less than a mapping of its own.
constexpr std::size_t kMappedFrom = 1 << 20;

// A fresh mapping of `length` bytes, its pages in place, or null.
void* MapClearedBlock(std::size_t length) {
    void* block = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED) return nullptr;
    // A hint: without huge pages the block is the same, only slower to touch.
    madvise(block, length, MADV_HUGEPAGE);
#if defined(MADV_POPULATE_WRITE)
    // Kernels before 5.14 do not know the request (EINVAL); any other failure
    // means the pages cannot be had, better told now than by a fault later.
    if (madvise(block, length, MADV_POPULATE_WRITE) != 0 && errno != EINVAL) {
        munmap(block, length);
        return nullptr;
    }
#endif
    return block;
}

} // namespace

Face* AllocateFaceTable(long long count) {
    if (count < 0 || count > g_faceTableLimit) return nullptr;
    const std::size_t length = kHeader + static_cast<std::size_t>(count + kSpareFaces) * sizeof(Face);
    const bool small = length < kMappedFrom;
    void* block = small ? std::calloc(1, length) : MapClearedBlock(length);
    if (!block) return nullptr;
    *static_cast<std::size_t*>(block) = small ? 0 : length;
    return reinterpret_cast<Face*>(static_cast<char*>(block) + kHeader);
}

void FreeFaceTable(Face* table) {
    if (!table) return;
    void* block = reinterpret_cast<char*>(table) - kHeader;
    const std::size_t length = *static_cast<std::size_t*>(block);
    if (length == 0) std::free(block);
    else munmap(block, length);
}

#else

Face* AllocateFaceTable(long long count) {
    if (count < 0 || count > g_faceTableLimit) return nullptr;
    return static_cast<Face*>(std::calloc(static_cast<std::size_t>(count + kSpareFaces), sizeof(Face)));
}

void FreeFaceTable(Face* table) {
    std::free(table);
}

#endif
