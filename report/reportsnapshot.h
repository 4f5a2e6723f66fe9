#pragma once

#include "comparisonrecord.h"

#include <QString>

#include <array>

// The measured quantities a report can show. Values are plain numbers (percent for haze and
// transmittance), as the workspace shows them.
struct ReportValues {
    double haze = 0;
    double transmittance = 0;
    double L = 0; // CIE L*a*b*
    double a = 0;
    double b = 0;
    double lchL = 0; // CIE L*C*h
    double C = 0;
    double h = 0;
    double Y = 0; // Yxy
    double x = 0;
    double y = 0;
};

// Everything a report shows, copied from the workspace when a report page is opened. The page
// keeps its own copy, so later changes in the workspace never reach an open report; only company,
// tester and auditor are edited afterwards, through the information dialog.
//
// Filled by the workspace from a comparison-list row:
//  - current layout (ReportPageFor510): every field except chinese; haze and transmittance
//    differences as the list shows them (the page works out the colour differences itself);
//  - old layout (ReportPageFor620): sampleName, testTime, serialNumber, verdict, deltaEThreshold,
//    deltaEFormula, chinese, deltaE and the L, a, b, C, h values of standard and sample; device
//    is always "Colorimeter" and every difference is worked out by the page.
struct ReportSnapshot {
    QString sampleName;
    QString lot;      // the comparison's lot; empty: the report has no lot line
    QString testTime; // as the workspace shows it
    QString device;   // instrument model name
    QString serialNumber;
    QString company; // these three are replaced by the carried-over ReportPeople, if any
    QString tester;
    QString auditor;
    QString verdict;       // the PASS / NG wording
    QString hazeTolerance; // texts as shown in the workspace, e.g. "±1.00%"
    QString transmittanceTolerance;
    QString deltaEThreshold;
    QString deltaEFormula; // formula name, e.g. "△E*ab"

    // Which display mode is current: 0 haze + T, 1 haze, 2 T, 3 L*a*b*, 4 LCh, 5 Yxy,
    // 6 haze + T + L*a*b*.
    std::array<bool, 7> displayModes{};
    bool chinese = false; // the interface is Chinese (picks the Chinese old-layout document)
    int uiIndex = 0;      // the instrument's interface kind; 1 shows the formula row

    ReportValues standard;
    ReportValues sample;
    ReportValues difference; // sample minus standard; haze and T as supplied by the workspace
    double deltaE = 0;
};

// Company, tester and auditor as the user last confirmed them. Whoever opens reports keeps one
// for the life of the program and hands it to each report page: a new page starts from it and
// the information dialog writes back into it.
struct ReportPeople {
    QString company;
    QString tester;
    QString auditor;
};

namespace report {

// What a report shows of one comparison, made from its record alone: its own display mode,
// tolerances, threshold, formula, instrument and verdict, whatever the workspace shows now.
// `chinese` picks the old layout's Chinese document.
ReportSnapshot snapshotOf(const ComparisonRecord& record, bool chinese);

// The values of a list row in column order: haze, T, L*, a*, b*, L*, C*, h, Y, x, y.
ReportValues valuesFromListOrder(const std::array<double, 11>& v);
// The values of an old-layout list row in column order: L*, a*, b*, C*, h.
ReportValues valuesFromOldListOrder(const std::array<double, 5>& v);

// Differences of the colour quantities (sample minus standard) of the current-layout report:
// L*, a*, b*, L*, C*, h, Y, x, y. Haze and transmittance are left as supplied.
void computeColourDifferencesFor510(ReportSnapshot& snapshot);
// Differences of L*, a*, b*, C*, h for the old-layout report.
void computeColourDifferencesFor620(ReportSnapshot& snapshot);

} // namespace report
