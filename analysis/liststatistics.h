#pragma once
// The comparison list seen by the statistics and the trend chart: the numbers of every quantity
// the list shows in a display mode, taken from the records (never from the texts shown).

#include "capability.h"
#include "comparisonrecord.h"
#include "statistics.h"
#include "statisticssheet.h"
#include "trendplan.h"

#include <QList>
#include <QVariant>

namespace analysis {

// Every shown quantity and every difference, under the export's headings (the old layout's
// headings in the language given), in the decimals the list shows.
// `reuse`: the columns made last time, whose value buffers are taken over; their first
// `unchanged` rows are kept as they are when the caller knows those records did not change
// (rows only appended since), so only the new rows are read.
QVector<Column> listColumns(int displayMode, bool oldLayout, bool chinese,
                            const QList<ComparisonRecord>& records,
                            QVector<Column>* reuse = nullptr, qsizetype unchanged = 0);
// The verdicts in list order; true is PASS.
QVector<bool> listVerdicts(const QList<ComparisonRecord>& records);
// The main differences for the trend chart, with the bands of the settings in force.
QVector<trend::Series> trendSeries(int displayMode, bool oldLayout, const JudgingSettings& settings,
                                   const QList<ComparisonRecord>& records);
// The toleranced quantities of the list with the limits of its newest row's settings: ΔHaze and
// ΔT against ± their tolerance (the standard ± tolerance), ΔE up to its threshold; only those the
// display mode judges by.
// `reuse` and `unchanged` as for listColumns.
QVector<ToleranceColumn> toleranceColumns(int displayMode, bool oldLayout,
                                          const QList<ComparisonRecord>& records,
                                          QVector<ToleranceColumn>* reuse = nullptr,
                                          qsizetype unchanged = 0);
// The export's second sheet for the list (of that layout and display mode: the records' own);
// a list of several lots has a block per lot below the whole list's.
SheetRows listStatisticsSheet(int displayMode, bool oldLayout, bool chinese,
                              const QList<ComparisonRecord>& records);

} // namespace analysis
