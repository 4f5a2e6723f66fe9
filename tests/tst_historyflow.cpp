// The workspace and velorin-cli over the measurement history: rows written before they are listed,
// the list restored after the page ends without Clear, and rows kept when the history is off.
#include "apptestsupport.h"
#include "comparisonrows.h"
#include "firstpagefor510.h"
#include "frameport.h"
#include "historyjournal.h"
#include "historystore.h"
#include "historywindow.h"
#include "meterpagefor510.h"
#include "pagedriver.h"
#include "productsdialog.h"
#include "virtualinstrument.h"
#include "workspacehistory.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QDateTime kNow(QDate(2024, 5, 6), QTime(10, 30));

struct Rig {
    std::shared_ptr<sim::VirtualInstrument> instrument;
    LinkFramePort port;
    RecordingPrompter prompter;
    history::HistoryStore store;
    std::unique_ptr<FirstPageFor510> page;
    int restored = 0;

    Rig(const QString& model, const QString& historyFile)
        : instrument(sim::VirtualInstrument::fromPreset(model)) {
        instrument->setTolerance({100, 100, 10});
        instrument->setDeltaEParam({0, 10});
        port.setTransportFactory([inst = instrument] { return inst->createTransport(); });
        port.setDelayFunction([](int) {});
        store.open(historyFile);
        page = std::make_unique<FirstPageFor510>(port, prompter);
        page->setModelTable(ModelTable::load(QStringLiteral(VELORIN_METERNO)));
        page->setBlinkDelay(0);
        page->setClock([] { return kNow; });
        restored = page->setHistory(&store);
    }
    ~Rig() {
        if (page)
            page->closeThreadSlot();
    }
    bool connect() {
        if (!port.openLink())
            return false;
        page->openThreadSlot();
        page->onDeviceConnected();
        prompter.shown.clear();
        return page->session().displayMode() >= 0 || page->session().oldLayout();
    }
    void compare(double haze, double L) {
        instrument->setMeasurement(sim::measurementFromLab(20, 80, 50, 10, 20));
        page->session().oldLayout()
            ? pagedriver::call(page, "on_stdmeasurementBtn_clicked")
            : pagedriver::call(page, "on_pushButton_standardMeasurement_clicked");
        instrument->setMeasurement(sim::measurementFromLab(haze, 80, L, 10, 20));
        page->session().oldLayout()
            ? pagedriver::call(page, "on_samplemeasurementBtn_clicked")
            : pagedriver::call(page, "on_pushButton_sampleMeasurement_clicked");
    }
    const ComparisonListModel& list() { return page->session().list(); }
};

// Every member a list row is made from.
void compareRecords(const ComparisonRecord& a, const ComparisonRecord& b) {
    QCOMPARE(a.id, b.id);
    QCOMPARE(a.source, b.source);
    QCOMPARE(a.sequence, b.sequence);
    QCOMPARE(a.name, b.name);
    QCOMPARE(a.time, b.time);
    QVERIFY(a.standard == b.standard);
    QVERIFY(a.sample == b.sample);
    QCOMPARE(a.settings.oldLayout, b.settings.oldLayout);
    QCOMPARE(a.settings.displayMode, b.settings.displayMode);
    QCOMPARE(a.settings.hazeTolerance, b.settings.hazeTolerance);
    QCOMPARE(a.settings.tTolerance, b.settings.tTolerance);
    QCOMPARE(a.settings.threshold, b.settings.threshold);
    QCOMPARE(a.settings.formula, b.settings.formula);
    QCOMPARE(a.deltaHaze, b.deltaHaze);
    QCOMPARE(a.deltaT, b.deltaT);
    QCOMPARE(a.deltaE, b.deltaE);
    QCOMPARE(a.pass, b.pass);
    QCOMPARE(a.readings, b.readings);
    QCOMPARE(a.spread, b.spread);
    QCOMPARE(a.model, b.model);
    QCOMPARE(a.serialNumber, b.serialNumber);
}

QString idText(const ComparisonRecord& r) {
    return r.id.toString(QUuid::WithoutBraces);
}

QByteArray runCli(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(VELORIN_CLI), args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return "failed: " + p.readAllStandardError();
    return p.readAllStandardOutput();
}

} // namespace

