#pragma once
// Comparisons the benchmarks fill their lists with.

#include "comparisonrecord.h"
#include "comparisonrows.h"
#include "judging.h"

#include <QDateTime>
#include <QString>
#include <QUuid>

#include <array>

using BenchValues = std::array<int, ComparisonRecord::kValueCount>;

// A comparison in the widest display mode (Haze/T/Lab), judged against a threshold of 0.10 and
// `hazeTolerance` (in hundredths) with 1.00 for T, as measured by a KV510 numbered `serial`.
inline ComparisonRecord judgedComparison(int sequence, const QString& name, const QDateTime& time,
                                         const BenchValues& standard, const BenchValues& sample,
                                         int hazeTolerance = 100,
                                         const QString& serial = QStringLiteral("123456")) {
    ComparisonRecord r;
    r.id = QUuid::createUuid();
    r.sequence = sequence;
    r.name = name;
    r.time = time;
    r.standard = standard;
    r.sample = sample;
    r.settings.displayMode = 6;
    r.settings.hazeTolerance = hazeTolerance;
    r.settings.tTolerance = 100;
    r.settings.threshold = 10;
    judging::judge(r);
    r.model = QStringLiteral("KV510");
    r.serialNumber = serial;
    return r;
}
