#include "historystore.h"

#include "labsync.h"

#include <QSysInfo>
#include <QUuid>

namespace history {

HistoryStore::HistoryStore(QObject* parent) : QObject(parent) {
    // The log is moved into the file once writing pauses, not in the middle of a measurement.
    m_checkpoint.setSingleShot(true);
    m_checkpoint.setInterval(1000);
    connect(&m_checkpoint, &QTimer::timeout, this, [this] {
        if (m_db.isOpen())
            m_db.checkpoint();
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
    m_localPath = localPath;
    m_lab = lab.isPostgresql() ? lab : HistoryUrl{};
    const bool opened = openDatabase();
    if (!opened) {
        setState(State::Off, m_db.failure().message);
        m_db.close();
    } else {
        setState(State::On, QString());
    }
    if (!hasLab())
        return opened;
    if (opened) {
        // A lab database named here for the first time receives the whole local history.
        const QString labText = m_lab.toString();
        apply([labText](HistoryDatabase& db, bool) {
            if (db.localState(QStringLiteral("lab_url")).value_or(QString()) == labText)
                return true;
            return db.enqueueAll() && db.setLocalState(QStringLiteral("lab_url"), labText);
        });
    }
    m_sync = new LabSync(localPath, m_lab);
    m_sync->moveToThread(&m_syncThread);
    connect(&m_syncThread, &QThread::finished, m_sync, &QObject::deleteLater);
    connect(m_sync, &LabSync::stateChanged, this,
            [this](bool synced, int unsynced, const QString& message) {
                m_synced = synced;
                m_unsynced = unsynced;
                m_syncMessage = message;
                emit syncStateChanged(synced, unsynced);
            });
    m_syncThread.start();
    QMetaObject::invokeMethod(m_sync, &LabSync::wake, Qt::QueuedConnection);
    return opened && m_state == State::On;
}

bool HistoryStore::openDatabase() {
    return m_db.open(HistoryUrl::sqliteFile(m_localPath), m_busyTimeout) &&
           m_db.setAutoCheckpoint(false);
}

void HistoryStore::close() {
    if (m_sync) {
        QMetaObject::invokeMethod(m_sync, &LabSync::stop, Qt::BlockingQueuedConnection);
        m_syncThread.quit();
        m_syncThread.wait();
        m_sync = nullptr;
    }
    m_checkpoint.stop();
    if (!m_pending.empty())
        flush();
    if (m_db.isOpen())
        m_db.checkpoint();
    m_db.close();
}

void HistoryStore::setState(State state, const QString& message) {
    const bool changed = state != m_state;
    m_state = state;
    if (state == State::Off) {
        const bool sayIt = changed || m_message.isEmpty();
        m_message = message;
        if (sayIt)
            emit failed(message);
    }
    if (state == State::On)
        m_message.clear();
    if (changed)
        emit stateChanged(state);
}

bool HistoryStore::apply(Change change) {
    m_pending.push_back(std::move(change));
    return flush();
}

bool HistoryStore::retry() {
    return m_pending.empty() || flush();
}

bool HistoryStore::flush() {
    if (m_localPath.isEmpty()) {
        setState(State::Off, tr("No history database is open."));
        return false;
    }
    const auto failedNow = [this] {
        setState(State::Off, m_db.failure().message);
        // Reopened at the next write: the file may have been replaced or the lock released.
        m_db.close();
        return false;
    };
    if (!m_db.isOpen() && !openDatabase())
        return failedNow();
    if (!m_db.begin())
        return failedNow();
    for (const Change& change : m_pending) {
        if (!change(m_db, hasLab())) {
            m_db.rollback();
            return failedNow();
        }
    }
    if (!m_db.commit()) {
        m_db.rollback();
        return failedNow();
    }
    m_pending.clear();
    setState(State::On, QString());
    m_checkpoint.start();
    if (m_sync)
        QMetaObject::invokeMethod(m_sync, &LabSync::wake, Qt::QueuedConnection);
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
            if (!db.insertComparison(row.comparison, conflict) ||
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

OpenList HistoryStore::restore() {
    if (!m_pending.empty() && !flush())
        return {};
    if (!m_db.isOpen())
        return {};
    return m_db.openList().value_or(OpenList{});
}

} // namespace history
