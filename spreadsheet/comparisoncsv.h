#pragma once
// The comparison list as numeric CSV rows, column for column under the workbook export's
// headings (comparisonsheet::headings, or oldHeadings for the old layout): quantities as plain
// numbers at the decimals the list shows (no "%", no "±"), the verdict as PASS/NG.

#include "comparisonrecord.h"

#include <QList>
#include <QString>
#include <QVariant>

namespace comparisoncsv {

// Rows of the current layout's sheet for display mode 0..6; the verdict is the record's own.
QList<QVariantList> rows(int displayMode, const QList<ComparisonRecord>& records);
// Rows of the old layout's sheet.
QList<QVariantList> oldRows(const QList<ComparisonRecord>& records);

// Writes `records` (of that layout and display mode: their own) to `path` as the layout's CSV:
// the old layout's sheet (headings in Chinese when `chineseHeadings`), otherwise the current
// layout's for display mode 0..6. False with `reason` set when the file could not be written
// completely.
bool write(const QString& path, bool oldLayout, int displayMode, bool chineseHeadings,
           const QList<ComparisonRecord>& records, QString* reason);

} // namespace comparisoncsv
