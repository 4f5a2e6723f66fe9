#include "liststatistics.h"

#include "comparisoncsv.h"
#include "comparisonrows.h"
#include "comparisonsheet.h"
#include "statisticssheet.h"

#include <cmath>
#include <limits>

namespace analysis {

namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

// Decimals the list shows for a value of the current layout (index 0..10).
int valueDecimals(int index) {
    return index == 7 ? 1 : (index == 9 || index == 10) ? 4 : 2;
}

Column columnOf(const QString& heading, int decimals, const QList<QVariantList>& rows, int field) {
    Column c{heading, {}, decimals};
    c.values.reserve(rows.size());
    for (const QVariantList& row : rows) {
        const QVariant v = row.value(field);
        c.values.append(v.isValid() ? v.toDouble() : kNone);
    }
    return c;
}

} // namespace

QVector<Column> listColumns(int displayMode, bool oldLayout, bool chinese,
                            const QList<ComparisonRecord>& records) {
    using namespace comparisonrows;
    QVector<Column> out;
    if (oldLayout) {
        // Five standard values, five sample values, then ΔE (see comparisoncsv::oldRows).
        const QStringList headings = comparisonsheet::oldHeadings(chinese);
        const QList<QVariantList> rows = comparisoncsv::oldRows(records);
        for (int field = 5; field < 15; ++field)
            out.append(columnOf(headings.at(field), (field - 5) % 5 == 4 ? 1 : 2, rows, field));
        out.append(columnOf(headings.at(17), 2, rows, 17));
        return out;
    }
    const QStringList headings = comparisonsheet::headings(displayMode);
    const QList<int> sources = comparisonsheet::sourceColumns(displayMode);
    const QList<QVariantList> rows = comparisoncsv::rows(displayMode, records);
    constexpr int n = ComparisonRecord::kValueCount;
    for (int field = 0; field < sources.size(); ++field) {
        const int column = sources.at(field);
        if (column >= ColStandard && column < ColSample + n)
            out.append(columnOf(headings.at(field), valueDecimals((column - ColStandard) % n), rows,
                                field));
        else if (column == ColDeltaHaze || column == ColDeltaT || column == ColDeltaE)
            out.append(columnOf(headings.at(field), 2, rows, field));
    }
    return out;
}

QVector<bool> listVerdicts(const QList<ComparisonRecord>& records) {
    QVector<bool> out;
    out.reserve(records.size());
    for (const ComparisonRecord& r : records)
        out.append(r.pass);
    return out;
}

QVector<trend::Series> trendSeries(int displayMode, bool oldLayout, const JudgingSettings& settings,
                                   const QList<ComparisonRecord>& records) {
    QVector<trend::Series> out;
    for (const trend::Quantity q : trend::quantities(displayMode, oldLayout)) {
        trend::Series s;
        s.quantity = q;
        s.values.reserve(records.size());
        for (const ComparisonRecord& r : records) {
            const int units = q == trend::Quantity::DeltaHaze ? r.deltaHaze
                              : q == trend::Quantity::DeltaT  ? r.deltaT
                                                              : r.deltaE;
            // A colour difference without a formula has no value to plot.
            s.values.append(q == trend::Quantity::DeltaE && units == ComparisonRecord::kNoDeltaE
                                ? kNone
                                : units / 100.0);
        }
        const int tolerance = q == trend::Quantity::DeltaHaze ? settings.hazeTolerance
                              : q == trend::Quantity::DeltaT  ? settings.tTolerance
                                                              : settings.threshold;
        s.tolerance =
            tolerance < 0 ? -1 : tolerance / (q == trend::Quantity::DeltaE ? 10.0 : 100.0);
        out.append(s);
    }
    return out;
}

QList<QVariantList> listStatisticsSheet(int displayMode, bool oldLayout, bool chinese,
                                        const QList<ComparisonRecord>& records) {
    const QVector<Column> columns = listColumns(displayMode, oldLayout, chinese, records);
    return statisticsSheetRows(columns, summarizeAll(columns),
                               countVerdicts(listVerdicts(records)));
}

} // namespace analysis
