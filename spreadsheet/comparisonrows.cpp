#include "comparisonrows.h"

#include "colour.h"
#include "instrumenttext.h"
#include "measurementcommands.h"
#include "records.h"

#include <QCoreApplication>

#include <cmath>

namespace comparisonrows {

namespace {

constexpr int kValueCount = ComparisonRecord::kValueCount;
// Haze, T, L*, a*, b*, L*, C*, h, Y, x, y
constexpr int kDecimals[kValueCount] = {2, 2, 2, 2, 2, 2, 2, 1, 2, 4, 4};
constexpr int kScale[kValueCount] = {100, 100, 100, 100, 100, 100, 100, 10, 100, 10000, 10000};

const QString kTimeFormat = QStringLiteral("yyyy/MM/dd  hh:mm");

colour::Lab labOf(const std::array<int, kValueCount>& v, int first) {
    return {v[size_t(first)] / 100.0, v[size_t(first + 1)] / 100.0, v[size_t(first + 2)] / 100.0};
}

int units(double value, int scale) {
    return int(std::llround(value * scale));
}

QString toleranceText(int hundredths, bool bare) {
    const QString number = hundredthsText(hundredths);
    if (bare)
        return number;
    return QCoreApplication::translate("FirstPageFor510", "±") + number +
           QCoreApplication::translate("FirstPageFor510", "%");
}

} // namespace

void judge(ComparisonRecord& r) {
    const JudgingSettings& s = r.settings;
    double deltaE = 0;
    if (s.oldLayout) {
        r.deltaHaze = r.deltaT = 0;
        const bool known = s.formula >= 0 && s.formula < colour::formulaCount(true);
        deltaE =
            known ? colour::deltaEByIndex(s.formula, true, labOf(r.standard, 0), labOf(r.sample, 0))
                  : -1;
        r.deltaE = known ? int(colour::toHundredths(deltaE)) : ComparisonRecord::kNoDeltaE;
        r.pass = colour::passesOld(r.deltaE, s.threshold);
        return;
    }
    r.deltaHaze = r.sample[0] - r.standard[0];
    r.deltaT = r.sample[1] - r.standard[1];
    const colour::Lab standard = labOf(r.standard, 2), sample = labOf(r.sample, 2);
    if (s.formula >= 0 && s.formula <= 6)
        deltaE = colour::deltaEByIndex(s.formula, false, standard, sample);
    else
        deltaE = colour::deltaEab(standard.L, standard.a, standard.b, sample.L, sample.a, sample.b);
    r.deltaE = int(colour::toHundredths(deltaE));
    r.pass = colour::passes(s.displayMode, {r.deltaHaze, r.deltaT, r.deltaE},
                            {s.hazeTolerance, s.tTolerance, s.threshold});
}

ComparisonRecord compare(const Reading& standard, const Reading& sample,
                         const JudgingSettings& settings) {
    ComparisonRecord r;
    r.id = QUuid::createUuid();
    r.standard = standard.values;
    r.sample = sample.values;
    r.settings = settings;
    judge(r);
    return r;
}

QString valueText(int index, int value) {
    QString text = QString::number(value / double(kScale[index]), 'f', kDecimals[index]);
    if (index < 2)
        text += QLatin1Char('%');
    return text;
}

double valueNumber(int index, int value) {
    return value / double(kScale[index]);
}

QString oldValueText(int index, int value) {
    return QString::number(value / 100.0, 'f', index == 4 ? 1 : 2);
}

QString differenceText(long long hundredths) {
    return QString::number(hundredths / 100.0, 'g', 6);
}

QString hundredthsText(long long hundredths) {
    return QString::number(hundredths / 100.0, 'f', 2);
}

QString thresholdText(int tenths) {
    return QString::number(tenths / 10.0, 'f', 1);
}

QString timeText(const QDateTime& time) {
    return time.toLocalTime().toString(kTimeFormat);
}

QString cellText(const ComparisonRecord& r, int c) {
    if (c >= ColStandard && c < ColSample)
        return valueText(c - ColStandard, r.standard[size_t(c - ColStandard)]);
    if (c >= ColSample && c < ColDeltaHaze)
        return valueText(c - ColSample, r.sample[size_t(c - ColSample)]);
    switch (c) {
    case ColNo:
        return QString::number(r.sequence);
    case ColName:
        return r.name;
    case ColTime:
        return timeText(r.time);
    case ColDeltaHaze:
        return hundredthsText(r.deltaHaze) + QLatin1Char('%');
    case ColDeltaT:
        return hundredthsText(r.deltaT) + QLatin1Char('%');
    case ColDeltaE:
        return hundredthsText(r.deltaE);
    case ColVerdict:
        return colour::verdictText(r.pass);
    case ColHazeTolerance:
        return toleranceText(r.settings.hazeTolerance, r.rejudged);
    case ColTTolerance:
        return toleranceText(r.settings.tTolerance, r.rejudged);
    case ColThreshold:
        return thresholdText(r.settings.threshold);
    case ColModel:
        return r.model;
    case ColSerial:
        return r.serialNumber;
    default:
        return QString();
    }
}

QString oldCellText(const ComparisonRecord& r, int c) {
    if (c >= OldColStandard && c < OldColSample)
        return oldValueText(c - OldColStandard, r.standard[size_t(c - OldColStandard)]);
    if (c >= OldColSample && c < OldColDeltaE)
        return oldValueText(c - OldColSample, r.sample[size_t(c - OldColSample)]);
    switch (c) {
    case ColNo:
        return QString::number(r.sequence);
    case ColName:
        return r.name;
    case ColTime:
        return timeText(r.time);
    case OldColDeltaE:
        return hundredthsText(r.deltaE);
    case OldColVerdict:
        return colour::verdictText(r.pass);
    case OldColFormula:
        return colour::formulaLabel(r.settings.formula, true);
    case OldColThreshold:
        return thresholdText(r.settings.threshold);
    case OldColModel:
        return r.model;
    case OldColSerial:
        return r.serialNumber;
    default:
        return QString();
    }
}

namespace {

QStringList rowTexts(const ComparisonRecord& record, int columns,
                     QString (*text)(const ComparisonRecord&, int)) {
    QStringList t;
    t.reserve(columns);
    for (int c = 0; c < columns; ++c)
        t << text(record, c);
    return t;
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

QStringList listRowTexts(const ComparisonRecord& record) {
    return rowTexts(record, ListColumns, cellText);
}

QStringList oldListRowTexts(const ComparisonRecord& record) {
    return rowTexts(record, OldListColumns, oldCellText);
}

Reading readingOf(const ColorMeasurementBlock& b) {
    return readingOfBlock(b);
}

Reading readingOf(const ModeResultBlock& b) {
    return readingOfBlock(b);
}

Reading readingOf(const LegacyMeasurement& m) {
    return {{m.lStar, m.aStar, m.bStar, m.chroma, m.hue}, m.red, m.green, m.blue};
}

namespace {

std::array<int, kValueCount> unitsOf(const records::Values& v) {
    const double values[kValueCount] = {v.haze,         v.transmittance, v.lStar,        v.aStar,
                                        v.bStar,        v.lchL,          v.lchC,         v.lchH,
                                        v.yTristimulus, v.xChromaticity, v.yChromaticity};
    std::array<int, kValueCount> out{};
    for (int i = 0; i < kValueCount; ++i)
        out[size_t(i)] = units(values[i], kScale[i]);
    return out;
}

// The old layout stores L*a*b* only; C* and h are derived, h kept at the tenth it is shown with.
std::array<int, kValueCount> oldUnitsOf(const records::Values& v) {
    std::array<int, kValueCount> out{};
    out[0] = units(v.lStar, 100);
    out[1] = units(v.aStar, 100);
    out[2] = units(v.bStar, 100);
    out[3] = units(colour::chroma(v.aStar, v.bStar), 100);
    out[4] = units(colour::hueAngle(v.aStar, v.bStar), 10) * 10;
    return out;
}

} // namespace

ComparisonRecord fromStored(const records::Comparison& stored, const JudgingSettings& settings) {
    ComparisonRecord r;
    r.id = QUuid::createUuid();
    r.source = ComparisonSource::Imported;
    r.name = decodeInstrumentText(stored.name);
    r.settings = settings;
    r.standard = settings.oldLayout ? oldUnitsOf(stored.standard) : unitsOf(stored.standard);
    r.sample = settings.oldLayout ? oldUnitsOf(stored.sample) : unitsOf(stored.sample);
    judge(r);
    return r;
}

} // namespace comparisonrows
