// The station's own file keeps the workspace's list on show, its standard and its name counter,
// so that the next start brings them back.
#include "historydatabase.h"

#include "historycolumns.h"

#include <QSqlError>

namespace history {

namespace {
const QString kComparisonSerial = QStringLiteral("comparison_serial");
}

bool HistoryDatabase::appendOpenRow(const QString& id, double sequence) {
    static const QString sql =
        QStringLiteral("INSERT INTO open_list (comparison_id, sequence) VALUES (?, ?)");
    return run(sql, {id, sequence});
}

bool HistoryDatabase::removeOpenRow(const QString& id) {
    static const QString sql = QStringLiteral("DELETE FROM open_list WHERE comparison_id = ?");
    return run(sql, {id});
}

bool HistoryDatabase::clearOpenList() {
    // The lot stays until it is changed; the product in use goes with the standard.
    return closeOpenList() && exec(QStringLiteral("DELETE FROM open_standard")) &&
           run(QStringLiteral("DELETE FROM local_state WHERE key = ?"), {kComparisonSerial}) &&
           run(QStringLiteral("DELETE FROM local_state WHERE key = ?"),
               {QStringLiteral("product_in_use")});
}

bool HistoryDatabase::closeOpenList() {
    return exec(QStringLiteral("DELETE FROM open_list"));
}

bool HistoryDatabase::setStandard(const std::optional<HistoryStandard>& standard) {
    if (!exec(QStringLiteral("DELETE FROM open_standard")))
        return false;
    if (!standard)
        return true;
    static const QString sql =
        QStringLiteral("INSERT INTO open_standard VALUES (1, ?, ?, ?, ?, ?, ?, %1)")
            .arg(columns::placeholders(10));
    QVariantList values{standard->model,
                        standard->serial,
                        standard->name,
                        isoUtc(standard->measuredAt),
                        layoutName(standard->layout),
                        standard->displayMode};
    columns::appendQuantities(values, standard->values);
    return run(sql, values);
}

bool HistoryDatabase::setLocalState(const QString& key, const QString& value) {
    static const QString sql = QStringLiteral("INSERT INTO local_state (key, value) VALUES (?, ?) "
                                              "ON CONFLICT (key) DO UPDATE SET value = "
                                              "excluded.value");
    return run(sql, {key, value});
}

std::optional<QString> HistoryDatabase::localState(const QString& key) {
    QSqlQuery query(connection());
    query.prepare(QStringLiteral("SELECT value FROM local_state WHERE key = ?"));
    query.bindValue(0, key);
    if (!exec(query) || !query.next())
        return std::nullopt;
    return query.value(0).toString();
}

std::optional<OpenList> HistoryDatabase::openList() {
    OpenList list;
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    if (!query.exec(
            QStringLiteral("SELECT o.sequence, %1 FROM open_list o JOIN comparisons c ON "
                           "c.id = o.comparison_id ORDER BY o.position")
                .arg(QLatin1String("c.") + comparisonColumns().join(QLatin1String(", c."))))) {
        fail(query.lastError());
        return std::nullopt;
    }
    while (query.next())
        list.rows << OpenListRow{columns::comparisonFrom(query, 1), query.value(0).toDouble()};
    if (!query.exec(QStringLiteral("SELECT * FROM open_standard"))) {
        fail(query.lastError());
        return std::nullopt;
    }
    if (query.next()) {
        HistoryStandard standard;
        standard.model = query.value(1).toString();
        standard.serial = query.value(2).toString();
        standard.name = query.value(3).toString();
        standard.measuredAt = fromIsoUtc(query.value(4).toString());
        standard.layout = layoutFromName(query.value(5).toString()).value_or(Layout::New);
        standard.displayMode = query.value(6).toInt();
        standard.values = columns::quantitiesFrom(query, 7);
        list.standard = standard;
    }
    list.comparisonSerial = localState(kComparisonSerial).value_or(QString()).toInt();
    list.productInUse = localState(QStringLiteral("product_in_use")).value_or(QString());
    list.lot = localState(QStringLiteral("lot")).value_or(QString());
    return list;
}

} // namespace history
