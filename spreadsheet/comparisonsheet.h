#pragma once

#include "comparisonrecord.h"
#include "exceltable.h"

#include <QDateTime>
#include <QList>
#include <QStringList>
#include <QVariant>

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

// The same sheets made from records of that display mode (their own: a list holds one): each
// cell is the list's text for that record.
ExcelTable newLayoutTable(int displayMode, const QList<ComparisonRecord>& records);
QList<QVariantList> oldLayoutBlock(bool chinese, const QList<ComparisonRecord>& records);

// The list as comma-separated lines (UTF-8 when written): the sheet's headings, then one line
// per record with the sheet's cell texts, quoted where a text needs it.
QStringList csvLines(int displayMode, bool oldLayout, const QList<ComparisonRecord>& records);
QString csvField(const QString& text);

// "CompareM" + yyyyMMddhhmm + ".xlsx"
QString defaultFileName(const QDateTime& now);

} // namespace comparisonsheet
