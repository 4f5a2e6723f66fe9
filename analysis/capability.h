#pragma once
// Process capability of a batch against its tolerance: Cp and Cpk per toleranced quantity. Haze
// and T pass within the standard ± tolerance (two limits); ΔE passes up to its threshold (an
// upper limit only, so there is no Cp). A pure function over numbers; whoever holds the records
// hands in the values and the limits they were judged with.

#include <QString>
#include <QVector>

#include <optional>

namespace analysis {

struct Limits {
    std::optional<double> lower, upper;
};

// standard ± tolerance; no limits when the tolerance is not known (negative) or not finite.
Limits twoSidedLimits(double standard, double tolerance);
// Up to the threshold; no limit when it is not known.
Limits upperLimit(double threshold);

struct Capability {
    int n = 0; // values taken (NaN rows are left out), shown even where no figure is
    std::optional<double> mean, sd;
    // Empty below n = 2, when the values do not vary (sd 0) and where the limits do not give
    // one: Cp needs both limits, Cpk at least one.
    std::optional<double> cp, cpk;
};

// Cp = (USL - LSL) / (6 s), Cpk = min(USL - mean, mean - LSL) / (3 s) over the limits present,
// with s the sample standard deviation (n - 1) of summarize().
Capability capability(const QVector<double>& values, const Limits& limits);

// One toleranced quantity of the list.
struct ToleranceColumn {
    QString heading;
    QVector<double> values;
    Limits limits;
};

// The capability of every column, in column order.
QVector<Capability> capabilities(const QVector<ToleranceColumn>& columns);

} // namespace analysis
