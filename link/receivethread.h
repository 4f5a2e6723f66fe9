#pragma once

#include <QByteArray>
#include <QObject>

#include <memory>

class FramePort;
class MyThread;
class PauseLock;
class QThread;

// The background receive worker in a thread of its own, started and stopped as one. Chunks a
// stopped worker left queued are dropped, so a new connection never sees the old one's bytes.
class ReceiveThread : public QObject {
    Q_OBJECT
  public:
    explicit ReceiveThread(QObject* parent = nullptr);
    ~ReceiveThread() override;

    // Stops a worker still running from an earlier connection, then polls `port`.
    void start(FramePort* port);
    void stop();
    MyThread* worker() const { return worker_; }
    QThread* thread() const { return thread_; }
    // The pause lock of the current worker; null while there is none.
    std::shared_ptr<PauseLock> pauseLock() const;

  signals:
    void received(const QByteArray& data);

  private:
    QThread* thread_ = nullptr;
    MyThread* worker_ = nullptr;
    int generation_ = 0;
};
