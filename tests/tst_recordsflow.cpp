// The workspace's record import, comparison export and colour library writer, driven through the
// real page against the virtual instrument; exported sheets are read back through unzip.
#include "apptestsupport.h"
#include "colour.h"
#include "excelengine.h"
#include "firstpagefor510.h"
#include "frameport.h"
#include "pagedriver.h"
#include "pauselock.h"
#include "sheetcells.h"
#include "stdcolorcommands.h"
#include "virtualinstrument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QProgressDialog>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <future>

namespace {

const QDateTime kNow(QDate(2024, 5, 6), QTime(10, 30));

// Passes frames on to the link until told to fail the n-th send from now.
class FailingPort : public FramePort {
  public:
    LinkFramePort link;
    int sendsBeforeFailure = -1; // -1: never fail

    bool isLinkOpen() const override { return link.isLinkOpen(); }
    int sendFrame(QByteArray& frame, int timeoutMs) override {
        if (sendsBeforeFailure == 0)
            return -1;
        if (sendsBeforeFailure > 0)
            --sendsBeforeFailure;
        return link.sendFrame(frame, timeoutMs);
    }
    int receiveFrame(QByteArray& out, int deadlineMs, int expectedLength, bool verify) override {
        return link.receiveFrame(out, deadlineMs, expectedLength, verify);
    }
    void delayMs(int) override {}
};

sim::Measurement lab(double L, double a, double b, double haze = 0, double t = 0) {
    sim::Measurement m = sim::measurementFromLab(haze, t, L, a, b);
    return m;
}

struct Rig {
    std::shared_ptr<sim::VirtualInstrument> instrument;
    FailingPort port;
    RecordingPrompter prompter;
    std::unique_ptr<FirstPageFor510> page;

    explicit Rig(const QString& model, int displayMode = 3)
        : instrument(sim::VirtualInstrument::fromPreset(model)) {
        instrument->setTolerance({100, 100, 10}); // 1.00 %, 1.00 %, dE 1.0
        instrument->setDeltaEParam({0, 10});
        if (!instrument->usesOldLayout())
            instrument->setDisplayMode(displayMode);
        for (int m = 0; m < 7; ++m)
            instrument->setModeRecordCount(m, 0);
        instrument->setColorDiffRecordCount(0);
        port.link.setTransportFactory([inst = instrument] { return inst->createTransport(); });
        port.link.setDelayFunction([](int) {});
        page = std::make_unique<FirstPageFor510>(port, prompter);
        page->setModelTable(ModelTable::load(QStringLiteral(VELORIN_METERNO)));
        page->setClock([] { return kNow; });
    }
    ~Rig() { page->closeThreadSlot(); }
    bool connect() {
        if (!port.link.openLink())
            return false;
        page->openThreadSlot();
        page->onDeviceConnected();
        prompter.shown.clear();
        return page->session().displayMode() >= 0 || page->session().oldLayout();
    }
    QTableView* list() const {
        return page->findChild<QTableView*>(page->session().oldLayout() ? "tbData"
                                                                        : "tableWidget_data");
    }
    int rows() const { return list()->model()->rowCount(); }
    QString cell(int row, int column) const {
        return list()->model()->index(row, column).data().toString();
    }
    QString field(const char* name) const { return page->findChild<QLineEdit*>(name)->text(); }
};

QStringList reference(const QString& name) {
    QFile f(QFINDTESTDATA("data/" + name));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {QStringLiteral("missing ") + name};
    return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
}

// A column's cells left out, as "A2=..." lines; the column letter is followed by a digit.
QStringList withoutColumn(QStringList cells, const QString& column) {
    cells.erase(std::remove_if(cells.begin(), cells.end(),
                               [&](const QString& c) {
                                   return c.startsWith(column) && c.at(column.size()).isDigit();
                               }),
                cells.end());
    return cells;
}

// Takes and releases the pause lock on another thread, as the worker would.
std::future<void> takeLock(const std::shared_ptr<PauseLock>& lock) {
    return std::async(std::launch::async, [lock] {
        lock->lock();
        lock->unlock();
    });
}

// Whether another thread gets the pause lock soon; the worker holds it only for its short polls.
bool lockFree(const std::shared_ptr<PauseLock>& lock) {
    return takeLock(lock).wait_for(std::chrono::seconds(2)) == std::future_status::ready;
}

} // namespace

