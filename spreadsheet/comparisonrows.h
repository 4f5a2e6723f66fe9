#pragma once

#include "comparisonrecord.h"

#include <QStringList>

namespace records {
struct Comparison;
}
struct ColorMeasurementBlock;
struct ModeResultBlock;
struct LegacyMeasurement;

// Comparisons as numbers and as the texts every list, sheet and the command line show: the one
// judging path (live, pushed, imported and re-judged comparisons all go through judge()), the
// cell texts of both list layouts, and records made from what the instrument stores.
namespace comparisonrows {

// Columns of the current layout's list.
enum Column {
    ColNo = 0,
    ColName = 1,
    ColTime = 2,
    ColStandard = 3,
    ColSample = 14,
    ColDeltaHaze = 25,
    ColDeltaT = 26,
    ColDeltaE = 27,
    ColVerdict = 28,
    ColDelete = 29,
    ColReport = 30,
    ColHazeTolerance = 31,
    ColTTolerance = 32,
    ColThreshold = 33,
    ColModel = 34,
    ColSerial = 35,
    ListColumns = 36
};
// Columns of the old layout's list.
enum OldColumn {
    OldColStandard = 3,
    OldColSample = 8,
    OldColDeltaE = 13,
    OldColVerdict = 14,
    OldColDelete = 15,
    OldColReport = 16,
    OldColFormula = 17,
    OldColThreshold = 18,
    OldColModel = 19,
    OldColSerial = 20,
    OldListColumns = 21
};

// Differences, colour difference and verdict of a record from its two sides and settings.
void judge(ComparisonRecord& record);
// A fresh record of two readings, judged.
ComparisonRecord compare(const Reading& standard, const Reading& sample,
                         const JudgingSettings& settings);

// A value of the current layout (index 0..10) in instrument units as shown ("20.00%", "0.0000").
QString valueText(int index, int units);
// A value in instrument units as a number (percent, CIELAB units, degrees).
double valueNumber(int index, int units);
// Old layout: L*, a*, b*, C* with 2 decimals, h with 1 (all held in hundredths).
QString oldValueText(int index, int units);
// A difference in hundredths with up to 6 significant digits, as the comparison table shows it.
QString differenceText(long long hundredths);
QString hundredthsText(long long hundredths); // two decimals
QString thresholdText(int tenths);            // one decimal

// One cell text of a list row; the delete and report columns are empty.
QString cellText(const ComparisonRecord& record, int column);
QString oldCellText(const ComparisonRecord& record, int column);
QStringList listRowTexts(const ComparisonRecord& record);
QStringList oldListRowTexts(const ComparisonRecord& record);
// "yyyy/MM/dd  hh:mm" in local time.
QString timeText(const QDateTime& time);

// Readings of the measurement blocks.
Reading readingOf(const ColorMeasurementBlock& block);
Reading readingOf(const ModeResultBlock& block);
Reading readingOf(const LegacyMeasurement& measurement);

// A stored comparison of display mode 0..6 (or the old layout's Lab pairs when
// settings.oldLayout), judged with the settings in force like every other comparison.
ComparisonRecord fromStored(const records::Comparison& stored, const JudgingSettings& settings);

} // namespace comparisonrows