class TestHistoryFlow : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    }
    void rowsAreInTheHistoryBeforeTheList_data();
    void rowsAreInTheHistoryBeforeTheList();
    void pageEndedWithoutClearComesBackExactly_data();
    void pageEndedWithoutClearComesBackExactly();
    void restoredStandardOfAnotherInstrumentIsDropped();
    void deleteRenameAndClear();
    void historyOffKeepsRowsListed();
    void historyWindowExportsAndReports();
    void spectraAreInTheHistoryBeforeTheList();
    void commandLineComparisonsAreInTheHistory();
    void rejudgedVerdictsOutliveACrash();
    void namesGoOnAfterTheLastRowWasDeleted();
    void restoreInAnotherModeClosesTheList();
    void recordsImportedTwiceAreStoredOnce();
    void pageKeepsProductsAndLots();
    void killedCommandLineLosesNoPrintedComparison();
};

void TestHistoryFlow::rowsAreInTheHistoryBeforeTheList_data() {
    QTest::addColumn<QString>("model");
    QTest::newRow("current layout") << QStringLiteral("KV510");
    QTest::newRow("old layout") << QStringLiteral("KV620");
}

void TestHistoryFlow::rowsAreInTheHistoryBeforeTheList() {
    QFETCH(QString, model);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("history.sqlite"));
    Rig rig(model, file);
    QVERIFY(rig.connect());
    history::HistoryDatabase reader;
    QVERIFY(reader.open(history::HistoryUrl::sqliteFile(file)));
    QStringList missing;
    int inserted = 0;
    QObject::connect(&rig.list(), &QAbstractItemModel::rowsInserted,
                     [&](auto, int first, int last) {
                         for (int row = first; row <= last; ++row, ++inserted)
                             if (!reader.comparison(idText(rig.list().record(row))))
                                 missing << rig.list().record(row).name;
                     });
    rig.compare(20.5, 50);
    rig.compare(23, 55);
    // An import: the instrument's stored comparisons, all written before any is listed.
    const int mode = rig.page->session().oldLayout() ? -1 : rig.page->session().displayMode();
    if (mode < 0) {
        rig.instrument->setColorDiffRecordCount(0);
        for (int i = 0; i < 5; ++i)
            rig.instrument->addOldLayoutRecord(
                sim::oldLayoutRecordBytes(sim::measurementFromLab(0, 0, 50, 1, 1),
                                          sim::measurementFromLab(0, 0, 51, 1, 1)),
                "imp");
        pagedriver::call(rig.page, "on_readcolordifrecordBtn_clicked");
    } else {
        rig.instrument->setModeRecordCount(mode, 0);
        for (int i = 0; i < 5; ++i)
            rig.instrument->addModeRecord(
                mode,
                sim::modeRecordBytes(mode, sim::measurementFromLab(20, 80, 50, 1, 1),
                                     sim::measurementFromLab(21, 80, 51, 1, 1)),
                "imp");
        rig.prompter.answers = {QMessageBox::No, QMessageBox::Yes}; // don't save; clear
        pagedriver::call(rig.page, "on_pushButton_readComparisonRecord_clicked");
    }
    QVERIFY(inserted >= 5);
    QCOMPARE(missing, QStringList());
    const auto imported = reader.comparison(idText(rig.list().records().last()));
    QVERIFY(imported);
    QCOMPARE(imported->source, history::Source::Imported);
    QCOMPARE(imported->layout, mode < 0 ? history::Layout::Old : history::Layout::New);
}

void TestHistoryFlow::pageEndedWithoutClearComesBackExactly_data() {
    rowsAreInTheHistoryBeforeTheList_data();
}

