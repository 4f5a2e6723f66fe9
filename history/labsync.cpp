#include "labsync.h"

#include <algorithm>

namespace history {

namespace {
constexpr int kBatch = 500;
}

LabSync::LabSync(const QString& localPath, const HistoryUrl& lab, int retryIntervalMs)
    : localPath_(localPath), lab_(lab), retryInterval_(retryIntervalMs) {}

LabSync::~LabSync() = default;

void LabSync::requestWake() {
    if (stopping_ || wakeQueued_.exchange(true))
        return;
    QMetaObject::invokeMethod(this, &LabSync::wake, Qt::QueuedConnection);
}

void LabSync::requestStop() {
    stopping_ = true;
}

void LabSync::setRetryInterval(int milliseconds) {
    retryInterval_ = milliseconds;
}

void LabSync::stop() {
    stopping_ = true;
    if (retry_)
        retry_->stop();
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
    while (!stopping_ && copyBatch(remaining) && remaining > 0) {
    }
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
    if (!server_) {
        server_ = std::make_unique<HistoryDatabase>();
        if (!server_->open(lab_, 5000, kConnectTimeoutS))
            return retryLater(server_->failure());
    }
    if (!server_->begin())
        return retryLater(server_->failure());
    for (const OutboxEntry& entry : entries) {
        // Copied with the row's current columns, so a later rename, delete or re-judging of a
        // row that was already copied reaches the lab too.
        bool ok = true;
        if (entry.spectrum) {
            if (const auto row = local_->spectrum(entry.id))
                ok = server_->insertSpectrum(*row, HistoryDatabase::Conflict::Mirror);
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
    // server keeps each id once.
    if (!local_->dequeue(entries.last().seq)) {
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

} // namespace history
