#include "meshfile/dxf/file_mapping.h"

#if defined(__unix__)

#include <atomic>
#include <csignal>
#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// The live mappings, for the fault handler: a few slots of [begin, end),
// claimed and freed without locks. A free slot has begin 0 and end 0, and
// end is set only after begin is claimed and cleared before begin is freed,
// so the handler never sees a range that is not (or no longer) a mapping.
struct MappedRange {
    std::atomic<std::uintptr_t> begin{0};
    std::atomic<std::uintptr_t> end{0};
    std::atomic<bool> faulted{false};
};
constexpr int kSlots = 8;
MappedRange g_ranges[kSlots];

struct sigaction g_previous_bus_action;
std::size_t g_page_size = 4096;

MappedRange* LiveMappingAt(std::uintptr_t address) {
    for (MappedRange& range : g_ranges) {
        const std::uintptr_t begin = range.begin.load();
        if (begin != 0 && address >= begin && address < range.end.load()) return &range;
    }
    return nullptr;
}

// A fault inside a mapping of ours gets a page of zeros and the access is
// retried; any other fault goes where it went before.
void OnBusError(int signal, siginfo_t* info, void* context) {
    const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
    if (MappedRange* range = LiveMappingAt(address)) {
        void* page = reinterpret_cast<void*>(address & ~(g_page_size - 1));
        if (mmap(page, g_page_size, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) != MAP_FAILED) {
            range->faulted.store(true);
            return;
        }
    }
    if (g_previous_bus_action.sa_flags & SA_SIGINFO) return g_previous_bus_action.sa_sigaction(signal, info, context);
    if (g_previous_bus_action.sa_handler != SIG_DFL && g_previous_bus_action.sa_handler != SIG_IGN)
        return g_previous_bus_action.sa_handler(signal);
    // Returning retries the access, which now faults with the default action.
    sigaction(SIGBUS, &g_previous_bus_action, nullptr);
}

bool InstallBusHandler() {
    g_page_size = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    struct sigaction action{};
    action.sa_sigaction = OnBusError;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    return sigaction(SIGBUS, &action, &g_previous_bus_action) == 0;
}

MappedRange* ClaimSlot(std::uintptr_t begin, std::size_t size) {
    for (MappedRange& range : g_ranges) {
        std::uintptr_t free = 0;
        if (!range.begin.compare_exchange_strong(free, begin)) continue;
        range.faulted.store(false);
        range.end.store(begin + size);
        return &range;
    }
    return nullptr;
}

} // namespace

const char* MapFileBytes(int fd, std::size_t size) {
    static const bool guarded = InstallBusHandler();
    if (!guarded || size == 0) return nullptr;
    void* bytes = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    if (bytes == MAP_FAILED) return nullptr;
    if (!ClaimSlot(reinterpret_cast<std::uintptr_t>(bytes), size)) {
        munmap(bytes, size);
        return nullptr;
    }
    return static_cast<const char*>(bytes);
}

bool MappingFaulted(const char* bytes) {
    const MappedRange* range = LiveMappingAt(reinterpret_cast<std::uintptr_t>(bytes));
    return range != nullptr && range->faulted.load();
}

void UnmapFileBytes(const char* bytes, std::size_t size) {
    if (bytes == nullptr) return;
    const auto begin = reinterpret_cast<std::uintptr_t>(bytes);
    for (MappedRange& range : g_ranges)
        if (range.begin.load() == begin) {
            range.end.store(0);
            range.begin.store(0);
        }
    munmap(const_cast<char*>(bytes), size);
}

void DropMappedPages(const char* bytes, std::size_t from, std::size_t to) {
    const auto base = reinterpret_cast<std::uintptr_t>(bytes);
    const std::uintptr_t first = (base + from + g_page_size - 1) & ~(g_page_size - 1);
    const std::uintptr_t last = (base + to) & ~(g_page_size - 1);
    if (first < last) madvise(reinterpret_cast<void*>(first), last - first, MADV_DONTNEED);
}

#else

const char* MapFileBytes(int, std::size_t) { return nullptr; }
bool MappingFaulted(const char*) { return false; }
void UnmapFileBytes(const char*, std::size_t) {}
void DropMappedPages(const char*, std::size_t, std::size_t) {}

#endif
