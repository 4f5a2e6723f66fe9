#include "judging.h"

#include "colour.h"

#include <QUuid>

namespace judging {

namespace {

colour::Lab labOf(const std::array<int, ComparisonRecord::kValueCount>& v, int first) {
    return {v[size_t(first)] / 100.0, v[size_t(first + 1)] / 100.0, v[size_t(first + 2)] / 100.0};
}

} // namespace

void judge(ComparisonRecord& r) {
    const JudgingSettings& s = r.settings;
    if (s.oldLayout) {
        r.deltaHaze = r.deltaT = 0;
        const bool known = s.formula >= 0 && s.formula < colour::formulaCount(true);
        r.deltaE = known ? int(colour::toHundredths(colour::deltaEByIndex(
                               s.formula, true, labOf(r.standard, 0), labOf(r.sample, 0))))
                         : ComparisonRecord::kNoDeltaE;
        r.pass = colour::passesOld(r.deltaE, s.threshold);
        return;
    }
    r.deltaHaze = r.sample[0] - r.standard[0];
    r.deltaT = r.sample[1] - r.standard[1];
    const colour::Lab standard = labOf(r.standard, 2), sample = labOf(r.sample, 2);
    const double deltaE =
        s.formula >= 0 && s.formula <= 6
            ? colour::deltaEByIndex(s.formula, false, standard, sample)
            : colour::deltaEab(standard.L, standard.a, standard.b, sample.L, sample.a, sample.b);
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

bool appliesTo(const ListMeaning& meaning, const ComparisonRecord& record) {
    return ListMeaning::of(record) == meaning;
}

ComparisonRecord rejudged(ComparisonRecord record, const JudgingSettings& settings) {
    record.settings.hazeTolerance = settings.hazeTolerance;
    record.settings.tTolerance = settings.tTolerance;
    record.settings.threshold = settings.threshold;
    record.settings.formula = settings.formula;
    judge(record);
    return record;
}

} // namespace judging