class TestRecordsFlow : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    }
    void importJudgesAndFillsTheList();
    void importEveryModeCarriesItsValues_data();
    void importEveryModeCarriesItsValues();
    void importFailuresLeaveTheListAlone();
    void importAsksToSaveFirst();
    void oldLayoutImportUsesTheInstrumentFormula();
    void exportWritesTheListAsTheSheet();
    void exportNeverLosesThePreviousFile();
    void oldLayoutExport();
    void commandLineWritesTheSameSheet();
    void libraryWriter();
};

void TestRecordsFlow::importJudgesAndFillsTheList() {
    Rig rig("KV630");                        // colorimeter with a selectable formula
    rig.instrument->setDeltaEParam({0, 10}); // dE*ab, where the bound is exact
    // A difference of exactly the threshold passes; one hundredth more fails.
    rig.instrument->addModeRecord(3, sim::modeRecordBytes(3, lab(50, 0, 0), lab(51, 0, 0)),
                                  "ABCDEFGHIJKLMNOP");
    rig.instrument->addModeRecord(3, sim::modeRecordBytes(3, lab(50, 0, 0), lab(51.01, 0, 0)),
                                  "second");
    for (int i = 2; i < 20; ++i)
        rig.instrument->addModeRecord(3, sim::modeRecordBytes(3, lab(60, 10, 10), lab(63, 14, 10)),
                                      "r");
    QVERIFY(rig.connect());
    QCOMPARE(rig.page->session().displayMode(), 3);
    pagedriver::call(rig.page, "on_pushButton_readComparisonRecord_clicked");
    QCOMPARE(rig.prompter.messages(), QStringList());
    QCOMPARE(rig.rows(), 20);
    QCOMPARE(rig.cell(0, 1), QStringLiteral("ABCDEFGHIJKLM")); // 13 bytes, no zero: taken whole
    QCOMPARE(rig.cell(0, 2), QStringLiteral("2024/05/06  10:30"));
    QCOMPARE(rig.cell(0, 16), QStringLiteral("51.00"));
    QCOMPARE(rig.cell(0, 27), QStringLiteral("1.00"));
    QCOMPARE(rig.cell(0, 28), colour::verdictText(true));
    QCOMPARE(rig.cell(1, 28), colour::verdictText(false));
    QCOMPARE(rig.cell(2, 27), QStringLiteral("5.00")); // 3-4-0 triangle
    QCOMPARE(rig.cell(19, 0), QStringLiteral("20"));
    QCOMPARE(rig.cell(0, 3), QStringLiteral("0.00%")); // a Lab record carries no haze
    QCOMPARE(rig.cell(0, 33), QStringLiteral("1.0"));
    QCOMPARE(rig.cell(0, 34), QStringLiteral("KV630"));
    QCOMPARE(rig.field("lineEdit_totalNum"), QStringLiteral("20"));
    QCOMPARE(rig.field("lineEdit_qualNum"), QStringLiteral("1"));
    QCOMPARE(rig.field("lineEdit_unqualNum"), QStringLiteral("19"));

    // Over a list the import asks; declining to clear (or Cancel) imports nothing.
    for (const QList<QMessageBox::StandardButton>& answers :
         {QList<QMessageBox::StandardButton>{QMessageBox::No, QMessageBox::No},
          QList<QMessageBox::StandardButton>{QMessageBox::Cancel}}) {
        rig.prompter.answers = answers;
        pagedriver::call(rig.page, "on_pushButton_readComparisonRecord_clicked");
        QCOMPARE(rig.prompter.shown.first().buttons,
                 QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(rig.prompter.shown.first().defaultButton, QMessageBox::Cancel);
        if (answers.size() > 1) // the clear it leads to defaults to keeping the list
            QCOMPARE(rig.prompter.shown.at(1).defaultButton, QMessageBox::No);
        QCOMPARE(rig.rows(), 20);
        rig.prompter.shown.clear();
    }

    // A count of 0: the dialog is up with nothing to read, then the message; nothing added.
    rig.instrument->setModeRecordCount(3, 0);
    rig.prompter.answers = {QMessageBox::No, QMessageBox::Yes}; // don't save; clear
    int progressMaximum = -1;
    rig.prompter.onShown = [&](const ScriptedPrompter::Shown& s) {
        if (s.text == QLatin1String("No comparison record!"))
            if (auto* dialog = rig.page->findChild<QProgressDialog*>())
                progressMaximum = dialog->maximum();
    };
    pagedriver::call(rig.page, "on_pushButton_readComparisonRecord_clicked");
    QCOMPARE(rig.prompter.messages().last(), QStringLiteral("Info|No comparison record!"));
    QCOMPARE(progressMaximum, 0);
    QCOMPARE(rig.rows(), 0);
}

void TestRecordsFlow::importEveryModeCarriesItsValues_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QList<int>>("nonZeroColumns"); // standard columns the record carries
    QTest::newRow("hazeT") << 0 << QList<int>{3, 4};
    QTest::newRow("haze") << 1 << QList<int>{3};
    QTest::newRow("t") << 2 << QList<int>{4};
    QTest::newRow("Lab") << 3 << QList<int>{5, 6, 7};
    QTest::newRow("LCh") << 4 << QList<int>{5, 6, 7, 8, 9, 10};
    QTest::newRow("Yxy") << 5 << QList<int>{5, 6, 7, 11, 12, 13};
    QTest::newRow("hazeTLab") << 6 << QList<int>{3, 4, 5, 6, 7};
}

