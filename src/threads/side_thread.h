// One piece of work on a second thread beside the caller's: the reader's
// passes over a large file, the writer's formatting, the converter's second
// half, the turn and the paint of a large face table.
#pragma once

#include <pthread.h>

class SideThread {
public:
    SideThread() = default;
    ~SideThread() { join(); }
    SideThread(const SideThread&) = delete;
    SideThread& operator=(const SideThread&) = delete;

    // Starts work() on a new thread; false when no thread could be started,
    // and then nothing runs. `work` is called in place, not copied: it must
    // stay until join().
    template <class Work> bool start(Work& work) {
        return startRaw([](void* w) -> void* {
            (*static_cast<Work*>(w))();
            return nullptr;
        }, &work);
    }
    // Waits until the work has ended; returns at once when none was started.
    void join();

private:
    bool startRaw(void* (*run)(void*), void* work);

    pthread_t thread_{};
    bool running_ = false;
};
