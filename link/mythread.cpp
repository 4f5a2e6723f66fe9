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
    // The loop keeps its own reference: its last use of the lock is then ordered before the
    // lock's release by whoever deletes the worker after the thread ends, which the thread
    // sanitizer can follow (it cannot see through QThread::wait).
    const std::shared_ptr<PauseLock> lock = pauseLock_;
    FramePort* const port = port_;
    while (!lock->isStopRequested()) {
        // While a command holds the lock, what arrives is its reply.
        if (!lock->waitUntilFree(kWaitSliceMs))
            continue;
        const int ready = port ? port->waitForInput(kWaitSliceMs) : -1;
        if (ready == 0)
            continue;
        if (ready < 0) {
            lock->pause(kPollPauseMs);
            continue;
        }
        if (!lock->tryLock(kWaitSliceMs))
            continue;
        QByteArray bytes;
        int got = 0;
        // A command may have taken what was there (its reply) before the lock was ours.
        const bool stillThere = !lock->isStopRequested() && port->waitForInput(0) > 0;
        // The read waits a while for more reports, so a burst is read whole before a command's
        // clean-up could drop its rest.
        if (stillThere)
            got = port->receiveFrame(bytes, 0, kExpectedLength, false);
        lock->unlock();
        if (got > 0)
            emit senddata(bytes);
        else if (stillThere)
            lock->pause(kPollPauseMs); // never spin on input that cannot be read
    }
}