void TestHistoryFlow::pageEndedWithoutClearComesBackExactly() {
    QFETCH(QString, model);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("history.sqlite"));
    QList<ComparisonRecord> before;
    std::optional<Reading> standard;
    int serial = 0;
    {
        Rig rig(model, file);
        QVERIFY(rig.connect());
        rig.compare(20.5, 50);
        rig.compare(23, 55.55);
        rig.compare(20.01, 49.99);
        rig.page->session().removeRow(1);
        rig.page->session().renameRow(0, QStringLiteral("bottle 7"));
        before = rig.list().records();
        standard = rig.page->session().standard();
        serial = rig.page->session().comparisonSerial();
        // The page ends as after a crash: no Clear, and the store is never closed.
        rig.page->closeThreadSlot();
        rig.page.release();
    }
    Rig again(model, file);
    QCOMPARE(again.restored, 2);
    QVERIFY(again.page->history().lineText().contains(QLatin1String("2")));
    QVERIFY(again.page->history().button());
    const bool old = before.first().settings.oldLayout;
    const QList<ComparisonRecord>& after = again.page->session().list().records();
    QCOMPARE(after.size(), before.size());
    for (int i = 0; i < after.size(); ++i)
        compareRecords(after.at(i), before.at(i));
    QVERIFY(again.page->session().hasStandard());
    QVERIFY(again.page->session().standard()->values == standard->values);
    QCOMPARE(again.page->session().comparisonSerial(), serial);
    const ComparisonListModel& list = again.page->session().list();
    QCOMPARE(list.passCount(), int(before.at(0).pass) + int(before.at(1).pass));
    QCOMPARE(list.failCount(), 2 - list.passCount());

    // The same instrument back: the standard stays and the next sample is compared with it.
    QVERIFY(again.connect());
    QVERIFY(again.page->session().hasStandard());
    again.instrument->setMeasurement(sim::measurementFromLab(21, 80, 50, 10, 20));
    old ? pagedriver::call(again.page, "on_samplemeasurementBtn_clicked")
        : pagedriver::call(again.page, "on_pushButton_sampleMeasurement_clicked");
    QCOMPARE(list.totalCount(), 3);
    QCOMPARE(list.records().last().name, QStringLiteral("Comp%1").arg(serial + 1));
}

void TestHistoryFlow::restoredStandardOfAnotherInstrumentIsDropped() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("history.sqlite"));
    {
        Rig rig(QStringLiteral("KV510"), file);
        QVERIFY(rig.connect());
        rig.compare(20.5, 50);
        rig.page->closeThreadSlot();
    }
    Rig again(QStringLiteral("KV510"), file);
    QVERIFY(again.page->session().hasStandard());
    again.instrument->setSerialNumber(again.instrument->serialNumber() + 1);
    QVERIFY(again.connect());
    QVERIFY(!again.page->session().hasStandard());
    // Another instrument's row is closed into the history, not mixed into this one's list; the
    // next start does not bring it back.
    QCOMPARE(again.list().totalCount(), 0);
    QVERIFY(again.page->history().lineText().contains(QStringLiteral("moved to the history")));
    history::HistoryDatabase db;
    QVERIFY(db.open(history::HistoryUrl::sqliteFile(file)));
    QCOMPARE(db.comparisons({}).size(), 1);
    QVERIFY(db.openList()->rows.isEmpty());
}

void TestHistoryFlow::deleteRenameAndClear() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("history.sqlite"));
    Rig rig(QStringLiteral("KV510"), file);
    QVERIFY(rig.connect());
    rig.compare(20.5, 50);
    rig.compare(21, 50);
    const QString first = idText(rig.list().record(0));
    const QString second = idText(rig.list().record(1));
    rig.page->session().renameRow(0, QStringLiteral("renamed"));
    rig.page->session().removeRow(1);
    history::HistoryDatabase reader;
    QVERIFY(reader.open(history::HistoryUrl::sqliteFile(file)));
    QCOMPARE(reader.comparison(first)->name, QStringLiteral("renamed"));
    QVERIFY(reader.comparison(second)->deleted); // marked, not erased

    rig.prompter.answers = {QMessageBox::Yes};
    pagedriver::call(rig.page, "on_pushButton_clear_clicked");
    QCOMPARE(rig.list().totalCount(), 0);
    QVERIFY(reader.comparison(first)); // Clear empties the list, not the history
    QVERIFY(rig.store.restore().isEmpty());
}

