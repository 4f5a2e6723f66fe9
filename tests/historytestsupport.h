#pragma once

#include "historystore.h"

// A comparison of the Haze/T/Lab mode with every quantity the mode measures; `i` varies the
// numbers so rows tell apart.
inline history::HistoryComparison
makeComparison(int i, const QString& serial, const QDateTime& time,
               const QString& station = QStringLiteral("desk-1")) {
    history::HistoryComparison c;
    c.id = history::HistoryStore::newId();
    c.station = station;
    c.model = QStringLiteral("KV510");
    c.serial = serial;
    c.name = QStringLiteral("Comp%1").arg(i);
    c.measuredAt = time;
    c.source = history::Source::Live;
    c.displayMode = 6;
    c.standard.haze = 1.25;
    c.standard.t = 90.5;
    c.standard.l = 50;
    c.standard.a = 2.5;
    c.standard.b = -3;
    c.sample.haze = 1.25 + i * 0.01;
    c.sample.t = 90.25;
    c.sample.l = 50.5;
    c.sample.a = 2.25;
    c.sample.b = -3.5;
    c.hazeTolerance = 0.5;
    c.tTolerance = 1;
    c.deltaEThreshold = 1.5;
    c.deltaHaze = i * 0.01;
    c.deltaT = -0.25;
    c.deltaL = 0.5;
    c.deltaA = -0.25;
    c.deltaB = -0.5;
    c.deltaE = 0.75;
    c.pass = i % 3 != 0;
    return c;
}
