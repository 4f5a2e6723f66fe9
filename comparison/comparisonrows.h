#pragma once

#include "comparisonrecord.h"

#include <QStringList>

// The texts of a comparison as every list, sheet and the command line show them, formatted from
// the record's own numbers and settings (never from the page's state) and never read back.
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

// Shown where a setting was never read from the instrument.
QString notRead();
// A difference in hundredths with up to 6 significant digits, as the comparison table shows it.
QString differenceText(long long hundredths);
QString hundredthsText(long long hundredths); // two decimals
QString thresholdText(int tenths);            // one decimal; notRead() when unread
QString toleranceText(int hundredths);        // "±1.00%"; notRead() when unread

// One cell text of a list row; the delete and report columns are empty.
QString cellText(const ComparisonRecord& record, int column);
QString oldCellText(const ComparisonRecord& record, int column);
QStringList listRowTexts(const ComparisonRecord& record);
QStringList oldListRowTexts(const ComparisonRecord& record);
// "yyyy/MM/dd  hh:mm" in local time.
QString timeText(const QDateTime& time);

} // namespace comparisonrows
