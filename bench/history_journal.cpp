// The workspace's path into the history: 16,384 imported comparisons written through the journal
// (mapping and one transaction) before the list takes them, one live comparison's write, and the
// restore of that list at the next start.
#include "benchrecords.h"
#include "benchsupport.h"
#include "comparisonsession.h"
#include "frameport.h"
#include "historyjournal.h"
#include "historystore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

namespace {

ComparisonRecord recordAt(int i, ComparisonSource source) {
    const BenchValues standard = {2000, 8000, 5000, 1000, 2000, 5000, 2236, 634, 4000, 3500, 3600};
    BenchValues sample = standard;
    sample[0] += i % 150;
    ComparisonRecord r = judgedComparison(i + 1, QStringLiteral("Comp%1").arg(i + 1),
                                          QDateTime::currentDateTimeUtc(), standard, sample);
    r.source = source;
    return r;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("history.sqlite"));
    constexpr int kImport = 16384;
    QList<ComparisonRecord> records;
    for (int i = 0; i < kImport; ++i)
        records.append(recordAt(i, ComparisonSource::Imported));
    LinkFramePort port; // never opened: appending needs no instrument
    {
        history::HistoryStore store;
        if (!store.open(file))
            return 1;
        ComparisonSession session(port);
        HistoryJournal journal(store, session);
        QElapsedTimer timer;
        timer.start();
        session.append(records);
        bench("history_journal_16384_import", double(timer.nsecsElapsed()) / 1e6, "ms");
        QVector<double> live;
        for (int i = 0; i < 500; ++i) {
            const ComparisonRecord r = recordAt(kImport + i, ComparisonSource::Live);
            timer.restart();
            session.append({r});
            live << double(timer.nsecsElapsed()) / 1e6;
        }
        bench("history_journal_live_p99", percentile(live, 0.99), "ms");
    }
    history::HistoryStore store;
    if (!store.open(file))
        return 1;
    ComparisonSession session(port);
    HistoryJournal journal(store, session);
    QElapsedTimer timer;
    timer.start();
    const int restored = journal.restore();
    bench("history_journal_restore_16884_rows", double(timer.nsecsElapsed()) / 1e6, "ms");
    return restored == kImport + 500 ? 0 : 1;
}
