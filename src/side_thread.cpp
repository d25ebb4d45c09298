#include "side_thread.h"

bool SideThread::start(void* (*work)(void*), void* argument) {
    join();
    running_ = pthread_create(&thread_, nullptr, work, argument) == 0;
    return running_;
}

void SideThread::join() {
    if (running_) pthread_join(thread_, nullptr);
    running_ = false;
}
