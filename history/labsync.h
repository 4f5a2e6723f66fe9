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
// restarts too. Products go both ways: the station's changes are copied, and the other stations'
// are fetched on first contact, after a product was copied, when asked, and every
// pullInterval. A product changed on two stations keeps the newer edit, on both.
class LabSync : public QObject {
    Q_OBJECT

  public:
    // Connections to the server give up after this long: a server that accepts and never
    // answers holds the copy, and the program's end, no longer.
    static constexpr int kConnectTimeoutS = 3;

    LabSync(const QString& localPath, const HistoryUrl& lab, int retryIntervalMs = 5000,
            const QString& station = QString());
    ~LabSync() override;

    // From any thread: copy what is queued now. Wakes asked for while one waits are one wake.
    void requestWake();
    // From any thread: no more copying; a wake still queued returns at once.
    void requestStop();
    // From any thread: fetch the other stations' products at the next wake, and wake.
    void requestPull();

  public slots:
    void wake();
    void setRetryInterval(int milliseconds);
    void setPullInterval(int milliseconds);
    // Closes the connections in the sync thread before it ends.
    void stop();

  signals:
    void stateChanged(bool synced, int unsynced, const QString& message);
    // The server answered and refused (rights, schema): trying again will not help until
    // someone acts. Once per distinct refusal.
    void refused(const QString& message);
    // A product changed here and on `station` since they last agreed: the newer edit is kept.
    void productConflict(const QString& name, const QString& station);
    // Products of other stations were written into the station's file.
    void productsPulled();

  private:
    // A product copied in the server's open transaction; what the station's file does about it
    // once the server committed.
    struct Settled {
        HistoryProduct mine;
        std::optional<HistoryProduct> lab; // the lab's newer edit, taken instead of ours
        QString otherStation;              // the edit of another station this one met
    };
    bool copyBatch(int& remaining);
    bool pushProduct(const HistoryProduct& mine, QVector<Settled>& settled);
    bool settle(const QVector<Settled>& settled);
    bool pullProducts();
    bool connectServer();
    bool retryLater(HistoryFailure failure); // a copy: the server it came from goes first
    void report(bool synced, int unsynced, const QString& message);

    QString localPath_;
    HistoryUrl lab_;
    std::unique_ptr<HistoryDatabase> local_;
    std::unique_ptr<HistoryDatabase> server_;
    QTimer* retry_ = nullptr;
    QTimer* pull_ = nullptr;
    int retryInterval_;
    int pullInterval_ = 30000;
    QString station_;
    std::atomic<bool> pullDue_{true};
    int lastUnsynced_ = -1;
    bool lastSynced_ = false;
    QString lastMessage_;
    QString lastRefusal_;
    std::atomic<bool> wakeQueued_{false};
    std::atomic<bool> stopping_{false};
};

} // namespace history
