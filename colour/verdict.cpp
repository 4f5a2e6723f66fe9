#include "verdict.h"

#include <QCoreApplication>

#include <cmath>

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

int band(double delta) {
    if (delta < -4)
        return 0;
    if (delta < -0.2)
        return 1;
    if (delta > 4)
        return 4;
    if (delta > 0.2)
        return 3;
    return 2;
}

// A tolerance not yet read (negative) fails; NaN differences fail too.
bool within(double difference, double tolerance) {
    return tolerance >= 0 && std::fabs(difference) <= tolerance;
}

// A negative colour difference is the callers' mark for "no formula"; it must not pass.
bool deltaEWithin(double deltaE, double threshold) {
    return threshold >= 0 && deltaE >= 0 && deltaE <= threshold;
}

const char* const kPass = QT_TRANSLATE_NOOP("FirstPageFor510", "PASS");
const char* const kFail = QT_TRANSLATE_NOOP("FirstPageFor510", "NG");

} // namespace

const char* deviationWordSource(DeviationAxis axis, double delta) {
    return kWords[static_cast<int>(axis)][band(delta)];
}

QString deviationWord(DeviationAxis axis, double delta) {
    return QCoreApplication::translate(kVerdictContext, deviationWordSource(axis, delta));
}

bool passesNewLayout(int displayMode, double deltaHaze, double deltaT, double deltaE,
                     const Tolerances& tolerances) {
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
    if (judgesHaze && !within(deltaHaze, tolerances.haze))
        return false;
    if (judgesT && !within(deltaT, tolerances.t))
        return false;
    if (judgesDeltaE && !deltaEWithin(deltaE, tolerances.deltaE))
        return false;
    return true;
}

bool passesOldLayout(double deltaE, double deltaEThreshold) {
    return deltaEWithin(deltaE, deltaEThreshold);
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
