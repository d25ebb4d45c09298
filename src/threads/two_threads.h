// Splitting work over the machine's two cores: this thread and one beside it.
#pragma once

#include "threads/side_thread.h"

#include <algorithm>
#include <atomic>
#include <cstddef>

// Runs side() on a second thread and here() on this one, and returns true
// when both are done; returns false, having run neither, when no thread can
// be started: the caller then does the whole work its own way.
template <class Side, class Here> bool BesideThisThread(Side& side, const Here& here) {
    SideThread other;
    if (!other.start(side)) return false;
    here();
    other.join();
    return true;
}

// Runs work(1) on a second thread and work(0) on this one, and returns when
// both are done. When no thread can be started, runs both here.
template <class Work> void OnTwoThreads(const Work& work) {
    auto second = [&] { work(1); };
    if (!BesideThisThread(second, [&] { work(0); })) {
        work(1);
        work(0);
    }
}

// Runs work(thread, first, last) on ranges that together make [0, count),
// taken in turn by this thread (0) and a second one (1) as each finishes its
// last: a thread that gets less of the processor, or whose items take longer
// to draw, takes fewer ranges. Ranges start at multiples of 64.
template <class Work> void ShareOnTwoThreads(std::ptrdiff_t count, const Work& work) {
    constexpr std::ptrdiff_t kRanges = 32, kAlign = 64;
    const std::ptrdiff_t size = ((count + kRanges - 1) / kRanges + kAlign - 1) / kAlign * kAlign;
    std::atomic<std::ptrdiff_t> next{0};
    OnTwoThreads([&](int thread) {
        for (std::ptrdiff_t first; (first = next.fetch_add(size, std::memory_order_relaxed)) < count;)
            work(thread, first, std::min(count, first + size));
    });
}
