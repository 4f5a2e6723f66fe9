#include "receivethread.h"

#include "mythread.h"

#include <QThread>

ReceiveThread::ReceiveThread(QObject* parent) : QObject(parent) {}

ReceiveThread::~ReceiveThread() {
    stop();
}

std::shared_ptr<PauseLock> ReceiveThread::pauseLock() const {
    return worker_ ? worker_->sharedPauseLock() : nullptr;
}

void ReceiveThread::start(FramePort* port) {
    // A worker still running from an earlier connection would poll a link it no longer owns.
    stop();
    thread_ = new QThread;
    worker_ = new MyThread(port);
    const int generation = ++generation_;
    connect(worker_, &MyThread::senddata, this, [this, generation](const QByteArray& data) {
        if (generation == generation_)
            emit received(data);
    });
    worker_->moveToThread(thread_);
    connect(thread_, &QThread::started, worker_, &MyThread::startThreadSlot);
    thread_->start();
}

void ReceiveThread::stop() {
    if (!thread_)
        return;
    // The worker notices the request within one bounded wait, even while a command on another
    // thread holds the pause lock.
    worker_->requestStop();
    thread_->quit();
    thread_->wait();
    ++generation_;
    delete worker_; // its thread has ended, so nothing runs in it any more
    worker_ = nullptr;
    // Deleted now: a deleteLater would never run once the event loop has ended (the owner may be
    // stopped from a window's destructor).
    delete thread_;
    thread_ = nullptr;
}