void TestRecordsFlow::importEveryModeCarriesItsValues() {
    QFETCH(int, mode);
    QFETCH(QList<int>, nonZeroColumns);
    Rig rig("KV510", mode);
    const sim::Measurement standard = lab(52.3, 12.4, -8.7, 20, 80);
    const sim::Measurement sample = lab(52.3, 12.4, -8.7, 20.5, 80.5);
    rig.instrument->addModeRecord(mode, sim::modeRecordBytes(mode, standard, sample), "rec");
    QVERIFY(rig.connect());
    pagedriver::call(rig.page, "on_pushButton_readComparisonRecord_clicked");
    QCOMPARE(rig.rows(), 1);
    const QString zero[] = {"0.00%", "0.00%", "0.00", "0.00",   "0.00",  "0.00",
                            "0.00",  "0.0",   "0.00", "0.0000", "0.0000"};
    for (int c = 3; c < 14; ++c) {
        const bool carried = nonZeroColumns.contains(c);
        QCOMPARE(rig.cell(0, c) != zero[c - 3], carried);
        QCOMPARE(rig.cell(0, c + 11) != zero[c - 3], carried); // the sample's column
    }
    QCOMPARE(rig.cell(0, 25),
             nonZeroColumns.contains(3) ? QStringLiteral("0.50%") : QStringLiteral("0.00%"));
    // Haze and T differ by 0.5 within 1.00; colours are equal: every mode passes.
    QCOMPARE(rig.cell(0, 28), colour::verdictText(true));
}

void TestRecordsFlow::importFailuresLeaveTheListAlone() {
    Rig rig("KV630");
    for (int i = 0; i < 30; ++i)
        rig.instrument->addModeRecord(3, sim::modeRecordBytes(3, lab(50, 0, 0), lab(50, 0, 0)),
                                      "r");
    QVERIFY(rig.connect());
    const auto lock = rig.page->pauseLock();
    struct Case {
        int sendsBeforeFailure;
        const char* text;
    } cases[] = {
        {0, "Failed to read the number of color difference records!"},
        {2, "Reading difference recording lab data failed!"}, // the second data chunk
        {3, "Failed to read color difference record name data!"},
    };
    for (const Case& c : cases) {
        rig.prompter.shown.clear();
        rig.port.sendsBeforeFailure = c.sendsBeforeFailure;
        pagedriver::call(rig.page, "on_pushButton_readComparisonRecord_clicked");
        rig.port.sendsBeforeFailure = -1;
        QCOMPARE(rig.prompter.messages(), QStringList{QStringLiteral("Error|") + c.text});
        QCOMPARE(rig.rows(), 0);
        QCOMPARE(rig.page->session().list().totalCount(), 0);
        QVERIFY(lockFree(lock)); // released on every exit
    }
    rig.prompter.shown.clear();
    rig.instrument->corruptNextBlockChecksum();
    pagedriver::call(rig.page, "on_pushButton_readComparisonRecord_clicked");
    QCOMPARE(rig.prompter.messages(),
             QStringList{"Error|difference history data error, unable to export!"});

    rig.port.link.closeLink();
    rig.prompter.shown.clear();
    pagedriver::call(rig.page, "on_pushButton_readComparisonRecord_clicked");
    QCOMPARE(rig.prompter.messages(), QStringList{"Error|Please connect the device first!"});
}

