#include "threads/side_thread.h"

bool SideThread::startRaw(void* (*run)(void*), void* work) {
    join();
    running_ = pthread_create(&thread_, nullptr, run, work) == 0;
    return running_;
}

void SideThread::join() {
    if (running_) pthread_join(thread_, nullptr);
    running_ = false;
}
