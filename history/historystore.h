#pragma once

#include "historydatabase.h"

#include <QElapsedTimer>
#include <QObject>
#include <QThread>
#include <QTimer>

#include <deque>
#include <functional>

namespace history {

class LabSync;

// What a change of a product came to.
struct ProductOutcome {
    enum class Kind {
        Done,
        Refused, // a name empty or in use for the model: nothing was written
        NotFound,
        Failed // the file refused the write; the store is off
    };
    Kind kind = Kind::Done;
    QString message;        // the sentence the user reads, when not done
    HistoryProduct product; // as stored, when done
    bool done() const { return kind == Kind::Done; }
};

// The measurement history of this station: every comparison and spectrum is written to the local
// SQLite file before it is shown, and, with a lab database, copied to the server in the
// background. When the file cannot be written the store turns "off", says why once, and keeps
// every change in memory until a later write succeeds: nothing is dropped while the program runs.
// While off, a write tries the kept changes again at most once a second, or once they have
// doubled since the last try, so a failing disk costs each write nothing; retry() tries now.
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
    // Ends the lab copy (an attempt to connect under way is waited for, bounded by its time-out;
    // what is not copied stays queued for the next start) and closes the file.
    void close();
    // How long a write waits for another program's write before the store turns off.
    void setBusyTimeout(int milliseconds) { busyTimeout_ = milliseconds; }
    // False: a change the file does not take now is dropped, not kept (the command line, which
    // stops there, must not write later what it never showed).
    void setKeepRefused(bool keep) { keepRefused_ = keep; }

    State state() const { return state_; }
    QString lastMessage() const { return message_; }
    int pendingCount() const { return int(pending_.size()); }
    QString localPath() const { return localPath_; }
    bool hasLab() const { return lab_.isValid(); }
    QString labText() const { return lab_.toString(); }
    const HistoryUrl& labUrl() const { return lab_; }
    LabSync* labSync() const { return sync_; }
    bool isSynced() const { return synced_; }
    int unsyncedCount() const { return unsynced_; }
    QString syncMessage() const { return syncMessage_; }

    // Each returns true when the change is in the database, false when it is kept for later.
    // With `comparisonSerial`, the open list's name counter moves in the same transaction.
    bool record(const HistoryComparison& row, std::optional<double> listSequence = std::nullopt,
                std::optional<int> comparisonSerial = std::nullopt);
    // An import: all rows in one transaction, appended to the open list when `listed`. With
    // Conflict::Relist, records imported before (the same id) are updated, not stored twice.
    bool recordMany(const QVector<OpenListRow>& rows, bool listed,
                    HistoryDatabase::Conflict conflict = HistoryDatabase::Conflict::Keep);
    // Re-judging with new settings: the judged columns of each row, in one transaction.
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
    // The list's rows leave it and stay in the history; the standard and the name counter stay.
    bool closeOpenList();
    // Tries the kept changes again now.
    bool retry();

    // The list of the last run as it was left; empty when it was cleared or cannot be read.
    OpenList restore();

    static QString newId();
    static QString stationName();
    // The station products are changed on (the host name unless set).
    void setStation(const QString& station) { station_ = station; }
    QString station() const { return station_; }

    // Products. A change is written at once or not at all: never kept for later, as a name
    // must be checked against the products stored. Each goes to the lab database as rows do.
    // A new product: id, changed time and station are filled in.
    ProductOutcome addProduct(HistoryProduct product);
    ProductOutcome renameProduct(const QString& id, const QString& name);
    // Tolerances, threshold and formula; the standard stays.
    ProductOutcome setProductSettings(const QString& id, std::optional<double> hazeTolerance,
                                      std::optional<double> tTolerance,
                                      std::optional<double> threshold, std::optional<int> formula);
    ProductOutcome retireProduct(const QString& id);
    QVector<HistoryProduct> products(const ProductFilter& filter);
    std::optional<HistoryProduct> product(const QString& id);
    // The product of the model by that name, not retired.
    std::optional<HistoryProduct> productNamed(const QString& model, const QString& name);
    // A product read from the lab database kept in the station's file, as the lab copy keeps
    // the products it fetches.
    ProductOutcome adoptLabProduct(const HistoryProduct& product);
    // The lab copy fetches the other stations' products now rather than at its next round.
    void pullProducts();
    // Kept for the next start as the open list is.
    bool setProductInUse(const QString& id);
    bool setLot(const QString& lot);

  signals:
    void stateChanged(history::HistoryStore::State state);
    // Once per change into the off state: the reason, to show once.
    void failed(const QString& message);
    // The lab database: everything copied (`unsynced` 0), or how many rows wait.
    void syncStateChanged(bool synced, int unsynced);
    // The lab database refused the copy (rights, schema): the server's words, once each.
    void labFailed(const QString& message);
    // The products changed: here, or by another station through the lab database.
    void productsChanged();
    // A product was changed on two stations; the newer edit is kept. The sentence to show.
    void productConflict(const QString& message);

  private:
    using Change = std::function<bool(HistoryDatabase&, bool toLab)>;
    bool apply(Change change);
    bool flush();
    bool dueForRetry() const;
    bool openDatabase();
    void setState(State state, const QString& message);
    void wakeLab();
    using ProductStep = std::function<ProductOutcome(HistoryDatabase&, bool toLab)>;
    ProductOutcome writeProduct(const ProductStep& step);
    ProductOutcome editProduct(const QString& id, const std::function<std::optional<ProductOutcome>(
                                                      HistoryDatabase&, HistoryProduct&)>& edit);

    HistoryDatabase db_;
    QString localPath_;
    HistoryUrl lab_;
    State state_ = State::Off;
    QString message_;
    std::deque<Change> pending_;
    bool keepRefused_ = true;
    QElapsedTimer lastTry_;
    std::size_t pendingAtLastTry_ = 0;
    QTimer checkpoint_;
    QThread syncThread_;
    LabSync* sync_ = nullptr;
    int busyTimeout_ = 5000;
    QString station_ = stationName();
    bool synced_ = false;
    int unsynced_ = 0;
    QString syncMessage_;
};

} // namespace history