void TestRecordsFlow::importAsksToSaveFirst() {
    QTemporaryDir dir;
    Rig rig("KV630");
    rig.instrument->addModeRecord(3, sim::modeRecordBytes(3, lab(50, 0, 0), lab(50, 0, 0)), "a");
    QVERIFY(rig.connect());
    pagedriver::call(rig.page, "on_pushButton_readComparisonRecord_clicked");
    QCOMPARE(rig.rows(), 1);

    // Save first, but cancel the file dialog: nothing is imported.
    rig.prompter.answers = {QMessageBox::Yes};
    pagedriver::call(rig.page, "on_pushButton_readComparisonRecord_clicked");
    QCOMPARE(rig.prompter.shown.at(0).text,
             QStringLiteral("Data import willempty the list, to save data first?"));
    QCOMPARE(rig.prompter.shown.at(1).kind, QStringLiteral("save"));
    QCOMPARE(rig.rows(), 1);

    // Save first: the export writes, clears after its own question, then the import runs.
    rig.prompter.shown.clear();
    const QString path = dir.filePath("saved.xlsx");
    rig.prompter.answers = {QMessageBox::Yes, QMessageBox::Yes};
    rig.prompter.files = {path};
    pagedriver::call(rig.page, "on_pushButton_readComparisonRecord_clicked");
    QVERIFY(QFile::exists(path));
    QCOMPARE(rig.rows(), 1);
    QCOMPARE(rig.cell(0, 0), QStringLiteral("1"));
    QVERIFY(rig.prompter.messages().contains("Storing data|Data stored to file: " + path));
}

void TestRecordsFlow::oldLayoutImportUsesTheInstrumentFormula() {
    Rig rig("KV620");                        // firmware 2.50: old layout
    rig.instrument->setDeltaEParam({2, 15}); // formula 2, threshold 1.5
    const sim::Measurement standard = lab(52.3, 12.4, -8.7), sample = lab(53.1, 11.2, -7.9);
    rig.instrument->addOldLayoutRecord(sim::oldLayoutRecordBytes(standard, sample),
                                       "ABCDEFGHIJKLMN");
    QVERIFY(rig.connect());
    QVERIFY(rig.page->session().oldLayout());
    // An empty store adds nothing and says nothing.
    rig.instrument->setColorDiffRecordCount(0);
    pagedriver::call(rig.page, "on_pushButton_readComparisonRecord_clicked");
    QCOMPARE(rig.prompter.messages(), QStringList());
    QCOMPARE(rig.rows(), 0);

    rig.instrument->setColorDiffRecordCount(1);
    pagedriver::call(rig.page, "on_pushButton_readComparisonRecord_clicked");
    QCOMPARE(rig.rows(), 1);
    QCOMPARE(rig.cell(0, 1), QStringLiteral("ABCDEFGHIJKLMN"));
    const colour::Lab s{52.3, 12.4, -8.7}, p{53.1, 11.2, -7.9};
    const double deltaE = colour::deltaEByIndex(2, true, s, p);
    QCOMPARE(rig.cell(0, 13), QString::number(deltaE, 'f', 2));
    QCOMPARE(rig.cell(0, 14), colour::verdictText(deltaE <= 1.5));
    QCOMPARE(rig.cell(0, 6), QString::number(colour::chroma(12.4, -8.7), 'f', 2));
    QCOMPARE(rig.cell(0, 7), QString::number(colour::hueAngle(12.4, -8.7), 'f', 1));
    QCOMPARE(rig.cell(0, 17), rig.field("lineEdit_formula"));
    QCOMPARE(rig.cell(0, 18), QStringLiteral("1.5"));
}

