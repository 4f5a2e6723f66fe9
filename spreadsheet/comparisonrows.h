#pragma once

#include "comparisonrecord.h"

#include <QStringList>

namespace records {
struct Comparison;
}

// The comparison list's row texts and the rows made from records stored in the instrument.
// The workspace's lists and the command-line tool both format rows here, so a sheet written
// from either holds the same texts.
namespace comparisonrows {

// The texts of the current layout's 36 list columns (the delete and report columns empty).
QStringList listRowTexts(const ComparisonRecord& record);
// The texts of the old layout's 21 list columns (the delete and report columns empty).
QStringList oldListRowTexts(const OldComparisonRecord& record);

// What a stored comparison is judged against, and the texts every imported row carries.
struct Judging {
    double hazeTolerance = -1;
    double tTolerance = -1;
    double deltaEThreshold = -1;
    int formulaIndex = -1; // old layout only
    QString formulaText;   // old layout: the formula label shown on the page
    QString thresholdText; // old layout: the threshold as shown on the page
    QString model;
    QString serialNumber;
};

// A stored comparison of display mode 0..6 as a list row. The colour difference is always
// dE*ab: the records carry no formula, whatever the instrument is set to now. Sequence and
// time are the caller's. pass receives the verdict.
ComparisonRecord fromStored(int displayMode, const records::Comparison& stored,
                            const Judging& judging, bool& pass);
// A stored old-layout comparison (L*a*b* pairs) as an old-layout list row, its colour difference
// by the instrument's formula (-1, which fails, for an unknown formula).
OldComparisonRecord fromStoredOld(const records::Comparison& stored, const Judging& judging,
                                  bool& pass);

} // namespace comparisonrows
