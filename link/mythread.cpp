#include "mythread.h"

#include "frameport.h"

MyThread::MyThread(FramePort* port, QObject* parent) : QObject(parent), port_(port) {}

MyThread::~MyThread() = default;

void MyThread::requestStop() {
    // The worker may be deleted as soon as it sees the stop; keep the lock alive until then.
    const std::shared_ptr<PauseLock> lock = pauseLock_;
    lock->requestStop();
}

void MyThread::startThreadSlot() {
    // A bounded wait for the lock keeps the stop request visible while the user-interface
    // thread holds the lock for a long exchange.
    constexpr int kLockAttemptMs = 20;
    while (!pauseLock_->isStopRequested()) {
        if (pauseLock_->hasWaiters()) {
            pauseLock_->waitUntilUnwanted(kLockAttemptMs);
            continue;
        }
        if (!pauseLock_->tryLock(kLockAttemptMs))
            continue;
        if (pauseLock_->isStopRequested()) {
            pauseLock_->unlock();
            break;
        }
        QByteArray bytes;
        if (port_ && port_->receiveFrame(bytes, 0, kExpectedLength, false) > 0)
            emit senddata(bytes);
        pauseLock_->pauseUnlessWanted(kPollPauseMs);
        pauseLock_->unlock();
    }
}
