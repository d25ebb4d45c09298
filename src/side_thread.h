// One piece of work on a second thread beside the caller's: the reader's
// passes over a large file, the writer's formatting, the turn and the paint
// of a large face table.
#pragma once

#include <pthread.h>

class SideThread {
public:
    SideThread() = default;
    ~SideThread() { join(); }
    SideThread(const SideThread&) = delete;
    SideThread& operator=(const SideThread&) = delete;

    // Starts work(argument) on a new thread; false when no thread could be
    // started, and then nothing runs.
    bool start(void* (*work)(void*), void* argument);
    // Waits until the work has ended; returns at once when none was started.
    void join();

private:
    pthread_t thread_{};
    bool running_ = false;
};
