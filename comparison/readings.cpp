#include "readings.h"

#include "measurementcommands.h"

#include <algorithm>
#include <cmath>

namespace readings {

namespace {

constexpr double kPi = 3.14159265358979323846;

int rounded(double value) {
    return int(std::llround(value));
}

// Both measurement blocks carry the same eleven values and the colour swatch.
template <typename Block> Reading readingOfBlock(const Block& b) {
    return {{b.haze, b.transmittance, b.lStar, b.aStar, b.bStar, b.lchLightness, b.lchChroma,
             b.lchHue, b.yTristimulus, b.xChromaticity, b.yChromaticity},
            b.red,
            b.green,
            b.blue};
}

} // namespace

Reading readingOf(const ColorMeasurementBlock& b) {
    return readingOfBlock(b);
}

Reading readingOf(const ModeResultBlock& b) {
    return readingOfBlock(b);
}

Reading readingOf(const LegacyMeasurement& m) {
    return {{m.lStar, m.aStar, m.bStar, m.chroma, m.hue}, m.red, m.green, m.blue};
}

Reading mean(const QList<Reading>& readings, bool oldLayout) {
    if (readings.isEmpty())
        return {};
    if (readings.size() == 1)
        return readings.first();
    const double n = double(readings.size());
    Reading out;
    std::array<double, ComparisonRecord::kValueCount> sum{};
    double red = 0, green = 0, blue = 0;
    for (const Reading& r : readings) {
        for (size_t i = 0; i < sum.size(); ++i)
            sum[i] += r.values[i];
        red += r.red;
        green += r.green;
        blue += r.blue;
    }
    for (size_t i = 0; i < sum.size(); ++i)
        out.values[i] = rounded(sum[i] / n);
    out.red = rounded(red / n);
    out.green = rounded(green / n);
    out.blue = rounded(blue / n);

    // Where a*, b*, C* and h sit, and the units of h (hundredths of a degree in the old layout,
    // tenths in the current one); all other quantities are in the same units as a*, b*, C*.
    const size_t a = oldLayout ? 1 : 3, b = a + 1, c = oldLayout ? 3 : 6, h = c + 1;
    const double hScale = oldLayout ? 100.0 : 10.0;
    bool cartesian = false, polar = false;
    double sumA = 0, sumB = 0;
    for (const Reading& r : readings) {
        cartesian = cartesian || r.values[a] != 0 || r.values[b] != 0;
        polar = polar || r.values[c] != 0 || r.values[h] != 0;
    }
    for (const Reading& r : readings) {
        if (cartesian) {
            sumA += r.values[a];
            sumB += r.values[b];
        } else {
            const double angle = r.values[h] / hScale * kPi / 180.0;
            sumA += r.values[c] * std::cos(angle);
            sumB += r.values[c] * std::sin(angle);
        }
    }
    const double meanA = sumA / n, meanB = sumB / n;
    if (cartesian) {
        out.values[a] = rounded(meanA);
        out.values[b] = rounded(meanB);
    }
    if (polar) {
        out.values[c] = rounded(std::hypot(meanA, meanB));
        double degrees = std::atan2(meanB, meanA) * 180.0 / kPi;
        if (degrees < 0)
            degrees += 360.0;
        int angle = rounded(degrees * hScale);
        if (angle >= rounded(360.0 * hScale))
            angle = 0;
        out.values[h] = angle;
    }
    return out;
}

int spread(const QList<Reading>& readings, int index) {
    if (readings.size() < 2 || index < 0 || index >= ComparisonRecord::kValueCount)
        return -1;
    int low = readings.first().values[size_t(index)], high = low;
    for (const Reading& r : readings) {
        low = std::min(low, r.values[size_t(index)]);
        high = std::max(high, r.values[size_t(index)]);
    }
    return high - low;
}

} // namespace readings
