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
    while (!pauseLock_->isStopRequested()) {
        // While a command holds the lock, what arrives is its reply.
        if (!pauseLock_->waitUntilFree(kWaitSliceMs))
            continue;
        const int ready = port_ ? port_->waitForInput(kWaitSliceMs) : -1;
        if (ready == 0)
            continue;
        if (ready < 0) {
            pauseLock_->pause(kPollPauseMs);
            continue;
        }
        if (!pauseLock_->tryLock(kWaitSliceMs))
            continue;
        QByteArray bytes;
        int got = 0;
        // A command may have taken what was there (its reply) before the lock was ours.
        const bool stillThere = !pauseLock_->isStopRequested() && port_->waitForInput(0) > 0;
        // The read waits a while for more reports, so a burst is read whole before a command's
        // clean-up could drop its rest.
        if (stillThere)
            got = port_->receiveFrame(bytes, 0, kExpectedLength, false);
        pauseLock_->unlock();
        if (got > 0)
            emit senddata(bytes);
        else if (stillThere)
            pauseLock_->pause(kPollPauseMs); // never spin on input that cannot be read
    }
}
