#include "labsync.h"

#include <algorithm>

namespace history {

namespace {
constexpr int kBatch = 500;
}

LabSync::LabSync(const QString& localPath, const HistoryUrl& lab, int retryIntervalMs)
    : m_localPath(localPath), m_lab(lab), m_retryInterval(retryIntervalMs) {}

LabSync::~LabSync() = default;

void LabSync::setRetryInterval(int milliseconds) {
    m_retryInterval = milliseconds;
}

void LabSync::stop() {
    if (m_retry)
        m_retry->stop();
    m_server.reset();
    m_local.reset();
}

void LabSync::report(bool synced, int unsynced, const QString& message) {
    if (synced == m_lastSynced && unsynced == m_lastUnsynced && message == m_lastMessage)
        return;
    m_lastMessage = message;
    m_lastSynced = synced;
    m_lastUnsynced = unsynced;
    emit stateChanged(synced, unsynced, message);
}

void LabSync::wake() {
    if (!m_retry) {
        m_retry = new QTimer(this);
        m_retry->setSingleShot(true);
        connect(m_retry, &QTimer::timeout, this, &LabSync::wake);
    }
    m_retry->stop();
    if (!m_local) {
        m_local = std::make_unique<HistoryDatabase>();
        if (!m_local->open(HistoryUrl::sqliteFile(m_localPath))) {
            const QString message = m_local->failure().message;
            m_local.reset();
            report(false, m_lastUnsynced < 0 ? 0 : m_lastUnsynced, message);
            m_retry->start(m_retryInterval);
            return;
        }
    }
    int remaining = 0;
    while (copyBatch(remaining) && remaining > 0) {
    }
}

bool LabSync::copyBatch(int& remaining) {
    m_local->clearFailure();
    const QVector<OutboxEntry> entries = m_local->outbox(kBatch);
    if (entries.isEmpty()) {
        remaining = 0;
        if (m_local->failure().kind != HistoryFailure::Kind::None) {
            // The local file could not be read; try again with a fresh connection.
            const QString message = m_local->failure().message;
            m_local.reset();
            report(false, m_lastUnsynced < 0 ? 0 : m_lastUnsynced, message);
            m_retry->start(m_retryInterval);
            return false;
        }
        report(true, 0, QString());
        return true;
    }
    const auto retryLater = [this](QString message) {
        m_server.reset();
        const int unsynced = m_local ? m_local->outboxSize() : m_lastUnsynced;
        report(false, std::max(unsynced, 0), message);
        m_retry->start(m_retryInterval);
        return false;
    };
    if (!m_server) {
        m_server = std::make_unique<HistoryDatabase>();
        if (!m_server->open(m_lab))
            return retryLater(m_server->failure().message);
    }
    if (!m_server->begin())
        return retryLater(m_server->failure().message);
    for (const OutboxEntry& entry : entries) {
        // Copied with the row's current name and deleted flag, so a later rename or delete of
        // a row that was already copied updates it.
        bool ok = true;
        if (entry.spectrum) {
            if (const auto row = m_local->spectrum(entry.id))
                ok =
                    m_server->insertSpectrum(*row, HistoryDatabase::Conflict::UpdateNameAndDeleted);
        } else if (const auto row = m_local->comparison(entry.id)) {
            ok = m_server->insertComparison(*row, HistoryDatabase::Conflict::UpdateNameAndDeleted);
        }
        if (m_local->failure().kind != HistoryFailure::Kind::None) {
            m_server->rollback();
            m_local.reset();
            return retryLater(QString());
        }
        if (!ok) {
            const QString message = m_server->failure().message;
            m_server->rollback();
            return retryLater(message);
        }
    }
    if (!m_server->commit()) {
        const QString message = m_server->failure().message;
        m_server->rollback();
        return retryLater(message);
    }
    // Rows copied twice (the local dequeue failing after the server's commit) are harmless: the
    // server keeps each id once.
    if (!m_local->dequeue(entries.last().seq)) {
        m_retry->start(m_retryInterval);
        return false;
    }
    remaining = m_local->outboxSize();
    if (remaining == 0)
        report(true, 0, QString());
    else
        report(false, remaining, QString());
    return remaining >= 0;
}

} // namespace history
