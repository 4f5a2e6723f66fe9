#include "statistics.h"

#include <cmath>

#include <algorithm>

namespace analysis {

Summary summarize(const QVector<double>& values) {
    // Two passes: the deviations are summed around the mean, so values far from zero lose
    // nothing to cancellation, and no division per value slows a full list down.
    Summary s;
    double sum = 0, lo = 0, hi = 0;
    for (const double v : values) {
        if (std::isnan(v))
            continue;
        if (s.n++ == 0) {
            lo = hi = v;
        } else {
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
        sum += v;
    }
    if (s.n == 0)
        return s;
    // Equal values have that value as their mean and no spread; the rounded sum would make
    // the mean differ in the last digit and give them a tiny standard deviation, which a
    // capability figure divides by.
    const double mean = lo == hi ? lo : sum / s.n;
    s.mean = mean;
    s.minimum = lo;
    s.maximum = hi;
    s.range = hi - lo;
    if (s.n > 1) {
        double squares = 0;
        for (const double v : values)
            if (!std::isnan(v))
                squares += (v - mean) * (v - mean);
        s.sd = std::sqrt(squares / (s.n - 1));
    }
    return s;
}

std::optional<double> VerdictCounts::passRate() const {
    if (total() == 0)
        return std::nullopt;
    return 100.0 * pass / total();
}

VerdictCounts countVerdicts(const QVector<bool>& passes) {
    VerdictCounts c;
    for (const bool p : passes)
        ++(p ? c.pass : c.ng);
    return c;
}

QVector<Summary> summarizeAll(const QVector<Column>& columns) {
    QVector<Summary> out;
    out.reserve(columns.size());
    for (const Column& c : columns)
        out.append(summarize(c.values));
    return out;
}

} // namespace analysis