void TestHistoryFlow::historyOffKeepsRowsListed() {
    QTemporaryDir dir;
    // A folder where a file is expected: the history cannot be created.
    QFile blocker(dir.filePath(QStringLiteral("not-a-folder")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    Rig rig(QStringLiteral("KV510"), dir.filePath(QStringLiteral("not-a-folder/history.sqlite")));
    QCOMPARE(rig.store.state(), history::HistoryStore::State::Off);
    const auto saidOff = [&rig] {
        int said = 0;
        for (const QString& text : shownTexts(rig.prompter))
            said += text.contains(QLatin1String("history is off"));
        return said;
    };
    QCOMPARE(saidOff(), 1);
    QVERIFY(rig.connect()); // forgets the boxes shown so far
    rig.compare(20.5, 50);
    rig.compare(21, 50);
    QCOMPARE(rig.list().totalCount(), 2);
    QVERIFY(rig.store.pendingCount() > 0);
    QVERIFY(rig.page->history().lineText().contains(QLatin1String("History off")));
    // Said once, not once per row.
    QCOMPARE(saidOff(), 0);
}

void TestHistoryFlow::historyWindowExportsAndReports() {
    QTemporaryDir dir;
    Rig rig(QStringLiteral("KV510"), dir.filePath(QStringLiteral("history.sqlite")));
    QVERIFY(rig.connect());
    rig.compare(20.5, 50);
    rig.compare(23, 50);
    const QStringList ids{idText(rig.list().record(0)), idText(rig.list().record(1))};
    QVERIFY(rig.page->history().button());
    rig.page->history().button()->click();
    history::HistoryWindow* window = rig.page->history().window();
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->model()->rowCount(), 2);

    const QString workbook = dir.filePath(QStringLiteral("rows.xlsx"));
    rig.prompter.files = {workbook};
    emit window->exportRequested(ids);
    QCOMPARE(rig.prompter.messages().last(),
             QStringLiteral("Storing data|Data stored to file Success"));
    QVERIFY(QFileInfo(workbook).size() > 0);
    QCOMPARE(rig.list().totalCount(), 2); // the list is not cleared by a history export

    ReportSnapshot shown;
    rig.page->setReportOpener([&shown](const ReportSnapshot& s, bool) { shown = s; });
    emit window->reportRequested(ids.at(1));
    QCOMPARE(shown.sampleName, QStringLiteral("Comp2"));
    QCOMPARE(shown.difference.haze, 3.0);

    // A value no record can carry (an edited database) is never shown as another number: the
    // row is left out of the report and the export, and the user is told.
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "edit");
        db.setDatabaseName(dir.filePath(QStringLiteral("history.sqlite")));
        QVERIFY(db.open());
        QVERIFY(QSqlQuery(db).exec(
            QStringLiteral("UPDATE comparisons SET sam_haze = 1e308 WHERE id = '%1'")
                .arg(ids.at(1))));
        db.close();
    }
    QSqlDatabase::removeDatabase("edit");
    shown = {};
    emit window->reportRequested(ids.at(1));
    QVERIFY(shown.sampleName.isEmpty());
    QVERIFY2(rig.prompter.messages().last().contains(QLatin1String("left out")),
             qPrintable(rig.prompter.messages().last()));
}

