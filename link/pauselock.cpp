#include "pauselock.h"

#include <chrono>

void PauseLock::lock()
{
    waiters_.fetch_add(1);
    wake();
    mutex_.lock();
    waiters_.fetch_sub(1);
    wake();
}

bool PauseLock::tryLock(int timeoutMs) { return mutex_.tryLock(timeoutMs); }

void PauseLock::unlock() { mutex_.unlock(); }

void PauseLock::wake()
{
    // Taking the signal mutex orders the change of waiters_ with a pauser's predicate check.
    { std::lock_guard<std::mutex> guard(signalMutex_); }
    signal_.notify_all();
}

bool PauseLock::pauseUnlessWanted(int ms)
{
    std::unique_lock<std::mutex> guard(signalMutex_);
    return signal_.wait_for(guard, std::chrono::milliseconds(ms), [this] { return waiters_.load() > 0; });
}

void PauseLock::waitUntilUnwanted(int ms)
{
    std::unique_lock<std::mutex> guard(signalMutex_);
    signal_.wait_for(guard, std::chrono::milliseconds(ms), [this] { return waiters_.load() == 0; });
}
