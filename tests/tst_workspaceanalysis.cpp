// The workspace's analysis against the virtual instrument: statistics and trend chart follow
// new, deleted and re-judged rows; exports carry the statistics sheet and numeric CSV; averaged
// readings with cancel; the verdict bar neutral before the first comparison.
#include "analysispanel.h"
#include "apptestsupport.h"
#include "colour.h"
#include "comparisonsheet.h"
#include "csvtable.h"
#include "excelengine.h"
#include "firstpagefor510.h"
#include "frameport.h"
#include "pagedriver.h"
#include "sheetcells.h"
#include "statisticspanel.h"
#include "trendchart.h"
#include "virtualinstrument.h"

#include <QFile>
#include <QLabel>
#include <QSettings>
#include <QStandardPaths>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace {

struct Rig {
    std::shared_ptr<sim::VirtualInstrument> instrument;
    LinkFramePort port;
    RecordingPrompter prompter;
    std::unique_ptr<FirstPageFor510> page;

    Rig() : instrument(sim::VirtualInstrument::fromPreset(QStringLiteral("KV510"))) {
        instrument->setTolerance({100, 100, 10}); // 1.00 %, 1.00 %, dE 1.0
        port.setTransportFactory([inst = instrument] { return inst->createTransport(); });
        port.setDelayFunction([](int) {});
        page = std::make_unique<FirstPageFor510>(port, prompter);
        page->setModelTable(ModelTable::load(QStringLiteral(VELORIN_METERNO)));
        page->setBlinkDelay(0);
        page->resize(1090, 646);
        if (port.openLink())
            page->onDeviceConnected();
        prompter.shown.clear();
    }
    ~Rig() { page->closeThreadSlot(); }
    void measure(int target, double haze) {
        instrument->setMeasurement(sim::measurementFromLab(haze, 80, 50, 10, 20));
        target == 1 ? pagedriver::call(page, "on_pushButton_standardMeasurement_clicked")
                    : pagedriver::call(page, "on_pushButton_sampleMeasurement_clicked");
    }
    void compare(double dHaze) {
        measure(1, 20);
        measure(2, 20 + dHaze);
    }
    QLabel* verdictBar() const { return page->findChild<QLabel*>("label_result"); }
    // The figures of the statistics row headed heading.
    const analysis::Summary& summary(const QString& heading) const {
        QTableWidget* table = page->analysis().statistics()->table();
        for (int row = 0; row < table->rowCount(); ++row)
            if (table->item(row, 0)->text() == heading)
                return page->analysis().statistics()->summaries().at(row);
        static const analysis::Summary none;
        return none;
    }
};

const QString kDeltaHaze = QStringLiteral("△Haze");

} // namespace

class TestWorkspaceAnalysis : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QSettings().clear();
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    }
    void analysisFollowsTheList();
    void exportsCarryStatisticsAndCsv();
    void averagedReadingsAndCancel();
};

