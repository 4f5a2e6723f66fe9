#pragma once

#include "pauselock.h"

#include <QByteArray>
#include <QObject>

#include <memory>

class FramePort;

// Background receive worker: polls the link for bytes the instrument sends on its own and
// hands each chunk over through senddata. Its pause lock keeps it off the link while the
// user-interface thread exchanges commands.
class MyThread : public QObject {
    Q_OBJECT
  public:
    static constexpr int kPollPauseMs = 30;
    static constexpr int kExpectedLength = 142090;

    explicit MyThread(FramePort* port, QObject* parent = nullptr);
    ~MyThread() override;

    PauseLock& pauseLock() { return *pauseLock_; }
    // The lock outlives the worker while anyone holds a copy of this pointer.
    std::shared_ptr<PauseLock> sharedPauseLock() const { return pauseLock_; }
    // Ends the polling loop within a poll period, even while another thread holds the lock.
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
