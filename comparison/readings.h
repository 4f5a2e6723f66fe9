#pragma once
// Readings as the instrument's measurement blocks carry them, and several readings of one
// textured sample made into one: the mean of each quantity in the instrument's units, and how
// far the readings spread.

#include "comparisonrecord.h"

#include <QList>

struct ColorMeasurementBlock;
struct ModeResultBlock;
struct LegacyMeasurement;

namespace readings {

Reading readingOf(const ColorMeasurementBlock& block);
Reading readingOf(const ModeResultBlock& block);
Reading readingOf(const LegacyMeasurement& measurement);

// The mean of the readings. Hue angles do not average (350° and 10° are not 180° apart from
// the truth), so a* and b* are averaged and C* and h derived from them; where the instrument
// sent only C* and h, each reading's a*, b* are recovered from them first.
Reading mean(const QList<Reading>& readings, bool oldLayout);

// Max - min of that quantity over the readings, in its units; -1 for fewer than two readings.
int spread(const QList<Reading>& readings, int index);

} // namespace readings
