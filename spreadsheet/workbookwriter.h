#pragma once
// Writes the in-memory workbook as an .xlsx file.

#include "workbook.h"

#include <QString>

namespace xlsx {

// Writes book to path, replacing whatever is there; activeSheet (0-based) is the sheet a
// spreadsheet program shows first. On failure the file at path may be incomplete, so callers
// write to a scratch file. Sheet names a workbook cannot hold are replaced by SheetN.
bool writeWorkbook(const Workbook& book, const QString& path, int activeSheet,
                   QString* error = nullptr);

// Whether a value is written as a number (as opposed to text or a boolean).
bool isNumber(const QVariant& value);

} // namespace xlsx
