#pragma once
// The statistics as a table: the headings and figures the panel shows, and the same figures as
// the rows of the export's second sheet (numbers stay numbers there, so a spreadsheet can
// compute with them: each is the figure the panel shows, at the column's decimals, in the
// format that shows it so).

#include "capability.h"
#include "sheetwriter.h"
#include "statistics.h"

#include <QList>
#include <QStringList>
#include <QVariant>

namespace analysis {

// "Quantity", "n", "Mean", "SD", "Min", "Max", "Range", translated.
QStringList statisticsHeadings();
// "Statistics", translated: the name of the export's second sheet.
QString statisticsSheetName();
// "Lot: NAME" ("No lot" for comparisons without one), translated: a lot's block's title.
QString lotHeading(const QString& lot);
// "PASS", "NG" (the verdict texts) and "Pass rate (%)", translated: the verdict rows' labels.
QStringList verdictRowLabels();

// The sheet from A1: headings, one row per column (a figure that does not exist, such as the
// standard deviation of one value, is "-----" as in the list), an empty row, then PASS, NG and
// the pass rate.
using SheetRows = QList<QList<xlsx::CellValue>>;
SheetRows statisticsSheetRows(const QVector<Column>& columns, const QVector<Summary>& summaries,
                              const VerdictCounts& verdicts);
// "Capability", "n", "Cp", "Cpk", translated.
QStringList capabilityHeadings();
// The capability block: its headings, then one row per toleranced quantity (a figure that does
// not exist is "-----").
SheetRows capabilitySheetRows(const QVector<ToleranceColumn>& columns,
                              const QVector<Capability>& capabilities);
// Writes rows from A1 into sheet `sheet` of an open writer.
bool writeSheetRows(xlsx::SheetWriter& writer, int sheet, const SheetRows& rows);

// The text the panel shows for a figure: fixed decimals, or "-----" when it does not exist.
QString figureText(const std::optional<double>& value, int decimals);

} // namespace analysis
