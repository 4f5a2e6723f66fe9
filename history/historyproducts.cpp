// Table `products`: stored standards with their settings, shared by the stations of a lab.
#include "historydatabase.h"

#include "historycolumns.h"

#include <QSqlError>

namespace history {

namespace {

QStringList sharedNames() {
    return columns::productList().split(QLatin1String(", ")).mid(0, columns::productSharedCount());
}

// "a = ?, b = ?, ..." for the shared columns but the id.
QString sharedSets() {
    QStringList sets;
    for (const QString& name : sharedNames().mid(1))
        sets << QStringLiteral("%1 = ?").arg(name);
    return sets.join(QLatin1String(", "));
}

QString likePattern(const QString& text) {
    QString pattern = text;
    pattern.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
        .replace(QLatin1Char('%'), QLatin1String("\\%"))
        .replace(QLatin1Char('_'), QLatin1String("\\_"));
    return QLatin1Char('%') + pattern + QLatin1Char('%');
}

} // namespace

bool HistoryDatabase::writeProduct(const HistoryProduct& row) {
    static const QString sql = [] {
        QStringList sets;
        for (const QString& name : sharedNames().mid(1))
            sets << QStringLiteral("%1 = excluded.%1").arg(name);
        return QStringLiteral("INSERT INTO products (%1) VALUES (%2) ON CONFLICT (id) DO UPDATE "
                              "SET %3")
            .arg(sharedNames().join(QLatin1String(", ")),
                 columns::placeholders(columns::productSharedCount()),
                 sets.join(QLatin1String(", ")));
    }();
    return run(sql, columns::productValues(row));
}

std::optional<HistoryProduct> HistoryDatabase::product(const QString& id, bool forUpdate) {
    QSqlQuery query(connection());
    query.prepare(QStringLiteral("SELECT %1 FROM products WHERE id = ?%2")
                      .arg(columns::productList(),
                           postgresql_ && forUpdate ? QStringLiteral(" FOR UPDATE") : QString()));
    query.bindValue(0, id);
    if (!exec(query) || !query.next())
        return std::nullopt;
    return columns::productFrom(query);
}

QVector<HistoryProduct> HistoryDatabase::products(const ProductFilter& filter) {
    QStringList terms;
    QVariantList values;
    if (!filter.includeRetired)
        terms << QStringLiteral("retired = 0");
    if (!filter.model.isEmpty()) {
        terms << QStringLiteral("model = ?");
        values << filter.model;
    }
    if (!filter.text.isEmpty()) {
        terms << QStringLiteral(
            "(LOWER(name) LIKE LOWER(?) ESCAPE '\\' OR LOWER(model) LIKE LOWER(?) ESCAPE '\\')");
        values << likePattern(filter.text) << likePattern(filter.text);
    }
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT %1 FROM products%2 ORDER BY LOWER(name), name, model, id")
                      .arg(columns::productList(),
                           terms.isEmpty()
                               ? QString()
                               : QLatin1String(" WHERE ") + terms.join(QLatin1String(" AND "))));
    bind(query, values);
    QVector<HistoryProduct> rows;
    if (!exec(query))
        return rows;
    while (query.next())
        rows << columns::productFrom(query);
    return rows;
}

std::optional<HistoryProduct>
HistoryDatabase::productNamed(const QString& model, const QString& name, const QString& except) {
    QSqlQuery query(connection());
    query.prepare(QStringLiteral("SELECT %1 FROM products WHERE retired = 0 AND model = ? AND "
                                 "name = ? AND id <> ? ORDER BY changed_at DESC")
                      .arg(columns::productList()));
    bind(query, {model, columns::text(name), columns::text(except)});
    if (!exec(query) || !query.next())
        return std::nullopt;
    return columns::productFrom(query);
}

bool HistoryDatabase::markProductExchanged(const QString& id, const QDateTime& changedAt) {
    static const QString sql = QStringLiteral(
        "UPDATE products SET lab_changed_at = changed_at WHERE id = ? AND changed_at = ?");
    return run(sql, {id, isoUtc(changedAt)});
}

bool HistoryDatabase::takeLabProduct(const HistoryProduct& lab,
                                     const std::optional<QDateTime>& localChangedAt) {
    QVariantList values = columns::productValues(lab);
    if (!localChangedAt) {
        static const QString insert =
            QStringLiteral("INSERT INTO products (%1, lab_changed_at) VALUES (%2, ?) ON CONFLICT "
                           "(id) DO NOTHING")
                .arg(sharedNames().join(QLatin1String(", ")),
                     columns::placeholders(columns::productSharedCount()));
        values << isoUtc(lab.changedAt);
        return run(insert, values);
    }
    static const QString update =
        QStringLiteral("UPDATE products SET %1, lab_changed_at = ? WHERE id = ? AND changed_at = ?")
            .arg(sharedSets());
    values.removeFirst();
    values << isoUtc(lab.changedAt) << lab.id << isoUtc(*localChangedAt);
    return run(update, values);
}

} // namespace history
