#pragma once

#include "comparisonrecord.h"
#include "exceltable.h"
#include "sheetwriter.h"

#include <QDateTime>
#include <QList>
#include <QStringList>
#include <QVariant>

#include <functional>

// The comparison list as a workbook: which list columns go where, under which headings.
// Shared by the workspace's export and the command-line tool, so both write the same sheet.
namespace comparisonsheet {

constexpr int kNewListColumns = 36;
constexpr int kOldListColumns = 21;

// Headings and list columns of the current layout's sheet for display mode 0..6.
QStringList headings(int displayMode);
QList<int> sourceColumns(int displayMode);
// Headings in row 2 (the sheet's row 1 keeps what the template has), then one row per list
// row. listRows hold the list's cell texts by list column.
ExcelTable newLayoutTable(int displayMode, const QList<QStringList>& listRows);

// The old layout's block from A1: fixed English or Chinese headings, then the rows.
QStringList oldHeadings(bool chinese);
QList<QVariantList> oldLayoutBlock(bool chinese, const QList<QStringList>& listRows);

// The same sheets written straight from the records into sheet `sheet` of an open writer: every
// cell shows the list's text, a number as a number in the format that shows that text ("20.00%"
// is 0.2 as "0.00%", "1.0" is 1 as "0.0"), other texts as texts. The current layout's headings
// go in row 2 and its rows from row 3, centred; the old layout's from A1. progress(rows) after
// the headings and each record row, counting the headings; false stops further rows.
using Progress = std::function<bool(int rows)>;
bool writeNewLayout(xlsx::SheetWriter& writer, int sheet, int displayMode,
                    const QList<ComparisonRecord>& records, const Progress& progress = {});
bool writeOldLayout(xlsx::SheetWriter& writer, int sheet, bool chinese,
                    const QList<ComparisonRecord>& records, const Progress& progress = {});
// One cell of a record as those sheets write it (list column as in comparisonrows).
xlsx::CellValue cellValue(const ComparisonRecord& record, int column);
xlsx::CellValue oldCellValue(const ComparisonRecord& record, int column);

// The list as comma-separated lines (UTF-8 when written): the sheet's headings, then one line
// per record with the sheet's cell texts, each a spreadsheet-safe CSV field (csv::field: quoted
// where needed, a text a spreadsheet would take for a formula made a text).
QStringList csvLines(int displayMode, bool oldLayout, const QList<ComparisonRecord>& records);

// "CompareM" + yyyyMMddhhmm + ".xlsx"
QString defaultFileName(const QDateTime& now);

} // namespace comparisonsheet
