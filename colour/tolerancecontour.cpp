#include "tolerancecontour.h"

#include "colourdifference.h"

#include <cmath>
#include <limits>

namespace colour {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kTwoPi = 6.283185307179586;

} // namespace

double toleranceDistance(const Lab& standard, int formula, bool oldLayout, double threshold,
                         double dL, double da, double db) {
    const double length = std::sqrt(dL * dL + da * da + db * db);
    if (!(threshold > 0) || !std::isfinite(threshold) || !(length > 0) || !std::isfinite(length) ||
        !std::isfinite(standard.L) || !std::isfinite(standard.a) || !std::isfinite(standard.b))
        return kNaN;
    dL /= length;
    da /= length;
    db /= length;
    // ΔE minus the threshold at distance r: negative inside the tolerance.
    auto excess = [&](double r) {
        const Lab sample{standard.L + r * dL, standard.a + r * da, standard.b + r * db};
        return deltaEByIndex(formula, oldLayout, standard, sample) - threshold;
    };

    // Every formula grows about linearly close to the standard; its slope there estimates the
    // edge. Stepping out by a quarter of that finds the first crossing even where the difference
    // does not grow steadily (near the neutral axis the hue turns fast), and only a dip back
    // under the threshold narrower than a step could be passed over. Steps double every eight,
    // so a poor estimate costs a few steps, not thousands.
    const double probe = threshold * 1e-3;
    const double slope = (excess(probe) + threshold) / probe;
    double step = slope > 0 && std::isfinite(slope) ? threshold / slope / 4 : threshold / 4;
    double lo = 0, fLo = -threshold, hi = 0, fHi = -threshold;
    for (int k = 1; fHi < 0; ++k) {
        if (lo >= kToleranceSearchLimit)
            return kNaN;
        hi = std::min(lo + step, kToleranceSearchLimit);
        fHi = excess(hi);
        if (std::isnan(fHi))
            return kNaN;
        if (fHi < 0) {
            lo = hi;
            fLo = fHi;
        }
        if (k % 8 == 0)
            step *= 2;
    }
    if (fHi == 0)
        return hi;

    // Regula falsi with the Illinois halving converges in a handful of evaluations; a bracket
    // that does not halve in two steps is bisected, so a kink cannot stall it.
    int side = 0, slow = 0;
    for (int i = 0; i < 200; ++i) {
        const double width = hi - lo;
        double mid = slow >= 2 ? (lo + hi) / 2 : (lo * fHi - hi * fLo) / (fHi - fLo);
        if (!(mid > lo && mid < hi))
            mid = (lo + hi) / 2;
        const double f = excess(mid);
        if (std::abs(f) <= threshold * 1e-12 || !(mid > lo && mid < hi))
            return mid;
        if (f < 0) {
            lo = mid;
            fLo = f;
            if (side < 0)
                fHi /= 2;
            side = -1;
        } else {
            hi = mid;
            fHi = f;
            if (side > 0)
                fLo /= 2;
            side = 1;
        }
        slow = hi - lo > width / 2 ? slow + 1 : 0;
    }
    return (lo + hi) / 2;
}

QVector<QPointF> toleranceContour(const Lab& standard, int formula, bool oldLayout,
                                  double threshold, int directions) {
    QVector<QPointF> out;
    if (!(threshold > 0) || directions < 3)
        return out;
    out.reserve(directions);
    for (int k = 0; k < directions; ++k) {
        const double angle = kTwoPi * k / directions;
        const double c = std::cos(angle), s = std::sin(angle);
        const double r = toleranceDistance(standard, formula, oldLayout, threshold, 0, c, s);
        out.append(std::isnan(r) ? QPointF(kNaN, kNaN) : QPointF(r * c, r * s));
    }
    return out;
}

} // namespace colour
