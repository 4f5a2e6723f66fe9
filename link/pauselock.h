#pragma once

#include <QMutex>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>

// The mutex that serialises all use of the device link. The background worker holds it for
// each poll; the user-interface thread holds it for each exchange with the instrument.
// QMutex is not fair, so lock() announces itself: the worker cuts its pause short and stays
// off the lock until the waiting thread has it.
class PauseLock {
public:
    void lock();
    bool tryLock(int timeoutMs);
    void unlock();

    // For the worker: true when another thread is waiting in lock().
    bool hasWaiters() const { return waiters_.load() > 0; }
    // For the worker: sleeps up to ms, returning early when a thread starts waiting or
    // wake() is called. Returns true when cut short.
    bool pauseUnlessWanted(int ms);
    // For the worker: waits up to ms until no thread is waiting for the lock.
    void waitUntilUnwanted(int ms);
    // Ends any pause at once (used by a stop request).
    void wake();

private:
    QMutex mutex_;
    std::atomic<int> waiters_{0};
    std::mutex signalMutex_;
    std::condition_variable signal_;
};

// Holds a pause lock for a scope. It keeps the lock object alive, so the worker that owns the
// lock may be stopped and deleted while the holder still has to release it.
class PauseLocker {
public:
    explicit PauseLocker(std::shared_ptr<PauseLock> lock) : lock_(std::move(lock))
    {
        if (lock_) {
            lock_->lock();
            held_ = true;
        }
    }
    ~PauseLocker() { unlock(); }
    PauseLocker(const PauseLocker&) = delete;
    PauseLocker& operator=(const PauseLocker&) = delete;

    void unlock()
    {
        if (held_) {
            held_ = false;
            lock_->unlock();
        }
    }
    void relock()
    {
        if (lock_ && !held_) {
            lock_->lock();
            held_ = true;
        }
    }
    bool isHeld() const { return held_; }

private:
    std::shared_ptr<PauseLock> lock_;
    bool held_ = false;
};