void TestRecordsFlow::exportWritesTheListAsTheSheet() {
    QTemporaryDir dir;
    Rig rig("KV510", 6);
    rig.instrument->addModeRecord(
        6, sim::modeRecordBytes(6, lab(50, 1, 2, 10, 90), lab(50.5, 1.5, 2.5, 10.5, 91.5)),
        "first");
    rig.instrument->addModeRecord(
        6, sim::modeRecordBytes(6, lab(60, -3, 4, 0, 100), lab(60, -3, 4, 0, 100)), "second");
    QVERIFY(rig.connect());
    pagedriver::callBool(rig.page, "on_pushButton_exportExcel_clicked");
    QCOMPARE(rig.prompter.messages(), QStringList{"error|No data for Storing to Excel!"});

    pagedriver::call(rig.page, "on_pushButton_readComparisonRecord_clicked");
    QCOMPARE(rig.rows(), 2);
    rig.prompter.shown.clear();
    const QString path = dir.filePath("export.xlsx");
    rig.prompter.files = {path};
    rig.prompter.answers = {QMessageBox::No}; // keep the list after the export
    QVERIFY(pagedriver::callBool(rig.page, "on_pushButton_exportExcel_clicked"));
    const ScriptedPrompter::Shown dialog = rig.prompter.shown.at(0);
    QCOMPARE(dialog.title, QStringLiteral("Storing data to Excel"));
    QCOMPARE(dialog.text, QStringLiteral("excel file (*.xlsx);;CSV file, numbers only (*.csv)"));
    QCOMPARE(dialog.directory, QStringLiteral("CompareM202405061030.xlsx"));
    QCOMPARE(rig.prompter.messages().last(), "Storing data|Data stored to file: " + path);
    QCOMPARE(rig.rows(), 2);
    // Reference: headings in row 2, records from row 3, every text as the list shows it.
    // Regenerate on purpose with: unzip -p export.xlsx (see sheetcells.h) after checking it.
    QCOMPARE(sheetCellsByUnzip(path), reference("records_export_mode6.cells"));
}

void TestRecordsFlow::exportNeverLosesThePreviousFile() {
    QTemporaryDir dir;
    Rig rig("KV510", 1);
    rig.instrument->addModeRecord(1, sim::modeRecordBytes(1, lab(0, 0, 0, 10), lab(0, 0, 0, 11)),
                                  "x");
    QVERIFY(rig.connect());
    pagedriver::call(rig.page, "on_pushButton_readComparisonRecord_clicked");

    // A target that cannot be replaced when the new file is complete (here it became a directory
    // while the rows were written) keeps what it holds.
    const QString target = dir.filePath("busy.xlsx");
    rig.prompter.shown.clear();
    rig.prompter.files = {target};
    QTimer::singleShot(0, [&] { QDir().mkpath(target + "/inside"); });
    QVERIFY(!pagedriver::callBool(rig.page, "on_pushButton_exportExcel_clicked"));
    // The reason follows on a line of its own.
    QCOMPARE(rig.prompter.messages().last(),
             QStringLiteral("Error|Can't overwrite this file, maybe the file is in use!\n"
                            "is a directory"));
    QVERIFY(QFileInfo(target + "/inside").isDir());
    QCOMPARE(rig.rows(), 1);

    // A file replaced by a good export is complete; nothing of it is lost on the way.
    const QString previous = dir.filePath("previous.xlsx");
    {
        ExcelEngine engine(previous);
        QVERIFY(engine.open(1, ExcelEngine::OpenMode::Replace));
        QVERIFY(engine.setCellData(40, 1, QStringLiteral("old row")));
        QVERIFY(engine.save());
    }
    rig.prompter.files = {previous};
    rig.prompter.answers = {QMessageBox::Yes};
    QVERIFY(pagedriver::callBool(rig.page, "on_pushButton_exportExcel_clicked"));
    const QStringList cells = sheetCellsByUnzip(previous);
    QVERIFY(!cells.contains("A40=old row"));
    QVERIFY(cells.contains("F2=Standard Haze"));
    QCOMPARE(rig.rows(), 0);
}

