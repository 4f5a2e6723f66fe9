#pragma once

#include "historydatabase.h"

#include <QObject>
#include <QTimer>

#include <memory>

namespace history {

// Copies the rows queued in the local history to the lab database, each by its id, in its own
// thread over its own two connections. While the server cannot be reached it tries again every
// retryInterval; the local queue keeps what is not copied yet, across restarts too.
class LabSync : public QObject {
    Q_OBJECT

  public:
    LabSync(const QString& localPath, const HistoryUrl& lab, int retryIntervalMs = 5000);
    ~LabSync() override;

  public slots:
    // Copies what is queued now; called after every local write.
    void wake();
    void setRetryInterval(int milliseconds);
    // Closes the connections in the sync thread before it ends.
    void stop();

  signals:
    void stateChanged(bool synced, int unsynced, const QString& message);

  private:
    bool copyBatch(int& remaining);
    void report(bool synced, int unsynced, const QString& message);

    QString m_localPath;
    HistoryUrl m_lab;
    std::unique_ptr<HistoryDatabase> m_local;
    std::unique_ptr<HistoryDatabase> m_server;
    QTimer* m_retry = nullptr;
    int m_retryInterval;
    int m_lastUnsynced = -1;
    bool m_lastSynced = false;
    QString m_lastMessage;
};

} // namespace history
