#pragma once
// Reads an .xlsx workbook (Office Open XML) into the in-memory workbook: the worksheets in
// workbook order with their cell values. Formatting, formulas and other sheet kinds are dropped;
// formula cells give their cached values.

#include "workbook.h"

#include <QByteArray>
#include <QString>

namespace xlsx {

// Files and parts beyond these sizes, and sheets beyond these cell counts, are refused rather
// than read: a damaged or hostile file must not take the program's memory or time.
constexpr qint64 kMaxFileBytes = qint64(64) << 20;
constexpr qint64 kMaxPartBytes = qint64(32) << 20;
constexpr std::int64_t kMaxCells = std::int64_t(1) << 21;
constexpr std::int64_t kMaxUsedArea = std::int64_t(1) << 22;
// Budgets over the whole file: what all parts together may unpack to (a part may be named by
// many sheets), how many sheets are read, how deep elements may nest.
constexpr qint64 kMaxTotalBytes = qint64(64) << 20;
constexpr int kMaxSheets = 1024;
constexpr int kMaxXmlDepth = 64;

// Fills book from the bytes of a whole file. On failure book is left empty and error (when
// given) says what was wrong.
// unpackBudget: what all parts together may unpack to; a caller that knows its files are small
// passes less, which also bounds the time a hostile file can cost.
bool readWorkbook(const QByteArray& bytes, Workbook& book, QString* error = nullptr,
                  qint64 unpackBudget = kMaxTotalBytes);

} // namespace xlsx
