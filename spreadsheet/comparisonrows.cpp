#include "comparisonrows.h"

#include "colour.h"
#include "instrumenttext.h"
#include "records.h"

#include <QCoreApplication>

namespace comparisonrows {

namespace {

constexpr int kValueCount = ComparisonRecord::kValueCount;
// Haze, T, L*, a*, b*, L*, C*, h, Y, x, y
constexpr int kDecimals[kValueCount] = {2, 2, 2, 2, 2, 2, 2, 1, 2, 4, 4};
constexpr int kOldDecimals[OldComparisonRecord::kValueCount] = {2, 2, 2, 2, 1};

QString valueText(int index, double value) {
    QString text = QString::number(value, 'f', kDecimals[index]);
    if (index < 2)
        text += QLatin1Char('%');
    return text;
}

std::array<double, kValueCount> valuesOf(const records::Values& v) {
    return {v.haze, v.transmittance, v.lStar,        v.aStar,         v.bStar,        v.lchL,
            v.lchC, v.lchH,          v.yTristimulus, v.xChromaticity, v.yChromaticity};
}

} // namespace

QStringList listRowTexts(const ComparisonRecord& r) {
    QStringList t;
    t.reserve(36);
    t << QString::number(r.sequence, 'g', 6) << r.name << r.time;
    for (int i = 0; i < kValueCount; ++i)
        t << valueText(i, r.standard[size_t(i)]);
    for (int i = 0; i < kValueCount; ++i)
        t << valueText(i, r.sample[size_t(i)]);
    t << QString::number(r.deltaHaze, 'f', 2) + QLatin1Char('%')
      << QString::number(r.deltaT, 'f', 2) + QLatin1Char('%') << QString::number(r.deltaE, 'f', 2)
      << r.verdict << QString() << QString();
    const QString plusMinus = QCoreApplication::translate("FirstPageFor510", "±");
    const QString percent = QCoreApplication::translate("FirstPageFor510", "%");
    t << plusMinus + r.hazeTolerance + percent << plusMinus + r.tTolerance + percent
      << r.deltaEThreshold << r.model << r.serialNumber;
    return t;
}

QStringList oldListRowTexts(const OldComparisonRecord& r) {
    QStringList t;
    t.reserve(21);
    t << QString::number(r.sequence, 'g', 6) << r.name << r.time;
    for (int i = 0; i < OldComparisonRecord::kValueCount; ++i)
        t << QString::number(r.standard[size_t(i)], 'f', kOldDecimals[i]);
    for (int i = 0; i < OldComparisonRecord::kValueCount; ++i)
        t << QString::number(r.sample[size_t(i)], 'f', kOldDecimals[i]);
    t << QString::number(r.deltaE, 'f', 2) << r.verdict << QString() << QString() << r.formula
      << r.deltaEThreshold << r.model << r.serialNumber;
    return t;
}

ComparisonRecord fromStored(int displayMode, const records::Comparison& stored,
                            const Judging& judging, bool& pass) {
    ComparisonRecord r;
    r.name = decodeInstrumentText(stored.name);
    r.standard = valuesOf(stored.standard);
    r.sample = valuesOf(stored.sample);
    r.deltaHaze = stored.sample.haze - stored.standard.haze;
    r.deltaT = stored.sample.transmittance - stored.standard.transmittance;
    const records::Values& s = stored.standard;
    const records::Values& p = stored.sample;
    r.deltaE = colour::deltaEab(s.lStar, s.aStar, s.bStar, p.lStar, p.aStar, p.bStar);
    pass = colour::passesNewLayout(
        displayMode, r.deltaHaze, r.deltaT, r.deltaE,
        {judging.hazeTolerance, judging.tTolerance, judging.deltaEThreshold});
    r.verdict = colour::verdictText(pass);
    r.hazeTolerance = QString::number(judging.hazeTolerance, 'f', 2);
    r.tTolerance = QString::number(judging.tTolerance, 'f', 2);
    r.deltaEThreshold = QString::number(judging.deltaEThreshold, 'f', 1);
    r.model = judging.model;
    r.serialNumber = judging.serialNumber;
    return r;
}

OldComparisonRecord fromStoredOld(const records::Comparison& stored, const Judging& judging,
                                  bool& pass) {
    OldComparisonRecord r;
    r.name = decodeInstrumentText(stored.name);
    const records::Values& s = stored.standard;
    const records::Values& p = stored.sample;
    r.standard = {s.lStar, s.aStar, s.bStar, colour::chroma(s.aStar, s.bStar),
                  colour::hueAngle(s.aStar, s.bStar)};
    r.sample = {p.lStar, p.aStar, p.bStar, colour::chroma(p.aStar, p.bStar),
                colour::hueAngle(p.aStar, p.bStar)};
    const bool known = judging.formulaIndex >= 0 && judging.formulaIndex <= 6;
    r.deltaE = known
                   ? colour::deltaEByIndex(judging.formulaIndex, true, {s.lStar, s.aStar, s.bStar},
                                           {p.lStar, p.aStar, p.bStar})
                   : -1;
    pass = colour::passesOldLayout(r.deltaE, judging.deltaEThreshold);
    r.verdict = colour::verdictText(pass);
    r.formula = judging.formulaText;
    r.deltaEThreshold = judging.thresholdText;
    r.model = judging.model;
    r.serialNumber = judging.serialNumber;
    return r;
}

} // namespace comparisonrows