void TestHistoryFlow::spectraAreInTheHistoryBeforeTheList() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("history.sqlite"));
    Rig rig(QStringLiteral("KV670"), file); // reflectance
    QVERIFY(rig.connect());
    history::HistoryDatabase reader;
    QVERIFY(reader.open(history::HistoryUrl::sqliteFile(file)));
    const auto stored = [&reader] {
        QSqlQuery q(reader.connection());
        q.exec(QStringLiteral("SELECT name, kind, serial, deleted FROM spectra ORDER BY name"));
        QStringList rows;
        while (q.next())
            rows << q.value(0).toString() + QLatin1Char(' ') + q.value(1).toString() +
                        QLatin1Char(' ') + q.value(2).toString() +
                        (q.value(3).toInt() ? QStringLiteral(" deleted") : QString());
        return rows;
    };
    QStringList beforeListed;
    int listedThen = -1;
    rig.page->setDialogRunner([&](QDialog& dialog) -> int {
        auto* spectral = qobject_cast<MeterPageFor510*>(&dialog);
        if (!spectral)
            return int(QDialog::Rejected);
        const auto recorder = rig.page->history().spectrumRecorder();
        spectral->setRecorder(
            [&, recorder](const QVector<SpectralRecord>& r, const QStringList& n) {
                recorder(r, n);
                beforeListed = stored();
                listedThen = int(spectral->records().size());
            });
        pagedriver::call(spectral, "on_pushButton_spectralMeasurement_clicked");
        if (int(spectral->records().size()) == 1) {
            // A second spectrum; the first renamed in the list, the second deleted there: the
            // history follows both.
            spectral->setRecorder(recorder);
            pagedriver::call(spectral, "on_pushButton_spectralMeasurement_clicked");
            spectral->findChild<QTableWidget*>("tableWidget_data")->item(1, 1)->setText("film");
            spectral->slot_updateTable(2);
        }
        return int(QDialog::Accepted);
    });
    pagedriver::call(rig.page, "on_pushButton_spectralTransmittance_clicked");
    const QString serial = QString::number(rig.instrument->serialNumber());
    QCOMPARE(beforeListed, QStringList{QStringLiteral("spec1 reflectance ") + serial});
    QCOMPARE(listedThen, 0);
    QCOMPARE(stored(), (QStringList{QStringLiteral("film reflectance ") + serial,
                                    QStringLiteral("spec2 reflectance ") + serial + " deleted"}));
}

void TestHistoryFlow::commandLineComparisonsAreInTheHistory() {
    QTemporaryDir dir;
    const QString url = QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("h.sqlite"));
    const QByteArray compared =
        runCli({"--database", url, "--simulate", "KV510", "compare", "--samples", "3"});
    QVERIFY2(compared.contains("TOTAL 3"), compared.constData());
    const QList<QByteArray> lines = runCli({"--database", url, "history"}).trimmed().split('\n');
    QCOMPARE(lines.size(), 4); // the heading and the three
    QVERIFY(lines.at(0).startsWith("id,station,model,serial,name,measured_at,source"));
    for (const char* name : {",Comp1,", ",Comp2,", ",Comp3,"}) {
        int found = 0;
        for (const QByteArray& line : lines)
            found += line.contains(name) && line.contains(",live,");
        QCOMPARE(found, 1);
    }
    // The workbook of the same rows.
    const QString workbook = dir.filePath(QStringLiteral("h.xlsx"));
    runCli({"--database", url, "history", "--out", workbook});
    QVERIFY(QFileInfo(workbook).size() > 0);

    // The instrument's stored comparisons exported: in the history as imported rows.
    const QByteArray exported =
        runCli({"--database", url, "--simulate", "KV510", "export-records", "--mode", "0", "--out",
                dir.filePath(QStringLiteral("e.xlsx"))});
    const int count = exported.split(' ').value(0).toInt();
    QVERIFY2(count > 0, exported.constData());
    QCOMPARE(runCli({"--database", url, "history"}).count(",imported,"), count);
    // Exported again: the same records, recognised, not stored twice.
    runCli({"--database", url, "--simulate", "KV510", "export-records", "--mode", "0", "--out",
            dir.filePath(QStringLiteral("e.xlsx"))});
    QCOMPARE(runCli({"--database", url, "history"}).count(",imported,"), count);
}

// Re-judging reaches the history before the list: after a crash, the restart and the command
// line reading the same file show the verdicts the screen showed.
void TestHistoryFlow::rejudgedVerdictsOutliveACrash() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("history.sqlite"));
    {
        Rig rig(QStringLiteral("KV510"), file);
        QVERIFY(rig.connect());
        for (double haze : {20.5, 20.6, 20.7})
            rig.compare(haze, 50);
        QCOMPARE(rig.list().failCount(), 0);
        rig.page->findChild<QLineEdit*>("lineEdit_hazeTolerance")->setText(QStringLiteral("0.2"));
        pagedriver::call(rig.page, "on_pushButton_setTolerance_clicked");
        QCOMPARE(rig.list().failCount(), 3);
        // As after kill -9: no Clear, no close.
        rig.page->closeThreadSlot();
        rig.page.release();
    }
    const QByteArray csv = runCli({"--database", "sqlite:" + file, "history"});
    QCOMPARE(csv.count(",NG,"), 3);
    QCOMPARE(csv.count(",PASS,"), 0);
    Rig again(QStringLiteral("KV510"), file);
    QCOMPARE(again.list().failCount(), 3);
    QCOMPARE(again.list().record(0).settings.hazeTolerance, 20);
    QCOMPARE(again.page->findChild<QLineEdit*>("lineEdit_unqualNum")->text(), QStringLiteral("3"));
}

