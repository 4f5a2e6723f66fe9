#include "pauselock.h"

#include <chrono>

void PauseLock::lock() {
    std::unique_lock<std::mutex> guard(mutex_);
    ++waiters_;
    changed_.notify_all(); // the worker stays off the lock from now on
    changed_.wait(guard, [this] { return !locked_; });
    locked_ = true;
    --waiters_;
    changed_.notify_all();
}

bool PauseLock::tryLock(int timeoutMs) {
    std::unique_lock<std::mutex> guard(mutex_);
    // A stop request ends the attempt early, so a stopping worker never waits out the time.
    changed_.wait_for(guard, std::chrono::milliseconds(timeoutMs),
                      [this] { return (!locked_ && waiters_ == 0) || stop_; });
    if (locked_ || waiters_ > 0)
        return false;
    locked_ = true;
    return true;
}

void PauseLock::unlock() {
    std::lock_guard<std::mutex> guard(mutex_);
    locked_ = false;
    changed_.notify_all();
}

bool PauseLock::hasWaiters() const {
    std::lock_guard<std::mutex> guard(mutex_);
    return waiters_ > 0;
}

bool PauseLock::waitUntilFree(int ms) {
    std::unique_lock<std::mutex> guard(mutex_);
    changed_.wait_for(guard, std::chrono::milliseconds(ms),
                      [this] { return (!locked_ && waiters_ == 0) || stop_; });
    return !locked_ && waiters_ == 0 && !stop_;
}

bool PauseLock::pause(int ms) {
    std::unique_lock<std::mutex> guard(mutex_);
    return changed_.wait_for(guard, std::chrono::milliseconds(ms), [this] { return stop_; });
}

void PauseLock::requestStop() {
    // Notified under the mutex: the worker can only see the stop, finish and release this
    // object after we have let go of it.
    std::lock_guard<std::mutex> guard(mutex_);
    stop_ = true;
    changed_.notify_all();
}

bool PauseLock::isStopRequested() const {
    std::lock_guard<std::mutex> guard(mutex_);
    return stop_;
}
