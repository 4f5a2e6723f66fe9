#include "liststatistics.h"

#include "colour.h"
#include "comparisonrows.h"
#include "comparisonsheet.h"
#include "quantities.h"
#include "statisticssheet.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <limits>

namespace analysis {

namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

// Where a column's number comes from in a record, and the divisor that makes it the number the
// list shows.
struct Source {
    enum Kind { Standard, Sample, DeltaHaze, DeltaT, DeltaE, OldStandardH, OldSampleH } kind;
    int index = 0;
    double divisor = 100;
};

double valueOf(const ComparisonRecord& r, const Source& s) {
    switch (s.kind) {
    case Source::Standard:
        return r.standard[size_t(s.index)] / s.divisor;
    case Source::Sample:
        return r.sample[size_t(s.index)] / s.divisor;
    case Source::DeltaHaze:
        return r.deltaHaze / s.divisor;
    case Source::DeltaT:
        return r.deltaT / s.divisor;
    case Source::DeltaE:
        return r.deltaE / s.divisor;
    case Source::OldStandardH:
        return quantities::oldValueNumber(quantities::OldH, r.standard[size_t(s.index)]);
    case Source::OldSampleH:
        return quantities::oldValueNumber(quantities::OldH, r.sample[size_t(s.index)]);
    }
    return kNone;
}

// Every column in one pass over the records from row `from` on (the rows before are already
// there), written in place: a refresh of a full list reads each record once and allocates at
// most one block per column.
QVector<Column> columnsOf(QVector<Column> out, const QVector<Source>& sources,
                          const QList<ComparisonRecord>& records, qsizetype from) {
    const qsizetype n = records.size();
    QVector<double*> at;
    at.reserve(out.size());
    for (Column& c : out) {
        c.values.resize(n);
        at.append(c.values.data());
    }
    const qsizetype columns = sources.size();
    double* const* to = at.constData();
    const Source* source = sources.constData();
    const ComparisonRecord* r = records.constData() + from;
    for (qsizetype i = from; i < n; ++i, ++r)
        for (qsizetype k = 0; k < columns; ++k)
            to[k][i] = valueOf(*r, source[k]);
    return out;
}

// How many leading rows of `reuse` stand for the records now: `unchanged` when it has the same
// columns, none otherwise (its buffers are still taken over).
template <typename C> qsizetype keptRows(QVector<C>& out, QVector<C>* reuse, qsizetype unchanged) {
    if (!reuse || reuse->size() != out.size())
        return 0;
    bool same = true;
    for (qsizetype k = 0; k < out.size(); ++k) {
        same =
            same && out[k].heading == (*reuse)[k].heading && (*reuse)[k].values.size() >= unchanged;
        out[k].values.swap((*reuse)[k].values);
    }
    return same ? unchanged : 0;
}

} // namespace

QVector<Column> listColumns(int displayMode, bool oldLayout, bool chinese,
                            const QList<ComparisonRecord>& records, QVector<Column>* reuse,
                            qsizetype unchanged) {
    using namespace comparisonrows;
    // The value buffers of the columns made last time are taken over: a full list's columns
    // are megabytes, and fresh ones cost page faults on every refresh.
    const auto fill = [&](QVector<Column> out, const QVector<Source>& sources) {
        const qsizetype from = keptRows(out, reuse, std::min(unchanged, records.size()));
        return columnsOf(std::move(out), sources, records, from);
    };
    QVector<Column> out;
    QVector<Source> sources;
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
            out.append(Column{label, {}, quantities::oldDecimals(index)});
            if (index == quantities::OldH)
                sources.append({sample ? Source::OldSampleH : Source::OldStandardH, index, 1});
            else
                sources.append({sample ? Source::Sample : Source::Standard, index, 100});
        }
        out.append(Column{headings.at(17), {}, 2});
        sources.append({Source::DeltaE, 0, 100});
        return fill(std::move(out), sources);
    }
    const QStringList headings = comparisonsheet::headings(displayMode);
    const QList<int> columns = comparisonsheet::sourceColumns(displayMode);
    constexpr int n = ComparisonRecord::kValueCount;
    for (int field = 0; field < columns.size(); ++field) {
        const int column = columns.at(field);
        if (column >= ColStandard && column < ColSample + n) {
            const bool sample = column >= ColSample;
            const int index = column - (sample ? ColSample : ColStandard);
            out.append(Column{headings.at(field), {}, quantities::decimals(index)});
            sources.append({sample ? Source::Sample : Source::Standard, index,
                            double(quantities::scale(index))});
        } else if (column == ColDeltaHaze || column == ColDeltaT || column == ColDeltaE) {
            out.append(Column{headings.at(field), {}, 2});
            sources.append({column == ColDeltaHaze ? Source::DeltaHaze
                            : column == ColDeltaT  ? Source::DeltaT
                                                   : Source::DeltaE,
                            0, 100});
        }
    }
    return fill(std::move(out), sources);
}

QVector<bool> listVerdicts(const QList<ComparisonRecord>& records) {
    QVector<bool> out(records.size());
    bool* pass = out.data();
    for (const ComparisonRecord& r : records)
        *pass++ = r.pass;
    return out;
}

