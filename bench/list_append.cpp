// Appending a whole instrument memory to the comparison list: rows per second and the memory
// the rows take, then how long a delete and a re-judge of the full list take. Then live
// comparisons into the full list, each through the event loop as the program runs it: the record
// judged, written to the history, listed, and the statistics, trend and counters brought up to
// date and painted.
#include "analysispanel.h"
#include "benchrecords.h"
#include "benchsupport.h"
#include "firstpagefor510.h"
#include "frameport.h"
#include "historystore.h"
#include "prompter.h"
#include "statisticspanel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTableView>
#include <QTemporaryDir>

namespace {

constexpr int kRows = 16384;
constexpr int kLive = 60;

BenchValues valuesAt(int i, int base, int spread) {
    BenchValues values{};
    for (int k = 0; k < ComparisonRecord::kValueCount; ++k)
        values[size_t(k)] = base + 100 * k + i % spread;
    return values;
}

ComparisonRecord recordAt(int i) {
    return judgedComparison(i + 1, QStringLiteral("Comp%1").arg(i + 1),
                            QDateTime(QDate(2024, 5, 6), QTime(10, i % 60)).toUTC(),
                            valuesAt(i, 1000, 100), valuesAt(i, 1050, 37));
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    LinkFramePort port; // never opened: the list needs no instrument
    FirstPageFor510 page(port, Prompter::messageBoxes());
    page.resize(1090, 646);
    page.show();
    page.setAnalysisShown(true);
    QApplication::processEvents();

    QList<ComparisonRecord> records;
    records.reserve(kRows);
    for (int i = 0; i < kRows; ++i)
        records.append(recordAt(i));
    const double before = residentMegabytes();

    // One row at a time, as comparisons arrive; the import appends the same way in blocks.
    QElapsedTimer timer;
    timer.start();
    for (const ComparisonRecord& r : records)
        page.session().append({r});
    QApplication::processEvents();
    const double seconds = timer.nsecsElapsed() / 1e9;
    const double after = residentMegabytes();
    bench("list_append_rows_per_s", kRows / seconds, "rows/s");
    bench("list_append_memory_mb", after - before, "MB");

    // Live comparisons into the full list, with the history the program writes them to first.
    QTemporaryDir dir;
    history::HistoryStore store;
    if (!store.open(dir.filePath(QStringLiteral("history.sqlite")))) {
        std::fprintf(stderr, "cannot open the history\n");
        return 1;
    }
    page.setHistory(&store);
    QApplication::processEvents();
    QVector<double> live, refresh;
    QElapsedTimer part;
    for (int i = 0; i < kLive; ++i) {
        timer.restart();
        // The comparison is judged and made a record as the session makes it from a reading.
        page.session().append({recordAt(kRows + i)});
        // The statistics, trend and panel brought up to date now rather than in the event loop,
        // to tell their share.
        part.start();
        page.analysis().statistics();
        refresh.append(part.nsecsElapsed() / 1e6);
        QApplication::processEvents();
        live.append(timer.nsecsElapsed() / 1e6);
    }
    if (page.analysis().statistics()->verdicts().total() != kRows + kLive) {
        std::fprintf(stderr, "the panel did not follow the live comparisons\n");
        return 1;
    }
    bench("list_append_live_ms", percentile(live, 0.5), "ms");
    bench("list_append_live_p90_ms", percentile(live, 0.9), "ms");
    bench("list_analysis_refresh_ms", percentile(refresh, 0.5), "ms");
    // The list's own figures below are measured as before, without the history.
    page.setHistory(nullptr);

    auto* list = page.findChild<QTableView*>(QStringLiteral("tableWidget_data"));
    timer.restart();
    page.session().removeRow(kRows / 2);
    QApplication::processEvents();
    bench("list_delete_ms", timer.nsecsElapsed() / 1e6, "ms");
    timer.restart();
    page.session().rejudge();
    QApplication::processEvents();
    bench("list_rejudge_ms", timer.nsecsElapsed() / 1e6, "ms");
    // The same with the analysis panel hidden: the list's own share of the work.
    page.setAnalysisShown(false);
    timer.restart();
    page.session().removeRow(kRows / 2);
    QApplication::processEvents();
    bench("list_delete_panel_hidden_ms", timer.nsecsElapsed() / 1e6, "ms");
    timer.restart();
    page.session().rejudge();
    QApplication::processEvents();
    bench("list_rejudge_panel_hidden_ms", timer.nsecsElapsed() / 1e6, "ms");
    page.setAnalysisShown(true);
    timer.restart();
    list->scrollToTop();
    list->repaint();
    bench("list_scroll_repaint_ms", timer.nsecsElapsed() / 1e6, "ms");
    page.clear();
    return 0;
}
