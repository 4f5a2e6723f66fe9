#include "reportsnapshot.h"

#include "colour.h"
#include "comparisonrows.h"
#include "quantities.h"

namespace report {

ReportSnapshot snapshotOf(const ComparisonRecord& r, bool chinese) {
    using namespace comparisonrows;
    const JudgingSettings& settings = r.settings;
    ReportSnapshot s;
    s.sampleName = r.name;
    s.testTime = timeText(r.time);
    s.serialNumber = r.serialNumber;
    s.lot = r.lot;
    s.verdict = colour::verdictText(r.pass);
    s.deltaE = r.deltaE / 100.0;
    s.chinese = chinese;
    s.uiIndex = uiIndexOf(r.kind);
    s.deltaEThreshold = thresholdText(settings.threshold);
    if (settings.oldLayout) {
        std::array<double, ComparisonRecord::kOldValueCount> standard{}, sample{};
        for (int i = 0; i < ComparisonRecord::kOldValueCount; ++i) {
            standard[size_t(i)] = r.standard[size_t(i)] / 100.0;
            sample[size_t(i)] = r.sample[size_t(i)] / 100.0;
        }
        s.standard = valuesFromOldListOrder(standard);
        s.sample = valuesFromOldListOrder(sample);
        s.deltaEFormula = oldCellText(r, OldColFormula);
        s.device = QStringLiteral("Colorimeter");
        return s;
    }
    std::array<double, ComparisonRecord::kValueCount> standard{}, sample{};
    for (int i = 0; i < ComparisonRecord::kValueCount; ++i) {
        standard[size_t(i)] = quantities::valueNumber(i, r.standard[size_t(i)]);
        sample[size_t(i)] = quantities::valueNumber(i, r.sample[size_t(i)]);
    }
    s.standard = valuesFromListOrder(standard);
    s.sample = valuesFromListOrder(sample);
    s.difference.haze = r.deltaHaze / 100.0;
    s.difference.transmittance = r.deltaT / 100.0;
    s.hazeTolerance = toleranceText(settings.hazeTolerance);
    s.transmittanceTolerance = toleranceText(settings.tTolerance);
    // The formula it was judged with; without one, the plain CIELAB distance.
    s.deltaEFormula = colour::formulaLabel(std::max(settings.formula, 0), false);
    s.device = r.model;
    if (settings.displayMode >= 0 && settings.displayMode < int(s.displayModes.size()))
        s.displayModes[size_t(settings.displayMode)] = true;
    return s;
}

ReportValues valuesFromListOrder(const std::array<double, 11>& v) {
    return {v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10]};
}

ReportValues valuesFromOldListOrder(const std::array<double, 5>& v) {
    ReportValues r;
    r.L = v[0];
    r.a = v[1];
    r.b = v[2];
    r.C = v[3];
    r.h = v[4];
    return r;
}

void computeColourDifferencesFor510(ReportSnapshot& s) {
    ReportValues& d = s.difference;
    d.L = s.sample.L - s.standard.L;
    d.a = s.sample.a - s.standard.a;
    d.b = s.sample.b - s.standard.b;
    d.lchL = s.sample.lchL - s.standard.lchL;
    d.C = s.sample.C - s.standard.C;
    d.h = s.sample.h - s.standard.h;
    d.Y = s.sample.Y - s.standard.Y;
    d.x = s.sample.x - s.standard.x;
    d.y = s.sample.y - s.standard.y;
}

void computeColourDifferencesFor620(ReportSnapshot& s) {
    ReportValues& d = s.difference;
    d.L = s.sample.L - s.standard.L;
    d.a = s.sample.a - s.standard.a;
    d.b = s.sample.b - s.standard.b;
    d.C = s.sample.C - s.standard.C;
    d.h = s.sample.h - s.standard.h;
}

} // namespace report
