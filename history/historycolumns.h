#pragma once
// The columns of the history's tables and the conversions between rows and their values: shared
// by the files of HistoryDatabase, not part of its interface.

#include "historyrecords.h"

#include <QSqlQuery>
#include <QStringList>
#include <QVariantList>

namespace history::columns {

// Table `comparisons` in the order of the CSV and of comparisonFrom().
const QStringList& comparisonNames();
QString comparisonList(); // "id, station, ..."
QString spectrumList();
// "?, ?, ..." for `count` values.
QString placeholders(int count);
// "<prefix>haze <type>, <prefix>t <type>, ..." for the ten quantities of one side.
QString quantityColumns(const QString& prefix, const QString& type);

// Null texts would be stored as NULL; the columns hold empty texts instead.
inline QString text(const QString& value) {
    return value.isNull() ? QStringLiteral("") : value;
}
QVariant number(const std::optional<double>& value);
QVariant integer(const std::optional<int>& value);
std::optional<double> optionalNumber(const QVariant& value);
QString verdictText(bool pass);

void appendQuantities(QVariantList& values, const Quantities& q);
Quantities quantitiesFrom(const QSqlQuery& query, int first);

QVariantList comparisonValues(const HistoryComparison& row);
HistoryComparison comparisonFrom(const QSqlQuery& query, int first = 0);
QVariantList spectrumValues(const HistorySpectrum& row);
HistorySpectrum spectrumFrom(const QSqlQuery& query);

// Table `products`: every column, those the stations share first (productSharedCount() of
// them, in the order of productValues()), then the station's own lab_changed_at.
QString productList();
int productSharedCount();
QVariantList productValues(const HistoryProduct& row);
HistoryProduct productFrom(const QSqlQuery& query);

// The columns a re-judging changes, in the order of judgedValues(); `deleted` and the row's
// identity, name and time are not among them.
const QStringList& judgedNames();
QVariantList judgedValues(const HistoryComparison& row);

} // namespace history::columns
