#include "capability.h"

#include "statistics.h"

#include <algorithm>
#include <cmath>

namespace analysis {

Limits twoSidedLimits(double standard, double tolerance) {
    if (!(tolerance >= 0) || !std::isfinite(tolerance) || !std::isfinite(standard))
        return {};
    return {standard - tolerance, standard + tolerance};
}

Limits upperLimit(double threshold) {
    if (!(threshold >= 0) || !std::isfinite(threshold))
        return {};
    return {std::nullopt, threshold};
}

Capability capability(const QVector<double>& values, const Limits& limits) {
    const Summary s = summarize(values);
    Capability c;
    c.n = s.n;
    c.mean = s.mean;
    c.sd = s.sd;
    if (!s.sd || !(*s.sd > 0) || !std::isfinite(*s.sd))
        return c;
    const double mean = *s.mean, sd = *s.sd;
    if (limits.lower && limits.upper)
        c.cp = (*limits.upper - *limits.lower) / (6 * sd);
    std::optional<double> nearest;
    if (limits.upper)
        nearest = *limits.upper - mean;
    if (limits.lower)
        nearest = std::min(nearest.value_or(mean - *limits.lower), mean - *limits.lower);
    if (nearest)
        c.cpk = *nearest / (3 * sd);
    return c;
}

QVector<Capability> capabilities(const QVector<ToleranceColumn>& columns) {
    QVector<Capability> out;
    out.reserve(columns.size());
    for (const ToleranceColumn& c : columns)
        out.append(capability(c.values, c.limits));
    return out;
}

} // namespace analysis