void TestRecordsFlow::oldLayoutExport() {
    QTemporaryDir dir;
    Rig rig("KV620");
    rig.instrument->addOldLayoutRecord(
        sim::oldLayoutRecordBytes(lab(52.3, 12.4, -8.7), lab(52.3, 12.4, -8.7)), "same");
    QVERIFY(rig.connect());
    pagedriver::call(rig.page, "on_pushButton_readComparisonRecord_clicked");
    for (bool chinese : {false, true}) {
        if (rig.rows() == 0)
            pagedriver::call(rig.page, "on_pushButton_readComparisonRecord_clicked");
        rig.page->setChinese(chinese);
        rig.prompter.shown.clear();
        const QString path = dir.filePath(chinese ? "zh.xlsx" : "en.xlsx");
        rig.prompter.files = {path};
        QVERIFY(pagedriver::callBool(
            rig.page, "on_pushButton_exportExcel_clicked")); // hands over to the old layout
        QCOMPARE(rig.rows(), 0);                             // cleared without asking
        QCOMPARE(rig.prompter.messages().last(),
                 (chinese ? QStringLiteral("存储数据|将数据成功存储到文件: \r\n\t")
                          : QStringLiteral("Storing data|Data stored to file: \r\n\t")) +
                     path);
        const QStringList cells = sheetCellsByUnzip(path);
        QCOMPARE(cells.value(0), chinese ? QStringLiteral("A1=序号") : QStringLiteral("A1=NO"));
        // The hidden columns: model, serial number, formula text and threshold text.
        QVERIFY(cells.contains("B2=KV620"));
        QVERIFY(cells.contains("C2=62000458"));
        QVERIFY(cells.contains("P2=" + rig.field("lineEdit_formula")));
        QVERIFY(cells.contains("Q2=1.0"));
        QVERIFY(cells.contains("S2=" + colour::verdictText(true)));
    }
}

void TestRecordsFlow::commandLineWritesTheSameSheet() {
    // The tool and the page read the same stored records of a fresh preset.
    QTemporaryDir dir;
    for (const char* model : {"KV510", "KV620"}) {
        auto instrument = sim::VirtualInstrument::fromPreset(model);
        const bool old = instrument->usesOldLayout();
        LinkFramePort link;
        link.setTransportFactory([inst = instrument] { return inst->createTransport(); });
        RecordingPrompter prompter;
        FirstPageFor510 page(link, prompter);
        page.setModelTable(ModelTable::load(QStringLiteral(VELORIN_METERNO)));
        page.setClock([] { return kNow; });
        QVERIFY(link.openLink());
        page.openThreadSlot();
        page.onDeviceConnected();
        pagedriver::call(&page, "on_pushButton_readComparisonRecord_clicked");
        const QString fromPage = dir.filePath(QStringLiteral("page%1.xlsx").arg(model));
        prompter.files = {fromPage};
        QVERIFY(pagedriver::callBool(&page, "on_pushButton_exportExcel_clicked"));
        page.closeThreadSlot();

        const QString fromTool = dir.filePath(QStringLiteral("tool%1.xlsx").arg(model));
        QProcess tool;
        tool.start(QStringLiteral(VELORIN_CLI),
                   {"--simulate", model, "export-records", "--mode",
                    old ? QStringLiteral("old") : QString::number(instrument->displayMode()),
                    "--out", fromTool});
        QVERIFY(tool.waitForFinished(30000));
        QCOMPARE(tool.exitCode(), 0);
        const QStringList pageCells = sheetCellsByUnzip(fromPage);
        QVERIFY(pageCells.size() > 40);
        // Only the times differ: the tool stamps the rows with its own clock.
        QCOMPARE(withoutColumn(sheetCellsByUnzip(fromTool), "E"), withoutColumn(pageCells, "E"));
    }
}

