#pragma once
// The comparison list as numeric CSV rows, column for column under the workbook export's
// headings (comparisonsheet::headings, or oldHeadings for the old layout): quantities as plain
// numbers at the decimals the list shows (no "%", no "±"), the verdict as PASS/NG.

#include "comparisonrecord.h"

#include <QList>
#include <QVariant>
#include <QVector>

namespace comparisoncsv {

// passes holds each row's verdict (true PASS); a row without one gets an empty field.
QList<QVariantList> rows(int displayMode, const QList<ComparisonRecord>& records,
                         const QVector<bool>& passes);
QList<QVariantList> oldRows(const QList<OldComparisonRecord>& records, const QVector<bool>& passes);

} // namespace comparisoncsv
