#pragma once

#include "comparisonrecord.h"

#include <QList>
#include <QString>

#include <functional>

// A comparison list written to a file, as the workspace's Export, the History window and the
// command line all write it: the workbook of the records' own layout and display mode with its
// Statistics sheet, or, for a .csv path, the numeric CSV. Made from the records alone.
namespace listexport {

struct Outcome {
    bool written = false;
    // The previous file could not be replaced (in use, read-only).
    bool inUse = false;
    QString reason;
};

bool isCsvPath(const QString& path);
// Whether the records share one set of columns (one layout and display mode).
bool oneMeaning(const QList<ComparisonRecord>& records);

// The records are those of a list of `meaning` (one layout and display mode: their own; the
// meaning gives the headings of an empty list). `chinese` picks the old layout's headings.
// progress(rows) after each list row of a workbook; returning false stops further rows, and what
// was written is still saved.
Outcome write(const QString& path, const ListMeaning& meaning,
              const QList<ComparisonRecord>& records, bool chinese,
              const std::function<bool(int rows)>& progress = {});

} // namespace listexport
