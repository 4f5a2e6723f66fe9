#include "historystore.h"

#include "labsync.h"

#include <QCoreApplication>
#include <QSysInfo>
#include <QUuid>

namespace history {

namespace {
// While off, how long a write leaves the kept changes alone before it tries them again.
constexpr qint64 kRetryIntervalMs = 1000;
// SQLite moves the log into the file once it holds this many pages (16 MB at 4 KB pages), so a
// long run without a pause keeps it bounded; a pause of a second does it earlier.
constexpr int kAutoCheckpointPages = 4096;
} // namespace

HistoryStore::HistoryStore(QObject* parent) : QObject(parent) {
    // The log is moved into the file once writing pauses, not in the middle of a measurement.
    checkpoint_.setSingleShot(true);
    checkpoint_.setInterval(1000);
    connect(&checkpoint_, &QTimer::timeout, this, [this] {
        if (db_.isOpen())
            db_.checkpoint();
    });
}

HistoryStore::~HistoryStore() {
    close();
}

QString HistoryStore::newId() {
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

QString HistoryStore::stationName() {
    return QSysInfo::machineHostName();
}

bool HistoryStore::openUrl(const HistoryUrl& url) {
    if (url.kind == HistoryUrl::Kind::Sqlite)
        return open(url.path);
    if (url.isPostgresql())
        return open(defaultHistoryPath(), url);
    setState(State::Off, url.error);
    return false;
}

bool HistoryStore::open(const QString& localPath, const HistoryUrl& lab) {
    close();
    localPath_ = localPath;
    lab_ = lab.isPostgresql() ? lab : HistoryUrl{};
    synced_ = false;
    unsynced_ = 0;
    syncMessage_.clear();
    const bool opened = openDatabase();
    if (!opened) {
        setState(State::Off, db_.failure().message);
        db_.close();
    } else {
        setState(State::On, QString());
    }
    if (!hasLab())
        return opened;
    if (opened) {
        // A lab database named here for the first time receives the whole local history.
        const QString labText = lab_.toString();
        apply([labText](HistoryDatabase& db, bool) {
            if (db.localState(QStringLiteral("lab_url")).value_or(QString()) == labText)
                return true;
            return db.enqueueAll() && db.setLocalState(QStringLiteral("lab_url"), labText);
        });
    }
    sync_ = new LabSync(localPath, lab_, 5000, station_);
    sync_->moveToThread(&syncThread_);
    connect(&syncThread_, &QThread::finished, sync_, &QObject::deleteLater);
    connect(sync_, &LabSync::stateChanged, this,
            [this](bool synced, int unsynced, const QString& message) {
                synced_ = synced;
                unsynced_ = unsynced;
                syncMessage_ = message;
                emit syncStateChanged(synced, unsynced);
            });
    connect(sync_, &LabSync::refused, this, &HistoryStore::labFailed);
    connect(sync_, &LabSync::productsPulled, this, &HistoryStore::productsChanged);
    connect(sync_, &LabSync::productConflict, this,
            [this](const QString& name, const QString& station) {
                emit productConflict(
                    tr("Product %1 was changed on station %2; the newer edit is kept.")
                        .arg(name, station));
            });
    syncThread_.start();
    wakeLab();
    return opened && state_ == State::On;
}

bool HistoryStore::openDatabase() {
    return db_.open(HistoryUrl::sqliteFile(localPath_), busyTimeout_) &&
           db_.setAutoCheckpoint(kAutoCheckpointPages);
}

void HistoryStore::wakeLab() {
    if (sync_)
        sync_->requestWake();
}

void HistoryStore::close() {
    if (sync_) {
        // Wakes still queued return at once; an attempt to connect under way ends within its
        // time-out.
        sync_->requestStop();
        QMetaObject::invokeMethod(sync_, &LabSync::stop, Qt::BlockingQueuedConnection);
        syncThread_.quit();
        syncThread_.wait();
        sync_ = nullptr;
        // The last word of the copy arrives before the store is done with it.
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    }
    checkpoint_.stop();
    if (!pending_.empty())
        flush();
    if (db_.isOpen()) {
        if (hasLab()) {
            // What the copy left behind waits in the file for the next start.
            const int waiting = db_.outboxSize();
            if (waiting >= 0 && (waiting != unsynced_ || synced_ != (waiting == 0))) {
                synced_ = waiting == 0;
                unsynced_ = waiting;
                emit syncStateChanged(synced_, unsynced_);
            }
        }
        db_.checkpoint();
    }
    db_.close();
}

void HistoryStore::setState(State state, const QString& message) {
    const bool changed = state != state_;
    state_ = state;
    if (state == State::Off) {
        const bool sayIt = changed || message_.isEmpty();
        message_ = message;
        if (sayIt)
            emit failed(message);
    }
    if (state == State::On)
        message_.clear();
    if (changed)
        emit stateChanged(state);
}

bool HistoryStore::apply(Change change) {
    pending_.push_back(std::move(change));
    if (!keepRefused_) {
        if (flush())
            return true;
        pending_.clear();
        return false;
    }
    if (state_ == State::Off && pending_.size() > 1 && !dueForRetry())
        return false;
    return flush();
}

bool HistoryStore::dueForRetry() const {
    return !lastTry_.isValid() || lastTry_.elapsed() >= kRetryIntervalMs ||
           pending_.size() >= 2 * pendingAtLastTry_;
}

bool HistoryStore::retry() {
    return pending_.empty() || flush();
}

bool HistoryStore::flush() {
    if (localPath_.isEmpty()) {
        setState(State::Off, tr("No history database is open."));
        return false;
    }
    const auto failedNow = [this] {
        lastTry_.start();
        pendingAtLastTry_ = pending_.size();
        setState(State::Off, db_.failure().message);
        // Reopened at the next write: the file may have been replaced or the lock released.
        db_.close();
        return false;
    };
    if (!db_.isOpen() && !openDatabase())
        return failedNow();
    // Every kept change in one transaction: all of them are in the file, or none.
    if (!db_.begin())
        return failedNow();
    for (const Change& change : pending_) {
        if (!change(db_, hasLab())) {
            db_.rollback();
            return failedNow();
        }
    }
    if (!db_.commit()) {
        db_.rollback();
        return failedNow();
    }
    pending_.clear();
    lastTry_.invalidate();
    pendingAtLastTry_ = 0;
    setState(State::On, QString());
    checkpoint_.start();
    wakeLab();
    return true;
}

namespace {
// A row the database would refuse (no id, no time) would stop every later write behind it.
template <typename Row> Row completed(Row row) {
    if (row.id.isEmpty())
        row.id = HistoryStore::newId();
    if (!row.measuredAt.isValid())
        row.measuredAt = QDateTime::currentDateTimeUtc();
    return row;
}
} // namespace

bool HistoryStore::record(const HistoryComparison& given, std::optional<double> listSequence,
                          std::optional<int> comparisonSerial) {
    const HistoryComparison row = completed(given);
    return apply([row, listSequence, comparisonSerial](HistoryDatabase& db, bool toLab) {
        return db.insertComparison(row) &&
               (!listSequence || db.appendOpenRow(row.id, *listSequence)) &&
               (!comparisonSerial || db.setLocalState(QStringLiteral("comparison_serial"),
                                                      QString::number(*comparisonSerial))) &&
               (!toLab || db.enqueue(false, row.id));
    });
}

bool HistoryStore::recordMany(const QVector<OpenListRow>& given, bool listed,
                              HistoryDatabase::Conflict conflict) {
    QVector<OpenListRow> rows = given;
    for (OpenListRow& row : rows)
        row.comparison = completed(row.comparison);
    return apply([rows, listed, conflict](HistoryDatabase& db, bool toLab) {
        for (const OpenListRow& row : rows) {
            // A row listed again is not listed twice.
            if (!db.insertComparison(row.comparison, conflict) ||
                (listed && conflict != HistoryDatabase::Conflict::Keep &&
                 !db.removeOpenRow(row.comparison.id)) ||
                (listed && !db.appendOpenRow(row.comparison.id, row.sequence)) ||
                (toLab && !db.enqueue(false, row.comparison.id)))
                return false;
        }
        return true;
    });
}

bool HistoryStore::updateJudging(const QVector<HistoryComparison>& rows) {
    return apply([rows](HistoryDatabase& db, bool toLab) {
        for (const HistoryComparison& row : rows)
            if (!db.updateJudging(row) || (toLab && !db.enqueue(false, row.id)))
                return false;
        return true;
    });
}

bool HistoryStore::recordSpectrum(const HistorySpectrum& given) {
    const HistorySpectrum row = completed(given);
    return apply([row](HistoryDatabase& db, bool toLab) {
        return db.insertSpectrum(row) && (!toLab || db.enqueue(true, row.id));
    });
}

bool HistoryStore::recordSpectra(const QVector<HistorySpectrum>& given) {
    QVector<HistorySpectrum> rows = given;
    for (HistorySpectrum& row : rows)
        row = completed(row);
    return apply([rows](HistoryDatabase& db, bool toLab) {
        for (const HistorySpectrum& row : rows)
            if (!db.insertSpectrum(row) || (toLab && !db.enqueue(true, row.id)))
                return false;
        return true;
    });
}

bool HistoryStore::markDeleted(const QString& id, bool spectrum) {
    return apply([id, spectrum](HistoryDatabase& db, bool toLab) {
        return db.setDeleted(spectrum, id) && (spectrum || db.removeOpenRow(id)) &&
               (!toLab || db.enqueue(spectrum, id));
    });
}

bool HistoryStore::rename(const QString& id, const QString& name, bool spectrum) {
    return apply([id, name, spectrum](HistoryDatabase& db, bool toLab) {
        return db.rename(spectrum, id, name) && (!toLab || db.enqueue(spectrum, id));
    });
}

bool HistoryStore::setStandard(const std::optional<HistoryStandard>& standard) {
    return apply([standard](HistoryDatabase& db, bool) { return db.setStandard(standard); });
}

bool HistoryStore::setComparisonSerial(int serial) {
    return apply([serial](HistoryDatabase& db, bool) {
        return db.setLocalState(QStringLiteral("comparison_serial"), QString::number(serial));
    });
}

bool HistoryStore::clearOpenList() {
    return apply([](HistoryDatabase& db, bool) { return db.clearOpenList(); });
}

bool HistoryStore::closeOpenList() {
    return apply([](HistoryDatabase& db, bool) { return db.closeOpenList(); });
}

OpenList HistoryStore::restore() {
    if (!pending_.empty() && !flush())
        return {};
    if (!db_.isOpen())
        return {};
    return db_.openList().value_or(OpenList{});
}

} // namespace history