// The name counter is kept, not worked out from the rows left: a deleted last row's name is
// never given again after a restart.
void TestHistoryFlow::namesGoOnAfterTheLastRowWasDeleted() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("history.sqlite"));
    {
        Rig rig(QStringLiteral("KV510"), file);
        QVERIFY(rig.connect());
        rig.compare(20.5, 50);
        rig.compare(20.6, 50);
        QVERIFY(rig.page->session().removeRow(1));
        rig.page->closeThreadSlot();
    }
    Rig again(QStringLiteral("KV510"), file);
    QVERIFY(again.connect());
    again.compare(20.7, 50);
    QCOMPARE(again.list().records().last().name, QStringLiteral("Comp3"));
}

// Rows of one display mode never meet another mode's columns: before an instrument is known
// they are shown and exported in their own mode; an instrument now in another mode closes them
// into the history, where they keep their mode and verdicts.
void TestHistoryFlow::restoreInAnotherModeClosesTheList() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("history.sqlite"));
    {
        Rig rig(QStringLiteral("KV510"), file);
        QVERIFY(rig.connect());
        QCOMPARE(rig.page->session().displayMode(), 0);
        rig.compare(23, 50); // ΔHaze 3.00 % against ±1.00 %
        rig.compare(20.5, 50);
        QCOMPARE(rig.list().failCount(), 1);
        rig.page->closeThreadSlot();
    }
    Rig again(QStringLiteral("KV510"), file);
    auto* list = again.page->findChild<QTableView*>(QStringLiteral("tableWidget_data"));
    QCOMPARE(again.list().totalCount(), 2);
    QVERIFY(!list->isColumnHidden(comparisonrows::ColStandard));
    QVERIFY(list->isColumnHidden(comparisonrows::ColDeltaE));
    const QString csv = dir.filePath(QStringLiteral("before.csv"));
    again.prompter.files = {csv};
    QVERIFY(pagedriver::callBool(again.page, "on_pushButton_exportExcel_clicked"));
    QFile written(csv);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(written.readAll());
    QVERIFY(text.contains(QLatin1String("Standard Haze")));
    QVERIFY(!text.contains(QLatin1String("L*")));
    QCOMPARE(text.count(QLatin1String(",NG")), 1);
    QCOMPARE(again.list().totalCount(), 2); // the clear after the export was declined

    again.instrument->setDisplayMode(3);
    QVERIFY(again.connect());
    QCOMPARE(again.list().totalCount(), 0);
    QVERIFY(again.page->history().lineText().contains(QLatin1String("moved to the history")));
    QVERIFY(!list->isColumnHidden(comparisonrows::ColDeltaE));
    history::HistoryDatabase db;
    QVERIFY(db.open(history::HistoryUrl::sqliteFile(file)));
    const QVector<history::HistoryComparison> rows = db.comparisons({});
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.at(0).displayMode, 0);
    // Haze/T rows keep the differences that judged them; ΔE did not, and is empty.
    QVERIFY(rows.at(0).deltaHaze && rows.at(0).deltaT && !rows.at(0).deltaE);
    QCOMPARE(int(std::count_if(rows.begin(), rows.end(),
                               [](const history::HistoryComparison& r) { return !r.pass; })),
             1);
    QVERIFY(db.openList()->rows.isEmpty());
}

