#pragma once

#include "historydatabase.h"

#include <QObject>
#include <QTimer>

#include <atomic>
#include <memory>

namespace history {

// Copies the rows queued in the local history to the lab database, each by its id, in its own
// thread over its own two connections. While the server cannot be reached it tries again every
// retryInterval, one attempt at a time; the local queue keeps what is not copied yet, across
// restarts too.
class LabSync : public QObject {
    Q_OBJECT

  public:
    // Connections to the server give up after this long: a server that accepts and never
    // answers holds the copy, and the program's end, no longer.
    static constexpr int kConnectTimeoutS = 3;

    LabSync(const QString& localPath, const HistoryUrl& lab, int retryIntervalMs = 5000);
    ~LabSync() override;

    // From any thread: copy what is queued now. Wakes asked for while one waits are one wake.
    void requestWake();
    // From any thread: no more copying; a wake still queued returns at once.
    void requestStop();

  public slots:
    void wake();
    void setRetryInterval(int milliseconds);
    // Closes the connections in the sync thread before it ends.
    void stop();

  signals:
    void stateChanged(bool synced, int unsynced, const QString& message);
    // The server answered and refused (rights, schema): trying again will not help until
    // someone acts. Once per distinct refusal.
    void refused(const QString& message);

  private:
    bool copyBatch(int& remaining);
    bool retryLater(HistoryFailure failure); // a copy: the server it came from goes first
    void report(bool synced, int unsynced, const QString& message);

    QString localPath_;
    HistoryUrl lab_;
    std::unique_ptr<HistoryDatabase> local_;
    std::unique_ptr<HistoryDatabase> server_;
    QTimer* retry_ = nullptr;
    int retryInterval_;
    int lastUnsynced_ = -1;
    bool lastSynced_ = false;
    QString lastMessage_;
    QString lastRefusal_;
    std::atomic<bool> wakeQueued_{false};
    std::atomic<bool> stopping_{false};
};

} // namespace history
