#pragma once
// Where a colour-difference formula puts the edge of the tolerance around a standard: the
// distance along a direction at which the difference reaches the threshold, and from it the
// closed curve of (Δa*, Δb*) at ΔL* = 0 that the a*b* plot draws. Only ΔE*ab has a circle; the
// other formulas weight chroma and hue by the standard (and the sample), so the curve is found
// numerically from the formulas themselves, exactly as they judge.

#include "conversions.h"

#include <QPointF>
#include <QVector>

namespace colour {

// Samples farther from the standard than this (in L*a*b* units) are not searched: no colour the
// instruments report lies that far away.
inline constexpr double kToleranceSearchLimit = 400;

// The distance r from the standard along (dL, da, db) (any length) at which the formula of the
// index (as deltaEByIndex reads it) first reaches threshold: ΔE(standard, standard + r * unit
// direction) = threshold. NaN when the threshold is not positive, the direction is zero, or the
// difference stays below the threshold up to kToleranceSearchLimit (ΔE*uv does where the
// conversion to XYZ holds a component at zero).
double toleranceDistance(const Lab& standard, int formula, bool oldLayout, double threshold,
                         double dL, double da, double db);

// The contour at ΔL* = 0: one point (Δa*, Δb*) per direction, at equal angles counter-clockwise
// from +a*, the last joining the first. A direction without an edge within the search limit
// gives a NaN point, so the curve is open there. Empty for a threshold that is not positive.
QVector<QPointF> toleranceContour(const Lab& standard, int formula, bool oldLayout,
                                  double threshold, int directions = 360);

} // namespace colour