// The page's Products button: the standard on show saved as a product, a lot set, a product
// chosen later; the comparisons carry both, and the window's words name them.
void TestHistoryFlow::pageKeepsProductsAndLots() {
    QTemporaryDir dir;
    Rig rig(QStringLiteral("KV510"), dir.filePath(QStringLiteral("history.sqlite")));
    QVERIFY(rig.connect());
    rig.compare(20.5, 50);
    auto* products = rig.page->findChild<QPushButton*>(QStringLiteral("pushButton_products"));
    QVERIFY(products && products->isVisibleTo(rig.page.get()) && products->menu());
    const QList<QAction*> actions = products->menu()->actions();
    rig.prompter.texts = {QStringLiteral("PET-40 clear"), QStringLiteral("L17")};
    actions.at(0)->trigger(); // Save as product…
    actions.at(2)->trigger(); // Lot…
    ComparisonSession& session = rig.page->session();
    QCOMPARE(session.productInUse()->name, QStringLiteral("PET-40 clear"));
    QCOMPARE(session.lot(), QStringLiteral("L17"));
    pagedriver::call(rig.page, "on_pushButton_sampleMeasurement_clicked");
    QCOMPARE(session.list().records().last().productId, session.productInUse()->id);
    QCOMPARE(session.list().records().last().lot, QStringLiteral("L17"));

    // Another standard measured, then the product chosen again: its standard, no measuring.
    rig.compare(30, 50);
    QVERIFY(!session.productInUse());
    rig.page->setDialogRunner([](QDialog& dialog) {
        auto* chooser = qobject_cast<ProductsDialog*>(&dialog);
        if (!chooser || chooser->table()->rowCount() != 1)
            return int(QDialog::Rejected);
        chooser->table()->selectRow(0);
        for (QPushButton* b : chooser->findChildren<QPushButton*>())
            if (b->text() == ProductsDialog::tr("Use"))
                b->click();
        return int(QDialog::Accepted);
    });
    actions.at(1)->trigger(); // Choose a product…
    QCOMPARE(session.productInUse()->name, QStringLiteral("PET-40 clear"));
    QCOMPARE(session.standard()->values[0], 2000);
}

// The same stored records imported again are the same records: one history row each, and a
// list that has them already does not take them twice.
void TestHistoryFlow::recordsImportedTwiceAreStoredOnce() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("history.sqlite"));
    Rig rig(QStringLiteral("KV510"), file);
    QVERIFY(rig.connect());
    pagedriver::call(rig.page, "on_pushButton_readComparisonRecord_clicked");
    const int count = rig.list().totalCount();
    QVERIFY(count > 0);
    ComparisonSession::ImportResult again;
    QVERIFY(!rig.page->session().importRecords({}, {}, &again));
    QCOMPARE(again.appended, 0);
    QCOMPARE(again.alreadyListed, count);
    rig.prompter.answers = {QMessageBox::No, QMessageBox::Yes}; // don't save; clear
    pagedriver::call(rig.page, "on_pushButton_readComparisonRecord_clicked");
    QCOMPARE(rig.list().totalCount(), count);
    history::HistoryDatabase db;
    QVERIFY(db.open(history::HistoryUrl::sqliteFile(file)));
    QCOMPARE(db.comparisons({}).size(), count);
    QCOMPARE(db.openList()->rows.size(), count);
}

void TestHistoryFlow::killedCommandLineLosesNoPrintedComparison() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("h.sqlite"));
    QProcess cli;
    cli.start(QStringLiteral(VELORIN_CLI), {"--database", "sqlite:" + path, "--simulate", "KV510",
                                            "compare", "--samples", "200"});
    QVERIFY(cli.waitForStarted());
    // Killed once a random number of comparisons were printed.
    const int stopAfter = QRandomGenerator::global()->bounded(1, 120);
    QByteArray out;
    while (out.count('\n') < stopAfter + 1 && cli.state() == QProcess::Running)
        if (cli.waitForReadyRead(20000))
            out += cli.readAllStandardOutput();
    cli.kill();
    cli.waitForFinished();
    out += cli.readAllStandardOutput();
    QStringList printed;
    for (const QByteArray& line : out.split('\n'))
        if (line.contains(",Comp"))
            printed << QString::fromUtf8(line.split(',').value(3));
    QVERIFY(!printed.isEmpty());
    history::HistoryDatabase reader;
    QVERIFY(reader.open(history::HistoryUrl::sqliteFile(path)));
    QStringList stored;
    for (const history::HistoryComparison& c : reader.comparisons({}))
        stored << c.name;
    for (const QString& name : printed)
        QVERIFY2(stored.contains(name), qPrintable(name));
}

QTEST_MAIN(TestHistoryFlow)
#include "tst_historyflow.moc"
