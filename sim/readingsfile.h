#pragma once

#include "virtualinstrument.h"

#include <QList>
#include <QString>

namespace sim {

// A readings file for the virtual instrument: one measurement per line, "haze T L a b" in
// percent and CIELAB units (two decimals), the other quantities derived as the presets do.
// Blank lines are skipped; LF, CR LF and CR end lines. False with the reason (naming the line)
// when a line does not parse. loadReadings takes a regular file of at most 4 MB and keeps it
// from being overwritten by the program while it runs.
bool parseReadings(const QString& text, QList<Measurement>& out, QString& error);
bool loadReadings(const QString& path, QList<Measurement>& out, QString& error);

} // namespace sim
