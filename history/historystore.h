#pragma once

#include "historydatabase.h"

#include <QObject>
#include <QThread>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>

namespace history {

class LabSync;

// The measurement history of this station: every comparison and spectrum is written to the local
// SQLite file before it is shown, and, with a lab database, copied to the server in the
// background. When the file cannot be written the store turns "off", says why once, and keeps
// every change in memory until a later write succeeds: nothing is dropped while the program runs.
class HistoryStore : public QObject {
    Q_OBJECT

  public:
    enum class State { On, Off };

    explicit HistoryStore(QObject* parent = nullptr);
    ~HistoryStore() override;

    // The history at `localPath` (created on first use); with a PostgreSQL `lab`, rows are copied
    // there too. False when the local file cannot be used now: the store is off, writes are kept.
    bool open(const QString& localPath, const HistoryUrl& lab = {});
    // --database/VELORIN_DATABASE: a SQLite URL names the local file; a PostgreSQL URL keeps the
    // default local file and adds the lab database.
    bool openUrl(const HistoryUrl& url);
    void close();
    // How long a write waits for another program's write before the store turns off.
    void setBusyTimeout(int milliseconds) { m_busyTimeout = milliseconds; }

    State state() const { return m_state; }
    QString lastMessage() const { return m_message; }
    int pendingCount() const { return int(m_pending.size()); }
    QString localPath() const { return m_localPath; }
    bool hasLab() const { return m_lab.isValid(); }
    LabSync* labSync() const { return m_sync; }
    bool isSynced() const { return m_synced; }
    int unsyncedCount() const { return m_unsynced; }
    QString syncMessage() const { return m_syncMessage; }

    // Each returns true when the change is in the database, false when it is kept for later.
    // With `comparisonSerial`, the open list's name counter moves in the same transaction.
    bool record(const HistoryComparison& row, std::optional<double> listSequence = std::nullopt,
                std::optional<int> comparisonSerial = std::nullopt);
    // An import: all rows in one transaction, appended to the open list when `listed`. A row
    // whose id is stored already is kept, or with Relist takes the new judging and is listed again.
    bool recordMany(const QVector<OpenListRow>& rows, bool listed,
                    HistoryDatabase::Conflict conflict = HistoryDatabase::Conflict::Keep);
    // Rows judged again: their settings, differences and verdicts, in one transaction.
    bool updateJudging(const QVector<HistoryComparison>& rows);
    bool recordSpectrum(const HistorySpectrum& row);
    // An import of spectra: all in one transaction.
    bool recordSpectra(const QVector<HistorySpectrum>& rows);
    // A delete marks the row and takes it off the open list; the record stays.
    bool markDeleted(const QString& id, bool spectrum = false);
    bool rename(const QString& id, const QString& name, bool spectrum = false);
    bool setStandard(const std::optional<HistoryStandard>& standard);
    bool setComparisonSerial(int serial);
    // Clear empties the list, not the history.
    bool clearOpenList();
    // Tries the kept changes again (the next record does so too).
    bool retry();

    // The list of the last run as it was left; empty when it was cleared or cannot be read.
    OpenList restore();

    static QString newId();
    static QString stationName();

  signals:
    void stateChanged(history::HistoryStore::State state);
    // Once per change into the off state: the reason, to show once.
    void failed(const QString& message);
    // The lab database: everything copied (`unsynced` 0), or how many rows wait.
    void syncStateChanged(bool synced, int unsynced);

  private:
    using Change = std::function<bool(HistoryDatabase&, bool toLab)>;
    bool apply(Change change);
    bool flush();
    bool openDatabase();
    void setState(State state, const QString& message);

    HistoryDatabase m_db;
    QString m_localPath;
    HistoryUrl m_lab;
    State m_state = State::Off;
    QString m_message;
    std::deque<Change> m_pending;
    QTimer m_checkpoint;
    QThread m_syncThread;
    LabSync* m_sync = nullptr;
    int m_busyTimeout = 5000;
    bool m_synced = false;
    int m_unsynced = 0;
    QString m_syncMessage;
};

} // namespace history