QVector<trend::Series> trendSeries(int displayMode, bool oldLayout, const JudgingSettings& settings,
                                   const QList<ComparisonRecord>& records) {
    QVector<trend::Series> out;
    for (const trend::Quantity q : trend::quantities(displayMode, oldLayout)) {
        trend::Series s;
        s.quantity = q;
        s.values.resize(records.size());
        double* value = s.values.data();
        for (const ComparisonRecord& r : records) {
            const int units = q == trend::Quantity::DeltaHaze ? r.deltaHaze
                              : q == trend::Quantity::DeltaT  ? r.deltaT
                                                              : r.deltaE;
            // A colour difference without a formula has no value to plot.
            *value++ = q == trend::Quantity::DeltaE && units == ComparisonRecord::kNoDeltaE
                           ? kNone
                           : units / 100.0;
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

QVector<ToleranceColumn> toleranceColumns(int displayMode, bool oldLayout,
                                          const QList<ComparisonRecord>& records,
                                          QVector<ToleranceColumn>* reuse, qsizetype unchanged) {
    QVector<ToleranceColumn> out;
    const JudgingSettings settings =
        records.isEmpty() ? JudgingSettings{} : records.last().settings;
    const auto colorimeter = [](const char* source) {
        return QCoreApplication::translate(colour::kFormulaContext, source);
    };
    // Each column's values from row `from` on; the limits always from the newest row.
    using ValueOf = double (*)(const ComparisonRecord&);
    QVector<ValueOf> sources;
    const auto column = [&](const QString& heading, const Limits& limits, ValueOf valueOf) {
        out.append(ToleranceColumn{heading, {}, limits});
        sources.append(valueOf);
    };
    if (!oldLayout && quantities::measures(displayMode, quantities::Haze))
        column(colorimeter(QT_TRANSLATE_NOOP("Colorimeter", "△Haze")),
               twoSidedLimits(0, settings.hazeTolerance / 100.0),
               [](const ComparisonRecord& r) { return r.deltaHaze / 100.0; });
    if (!oldLayout && quantities::measures(displayMode, quantities::T))
        column(colorimeter(QT_TRANSLATE_NOOP("Colorimeter", "△T")),
               twoSidedLimits(0, settings.tTolerance / 100.0),
               [](const ComparisonRecord& r) { return r.deltaT / 100.0; });
    if (oldLayout || displayMode >= 3)
        column(colorimeter(QT_TRANSLATE_NOOP("Colorimeter", "△E")),
               upperLimit(settings.threshold / 10.0), [](const ComparisonRecord& r) {
                   return r.deltaE == ComparisonRecord::kNoDeltaE ? kNone : r.deltaE / 100.0;
               });
    const qsizetype from = keptRows(out, reuse, std::min(unchanged, records.size()));
    for (qsizetype k = 0; k < out.size(); ++k) {
        out[k].values.resize(records.size());
        double* to = out[k].values.data();
        for (qsizetype i = from; i < records.size(); ++i)
            to[i] = sources[k](records.at(i));
    }
    return out;
}

namespace {

// The figures of `records` with the capability block beside them, from column I: the rows
// below stay where files and macros find them.
SheetRows statisticsBlock(int displayMode, bool oldLayout, bool chinese,
                          const QList<ComparisonRecord>& records) {
    const QVector<Column> columns = listColumns(displayMode, oldLayout, chinese, records);
    SheetRows rows =
        statisticsSheetRows(columns, summarizeAll(columns), countVerdicts(listVerdicts(records)));
    const QVector<ToleranceColumn> toleranced = toleranceColumns(displayMode, oldLayout, records);
    const SheetRows block = capabilitySheetRows(toleranced, capabilities(toleranced));
    constexpr int kBlockColumn = 8;
    for (int r = 0; r < block.size(); ++r) {
        if (r >= rows.size())
            rows.append(QList<xlsx::CellValue>());
        while (rows[r].size() < kBlockColumn)
            rows[r].append(xlsx::CellValue());
        rows[r].append(block.at(r));
    }
    return rows;
}

} // namespace

SheetRows listStatisticsSheet(int displayMode, bool oldLayout, bool chinese,
                              const QList<ComparisonRecord>& records) {
    SheetRows rows = statisticsBlock(displayMode, oldLayout, chinese, records);
    // A list of several lots: below the whole list, one block per lot in the order the lots
    // first came, each under its name.
    QStringList lots;
    for (const ComparisonRecord& r : records)
        if (!lots.contains(r.lot))
            lots << r.lot;
    if (lots.size() < 2)
        return rows;
    for (const QString& lot : lots) {
        QList<ComparisonRecord> inLot;
        for (const ComparisonRecord& r : records)
            if (r.lot == lot)
                inLot.append(r);
        rows.append(QList<xlsx::CellValue>());
        rows.append(QList<xlsx::CellValue>{xlsx::CellValue::ofText(lotHeading(lot))});
        rows += statisticsBlock(displayMode, oldLayout, chinese, inLot);
    }
    return rows;
}

} // namespace analysis
