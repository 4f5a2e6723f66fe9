// Appending a whole instrument memory to the comparison list: rows per second and the memory
// the rows take, then how long a delete and a re-judge of the full list take.
#include "benchrecords.h"
#include "benchsupport.h"
#include "firstpagefor510.h"
#include "frameport.h"
#include "prompter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTableView>

namespace {

constexpr int kRows = 16384;

ComparisonRecord recordAt(int i) {
    BenchValues standard{}, sample{};
    for (int k = 0; k < ComparisonRecord::kValueCount; ++k) {
        standard[size_t(k)] = 1000 + 100 * k + i % 100;
        sample[size_t(k)] = 1050 + 100 * k + i % 37;
    }
    return judgedComparison(i + 1, QStringLiteral("Comp%1").arg(i + 1),
                            QDateTime(QDate(2024, 5, 6), QTime(10, i % 60)).toUTC(), standard,
                            sample);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    LinkFramePort port; // never opened: the list needs no instrument
    FirstPageFor510 page(port, Prompter::messageBoxes());
    page.resize(1090, 646);
    page.show();
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
