// The history window over one million comparisons: the first page of a filter by serial and one
// month, the unfiltered first page, the count and pass rate, and the memory the window holds.
#include "benchsupport.h"
#include "historywindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>

using namespace history;

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const HistoryUrl url = HistoryUrl::sqliteFile(dir.filePath(QStringLiteral("history.sqlite")));
    {
        HistoryDatabase db;
        if (!db.open(url))
            return 1;
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
        if (!ok) {
            std::fprintf(stderr, "cannot fill the history\n");
            return 1;
        }
    }
    const double before = residentMegabytes();
    HistoryWindow window;
    window.resize(1200, 800);
    window.show();
    QElapsedTimer timer;
    timer.start();
    if (!window.setDatabase(url))
        return 1;
    window.view()->repaint();
    bench("history_query_first_page_unfiltered", double(timer.nsecsElapsed()) / 1e6, "ms");
    // The count comes from its own thread; the window stays free meanwhile.
    const auto waitCount = [&window] {
        QEventLoop loop;
        QObject::connect(&window, &HistoryWindow::countsChanged, &loop, &QEventLoop::quit);
        loop.exec();
    };
    timer.restart();
    waitCount();
    bench("history_query_count_unfiltered", double(timer.nsecsElapsed()) / 1e6, "ms");

    HistoryFilter filter;
    filter.serial = QStringLiteral("SN7");
    filter.from = QDateTime(QDate(2025, 3, 1), QTime(0, 0), Qt::UTC);
    filter.to = QDateTime(QDate(2025, 4, 1), QTime(0, 0), Qt::UTC);
    timer.restart();
    window.setFilter(filter); // the query and its first page; the count follows in the event loop
    const double firstPage = double(timer.nsecsElapsed()) / 1e6;
    window.view()->repaint();
    bench("history_query_first_page_serial_month", firstPage, "ms");
    timer.restart();
    waitCount();
    bench("history_query_count_serial_month", double(timer.nsecsElapsed()) / 1e6, "ms");
    if (window.filteredCount() == 0)
        return 1;

    window.setFilter({});
    waitCount();
    // Page down through the first 10,000 rows as a user would; the worst step counts.
    QVector<double> steps;
    for (int row = 0; row < 10000; row += 40) {
        timer.restart();
        if (window.model()->canFetchMore({}) && row + 100 > window.model()->rowCount())
            window.model()->fetchMore({});
        window.view()->scrollTo(window.model()->index(row, 1), QAbstractItemView::PositionAtTop);
        window.view()->repaint();
        steps << double(timer.nsecsElapsed()) / 1e6;
    }
    bench("history_query_scroll_step_p99", percentile(steps, 0.99), "ms");
    bench("history_window_memory_1M_rows", residentMegabytes() - before, "MiB");
    std::fprintf(stderr, "%d rows, %.1f%% pass\n", window.filteredCount(), window.passRate());
    return 0;
}
