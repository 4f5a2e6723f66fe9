// Writes COUNT comparisons as one station does, each in its own transaction, for the tests of two
// programs writing one history at once: history_writer LOCAL_FILE COUNT STATION [LAB_URL]
// [--print] [--rejudge]. Exits 0 once every row is written (and, with a lab database, copied
// there). With --rejudge it then re-judges the rows in turn until it is killed, printing
// "N ID" once re-judging N (haze tolerance N, PASS when N is even) of row ID returned.
#include "historytestsupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 3)
        return 2;
    history::HistoryStore store;
    store.setBusyTimeout(30000);
    const history::HistoryUrl lab = args.size() > 3 && !args.at(3).startsWith(QLatin1String("--"))
                                        ? history::HistoryUrl::parse(args.at(3))
                                        : history::HistoryUrl{};
    store.open(args.at(0), lab);
    const int count = args.at(1).toInt();
    const QDateTime start = QDateTime::currentDateTimeUtc();
    // With --print each row's id goes out once its write returned, as a page shows a row.
    const bool print = args.contains(QStringLiteral("--print"));
    QVector<history::HistoryComparison> rows;
    for (int i = 0; i < count; ++i) {
        rows << makeComparison(i, QStringLiteral("SN-") + args.at(2), start.addMSecs(i),
                               args.at(2));
        if (store.record(rows.last()) && print) {
            std::printf("%s\n", qPrintable(rows.last().id));
            std::fflush(stdout);
        }
    }
    for (int n = 0; args.contains(QStringLiteral("--rejudge")) && !rows.isEmpty(); ++n) {
        history::HistoryComparison& row = rows[n % rows.size()];
        row.hazeTolerance = n;
        row.pass = n % 2 == 0;
        if (!store.updateJudging({row}))
            return 1;
        std::printf("%d %s\n", n, qPrintable(row.id));
        std::fflush(stdout);
    }
    if (!store.retry()) {
        std::fprintf(stderr, "history_writer: %s\n", qPrintable(store.lastMessage()));
        return 1;
    }
    if (!store.hasLab())
        return 0;
    // Done when the local queue for the lab is empty; the signals may lag behind.
    history::HistoryDatabase local;
    if (!local.open(history::HistoryUrl::sqliteFile(args.at(0)), 30000))
        return 1;
    QElapsedTimer waited;
    waited.start();
    while (local.outboxSize() != 0) {
        if (waited.elapsed() > 120000) {
            std::fprintf(stderr, "history_writer: not synced: %s\n",
                         qPrintable(store.syncMessage()));
            return 1;
        }
        QThread::msleep(50);
        QCoreApplication::processEvents();
    }
    return 0;
}
