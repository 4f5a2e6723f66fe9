#include "verdict.h"

#include <QCoreApplication>

#include <cmath>
#include <cstdlib>

namespace colour {

namespace {

// Words per axis, from most negative band to most positive.
const char* const kWords[3][5] = {
    {QT_TRANSLATE_NOOP("FirstPageFor510", "More black"),
     QT_TRANSLATE_NOOP("FirstPageFor510", "Slight black"),
     QT_TRANSLATE_NOOP("FirstPageFor510", "Normal"),
     QT_TRANSLATE_NOOP("FirstPageFor510", "Slight white"),
     QT_TRANSLATE_NOOP("FirstPageFor510", "More white")},
    {QT_TRANSLATE_NOOP("FirstPageFor510", "More green"),
     QT_TRANSLATE_NOOP("FirstPageFor510", "Slight green"),
     QT_TRANSLATE_NOOP("FirstPageFor510", "Normal"),
     QT_TRANSLATE_NOOP("FirstPageFor510", "Slight red"),
     QT_TRANSLATE_NOOP("FirstPageFor510", "More red")},
    {QT_TRANSLATE_NOOP("FirstPageFor510", "More Blue"),
     QT_TRANSLATE_NOOP("FirstPageFor510", "Slight blue"),
     QT_TRANSLATE_NOOP("FirstPageFor510", "Normal"),
     QT_TRANSLATE_NOOP("FirstPageFor510", "Slight yellow"),
     QT_TRANSLATE_NOOP("FirstPageFor510", "More yellow")},
};

int band(long long hundredths) {
    if (hundredths < -400)
        return 0;
    if (hundredths < -20)
        return 1;
    if (hundredths > 400)
        return 4;
    if (hundredths > 20)
        return 3;
    return 2;
}

bool within(long long difference, int tolerance) {
    return tolerance >= 0 && std::llabs(difference) <= tolerance;
}

// A negative colour difference is the callers' mark for "no formula"; it must not pass.
bool deltaEWithin(long long deltaE, int thresholdTenths) {
    return thresholdTenths >= 0 && deltaE >= 0 && deltaE <= 10LL * thresholdTenths;
}

// NaN and values beyond any instrument reading become a difference no tolerance admits.
constexpr long long kUnjudgeable = 1LL << 40;

long long toTenths(double value) {
    if (!std::isfinite(value) || std::fabs(value) > 1e9)
        return -1;
    return std::llround(value * 10);
}

const char* const kPass = QT_TRANSLATE_NOOP("FirstPageFor510", "PASS");
const char* const kFail = QT_TRANSLATE_NOOP("FirstPageFor510", "NG");

} // namespace

long long toHundredths(double value) {
    if (!std::isfinite(value) || std::fabs(value) > 1e9)
        return value < 0 ? -kUnjudgeable : kUnjudgeable;
    return std::llround(value * 100);
}

const char* deviationWordSourceHundredths(DeviationAxis axis, long long deltaHundredths) {
    return kWords[static_cast<int>(axis)][band(deltaHundredths)];
}

const char* deviationWordSource(DeviationAxis axis, double delta) {
    return deviationWordSourceHundredths(axis, toHundredths(delta));
}

QString deviationWord(DeviationAxis axis, double delta) {
    return QCoreApplication::translate(kVerdictContext, deviationWordSource(axis, delta));
}

QString deviationWordHundredths(DeviationAxis axis, long long deltaHundredths) {
    return QCoreApplication::translate(kVerdictContext,
                                       deviationWordSourceHundredths(axis, deltaHundredths));
}

bool passesNewLayout(int displayMode, double deltaHaze, double deltaT, double deltaE,
                     const Tolerances& tolerances) {
    const auto limit = [](double tolerance) {
        return tolerance < 0 ? -1 : int(toHundredths(tolerance));
    };
    const long long threshold = toTenths(tolerances.deltaE);
    return passes(
        displayMode,
        {toHundredths(deltaHaze), toHundredths(deltaT),
         std::isnan(deltaE) ? -1 : toHundredths(deltaE)},
        {limit(tolerances.haze), limit(tolerances.t), tolerances.deltaE < 0 ? -1 : int(threshold)});
}

bool passes(int displayMode, const JudgedDifferences& differences, const JudgingLimits& limits) {
    bool judgesHaze = false;
    bool judgesT = false;
    bool judgesDeltaE = false;
    switch (displayMode) {
    case 0:
        judgesHaze = judgesT = true;
        break;
    case 1:
        judgesHaze = true;
        break;
    case 2:
        judgesT = true;
        break;
    case 3:
    case 4:
    case 5:
        judgesDeltaE = true;
        break;
    case 6:
        judgesHaze = judgesT = judgesDeltaE = true;
        break;
    default:
        // Nothing was judged, so nothing may pass.
        return false;
    }
    if (judgesHaze && !within(differences.haze, limits.haze))
        return false;
    if (judgesT && !within(differences.t, limits.t))
        return false;
    if (judgesDeltaE && !deltaEWithin(differences.deltaE, limits.deltaE))
        return false;
    return true;
}

bool passesOld(long long deltaEHundredths, int thresholdTenths) {
    return deltaEWithin(deltaEHundredths, thresholdTenths);
}

bool passesOldLayout(double deltaE, double deltaEThreshold) {
    if (std::isnan(deltaE) || deltaE < 0 || deltaEThreshold < 0)
        return false;
    return passesOld(toHundredths(deltaE), int(toTenths(deltaEThreshold)));
}

const char* verdictSource(bool pass) {
    return pass ? kPass : kFail;
}

QString verdictText(bool pass) {
    return QCoreApplication::translate(kVerdictContext, verdictSource(pass));
}

QString retranslateVerdict(const QString& shown) {
    if (shown == QLatin1String("PASS") || shown == QStringLiteral("合格"))
        return verdictText(true);
    if (shown == QLatin1String("NG") || shown == QStringLiteral("不合格"))
        return verdictText(false);
    return shown;
}

QString verdictLabelStyle(bool pass) {
    return pass ? QStringLiteral("QLabel{background-color: rgb(0, 255, 0);}")
                : QStringLiteral("QLabel{background:red;}");
}

Qt::GlobalColor verdictCellColour(bool pass) {
    return pass ? Qt::darkGreen : Qt::red;
}

} // namespace colour
