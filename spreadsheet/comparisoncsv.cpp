#include "comparisoncsv.h"

#include "comparisonrows.h"
#include "comparisonsheet.h"
#include "csvtable.h"
#include "quantities.h"

#include <algorithm>

#include <cmath>

namespace comparisoncsv {

namespace {

double hundredths(long long units) {
    return double(units) / 100.0;
}

// The value behind list column `column` of the current layout (see comparisonrows::Column).
QVariant valueOf(const ComparisonRecord& r, int column) {
    using namespace comparisonrows;
    constexpr int n = ComparisonRecord::kValueCount;
    if (column >= ColStandard && column < ColStandard + n)
        return quantities::valueNumber(column - ColStandard,
                                       r.standard[size_t(column - ColStandard)]);
    if (column >= ColSample && column < ColSample + n)
        return quantities::valueNumber(column - ColSample, r.sample[size_t(column - ColSample)]);
    switch (column) {
    case ColNo:
        return r.sequence;
    case ColName:
        return r.name;
    case ColTime:
        return timeText(r.time);
    case ColDeltaHaze:
        return hundredths(r.deltaHaze);
    case ColDeltaT:
        return hundredths(r.deltaT);
    case ColDeltaE:
        return hundredths(r.deltaE);
    case ColVerdict:
        return r.pass;
    case ColHazeTolerance:
        return r.settings.hazeTolerance < 0 ? QVariant() : hundredths(r.settings.hazeTolerance);
    case ColTTolerance:
        return r.settings.tTolerance < 0 ? QVariant() : hundredths(r.settings.tTolerance);
    case ColThreshold:
        return r.settings.threshold < 0 ? QVariant() : r.settings.threshold / 10.0;
    case ColModel:
        return r.model;
    case ColSerial:
        return r.serialNumber;
    default:
        return {};
    }
}

} // namespace

QList<QVariantList> rows(int displayMode, const QList<ComparisonRecord>& records) {
    const QList<int> sources = comparisonsheet::sourceColumns(displayMode);
    QList<QVariantList> out;
    out.reserve(records.size());
    for (const ComparisonRecord& record : records) {
        QVariantList row;
        row.reserve(sources.size());
        for (const int column : sources)
            row.append(valueOf(record, column));
        out.append(row);
    }
    return out;
}

QList<QVariantList> oldRows(const QList<ComparisonRecord>& records) {
    // In the order of oldHeadings: NO, Model, SN, Name, Time, five standard values, five sample
    // values, formula, threshold, dE, result.
    QList<QVariantList> out;
    out.reserve(records.size());
    for (const ComparisonRecord& r : records) {
        QVariantList row{r.sequence, r.model, r.serialNumber, r.name,
                         comparisonrows::timeText(r.time)};
        for (int k = 0; k < ComparisonRecord::kOldValueCount; ++k)
            row.append(quantities::oldValueNumber(k, r.standard[size_t(k)]));
        for (int k = 0; k < ComparisonRecord::kOldValueCount; ++k)
            row.append(quantities::oldValueNumber(k, r.sample[size_t(k)]));
        row << comparisonrows::oldCellText(r, comparisonrows::OldColFormula)
            << (r.settings.threshold < 0 ? QVariant() : QVariant(r.settings.threshold / 10.0))
            << hundredths(r.deltaE) << r.pass;
        out.append(row);
    }
    return out;
}

bool write(const QString& path, bool oldLayout, int displayMode, bool chineseHeadings,
           const QList<ComparisonRecord>& records, QString* reason) {
    if (oldLayout)
        return csv::write(path, comparisonsheet::oldHeadings(chineseHeadings), oldRows(records),
                          reason);
    const int mode = std::max(displayMode, 0);
    return csv::write(path, comparisonsheet::headings(mode), rows(mode, records), reason);
}

} // namespace comparisoncsv
