#pragma once
// Figures of a batch: per quantity n, mean, standard deviation, minimum, maximum and range, and
// the PASS/NG counts. Pure functions over numbers, so the panel, the export's second sheet and
// the tests all compute from the model's values and never from the texts shown.

#include <QString>
#include <QVector>

#include <optional>

namespace analysis {

// One quantity of the list in list order. A NaN is a row without a value (a cell showing
// "-----") and is left out of the figures.
struct Column {
    QString heading;
    QVector<double> values;
    int decimals = 2; // how the list shows the quantity; the panel shows its figures alike
};

struct Summary {
    int n = 0;
    // Empty for n = 0; sd also for n = 1, where a sample standard deviation does not exist.
    std::optional<double> mean, sd, minimum, maximum, range;
};

// Sample statistics (sd with n - 1), exact also for values far from zero.
Summary summarize(const QVector<double>& values);

struct VerdictCounts {
    int pass = 0;
    int ng = 0;
    int total() const { return pass + ng; }
    // Percent of PASS; empty when nothing was judged.
    std::optional<double> passRate() const;
};

// Verdicts as values: true is PASS.
VerdictCounts countVerdicts(const QVector<bool>& passes);

// The figures of every column, in column order.
QVector<Summary> summarizeAll(const QVector<Column>& columns);

} // namespace analysis
