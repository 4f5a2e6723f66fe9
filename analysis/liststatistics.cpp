#include "liststatistics.h"

#include "comparisonrows.h"
#include "comparisonsheet.h"
#include "quantities.h"
#include "statisticssheet.h"

#include <QCoreApplication>

#include <cmath>
#include <limits>

namespace analysis {

namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

// One quantity of every record, straight from its numbers (the CSV rows would box each value).
template <typename F>
Column columnOf(const QString& heading, int decimals, const QList<ComparisonRecord>& records,
                F valueOf) {
    Column c{heading, {}, decimals};
    c.values.reserve(records.size());
    for (const ComparisonRecord& r : records)
        c.values.append(valueOf(r));
    return c;
}

} // namespace

QVector<Column> listColumns(int displayMode, bool oldLayout, bool chinese,
                            const QList<ComparisonRecord>& records) {
    using namespace comparisonrows;
    QVector<Column> out;
    if (oldLayout) {
        // In the order of the export: five standard values, five sample values, then ΔE. The
        // export's Chinese headings are fixed ("标准色L*"); the statistics use the words of the
        // rest of the program.
        const QStringList headings = comparisonsheet::oldHeadings(chinese);
        static const char* const labels[] = {QT_TRANSLATE_NOOP("FirstPageFor510", "Standard L*"),
                                             QT_TRANSLATE_NOOP("FirstPageFor510", "Standard a*"),
                                             QT_TRANSLATE_NOOP("FirstPageFor510", "Standard b*"),
                                             QT_TRANSLATE_NOOP("FirstPageFor510", "Standard C*"),
                                             QT_TRANSLATE_NOOP("FirstPageFor510", "Standard h"),
                                             QT_TRANSLATE_NOOP("FirstPageFor510", "Sample L*"),
                                             QT_TRANSLATE_NOOP("FirstPageFor510", "Sample a*"),
                                             QT_TRANSLATE_NOOP("FirstPageFor510", "Sample b*"),
                                             QT_TRANSLATE_NOOP("FirstPageFor510", "Sample C*"),
                                             QT_TRANSLATE_NOOP("FirstPageFor510", "Sample h")};
        for (int k = 0; k < 10; ++k) {
            const int index = k % 5;
            const bool sample = k >= 5;
            const QString label = chinese
                                      ? QCoreApplication::translate("FirstPageFor510", labels[k])
                                      : headings.at(5 + k);
            out.append(columnOf(label, quantities::oldDecimals(index), records,
                                [index, sample](const ComparisonRecord& r) {
                                    return quantities::oldValueNumber(
                                        index, (sample ? r.sample : r.standard)[size_t(index)]);
                                }));
        }
        out.append(columnOf(headings.at(17), 2, records,
                            [](const ComparisonRecord& r) { return r.deltaE / 100.0; }));
        return out;
    }
    const QStringList headings = comparisonsheet::headings(displayMode);
    const QList<int> sources = comparisonsheet::sourceColumns(displayMode);
    constexpr int n = ComparisonRecord::kValueCount;
    for (int field = 0; field < sources.size(); ++field) {
        const int column = sources.at(field);
        if (column >= ColStandard && column < ColSample + n) {
            const bool sample = column >= ColSample;
            const int index = column - (sample ? ColSample : ColStandard);
            out.append(columnOf(headings.at(field), quantities::decimals(index), records,
                                [index, sample](const ComparisonRecord& r) {
                                    return quantities::valueNumber(
                                        index, (sample ? r.sample : r.standard)[size_t(index)]);
                                }));
        } else if (column == ColDeltaHaze || column == ColDeltaT || column == ColDeltaE) {
            out.append(
                columnOf(headings.at(field), 2, records, [column](const ComparisonRecord& r) {
                    return (column == ColDeltaHaze ? r.deltaHaze
                            : column == ColDeltaT  ? r.deltaT
                                                   : r.deltaE) /
                           100.0;
                }));
        }
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
