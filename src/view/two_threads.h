// Splitting work on a large face table over the machine's two cores.
#pragma once

#include <system_error>
#include <thread>
#include <cstdlib>

// Runs work(1) on a second thread and work(0) on this one, and returns when
// both are done. When no thread can be started, runs both here.
template <class Work> void OnTwoThreads(const Work& work) {
    if (std::getenv("ONE_THREAD")) { work(1); work(0); return; }
    std::thread other;
    try {
        other = std::thread(work, 1);
    } catch (const std::system_error&) {
        work(1);
    }
    work(0);
    if (other.joinable()) other.join();
}

// The first index of part `part` (0 or 1) of `count` items; part 1 ends at count.
inline long PartStart(long count, int part) { return part == 0 ? 0 : count / 2; }
