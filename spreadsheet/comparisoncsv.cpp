#include "comparisoncsv.h"

#include "comparisonsheet.h"

#include <cmath>

namespace comparisoncsv {

namespace {

// Haze, T, L*, a*, b*, L*, C*, h, Y, x, y: the decimals the list shows.
constexpr int kDecimals[ComparisonRecord::kValueCount] = {2, 2, 2, 2, 2, 2, 2, 1, 2, 4, 4};
constexpr int kOldDecimals[OldComparisonRecord::kValueCount] = {2, 2, 2, 2, 1};

// The number the list shows, so the file and the screen agree digit for digit.
QVariant shown(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

QVariant verdict(const QVector<bool>& passes, qsizetype row) {
    return row < passes.size() ? QVariant(passes.at(row)) : QVariant();
}

// The value behind list column `column` of the current layout (see listRowTexts). Tolerances
// come as the texts the row was given, which are plain numbers already.
QVariant valueOf(const ComparisonRecord& r, int column, const QVariant& pass) {
    constexpr int n = ComparisonRecord::kValueCount;
    if (column >= 3 && column < 3 + n)
        return shown(r.standard[size_t(column - 3)], kDecimals[column - 3]);
    if (column >= 3 + n && column < 3 + 2 * n)
        return shown(r.sample[size_t(column - 3 - n)], kDecimals[column - 3 - n]);
    switch (column) {
    case 0:
        return r.sequence;
    case 1:
        return r.name;
    case 2:
        return r.time;
    case 25:
        return shown(r.deltaHaze, 2);
    case 26:
        return shown(r.deltaT, 2);
    case 27:
        return shown(r.deltaE, 2);
    case 28:
        return pass;
    case 31:
        return r.hazeTolerance;
    case 32:
        return r.tTolerance;
    case 33:
        return r.deltaEThreshold;
    case 34:
        return r.model;
    case 35:
        return r.serialNumber;
    default:
        return {};
    }
}

} // namespace

QList<QVariantList> rows(int displayMode, const QList<ComparisonRecord>& records,
                         const QVector<bool>& passes) {
    const QList<int> sources = comparisonsheet::sourceColumns(displayMode);
    QList<QVariantList> out;
    out.reserve(records.size());
    for (qsizetype i = 0; i < records.size(); ++i) {
        QVariantList row;
        row.reserve(sources.size());
        for (const int column : sources)
            row.append(valueOf(records.at(i), column, verdict(passes, i)));
        out.append(row);
    }
    return out;
}

QList<QVariantList> oldRows(const QList<OldComparisonRecord>& records,
                            const QVector<bool>& passes) {
    // In the order of oldHeadings: NO, Model, SN, Name, Time, five standard values, five sample
    // values, formula, threshold, dE, result.
    QList<QVariantList> out;
    out.reserve(records.size());
    for (qsizetype i = 0; i < records.size(); ++i) {
        const OldComparisonRecord& r = records.at(i);
        QVariantList row{r.sequence, r.model, r.serialNumber, r.name, r.time};
        for (int k = 0; k < OldComparisonRecord::kValueCount; ++k)
            row.append(shown(r.standard[size_t(k)], kOldDecimals[k]));
        for (int k = 0; k < OldComparisonRecord::kValueCount; ++k)
            row.append(shown(r.sample[size_t(k)], kOldDecimals[k]));
        row << r.formula << r.deltaEThreshold << shown(r.deltaE, 2) << verdict(passes, i);
        out.append(row);
    }
    return out;
}

} // namespace comparisoncsv
