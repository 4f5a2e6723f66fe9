#pragma once

#include "pauselock.h"

#include <QByteArray>
#include <QObject>

#include <memory>

class FramePort;

// Background receive worker: waits for bytes the instrument sends on its own and hands each
// chunk over through senddata. It waits without its pause lock and takes the lock only to read
// what has arrived, so that a command on the user-interface thread never waits for the wait.
class MyThread : public QObject {
    Q_OBJECT
  public:
    // Each wait of the worker is bounded by this, so that it sees a stop request soon even where
    // the wait cannot be cut short (the link's wait for input).
    static constexpr int kWaitSliceMs = 50;
    // Rest after a link that is missing or said it had input and then delivered none.
    static constexpr int kPollPauseMs = 30;
    static constexpr int kExpectedLength = 142090;

    explicit MyThread(FramePort* port, QObject* parent = nullptr);
    ~MyThread() override;

    PauseLock& pauseLock() { return *pauseLock_; }
    // The lock outlives the worker while anyone holds a copy of this pointer.
    std::shared_ptr<PauseLock> sharedPauseLock() const { return pauseLock_; }
    // Ends the polling loop within kWaitSliceMs, even while another thread holds the lock.
    void requestStop();
    bool isStopRequested() const { return pauseLock_->isStopRequested(); }

  signals:
    void senddata(QByteArray data);

  public slots:
    void startThreadSlot();

  private:
    FramePort* port_;
    std::shared_ptr<PauseLock> pauseLock_ = std::make_shared<PauseLock>();
};
