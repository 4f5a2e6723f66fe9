#include "conversions.h"

#include <algorithm>
#include <cmath>

namespace colour {

double hueAngle(double a, double b) {
    double h;
    if (a == 0) {
        h = b > 0 ? 90 : (b < 0 ? 270 : 0);
    } else if (b == 0) {
        h = a > 0 ? 0 : 180;
    } else {
        const double t = std::atan(b / a) * kDegPerRad;
        if (a < 0)
            h = t + 180;
        else if (b > 0)
            h = t;
        else
            h = t + 360;
    }
    // The firmware holds the angle within 0..360 whatever the arithmetic gives.
    return std::clamp(h, 0.0, 360.0);
}

double chroma(double a, double b) {
    return std::pow(a * a + b * b, 0.5);
}

namespace {

// Inverse of the L*a*b* companding with the firmware's rounded thresholds (just above 6/29 and
// just below 16/116, both strict).
double inverseCompand(double f) {
    if (f > 0.2068966)
        return f * f * f;
    if (f > 0.137931)
        return (f - 0.137931) / 7.787037;
    return 0;
}

} // namespace

Xyz labToXyz(double L, double a, double b) {
    const double fy = (L + 16) / 116;
    const double fx = fy + a / 500;
    const double fz = fy - b / 200;
    return {kWhiteX * inverseCompand(fx), kWhiteY * inverseCompand(fy),
            kWhiteZ * inverseCompand(fz)};
}

Uv xyzToUv(double L, double X, double Y, double Z) {
    const double d = X + 15 * Y + 3 * Z;
    // All-zero XYZ is black. A zero denominator from other (negative, non-physical) components
    // would only produce infinities or NaN, so it is treated the same way.
    if (d == 0)
        return {0, 0};
    const double u = 13 * L * (4 * X / d - kWhiteU);
    const double v = 13 * L * (9 * Y / d - kWhiteV);
    return {std::clamp(u, -kUvLimit, kUvLimit), std::clamp(v, -kUvLimit, kUvLimit)};
}

double recordHueAngle(double a, double b) {
    if (a == 0)
        return b < 0 ? 270 : (b > 0 ? 90 : 0);
    const double t = std::atan(b / a) * (45 / std::atan(1.0));
    if (a < 0)
        return t + 180;
    return b < 0 ? t + 360 : t;
}

Lch recordLch(const Lab& lab) {
    return {lab.L, std::sqrt(lab.a * lab.a + lab.b * lab.b), recordHueAngle(lab.a, lab.b)};
}

} // namespace colour
