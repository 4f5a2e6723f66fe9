#pragma once
// The seven colour-difference formulas the instrument offers, selected by the formula index it
// stores. Every formula takes the standard (1) and the sample (2); differences are sample minus
// standard. The results are unrounded.

#include "conversions.h"

#include <QString>

namespace colour {

double deltaEab(double L1, double a1, double b1, double L2, double a2, double b2);
double deltaEuv(double L1, double a1, double b1, double L2, double a2, double b2);
// CIE94 weighted by the geometric mean of the two chromas.
double deltaE94(double L1, double a1, double b1, double L2, double a2, double b2);
// CMC(l:1), weighted from the standard only, so it is not symmetric.
double deltaECmc(double L1, double a1, double b1, double L2, double a2, double b2, double l);
double deltaE00(double L1, double a1, double b1, double L2, double a2, double b2);

// Number of formula indices the instrument group knows: 7 for current firmware, 6 for the old
// layout (which has no CMC 1.4:1).
int formulaCount(bool oldLayout);

// The formula of a stored index. Old-layout firmware numbers its formulas differently from index
// 5 on; an index it does not know, and any index outside 0..6, gives dE*ab.
double deltaEByIndex(int index, bool oldLayout, const Lab& standard, const Lab& sample);

// Label of a formula index, as source text (context "Colorimeter") or translated. Null for an
// index the instrument group does not have.
const char* formulaLabelSource(int index, bool oldLayout);
QString formulaLabel(int index, bool oldLayout);

inline constexpr char kFormulaContext[] = "Colorimeter";

} // namespace colour
