#include "mythread.h"

#include "frameport.h"

MyThread::MyThread(FramePort* port, QObject* parent) : QObject(parent), port_(port) {}

MyThread::~MyThread() = default;

void MyThread::requestStop()
{
    stopRequested_.store(true);
    pauseLock_->wake();
}

void MyThread::startThreadSlot()
{
    // A bounded wait for the lock keeps the stop request visible while the user-interface
    // thread holds the lock for a long exchange.
    constexpr int kLockAttemptMs = 20;
    while (!stopRequested_.load()) {
        if (pauseLock_->hasWaiters()) {
            pauseLock_->waitUntilUnwanted(kLockAttemptMs);
            continue;
        }
        if (!pauseLock_->tryLock(kLockAttemptMs))
            continue;
        if (stopRequested_.load()) {
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
