// The history over one million comparisons: the counts the window shows (the query itself, on
// the counting connection's side), the first page of a filter, a page step while scrolling, and
// the memory the window holds once scrolled through every row.
#include "benchsupport.h"
#include "historywindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>

using namespace history;

namespace {

// The best of a few runs of `count` with this filter, in milliseconds.
double countMs(HistoryDatabase& db, const HistoryFilter& filter, int& rows) {
    double best = 1e9;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        const std::optional<HistoryCounts> counts = db.counts(filter);
        best = std::min(best, double(timer.nsecsElapsed()) / 1e6);
        rows = counts ? counts->rows : -1;
    }
    return best;
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const HistoryUrl url = HistoryUrl::sqliteFile(dir.filePath(QStringLiteral("history.sqlite")));
    HistoryDatabase db;
    if (!db.open(url))
        return 1;
    {
        // One million rows over two years, 50 instruments, made by SQLite itself.
        QSqlQuery fill(db.connection());
        const bool ok = fill.exec(QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 999999) "
            "INSERT INTO comparisons (id, station, model, serial, name, measured_at, source, "
            "layout, "
            "display_mode, std_haze, std_t, sam_haze, sam_t, haze_tolerance, t_tolerance, "
            "delta_haze, delta_t, verdict) "
            "SELECT printf('%08x-0000-4000-8000-000000000000', i), 'bench', 'KV510', "
            "'SN' || (i % 50), 'Comp' || i, "
            "strftime('%Y-%m-%dT%H:%M:%fZ', '2024-01-01', '+' || (i * 63) || ' seconds'), "
            "'live', 'new', 0, 1.5, 90, 1.5 + (i % 7) * 0.1, 89.5, 0.5, 1, (i % 7) * 0.1, -0.5, "
            "CASE WHEN i % 7 > 5 THEN 'NG' ELSE 'PASS' END FROM n"));
        // Rows written by SQL itself are counted into the tally afterwards.
        if (!ok || !db.recount()) {
            std::fprintf(stderr, "cannot fill the history\n");
            return 1;
        }
    }

    // The counts as the window's counter asks for them; what its thread then waits for.
    int rows = 0;
    bench("history_query_count_ms", countMs(db, {}, rows), "ms");
    if (rows != 1000000)
        return 1;
    HistoryFilter month;
    month.serial = QStringLiteral("SN7");
    month.from = QDateTime(QDate(2025, 3, 1), QTime(0, 0), Qt::UTC);
    month.to = QDateTime(QDate(2025, 4, 1), QTime(0, 0), Qt::UTC);
    bench("history_query_count_serial_month_ms", countMs(db, month, rows), "ms");
    HistoryFilter ng;
    ng.pass = false;
    bench("history_query_count_verdict_ms", countMs(db, ng, rows), "ms");
    // A year from 09:30 to 17:45 local time: whole days and two part-days.
    HistoryFilter year;
    year.from = QDateTime(QDate(2024, 3, 4), QTime(9, 30));
    year.to = QDateTime(QDate(2025, 3, 4), QTime(17, 45));
    bench("history_query_count_year_ms", countMs(db, year, rows), "ms");

    db.close();
    HistoryWindow window;
    window.resize(1200, 800);
    window.show();
    QElapsedTimer timer;
    timer.start();
    if (!window.setDatabase(url))
        return 1;
    window.view()->repaint();
    bench("history_query_first_page_unfiltered", double(timer.nsecsElapsed()) / 1e6, "ms");
    timer.restart();
    window.setFilter(month);
    window.view()->repaint();
    bench("history_query_first_page_serial_month", double(timer.nsecsElapsed()) / 1e6, "ms");

    // Scrolled to the end of every row, as a user dragging to the bottom again and again; the
    // worst page step counts, and what the window holds at the end beyond what it held with its
    // first page.
    window.setFilter({});
    const double before = residentMegabytes();
    HistoryQueryModel* model = window.model();
    QVector<double> steps;
    while (model->canFetchMore({})) {
        timer.restart();
        model->fetchMore({});
        window.view()->scrollToBottom();
        if (model->rowCount() % (64 * HistoryQueryModel::kPageRows) == 0)
            window.view()->repaint();
        steps << double(timer.nsecsElapsed()) / 1e6;
    }
    window.view()->repaint();
    bench("history_query_scroll_step_p99", percentile(steps, 0.99), "ms");
    bench("history_window_mb", residentMegabytes() - before, "MiB");
    bench("history_window_resident_mb", residentMegabytes(), "MiB");
    std::fprintf(stderr, "%d rows in the window\n", model->rowCount());
    return model->rowCount() == 1000000 ? 0 : 1;
}
