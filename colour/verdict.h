#pragma once
// Words for the direction of a deviation and the PASS/NG judgement of a comparison.

#include <QString>
#include <Qt>

namespace colour {

// Translation context of the deviation words and verdict texts: the workspace page that shows them.
inline constexpr char kVerdictContext[] = "FirstPageFor510";

// The L*, a* and b* rows of the comparison table each have their own words.
enum class DeviationAxis { Lightness, RedGreen, YellowBlue };

// Every verdict and every word is decided on the numbers as the program shows them: differences
// in hundredths (two decimals), thresholds in tenths. A shown number then never contradicts
// the verdict or the word beside it.
long long toHundredths(double value);

// Word for a difference (sample minus standard) on one axis, on five bands with edges at -4,
// -0.2, 0.2 and 4; the +-0.2 band is "Normal" including its ends, -4 is "Slight ...". The
// double forms round to hundredths first.
const char* deviationWordSource(DeviationAxis axis, double delta);
const char* deviationWordSourceHundredths(DeviationAxis axis, long long deltaHundredths);
QString deviationWord(DeviationAxis axis, double delta);
QString deviationWordHundredths(DeviationAxis axis, long long deltaHundredths);

// What a comparison is judged on, in the units the instrument uses: differences and
// tolerances in hundredths of a percent point, the colour difference in hundredths and its
// threshold in tenths. A negative tolerance or threshold is not read yet and fails what uses
// it; a negative colour difference marks one without a formula and fails.
struct JudgedDifferences {
    long long haze = 0;
    long long t = 0;
    long long deltaE = 0;
};
struct JudgingLimits {
    int haze = -1;
    int t = -1;
    int deltaE = -1; // tenths
};
bool passes(int displayMode, const JudgedDifferences& differences, const JudgingLimits& limits);
bool passesOld(long long deltaEHundredths, int thresholdTenths);

// Tolerances of the workspace. Each is -1 until read from the instrument, and a negative
// tolerance fails every comparison that uses it.
struct Tolerances {
    double haze = -1;
    double t = -1;
    double deltaE = -1;
};

// Verdict of the current layout for display mode 0..6 (Haze/T, Haze, T, Lab, LCh, Yxy,
// Haze/T/Lab). A difference equal to its tolerance passes. Differences and the colour
// difference are taken at two decimals, the haze and T tolerances at two and the threshold at
// one, as shown.
bool passesNewLayout(int displayMode, double deltaHaze, double deltaT, double deltaE,
                     const Tolerances& tolerances);
// Verdict of the old layout: colour difference against the threshold only, at shown precision.
bool passesOldLayout(double deltaE, double deltaEThreshold);

// "PASS" / "NG": source text and translation in kVerdictContext.
const char* verdictSource(bool pass);
QString verdictText(bool pass);
// Verdict text as shown in another language ("PASS"/"合格", "NG"/"不合格") rewritten in the
// current one; any other text is returned unchanged.
QString retranslateVerdict(const QString& shown);

// Style sheet of the big verdict label.
QString verdictLabelStyle(bool pass);
// Background of the verdict cell of a list row.
Qt::GlobalColor verdictCellColour(bool pass);

} // namespace colour
