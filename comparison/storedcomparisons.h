#pragma once

#include "comparisonrecord.h"

#include <QList>

namespace records {
struct Comparison;
}

// Comparisons the instrument stored, as records of the program.
namespace storedcomparisons {

// Where a stored comparison came from: the instrument, the record area (display mode 0..6, or
// the old layout's) and its place in that area.
struct Origin {
    QString serialNumber;
    bool oldLayout = false;
    int displayMode = 0;
    int position = 0;
};

// A stored comparison of display mode 0..6 (or the old layout's Lab pairs when
// settings.oldLayout), judged with the settings given like every other comparison. Its id is
// made from its origin and its values, so the same record imported again has the same id and is
// recognised instead of stored twice.
ComparisonRecord fromStored(const records::Comparison& stored, const JudgingSettings& settings,
                            const Origin& origin);

} // namespace storedcomparisons
