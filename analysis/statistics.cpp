#include "statistics.h"

#include <cmath>

#include <algorithm>

namespace analysis {

Summary summarize(const QVector<double>& values) {
    // Welford's update: no sum of squares to cancel when the values sit far from zero.
    Summary s;
    double mean = 0, m2 = 0, lo = 0, hi = 0;
    for (const double v : values) {
        if (std::isnan(v))
            continue;
        ++s.n;
        if (s.n == 1) {
            lo = hi = v;
        } else {
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
        const double delta = v - mean;
        mean += delta / s.n;
        m2 += delta * (v - mean);
    }
    if (s.n == 0)
        return s;
    s.mean = mean;
    s.minimum = lo;
    s.maximum = hi;
    s.range = hi - lo;
    if (s.n > 1)
        s.sd = std::sqrt(std::max(0.0, m2 / (s.n - 1)));
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
