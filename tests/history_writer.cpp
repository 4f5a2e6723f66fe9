// Writes COUNT comparisons as one station does, each in its own transaction, for the tests of two
// programs writing one history at once: history_writer LOCAL_FILE COUNT STATION [LAB_URL]
// [--print]. Exits 0 once every row is written (and, with a lab database, copied there).
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
    const history::HistoryUrl lab = args.size() > 3 && args.at(3) != QLatin1String("--print")
                                        ? history::HistoryUrl::parse(args.at(3))
                                        : history::HistoryUrl{};
    store.open(args.at(0), lab);
    const int count = args.at(1).toInt();
    const QDateTime start = QDateTime::currentDateTimeUtc();
    // With --print each row's id goes out once its write returned, as a page shows a row.
    const bool print = args.contains(QStringLiteral("--print"));
    for (int i = 0; i < count; ++i) {
        const history::HistoryComparison row =
            makeComparison(i, QStringLiteral("SN-") + args.at(2), start.addMSecs(i), args.at(2));
        if (store.record(row) && print) {
            std::printf("%s\n", qPrintable(row.id));
            std::fflush(stdout);
        }
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
