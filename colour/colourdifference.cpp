#include "colourdifference.h"

#include <QCoreApplication>

#include <cmath>

namespace colour {

namespace {

double root(double x) {
    return std::pow(x, 0.5);
}

double square(double x) {
    return x * x;
}

// 25^7, the constant of the chroma weighting in CIEDE2000.
constexpr double k25Pow7 = 6103515625.0;

// Hue difference from the differences in a, b and chroma. Rounding can make the radicand a
// little negative for colours of the same hue; that is no hue difference.
double hueDifference(double da, double db, double dC) {
    const double ab2 = da * da + db * db;
    const double c2 = dC * dC;
    return ab2 >= c2 ? root(ab2 - c2) : 0;
}

} // namespace

double deltaEab(double L1, double a1, double b1, double L2, double a2, double b2) {
    return root(square(L2 - L1) + square(a2 - a1) + square(b2 - b1));
}

double deltaEuv(double L1, double a1, double b1, double L2, double a2, double b2) {
    const Xyz xyz1 = labToXyz(L1, a1, b1);
    const Xyz xyz2 = labToXyz(L2, a2, b2);
    const Uv uv1 = xyzToUv(L1, xyz1.X, xyz1.Y, xyz1.Z);
    const Uv uv2 = xyzToUv(L2, xyz2.X, xyz2.Y, xyz2.Z);
    return root(square(L2 - L1) + square(uv2.u - uv1.u) + square(uv2.v - uv1.v));
}

double deltaE94(double L1, double a1, double b1, double L2, double a2, double b2) {
    const double c1 = chroma(a1, b1);
    const double c2 = chroma(a2, b2);
    const double dC = c2 - c1;
    const double dH = hueDifference(a2 - a1, b2 - b1, dC);
    const double cg = root(c1 * c2);
    const double sc = 1 + 0.045 * cg;
    const double sh = 1 + 0.015 * cg;
    return root(square(dC / sc) + square(L2 - L1) + square(dH / sh));
}

double deltaECmc(double L1, double a1, double b1, double L2, double a2, double b2, double l) {
    const double c1 = chroma(a1, b1);
    const double c2 = chroma(a2, b2);
    const double dC = c2 - c1;
    const double dH = hueDifference(a2 - a1, b2 - b1, dC);
    const double sl = L1 >= 16 ? 0.040975 * L1 / (1 + 0.01765 * L1) : 0.511;
    const double sc = 0.0638 * c1 / (1 + 0.0131 * c1) + 0.638;
    const double c1p4 = square(square(c1));
    const double f = root(c1p4 / (c1p4 + 1900));
    const double h1 = hueAngle(a1, b1);
    const double t = (h1 >= 164 && h1 <= 345)
                         ? 0.56 + std::fabs(0.2 * std::cos((h1 + 168) * kRadPerDeg))
                         : 0.36 + std::fabs(0.4 * std::cos((h1 + 35) * kRadPerDeg));
    const double sh = sc * (f * t + 1 - f);
    return root(square((L2 - L1) / (l * sl)) + square(dC / sc) + square(dH / sh));
}

double deltaE00(double L1, double a1, double b1, double L2, double a2, double b2) {
    const double c1 = chroma(a1, b1);
    const double c2 = chroma(a2, b2);
    const double cMean7 = std::pow((c1 + c2) / 2, 7);
    const double g = 0.5 * (1 - root(cMean7 / (cMean7 + k25Pow7)));
    const double a1p = a1 * (1 + g);
    const double a2p = a2 * (1 + g);
    const double c1p = root(a1p * a1p + b1 * b1);
    const double c2p = root(a2p * a2p + b2 * b2);
    const double h1p = hueAngle(a1p, b1);
    const double h2p = hueAngle(a2p, b2);

    // Hue difference and mean hue go the short way round the circle.
    const double d = h2p - h1p;
    double dhp = d;
    double hMean = (h1p + h2p) / 2;
    if (std::fabs(d) > 180) {
        dhp = d > 180 ? d - 360 : d + 360;
        hMean = h1p + h2p < 360 ? (h1p + h2p + 360) / 2 : (h1p + h2p - 360) / 2;
    }

    const double dLp = L2 - L1;
    const double dCp = c2p - c1p;
    const double dHp = 2 * root(c1p * c2p) * std::sin(dhp * kRadPerDeg / 2);
    const double lMean = (L1 + L2) / 2;
    const double cpMean = (c1p + c2p) / 2;

    const double t = 1 - 0.17 * std::cos((hMean - 30) * kRadPerDeg) +
                     0.24 * std::cos(2 * hMean * kRadPerDeg) +
                     0.32 * std::cos((3 * hMean + 6) * kRadPerDeg) -
                     0.20 * std::cos((4 * hMean - 63) * kRadPerDeg);
    const double l50 = square(lMean - 50);
    const double sl = 1 + 0.015 * l50 / root(20 + l50);
    const double sc = 1 + 0.045 * cpMean;
    const double sh = 1 + 0.015 * cpMean * t;

    const double dTheta = 30 * std::exp(-square((hMean - 275) / 25));
    const double cpMean7 = std::pow(cpMean, 7);
    const double rc = 2 * root(cpMean7 / (cpMean7 + k25Pow7));
    const double rt = -rc * std::sin(2 * dTheta * kRadPerDeg);

    const double lTerm = dLp / sl;
    const double cTerm = dCp / sc;
    const double hTerm = dHp / sh;
    return root(lTerm * lTerm + cTerm * cTerm + hTerm * hTerm + rt * cTerm * hTerm);
}

int formulaCount(bool oldLayout) {
    return oldLayout ? 6 : 7;
}

double deltaEByIndex(int index, bool oldLayout, const Lab& standard, const Lab& sample) {
    const Lab& s = standard;
    const Lab& p = sample;
    switch (index) {
    case 1:
        return deltaEuv(s.L, s.a, s.b, p.L, p.a, p.b);
    case 2:
        return deltaE94(s.L, s.a, s.b, p.L, p.a, p.b);
    case 3:
        return deltaECmc(s.L, s.a, s.b, p.L, p.a, p.b, 2);
    case 4:
        return deltaECmc(s.L, s.a, s.b, p.L, p.a, p.b, 1);
    case 5:
        return oldLayout ? deltaE00(s.L, s.a, s.b, p.L, p.a, p.b)
                         : deltaECmc(s.L, s.a, s.b, p.L, p.a, p.b, 1.4);
    case 6:
        if (!oldLayout)
            return deltaE00(s.L, s.a, s.b, p.L, p.a, p.b);
        break;
    default:
        break;
    }
    return deltaEab(s.L, s.a, s.b, p.L, p.a, p.b);
}

namespace {

const char* const kCurrentLabels[] = {
    QT_TRANSLATE_NOOP("Colorimeter", "△E*ab"),
    QT_TRANSLATE_NOOP("Colorimeter", "△E*uv"),
    QT_TRANSLATE_NOOP("Colorimeter", "△E*94"),
    QT_TRANSLATE_NOOP("Colorimeter", "△E*cmc(2:1)"),
    QT_TRANSLATE_NOOP("Colorimeter", "△E*cmc(1:1)"),
    QT_TRANSLATE_NOOP("Colorimeter", "△E*cmc(1.4:1)"),
    QT_TRANSLATE_NOOP("Colorimeter", "△E*00"),
};

} // namespace

const char* formulaLabelSource(int index, bool oldLayout) {
    if (index < 0 || index >= formulaCount(oldLayout))
        return nullptr;
    // Old-layout firmware has CIEDE2000 where current firmware has CMC 1.4:1.
    if (oldLayout && index == 5)
        return kCurrentLabels[6];
    return kCurrentLabels[index];
}

QString formulaLabel(int index, bool oldLayout) {
    const char* source = formulaLabelSource(index, oldLayout);
    return source ? QCoreApplication::translate(kFormulaContext, source) : QString();
}

} // namespace colour
