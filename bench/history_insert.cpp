// Writing the history: an import of 16,384 comparisons in one transaction, and the write of one
// live comparison (its own transaction, with the list entry) as the page does before showing it.
#include "benchsupport.h"
#include "historystore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <ctime>

using namespace history;

namespace {
HistoryComparison comparison(int i, const QDateTime& start) {
    HistoryComparison c;
    c.id = HistoryStore::newId();
    c.station = QStringLiteral("bench");
    c.model = QStringLiteral("KV510");
    c.serial = QStringLiteral("510A%1").arg(i % 20);
    c.name = QStringLiteral("Comp%1").arg(i);
    c.measuredAt = start.addSecs(i);
    c.source = Source::Imported;
    c.displayMode = 6;
    c.standard = {1.5, 90.25, 50, 2.5, -3, {}, {}, {}, {}, {}};
    c.sample = {1.5 + i % 7 * 0.1, 90, 50.5, 2.25, -3.5, {}, {}, {}, {}, {}};
    c.hazeTolerance = 0.5;
    c.tTolerance = 1;
    c.deltaEThreshold = 1.5;
    c.deltaHaze = i % 7 * 0.1;
    c.deltaT = -0.25;
    c.deltaE = 0.75;
    c.pass = i % 5 != 0;
    return c;
}
} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    HistoryStore store;
    if (!store.open(dir.filePath(QStringLiteral("history.sqlite")))) {
        std::fprintf(stderr, "%s\n", qPrintable(store.lastMessage()));
        return 1;
    }
    const QDateTime start = QDateTime::currentDateTimeUtc();

    constexpr int kImport = 16384;
    QVector<OpenListRow> rows;
    rows.reserve(kImport);
    for (int i = 0; i < kImport; ++i)
        rows << OpenListRow{comparison(i, start), double(i + 1)};
    QElapsedTimer timer;
    timer.start();
    const std::clock_t cpu = std::clock();
    if (!store.recordMany(rows, true))
        return 1;
    bench("history_insert_16384_import", double(timer.nsecsElapsed()) / 1e6, "ms");
    // The machine's other work shows in the wall time; the processor time is the program's own.
    bench("history_insert_16384_import_cpu", double(std::clock() - cpu) * 1000.0 / CLOCKS_PER_SEC,
          "ms");

    QVector<double> live;
    for (int i = 0; i < 1000; ++i) {
        HistoryComparison c = comparison(kImport + i, start);
        c.source = Source::Live;
        timer.restart();
        if (!store.record(c, kImport + i + 1))
            return 1;
        live << double(timer.nsecsElapsed()) / 1e6;
    }
    bench("history_insert_live_p50", percentile(live, 0.5), "ms");
    bench("history_insert_live_p99", percentile(live, 0.99), "ms");
    return 0;
}
