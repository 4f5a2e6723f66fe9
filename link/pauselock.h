#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>

// The lock that serialises all use of the device link. The background worker holds it for
// each poll; the user-interface thread holds it for each exchange with the instrument.
// A plain mutex is not fair, so lock() announces itself: the worker cuts its pause short and
// stays off the lock until the waiting thread has it. Built on one std::mutex and one
// condition variable, which the thread sanitizer can follow.
class PauseLock {
  public:
    void lock();
    bool tryLock(int timeoutMs);
    void unlock();

    // For the worker: true when another thread is waiting in lock().
    bool hasWaiters() const;
    // For the worker: sleeps up to ms; returns early (true) when a thread starts waiting or a
    // stop is requested.
    bool pauseUnlessWanted(int ms);
    // For the worker: waits up to ms until no thread is waiting for the lock.
    void waitUntilUnwanted(int ms);

    // Asks the worker to stop: every pause and lock attempt of the worker ends at once.
    void requestStop();
    bool isStopRequested() const;

  private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool locked_ = false;
    int waiters_ = 0;
    bool stop_ = false;
};

// Holds a pause lock for a scope. It keeps the lock object alive, so the worker that owns the
// lock may be stopped and deleted while the holder still has to release it.
class PauseLocker {
  public:
    explicit PauseLocker(std::shared_ptr<PauseLock> lock) : lock_(std::move(lock)) {
        if (lock_) {
            lock_->lock();
            held_ = true;
        }
    }
    ~PauseLocker() { unlock(); }
    PauseLocker(const PauseLocker&) = delete;
    PauseLocker& operator=(const PauseLocker&) = delete;

    void unlock() {
        if (held_) {
            held_ = false;
            lock_->unlock();
        }
    }
    void relock() {
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
