#include "storedcomparisons.h"

#include "colour.h"
#include "instrumenttext.h"
#include "judging.h"
#include "quantities.h"
#include "records.h"

#include <QStringList>

#include <cmath>

namespace storedcomparisons {

namespace {

constexpr int kValueCount = ComparisonRecord::kValueCount;

// The namespace of imported records' ids (a fixed, random UUID of this program).
const QUuid kImportNamespace(QStringLiteral("{5b0c7a52-93d1-4c61-b7a4-2f0e8e4d6c19}"));

std::array<int, kValueCount> unitsOf(const records::Values& v) {
    const double values[kValueCount] = {v.haze,         v.transmittance, v.lStar,        v.aStar,
                                        v.bStar,        v.lchL,          v.lchC,         v.lchH,
                                        v.yTristimulus, v.xChromaticity, v.yChromaticity};
    std::array<int, kValueCount> out{};
    for (int i = 0; i < kValueCount; ++i)
        out[size_t(i)] = quantities::unitsOf(i, values[i]);
    return out;
}

int hundredths(double value) {
    return int(std::llround(value * 100));
}

// The old layout stores L*a*b* only; C* and h are derived, h kept at the tenth it is shown with.
std::array<int, kValueCount> oldUnitsOf(const records::Values& v) {
    std::array<int, kValueCount> out{};
    out[0] = hundredths(v.lStar);
    out[1] = hundredths(v.aStar);
    out[2] = hundredths(v.bStar);
    out[3] = hundredths(colour::chroma(v.aStar, v.bStar));
    out[4] = int(std::llround(colour::hueAngle(v.aStar, v.bStar) * 10)) * 10;
    return out;
}

QUuid idOf(const Origin& origin, const records::Comparison& stored, const ComparisonRecord& r) {
    QStringList parts{origin.serialNumber, origin.oldLayout ? QStringLiteral("old") : QString(),
                      QString::number(origin.displayMode), QString::number(origin.position),
                      QString::fromLatin1(stored.name.toHex())};
    for (const auto* side : {&r.standard, &r.sample})
        for (int v : *side)
            parts << QString::number(v);
    return QUuid::createUuidV5(kImportNamespace, parts.join(QLatin1Char('|')));
}

} // namespace

ComparisonRecord fromStored(const records::Comparison& stored, const JudgingSettings& settings,
                            const Origin& origin) {
    ComparisonRecord r;
    r.source = ComparisonSource::Imported;
    r.name = decodeInstrumentText(stored.name);
    r.settings = settings;
    r.standard = settings.oldLayout ? oldUnitsOf(stored.standard) : unitsOf(stored.standard);
    r.sample = settings.oldLayout ? oldUnitsOf(stored.sample) : unitsOf(stored.sample);
    r.id = idOf(origin, stored, r);
    judging::judge(r);
    return r;
}

} // namespace storedcomparisons
