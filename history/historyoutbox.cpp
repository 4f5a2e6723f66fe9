// The station's queue of rows still to be copied to the lab database, kept across restarts.
#include "historydatabase.h"

#include <QSqlError>

namespace history {

bool HistoryDatabase::enqueue(bool spectrum, const QString& id) {
    static const QString sql = QStringLiteral("INSERT INTO lab_outbox (kind, id) VALUES (?, ?)");
    return run(sql, {spectrum ? QStringLiteral("spectrum") : QStringLiteral("comparison"), id});
}

bool HistoryDatabase::enqueueProduct(const QString& id) {
    static const QString sql =
        QStringLiteral("INSERT INTO lab_outbox (kind, id) VALUES ('product', ?)");
    return run(sql, {id});
}

bool HistoryDatabase::enqueueAll() {
    return exec(QStringLiteral("INSERT INTO lab_outbox (kind, id) SELECT 'comparison', id FROM "
                               "comparisons ORDER BY measured_at")) &&
           exec(QStringLiteral("INSERT INTO lab_outbox (kind, id) SELECT 'spectrum', id FROM "
                               "spectra ORDER BY measured_at")) &&
           exec(QStringLiteral("INSERT INTO lab_outbox (kind, id) SELECT 'product', id FROM "
                               "products ORDER BY changed_at"));
}

QVector<OutboxEntry> HistoryDatabase::outbox(int limit) {
    QVector<OutboxEntry> entries;
    QSqlQuery query(connection());
    query.prepare(QStringLiteral("SELECT seq, kind, id FROM lab_outbox ORDER BY seq LIMIT ?"));
    query.bindValue(0, limit);
    if (!exec(query))
        return entries;
    while (query.next()) {
        const QString kind = query.value(1).toString();
        entries << OutboxEntry{query.value(0).toLongLong(),
                               kind == QLatin1String("spectrum")  ? OutboxEntry::Kind::Spectrum
                               : kind == QLatin1String("product") ? OutboxEntry::Kind::Product
                                                                  : OutboxEntry::Kind::Comparison,
                               query.value(2).toString()};
    }
    return entries;
}

bool HistoryDatabase::dequeue(qint64 lastSeq) {
    static const QString sql = QStringLiteral("DELETE FROM lab_outbox WHERE seq <= ?");
    return run(sql, {lastSeq});
}

int HistoryDatabase::outboxSize() {
    QSqlQuery query(connection());
    if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM lab_outbox")) || !query.next()) {
        fail(query.lastError());
        return -1;
    }
    return query.value(0).toInt();
}

} // namespace history