void TestRecordsFlow::libraryWriter() {
    QTemporaryDir dir;
    Rig rig("KV670");
    QVERIFY(rig.connect());
    const QString model = rig.page->session().modelName();

    auto writeFile = [](const QString& path, const QString& sheetModel, const QString& colourName) {
        ExcelEngine engine(path);
        QList<QVariantList> rows{
            {sheetModel, QString(), QString(), QString(), QString()},
            {1.0, double(stdcolor::countCheckValue(1)), QString(), QString(), QString()},
            {"Card", "Two", 10.0, 3.0, double(stdcolor::cardCheckValue("Card", "Two", 10, 3))}};
        while (rows.size() < 49)
            rows.append({QString(), QString(), QString(), QString(), QString()});
        for (int i = 0; i < 10; ++i)
            rows.append({colourName + QString::number(i), 0.5, -0.05, 3.99, QString()});
        return engine.open(1, ExcelEngine::OpenMode::Replace) && engine.writeAllData(rows) &&
               engine.save();
    };
    const QString good = dir.filePath("StdColor.xlsx");
    QVERIFY(writeFile(good, model, "Red"));

    // The worker stays paused while the user chooses the file.
    const auto lock = rig.page->pauseLock();
    bool heldDuringDialog = false;
    std::future<void> waiting; // gets the lock once the writer has finished
    rig.prompter.onShown = [&](const ScriptedPrompter::Shown& s) {
        if (s.kind == QLatin1String("open")) {
            waiting = takeLock(lock);
            heldDuringDialog =
                waiting.wait_for(std::chrono::milliseconds(300)) == std::future_status::timeout;
        }
    };
    rig.prompter.files = {good};
    pagedriver::call(rig.page, "on_pushButton_writeStandardColor_clicked");
    QVERIFY(heldDuringDialog);
    waiting.get();
    rig.prompter.onShown = nullptr;
    QCOMPARE(rig.prompter.shown.at(0).title, QStringLiteral("Select one Excel files to open"));
    QCOMPARE(rig.prompter.shown.at(0).directory, QStringLiteral("./"));
    QCOMPARE(rig.prompter.shown.at(0).text, QStringLiteral("excel file (*.xlsx)"));
    QCOMPARE(rig.prompter.messages().last(),
             QStringLiteral("Information|Write to standard color card library successfully!"));
    sim::StdColorLibrary received = rig.instrument->library();
    QVERIFY(received.accepted);
    QCOMPARE(received.count, 1);
    QCOMPARE(received.data.size(), 260);
    QCOMPARE(received.data.mid(200, 6), QByteArray::fromHex("3200FBFF8F01")); // 50, -5, 399

    // Refusals: nothing reaches the instrument.
    struct Refusal {
        QString file, sheetModel, colourName, kind, text;
    } refusals[] = {
        {"stdcolor.xlsx", model, "Red", "warning", "File error, unable to write!"},
        {"StdColor.xlsx", "KV999", "Red", "warning",
         "The written contents do not match and cannot be written!"},
        {"StdColor.xlsx", model, "A colour name too long", "information",
         "The colour name in row 50 is longer than 20 bytes!"},
    };
    for (const Refusal& r : refusals) {
        rig.instrument->clearReceivedFrames();
        QTemporaryDir sub;
        const QString path = sub.filePath(r.file);
        QVERIFY(writeFile(path, r.sheetModel, r.colourName));
        rig.prompter.shown.clear();
        rig.prompter.files = {path};
        const int before = rig.instrument->receivedFrames().size();
        pagedriver::call(rig.page, "on_pushButton_writeStandardColor_clicked");
        QCOMPARE(rig.prompter.shown.last().kind, r.kind);
        QCOMPARE(rig.prompter.messages().last(), QStringLiteral("Error|") + r.text);
        QCOMPARE(rig.instrument->receivedFrames().size(), before);
        QVERIFY(lockFree(lock));
    }
}

QTEST_MAIN(TestRecordsFlow)
#include "tst_recordsflow.moc"
