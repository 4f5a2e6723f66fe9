#include "labsync.h"

#include <algorithm>

namespace history {

namespace {
constexpr int kBatch = 500;

QString timeText(const QDateTime& time) {
    return time.isValid() ? isoUtc(time) : QString();
}

bool sameVersion(const HistoryProduct& a, const HistoryProduct& b) {
    return timeText(a.changedAt) == timeText(b.changedAt) && a.station == b.station;
}

// The later edit; the same moment on two stations is settled by the station's name, so both
// decide alike.
bool newer(const HistoryProduct& a, const HistoryProduct& b) {
    const QString at = timeText(a.changedAt), bt = timeText(b.changedAt);
    return at != bt ? at > bt : a.station > b.station;
}
} // namespace

LabSync::LabSync(const QString& localPath, const HistoryUrl& lab, int retryIntervalMs,
                 const QString& station)
    : localPath_(localPath), lab_(lab), retryInterval_(retryIntervalMs), station_(station) {}

LabSync::~LabSync() = default;

void LabSync::requestWake() {
    if (stopping_ || wakeQueued_.exchange(true))
        return;
    QMetaObject::invokeMethod(this, &LabSync::wake, Qt::QueuedConnection);
}

void LabSync::requestStop() {
    stopping_ = true;
}

void LabSync::requestPull() {
    pullDue_ = true;
    requestWake();
}

void LabSync::setRetryInterval(int milliseconds) {
    retryInterval_ = milliseconds;
}

void LabSync::setPullInterval(int milliseconds) {
    pullInterval_ = milliseconds;
    if (pull_)
        pull_->start(pullInterval_);
}

void LabSync::stop() {
    stopping_ = true;
    if (retry_)
        retry_->stop();
    if (pull_)
        pull_->stop();
    server_.reset();
    local_.reset();
}

void LabSync::report(bool synced, int unsynced, const QString& message) {
    if (synced == lastSynced_ && unsynced == lastUnsynced_ && message == lastMessage_)
        return;
    lastMessage_ = message;
    lastSynced_ = synced;
    lastUnsynced_ = unsynced;
    emit stateChanged(synced, unsynced, message);
}

void LabSync::wake() {
    wakeQueued_ = false;
    if (stopping_)
        return;
    if (!retry_) {
        retry_ = new QTimer(this);
        retry_->setSingleShot(true);
        connect(retry_, &QTimer::timeout, this, &LabSync::wake);
        pull_ = new QTimer(this);
        connect(pull_, &QTimer::timeout, this, [this] {
            pullDue_ = true;
            wake();
        });
        pull_->start(pullInterval_);
    }
    if (!local_) {
        local_ = std::make_unique<HistoryDatabase>();
        if (!local_->open(HistoryUrl::sqliteFile(localPath_))) {
            const QString message = local_->failure().message;
            local_.reset();
            report(false, std::max(lastUnsynced_, 0), message);
            retry_->start(retryInterval_);
            return;
        }
    }
    // Waiting to try the server again: the rows written meanwhile are counted, not sent.
    if (!server_ && retry_->isActive()) {
        const int waiting = local_->outboxSize();
        report(false, std::max(waiting, 0), lastMessage_);
        return;
    }
    retry_->stop();
    int remaining = 0;
    bool copied = true;
    do {
        copied = copyBatch(remaining);
    } while (!stopping_ && copied && remaining > 0);
    if (copied && !stopping_ && pullDue_.exchange(false) && !pullProducts())
        pullDue_ = true;
}

bool LabSync::connectServer() {
    if (server_)
        return true;
    server_ = std::make_unique<HistoryDatabase>();
    if (server_->open(lab_, 5000, kConnectTimeoutS))
        return true;
    return retryLater(server_->failure());
}

bool LabSync::retryLater(HistoryFailure failure) {
    server_.reset();
    const int unsynced = local_ ? local_->outboxSize() : lastUnsynced_;
    report(false, std::max(unsynced, 0), failure.message);
    if (failure.kind != HistoryFailure::Kind::Unreachable && !failure.message.isEmpty() &&
        failure.message != lastRefusal_) {
        lastRefusal_ = failure.message;
        emit refused(failure.message);
    }
    retry_->start(retryInterval_);
    return false;
}

bool LabSync::copyBatch(int& remaining) {
    local_->clearFailure();
    const QVector<OutboxEntry> entries = local_->outbox(kBatch);
    if (entries.isEmpty()) {
        remaining = 0;
        if (local_->failure().kind != HistoryFailure::Kind::None) {
            // The local file could not be read; try again with a fresh connection.
            const QString message = local_->failure().message;
            local_.reset();
            report(false, std::max(lastUnsynced_, 0), message);
            retry_->start(retryInterval_);
            return false;
        }
        report(true, 0, QString());
        return true;
    }
    if (!connectServer())
        return false;
    if (!server_->begin())
        return retryLater(server_->failure());
    QVector<Settled> settled;
    for (const OutboxEntry& entry : entries) {
        // Copied with the row's current columns, so a later rename, delete or re-judging of a
        // row that was already copied reaches the lab too.
        bool ok = true;
        if (entry.kind == OutboxEntry::Kind::Spectrum) {
            if (const auto row = local_->spectrum(entry.id))
                ok = server_->insertSpectrum(*row, HistoryDatabase::Conflict::Mirror);
        } else if (entry.kind == OutboxEntry::Kind::Product) {
            if (const auto row = local_->product(entry.id))
                ok = pushProduct(*row, settled);
        } else if (const auto row = local_->comparison(entry.id)) {
            ok = server_->insertComparison(*row, HistoryDatabase::Conflict::Mirror);
        }
        if (local_->failure().kind != HistoryFailure::Kind::None) {
            server_->rollback();
            local_.reset();
            return retryLater({HistoryFailure::Kind::Unreachable, QString()});
        }
        if (!ok) {
            const HistoryFailure failure = server_->failure();
            server_->rollback();
            return retryLater(failure);
        }
    }
    if (!server_->commit()) {
        const HistoryFailure failure = server_->failure();
        server_->rollback();
        return retryLater(failure);
    }
    lastRefusal_.clear();
    // Rows copied twice (the local dequeue failing after the server's commit) are harmless: the
    // server keeps each id once, and a product copied again is settled again alike.
    if (!settle(settled) || !local_->dequeue(entries.last().seq)) {
        retry_->start(retryInterval_);
        return false;
    }
    remaining = local_->outboxSize();
    if (remaining == 0)
        report(true, 0, QString());
    else
        report(false, remaining, QString());
    return remaining >= 0;
}

bool LabSync::pushProduct(const HistoryProduct& mine, QVector<Settled>& settled) {
    server_->clearFailure();
    const std::optional<HistoryProduct> lab = server_->product(mine.id, true);
    if (server_->failure().kind != HistoryFailure::Kind::None)
        return false;
    Settled outcome{mine, std::nullopt, QString()};
    if (lab && sameVersion(*lab, mine)) {
        settled << outcome;
        return true;
    }
    // Another station's edit reached the lab after the version this one started from.
    const bool met =
        lab && lab->station != mine.station && timeText(lab->changedAt) != timeText(mine.basedOn);
    if (met)
        outcome.otherStation = lab->station;
    if (met && newer(*lab, mine)) {
        outcome.lab = lab;
    } else {
        HistoryProduct copy = mine;
        copy.labChangedAt = {};
        if (!server_->writeProduct(copy))
            return false;
    }
    settled << outcome;
    pullDue_ = true; // the others' products come back with it
    return true;
}

bool LabSync::settle(const QVector<Settled>& settled) {
    bool taken = false;
    for (const Settled& s : settled) {
        const bool ok = s.lab ? local_->takeLabProduct(*s.lab, s.mine.changedAt)
                              : local_->markProductExchanged(s.mine.id, s.mine.changedAt);
        if (!ok)
            return false;
        taken = taken || s.lab.has_value();
    }
    for (const Settled& s : settled)
        if (!s.otherStation.isEmpty())
            emit productConflict(s.mine.name, s.otherStation);
    if (taken)
        emit productsPulled();
    return true;
}

bool LabSync::pullProducts() {
    if (!connectServer())
        return false;
    server_->clearFailure();
    ProductFilter all;
    all.includeRetired = true;
    const QVector<HistoryProduct> lab = server_->products(all);
    if (server_->failure().kind != HistoryFailure::Kind::None)
        return retryLater(server_->failure());
    const auto localFailed = [this] {
        const QString message = local_->failure().message;
        local_->rollback();
        local_.reset();
        report(false, std::max(lastUnsynced_, 0), message);
        retry_->start(retryInterval_);
        return false;
    };
    local_->clearFailure();
    if (!local_->begin())
        return localFailed();
    bool changed = false;
    QVector<std::pair<QString, QString>> conflicts;
    for (const HistoryProduct& theirs : lab) {
        const std::optional<HistoryProduct> mine = local_->product(theirs.id);
        if (local_->failure().kind != HistoryFailure::Kind::None)
            return localFailed();
        if (mine && sameVersion(*mine, theirs)) {
            if (timeText(mine->labChangedAt) != timeText(mine->changedAt) &&
                !local_->markProductExchanged(mine->id, mine->changedAt))
                return localFailed();
            continue;
        }
        // An edit made here since the last exchange waits for its copy, which settles it.
        if (mine && timeText(mine->labChangedAt) != timeText(mine->changedAt))
            continue;
        if (!local_->takeLabProduct(theirs, mine ? std::optional<QDateTime>(mine->changedAt)
                                                 : std::nullopt))
            return localFailed();
        changed = true;
        // This station's edit was replaced by one that did not start from it.
        if (mine && mine->station == station_ && theirs.station != station_ &&
            timeText(theirs.basedOn) != timeText(mine->changedAt))
            conflicts.append({mine->name, theirs.station});
    }
    if (!local_->commit())
        return localFailed();
    for (const auto& [name, station] : conflicts)
        emit productConflict(name, station);
    if (changed)
        emit productsPulled();
    return true;
}

} // namespace history
