#include "meshfile/reader/face_table.h"

#include "kelvorn.h"
#include "tuning.h"

#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstdlib>

#if defined(__linux__)
#include "threads/two_threads.h"

#include <sys/mman.h>
#endif

namespace {

// Whether a table of `count` faces may be tried at all.
bool Allowed(long long count) {
    return count >= 0 && count <= INT_MAX - kSpareFaces && count <= g_tuning.faceTableLimit;
}

} // namespace

#if defined(__linux__)

namespace {

// The mapping's length is kept in front of the faces, one cache line's worth;
// 0 there marks a small block from calloc.
constexpr std::size_t kHeader = 64;

#if defined(MADV_POPULATE_WRITE)
// Kernels before 5.14 do not know the request (EINVAL); any other failure
// means the pages cannot be had, better told now than by a fault later.
bool PopulatePages(void* from, std::size_t length) {
    return madvise(from, length, MADV_POPULATE_WRITE) == 0 || errno == EINVAL;
}

// Clearing the pages of a large block takes long enough to be shared by two
// threads; the halves meet at a huge-page boundary.
bool PopulateBlock(void* block, std::size_t length) {
    constexpr std::size_t kHugePage = 2 << 20;
    const std::size_t half = length / 2 / kHugePage * kHugePage;
    if (half < kClearInTwoFrom / 2) return PopulatePages(block, length);
    bool first_ok = false, second_ok = false;
    auto second = [&] { second_ok = PopulatePages(static_cast<char*>(block) + half, length - half); };
    if (!BesideThisThread(second, [&] { first_ok = PopulatePages(block, half); })) return PopulatePages(block, length);
    return first_ok && second_ok;
}
#endif

// A fresh mapping of `length` bytes, its pages in place, or null.
void* MapClearedBlock(std::size_t length) {
    void* block = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED) return nullptr;
    // A hint: without huge pages the block is the same, only slower to touch.
    madvise(block, length, MADV_HUGEPAGE);
#if defined(MADV_POPULATE_WRITE)
    if (!PopulateBlock(block, length)) {
        munmap(block, length);
        return nullptr;
    }
#endif
    return block;
}

} // namespace

Face* AllocateFaceTable(long long count) {
    if (!Allowed(count)) return nullptr;
    const std::size_t length = kHeader + static_cast<std::size_t>(count + kSpareFaces) * sizeof(Face);
    const bool small = length < kMapFrom;
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
    if (!Allowed(count)) return nullptr;
    return static_cast<Face*>(std::calloc(static_cast<std::size_t>(count + kSpareFaces), sizeof(Face)));
}

void FreeFaceTable(Face* table) {
    std::free(table);
}

#endif

void ReplaceHiddenEdges(unsigned char* edges) {
    std::free(HiddenEdges);
    HiddenEdges = edges;
}
