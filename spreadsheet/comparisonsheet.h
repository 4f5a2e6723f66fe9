#pragma once

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

// "CompareM" + yyyyMMddhhmm + ".xlsx"
QString defaultFileName(const QDateTime& now);

} // namespace comparisonsheet
