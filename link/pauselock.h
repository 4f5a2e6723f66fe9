#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>

// The lock that serialises all use of the device link. The user-interface thread holds it for
// each exchange with the instrument; the background worker waits for input without it and holds
// it only to read what has arrived. A plain mutex is not fair, so lock() announces itself and
// the worker stays off the lock while anyone waits in lock(). Built on one std::mutex and one
// condition variable, which the thread sanitizer can follow.
class PauseLock {
  public:
    void lock();
    // Takes the lock if within timeoutMs it is neither held nor asked for in lock() (the worker
    // never jumps the queue); a stop request ends the wait.
    bool tryLock(int timeoutMs);
    void unlock();

    // True when a thread is waiting in lock().
    bool hasWaiters() const;
    // For the worker: waits up to ms until the lock is neither held nor asked for; false on
    // time-out or stop.
    bool waitUntilFree(int ms);
    // For the worker: sleeps up to ms; returns early (true) when a stop is requested.
    bool pause(int ms);

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
