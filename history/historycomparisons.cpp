// Table `comparisons`: writing rows, re-judging them, and the readers' queries with a filter.
#include "historydatabase.h"

#include "historycolumns.h"

#include <QSqlError>

#include <sqlite3.h>

namespace history {

namespace {

// The upsert of the lab database: one statement.
QString insertSql(HistoryDatabase::Conflict conflict) {
    const QString insert = QStringLiteral("INSERT INTO comparisons (%1) VALUES (%2) "
                                          "ON CONFLICT (id) DO ")
                               .arg(columns::comparisonList(),
                                    columns::placeholders(columns::comparisonNames().size()));
    if (conflict == HistoryDatabase::Conflict::Keep)
        return insert + QLatin1String("NOTHING");
    QStringList sets;
    for (const QString& name : columns::judgedNames()) {
        // An import that does not know the instrument's kind keeps the one stored.
        if (name == QLatin1String("instrument_kind") &&
            conflict == HistoryDatabase::Conflict::Relist)
            sets << QStringLiteral("instrument_kind = COALESCE(excluded.instrument_kind, "
                                   "comparisons.instrument_kind)");
        else
            sets << QStringLiteral("%1 = excluded.%1").arg(name);
    }
    if (conflict == HistoryDatabase::Conflict::Relist)
        sets << QStringLiteral("deleted = 0");
    else
        sets << QStringLiteral("name = excluded.name")
             << QStringLiteral("deleted = excluded.deleted");
    return insert + QLatin1String("UPDATE SET ") + sets.join(QLatin1String(", "));
}

// The judged columns of a row known to be there, then `also`. The station's file inserts first and
// updates what was there, so it knows which rows are new. `keepKnownKind`: an unknown instrument
// kind leaves the stored one.
QString updateSql(bool keepKnownKind, const QStringList& also) {
    QStringList sets;
    for (const QString& name : columns::judgedNames())
        sets << (keepKnownKind && name == QLatin1String("instrument_kind")
                     ? QStringLiteral("instrument_kind = COALESCE(?, instrument_kind)")
                     : QStringLiteral("%1 = ?").arg(name));
    return QStringLiteral("UPDATE comparisons SET %1 WHERE id = ?")
        .arg((sets + also).join(QLatin1String(", ")));
}

const QString kCountColumns =
    QStringLiteral("COUNT(*), COALESCE(SUM(CASE WHEN verdict = 'PASS' THEN 1 ELSE 0 END), 0)");

} // namespace

bool HistoryDatabase::insertComparison(const HistoryComparison& row, Conflict conflict) {
    static const QString keep = insertSql(Conflict::Keep);
    if (postgresql_) {
        static const QString relist = insertSql(Conflict::Relist);
        static const QString mirror = insertSql(Conflict::Mirror);
        return run(conflict == Conflict::Keep     ? keep
                   : conflict == Conflict::Relist ? relist
                                                  : mirror,
                   columns::comparisonValues(row));
    }
    if (!run(keep, columns::comparisonValues(row)))
        return false;
    if (changes() > 0) {
        countInserted(row);
        return true;
    }
    if (conflict == Conflict::Keep)
        return true;
    static const QString relist = updateSql(true, {QStringLiteral("deleted = 0")});
    static const QString mirror =
        updateSql(false, {QStringLiteral("name = ?"), QStringLiteral("deleted = ?")});
    QVariantList values = columns::judgedValues(row);
    if (conflict == Conflict::Mirror)
        values << columns::text(row.name) << int(row.deleted);
    values << row.id;
    return run(conflict == Conflict::Relist ? relist : mirror, values);
}

void HistoryDatabase::countInserted(const HistoryComparison& row) {
    ++inserted_[{isoUtc(row.measuredAt).left(10), columns::text(row.serial),
                 columns::verdictText(row.pass), int(row.deleted)}];
    // Outside a transaction the row is in the file already, and so must its count be.
    if (sqlite3_get_autocommit(sqlite_))
        writeTally();
}

bool HistoryDatabase::writeTally() {
    static const QString sql =
        QStringLiteral("INSERT INTO comparison_tally VALUES (?, ?, ?, ?, ?) ON CONFLICT (day, "
                       "serial, verdict, deleted) DO UPDATE SET n_rows = n_rows + excluded.n_rows");
    for (const auto& [key, rows] : inserted_) {
        const auto& [day, serial, verdict, deleted] = key;
        if (!run(sql, {day, serial, verdict, deleted, rows})) {
            inserted_.clear();
            return false;
        }
    }
    inserted_.clear();
    return true;
}

bool HistoryDatabase::recount() {
    return postgresql_ ||
           (exec(QStringLiteral("DELETE FROM comparison_tally")) &&
            exec(QStringLiteral("INSERT INTO comparison_tally SELECT substr(measured_at, 1, 10), "
                                "serial, verdict, deleted, COUNT(*) FROM comparisons GROUP BY 1, "
                                "2, 3, 4")));
}

bool HistoryDatabase::updateJudging(const HistoryComparison& row) {
    static const QString sql = updateSql(true, {});
    QVariantList values = columns::judgedValues(row);
    values << row.id;
    return run(sql, values);
}

bool HistoryDatabase::setDeleted(bool spectrum, const QString& id) {
    static const QString comparisons =
        QStringLiteral("UPDATE comparisons SET deleted = 1 WHERE id = ?");
    static const QString spectra = QStringLiteral("UPDATE spectra SET deleted = 1 WHERE id = ?");
    return run(spectrum ? spectra : comparisons, {id});
}

bool HistoryDatabase::rename(bool spectrum, const QString& id, const QString& name) {
    static const QString comparisons =
        QStringLiteral("UPDATE comparisons SET name = ? WHERE id = ?");
    static const QString spectra = QStringLiteral("UPDATE spectra SET name = ? WHERE id = ?");
    return run(spectrum ? spectra : comparisons, {columns::text(name), id});
}

std::optional<HistoryComparison> HistoryDatabase::comparison(const QString& id) {
    static const QString sql =
        QStringLiteral("SELECT %1 FROM comparisons WHERE id = ?").arg(columns::comparisonList());
    QSqlQuery query(connection());
    query.prepare(sql);
    query.bindValue(0, id);
    if (!exec(query) || !query.next())
        return std::nullopt;
    return columns::comparisonFrom(query);
}

QString HistoryDatabase::whereSql(const HistoryFilter& filter, QVariantList& values) const {
    QStringList terms;
    if (!filter.includeDeleted)
        terms << QStringLiteral("deleted = 0");
    if (!filter.serial.isEmpty()) {
        terms << QStringLiteral("serial = ?");
        values << filter.serial;
    }
    if (!filter.nameContains.isEmpty()) {
        QString pattern = filter.nameContains;
        pattern.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
            .replace(QLatin1Char('%'), QLatin1String("\\%"))
            .replace(QLatin1Char('_'), QLatin1String("\\_"));
        terms << QStringLiteral("LOWER(name) LIKE LOWER(?) ESCAPE '\\'");
        values << QString(QLatin1Char('%') + pattern + QLatin1Char('%'));
    }
    if (filter.from.isValid()) {
        terms << QStringLiteral("measured_at >= ?");
        values << isoUtc(filter.from);
    }
    if (filter.to.isValid()) {
        terms << QStringLiteral("measured_at < ?");
        values << isoUtc(filter.to);
    }
    if (filter.pass) {
        terms << QStringLiteral("verdict = ?");
        values << columns::verdictText(*filter.pass);
    }
    if (!filter.productId.isEmpty()) {
        terms << QStringLiteral("product_id = ?");
        values << filter.productId;
    }
    if (!filter.productName.isEmpty()) {
        terms << QStringLiteral("product_id IN (SELECT id FROM products WHERE name = ?)");
        values << filter.productName;
    }
    if (!filter.lot.isEmpty()) {
        terms << QStringLiteral("lot = ?");
        values << filter.lot;
    }
    if (!filter.station.isEmpty()) {
        terms << QStringLiteral("station = ?");
        values << filter.station;
    }
    return terms.isEmpty() ? QString()
                           : QLatin1String(" WHERE ") + terms.join(QLatin1String(" AND "));
}

std::optional<HistoryCounts> HistoryDatabase::countRows(const QString& sql,
                                                        const QVariantList& values) {
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    if (!query.prepare(sql)) {
        fail(query.lastError());
        return std::nullopt;
    }
    bind(query, values);
    if (!exec(query) || !query.next())
        return std::nullopt;
    return HistoryCounts{query.value(0).toInt(), query.value(1).toInt()};
}

std::optional<HistoryCounts> HistoryDatabase::counts(const HistoryFilter& filter) {
    QVariantList values;
    const QString direct = QStringLiteral("SELECT %1 FROM comparisons").arg(kCountColumns);
    // A name is searched inside the texts, which no index serves; the tally knows no product or
    // lot; the lab database keeps no tally.
    if (postgresql_ || !filter.nameContains.isEmpty() || !filter.productId.isEmpty() ||
        !filter.productName.isEmpty() || !filter.lot.isEmpty() || !filter.station.isEmpty())
        return countRows(direct + whereSql(filter, values), values);

    // Whole days (UTC) come from the tally, the part-days at either end from the rows.
    const QDateTime from = filter.from.toUTC();
    const QDateTime to = filter.to.toUTC();
    std::optional<QDate> firstWhole, endWhole;
    if (from.isValid())
        firstWhole = from.time() == QTime(0, 0) ? from.date() : from.date().addDays(1);
    if (to.isValid())
        endWhole = to.date();
    if (firstWhole && endWhole && *firstWhole >= *endWhole)
        return countRows(direct + whereSql(filter, values), values);

    QStringList tallyTerms;
    if (!filter.includeDeleted)
        tallyTerms << QStringLiteral("deleted = 0");
    if (!filter.serial.isEmpty()) {
        tallyTerms << QStringLiteral("serial = ?");
        values << filter.serial;
    }
    if (filter.pass) {
        tallyTerms << QStringLiteral("verdict = ?");
        values << columns::verdictText(*filter.pass);
    }
    if (firstWhole) {
        tallyTerms << QStringLiteral("day >= ?");
        values << firstWhole->toString(Qt::ISODate);
    }
    if (endWhole) {
        tallyTerms << QStringLiteral("day < ?");
        values << endWhole->toString(Qt::ISODate);
    }
    QStringList parts{
        QStringLiteral("SELECT COALESCE(SUM(n_rows), 0) AS r, COALESCE(SUM(CASE WHEN verdict = "
                       "'PASS' THEN n_rows ELSE 0 END), 0) AS p FROM comparison_tally") +
        (tallyTerms.isEmpty()
             ? QString()
             : QLatin1String(" WHERE ") + tallyTerms.join(QLatin1String(" AND ")))};
    const auto partDay = [&](const QDateTime& start, const QDateTime& end) {
        HistoryFilter part = filter;
        part.from = start;
        part.to = end;
        parts << QStringLiteral("SELECT %1 FROM comparisons").arg(kCountColumns) +
                     whereSql(part, values);
    };
    if (from.isValid() && from.time() != QTime(0, 0))
        partDay(from, QDateTime(*firstWhole, QTime(0, 0), Qt::UTC));
    if (to.isValid() && to.time() != QTime(0, 0))
        partDay(QDateTime(*endWhole, QTime(0, 0), Qt::UTC), to);
    // One statement, so the parts are counted in one snapshot of the file.
    return countRows(QStringLiteral("SELECT COALESCE(SUM(r), 0), COALESCE(SUM(p), 0) FROM (%1) "
                                    "AS parts")
                         .arg(parts.join(QLatin1String(" UNION ALL "))),
                     values);
}

QVector<HistoryComparison> HistoryDatabase::page(const HistoryFilter& filter,
                                                 const std::optional<HistoryKey>& after,
                                                 int limit) {
    QVariantList values;
    // After a key the end of the range is known to lie above: the key alone bounds the index
    // search, so page n costs what page 1 costs.
    HistoryFilter bounded = filter;
    if (after)
        bounded.to = QDateTime();
    QString where = whereSql(bounded, values);
    if (after) {
        where += where.isEmpty() ? QLatin1String(" WHERE ") : QLatin1String(" AND ");
        where += QLatin1String("(measured_at, id) < (?, ?)");
        values << after->measuredAt << after->id;
    }
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT %1 FROM comparisons%2 ORDER BY measured_at DESC, id DESC "
                                 "LIMIT %3")
                      .arg(columns::comparisonList(), where)
                      .arg(limit));
    bind(query, values);
    QVector<HistoryComparison> rows;
    if (!exec(query))
        return rows;
    rows.reserve(limit);
    while (query.next())
        rows << columns::comparisonFrom(query);
    return rows;
}

ComparisonCursor HistoryDatabase::select(const HistoryFilter& filter) {
    ComparisonCursor cursor;
    QVariantList values;
    cursor.query_ = QSqlQuery(connection());
    cursor.query_.setForwardOnly(true);
    cursor.query_.prepare(QStringLiteral("SELECT %1 FROM comparisons%2 ORDER BY measured_at, id")
                              .arg(columns::comparisonList(), whereSql(filter, values)));
    bind(cursor.query_, values);
    if (!exec(cursor.query_))
        cursor.failed_ = true;
    return cursor;
}

QVector<HistoryComparison> HistoryDatabase::comparisons(const HistoryFilter& filter) {
    QVector<HistoryComparison> rows;
    ComparisonCursor cursor = select(filter);
    while (cursor.next())
        rows << cursor.row();
    return rows;
}

bool ComparisonCursor::next() {
    if (failed_)
        return false;
    if (query_.next())
        return true;
    // The end of the rows, or a read that failed half-way: the caller must not take it for the
    // end of the history.
    failed_ = query_.lastError().isValid();
    return false;
}

HistoryComparison ComparisonCursor::row() const {
    return columns::comparisonFrom(query_);
}

} // namespace history