void TestWorkspaceAnalysis::analysisFollowsTheList() {
    Rig rig;
    rig.page->setAnalysisShown(true);
    // Nothing compared yet: the bar must not look like a PASS.
    QVERIFY(rig.verdictBar()->text().isEmpty());
    QVERIFY(rig.verdictBar()->styleSheet() != colour::verdictLabelStyle(true));

    rig.compare(0.5);
    rig.compare(-0.3);
    rig.compare(2.0); // over the 1.00 % tolerance
    analysis::Summary s = rig.summary(kDeltaHaze);
    QCOMPARE(s.n, 3);
    QVERIFY(std::fabs(*s.mean - 2.2 / 3) < 1e-9);
    // Deviations from the mean -0.2333, -1.0333, 1.2667: squares sum to 2.726667 over n - 1 = 2.
    QVERIFY(std::fabs(*s.sd - std::sqrt(2.7266666666666666 / 2)) < 1e-9);
    QCOMPARE(*s.range, 2.3);
    QCOMPARE(rig.page->analysis().statistics()->verdicts().ng, 1);
    // ΔHaze against ±1.00 % (ΔT and no ΔE in the Haze/T mode): Cp = 2 / (6 s),
    // Cpk = (1 - mean) / (3 s).
    const QVector<analysis::Capability>& caps = rig.page->analysis().statistics()->capabilities();
    QCOMPARE(caps.size(), 2);
    QCOMPARE(caps.at(0).n, 3);
    QVERIFY(std::fabs(*caps.at(0).cp - 2.0 / (6 * *s.sd)) < 1e-9);
    QVERIFY(std::fabs(*caps.at(0).cpk - (1.0 - *s.mean) / (3 * *s.sd)) < 1e-9);
    QVERIFY(!caps.at(1).cp); // ΔT does not vary: no figure
    const trend::Plan& plan = rig.page->analysis().trend()->currentPlan();
    QCOMPARE(plan.panes.size(), 2); // ΔHaze and ΔT in the Haze/T mode
    QCOMPARE(plan.panes.at(0).points.size(), 3);
    QCOMPARE(plan.lastRow, 2);

    pagedriver::call(rig.page, "on_DeleteBtn_clicked", 2);
    s = rig.summary(kDeltaHaze);
    QCOMPARE(s.n, 2);
    QVERIFY(std::fabs(*s.mean - 0.1) < 1e-9);
    QCOMPARE(rig.page->analysis().statistics()->verdicts().ng, 0);
    QCOMPARE(rig.page->analysis().trend()->currentPlan().lastRow, 1);

    // Re-judged with a 0.20 % haze tolerance both rows fail, and the band narrows with it.
    QVERIFY(!rig.page->session().setTolerance(20, 100, 10));
    rig.page->session().rejudge();
    QCOMPARE(rig.page->analysis().statistics()->verdicts().ng, 2);
    const trend::Plan::Pane& pane = rig.page->analysis().trend()->currentPlan().panes.at(0);
    QCOMPARE(pane.band.top(), trend::yOf(pane, 0.2));

    // A click on a point selects its row.
    emit rig.page->analysis().trend()->rowClicked(1);
    auto* list = rig.page->findChild<QTableView*>("tableWidget_data");
    QCOMPARE(list->selectionModel()->selectedRows().value(0).row(), 1);

    // Hidden is remembered; a hidden panel is not recomputed.
    rig.page->setAnalysisShown(false);
    QCOMPARE(QSettings().value("workspace/analysisShown").toBool(), false);
    rig.compare(0.1);
    QCOMPARE(rig.summary(kDeltaHaze).n, 2);
    {
        Rig second;
        QVERIFY(!second.page->analysisShown());
        second.page->setAnalysisShown(true);
    }
    rig.page->setAnalysisShown(true);
    QCOMPARE(rig.summary(kDeltaHaze).n, 3);

    // Clear: no rows, figures empty, and the bar neutral again.
    rig.page->clear();
    QCOMPARE(rig.summary(kDeltaHaze).n, 0);
    QVERIFY(rig.verdictBar()->text().isEmpty());
    QVERIFY(rig.verdictBar()->styleSheet() != colour::verdictLabelStyle(true));
}

