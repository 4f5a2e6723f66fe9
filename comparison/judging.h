#pragma once

#include "comparisonrecord.h"

// The one judging path: live, pushed, imported and re-judged comparisons all go through judge().
namespace judging {

// Differences, colour difference and verdict of a record from its two sides and its own settings.
void judge(ComparisonRecord& record);
// A fresh record of two readings, judged.
ComparisonRecord compare(const Reading& standard, const Reading& sample,
                         const JudgingSettings& settings);
// Whether settings set on `meaning` apply to the record: the same columns and instrument. A
// record of another mode or instrument keeps what it was judged with.
bool appliesTo(const ListMeaning& meaning, const ComparisonRecord& record);
// The record judged again with new tolerances, threshold and formula; its layout and display
// mode stay its own.
ComparisonRecord rejudged(ComparisonRecord record, const JudgingSettings& settings);

} // namespace judging