void TestWorkspaceAnalysis::exportsCarryStatisticsAndCsv() {
    QTemporaryDir dir;
    Rig rig;
    rig.compare(0.5);
    rig.compare(-0.25);
    const QString book = dir.filePath("list.xlsx");
    rig.prompter.files = {book};
    QVERIFY(pagedriver::callBool(rig.page, "on_pushButton_exportExcel_clicked"));
    QCOMPARE(rig.prompter.shown.last().text, "Data stored to file: " + book);

    ExcelEngine first(book);
    QVERIFY(first.open(1));
    QList<QVariantList> rows;
    QVERIFY(first.readAllData(rows));
    // The list's sheet as before: headings (from row 2), then the two comparisons.
    QCOMPARE(first.startRow(), 2);
    QCOMPARE(rows.value(0).value(0).toString(), comparisonsheet::headings(0).first());
    QCOMPARE(rows.size(), 3);

    ExcelEngine second(book);
    QVERIFY(second.open(2));
    rows.clear();
    QVERIFY(second.readAllData(rows));
    QCOMPARE(rows.first().value(0).toString(), QStringLiteral("Quantity"));
    // Cp and Cpk beside the figures, from column I.
    QCOMPARE(rows.first().value(8).toString(), QStringLiteral("Capability"));
    QCOMPARE(rows.value(1).value(8).toString(), kDeltaHaze);
    QCOMPARE(rows.value(1).value(9).toDouble(), 2.0);
    bool found = false;
    for (const QVariantList& row : rows) {
        if (row.value(0).toString() != kDeltaHaze)
            continue;
        found = true;
        QCOMPARE(row.value(1).toDouble(), 2.0);  // n
        QCOMPARE(row.value(2).toDouble(), 0.13); // mean 0.125, at the list's two decimals
        QCOMPARE(row.value(6).toDouble(), 0.75); // range
    }
    QVERIFY(found);
    QCOMPARE(rows.last().value(0).toString(), QStringLiteral("Pass rate (%)"));
    QCOMPARE(rows.last().value(1).toDouble(), 100.0);
    // Every figure a number in the format the panel shows it with; no number left as a text.
    const QList<StoredCell> figures = storedCells(book, 2);
    QCOMPARE(figures.last().format, QStringLiteral("0.0"));
    QVERIFY(figures.last().type.isEmpty());
    for (const StoredCell& c : figures) {
        bool number = false;
        c.value.toDouble(&number);
        QVERIFY2(!number || c.type.isEmpty(), qPrintable(c.ref));
    }

    // The same list as numbers in CSV, chosen by the file type.
    const QString numbers = dir.filePath("list.csv");
    rig.prompter.files = {numbers};
    QVERIFY(pagedriver::callBool(rig.page, "on_pushButton_exportExcel_clicked"));
    QFile f(numbers);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QList<csv::Record> records;
    QVERIFY(csv::parse(f.readAll(), records));
    QCOMPARE(records.size(), 3);
    QCOMPARE(records.at(0).fields, comparisonsheet::headings(0));
    const int dHaze = int(comparisonsheet::headings(0).indexOf(kDeltaHaze));
    QCOMPARE(records.at(2).fields.at(dHaze), QStringLiteral("-0.25"));
    QCOMPARE(records.at(2).fields.last(), QStringLiteral("PASS"));

    // A failure says why.
    rig.prompter.files = {dir.filePath("no/such/dir/list.xlsx")};
    QVERIFY(!pagedriver::callBool(rig.page, "on_pushButton_exportExcel_clicked"));
    QVERIFY(rig.prompter.shown.last().text.contains("no such directory"));
}

void TestWorkspaceAnalysis::averagedReadingsAndCancel() {
    Rig rig;
    rig.page->setReadingsPerMeasurement(2);
    QCOMPARE(QSettings().value("workspace/readingsPerMeasurement").toInt(), 2);
    rig.measure(1, 20);
    QCOMPARE(rig.verdictBar()->text(), QStringLiteral("Reading 1 of 2"));
    QVERIFY(!rig.page->session().hasStandard());
    // Esc discards the half set: nothing of it is kept.
    QTest::keyClick(rig.page.get(), Qt::Key_Escape);
    QVERIFY(rig.verdictBar()->text().isEmpty());
    QCOMPARE(rig.page->session().collectedReadings(), 0);

    rig.measure(1, 20.10);
    rig.measure(1, 20.30);
    QVERIFY(rig.page->session().hasStandard());
    QCOMPARE(rig.page->session().standard()->values[0], 2020);
    rig.measure(2, 21.00);
    rig.measure(2, 21.25);
    QCOMPARE(rig.page->session().list().totalCount(), 1);
    const ComparisonRecord& r = rig.page->session().list().record(0);
    QCOMPARE(r.sample[0], 2113); // 21.125 rounded to hundredths
    QCOMPARE(r.deltaHaze, 93);
    QCOMPARE(r.readings, 2);
    QCOMPARE(r.spread, 25);
    const QString tip = rig.page->session().list().index(0, 1).data(Qt::ToolTipRole).toString();
    QVERIFY(tip.contains("Mean of 2 readings") && tip.contains("0.25%"));
    // A sample set stopped half way puts back the comparison shown before it, sample included:
    // never a blank sample beside the previous differences and verdict.
    auto* table = rig.page->findChild<QTableWidget*>("tableWidget_colorDiff");
    const QString verdict = rig.verdictBar()->text();
    rig.measure(2, 30.00);
    QCOMPARE(table->item(1, 2)->text(), QStringLiteral("-----"));
    QTest::keyClick(rig.page.get(), Qt::Key_Escape);
    QCOMPARE(table->item(1, 2)->text(), QStringLiteral("21.13%"));
    QCOMPARE(table->item(1, 3)->text(), QStringLiteral("0.93%"));
    QCOMPARE(rig.verdictBar()->text(), verdict);
    rig.page->setReadingsPerMeasurement(1);
}

QTEST_MAIN(TestWorkspaceAnalysis)
#include "tst_workspaceanalysis.moc"
