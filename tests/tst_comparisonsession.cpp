// The comparison session without widgets against the virtual instrument: one verdict on every
// path at the exact bounds, imports judged like re-judging, the standard after failures and
// other instruments, typed settings, the journal seam, and velorin-cli compare.
#include "apptestsupport.h"
#include "colour.h"
#include "comparisonjournal.h"
#include "comparisonrows.h"
#include "comparisonsession.h"
#include "comparisonsheet.h"
#include "csvtable.h"
#include "decimalvalidator.h"
#include "firstpagefor510.h"
#include "frameport.h"
#include "judging.h"
#include "pagedriver.h"
#include "readings.h"
#include "records.h"
#include "reportsnapshot.h"
#include "virtualinstrument.h"

#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct SessionRig {
    std::shared_ptr<sim::VirtualInstrument> instrument;
    LinkFramePort port;
    ComparisonSession session{port};

    explicit SessionRig(const QString& model, int firmware = -1)
        : instrument(sim::VirtualInstrument::fromPreset(model)) {
        if (firmware >= 0)
            instrument->setFirmwareVersion(firmware);
        for (int m = 0; m < 7; ++m)
            instrument->setModeRecordCount(m, 0);
        instrument->setColorDiffRecordCount(0);
        port.setTransportFactory([inst = instrument] { return inst->createTransport(); });
        port.setDelayFunction([](int) {});
        session.setModelTable(ModelTable::load(QStringLiteral(VELORIN_METERNO)));
    }
    // Identifies and reads the settings as the page does on connection.
    bool connect() {
        if (!port.openLink() || session.identify())
            return false;
        const InstrumentProfile& p = session.profile();
        return !(p.oldLayout || p.parameterPage ? session.readParameter()
                                                : session.readTolerance());
    }
    std::optional<ComparisonRecord> compare(const sim::Measurement& standard,
                                            const sim::Measurement& sample) {
        instrument->setReadings({standard, sample});
        std::optional<ComparisonRecord> record;
        if (session.measure(1, session.profile().pull) ||
            session.measure(2, session.profile().pull, &record))
            return std::nullopt;
        return record;
    }
};

sim::Measurement reading(double haze, double t, double L, double a, double b) {
    return sim::measurementFromLab(haze, t, L, a, b);
}

// Records every call; refuses writes while told to.
class FakeJournal : public ComparisonJournal {
  public:
    bool refuse = false;
    QStringList calls;
    bool write(const QList<ComparisonRecord>& records) override {
        calls << QStringLiteral("write %1").arg(records.size());
        return !refuse;
    }
    bool update(const QList<ComparisonRecord>& records) override {
        calls << QStringLiteral("update %1").arg(records.size());
        return !refuse;
    }
    bool markDeleted(const QUuid&) override {
        calls << QStringLiteral("deleted");
        return !refuse;
    }
    bool rename(const QUuid&, const QString& name) override {
        calls << "rename " + name;
        return !refuse;
    }
    void listCleared() override { calls << QStringLiteral("cleared"); }
};

} // namespace

class TestComparisonSession : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    }
    void exactBoundsAgreeOnEveryPath_data();
    void exactBoundsAgreeOnEveryPath();
    void deviationWordsAtTheirBandEdges();
    void importIsJudgedLikeRejudging();
    void failedStandardLeavesNoStandard();
    void unreadableTolerancesAreRefused();
    void journalSeesEveryChangeFirst();
    void recordsCarryTheirOwnMeaning();
    void decimalFieldsReadTheInterfaceLocale();
    void commandLineCompare();
    void averagingKeepsHueWhole();
    void commandLineAveragesAndWritesCsv();
};

void TestComparisonSession::exactBoundsAgreeOnEveryPath_data() {
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("mode");               // -1: old layout
    QTest::addColumn<QList<double>>("standard"); // haze T L a b
    QTest::addColumn<QList<double>>("sample");
    QTest::addColumn<QString>("difference"); // the shown difference that decides
    QTest::addColumn<bool>("pass");
    using L = QList<double>;
    // Tolerances: haze 0.30, T 0.50, dE 0.3 (tolerance block); old layout dE*ab 1.5.
    QTest::newRow("haze = tolerance")
        << "KV510" << 1 << L{30, 80, 50, 0, 0} << L{30.3, 80, 50, 0, 0} << "0.30%" << true;
    QTest::newRow("haze over") << "KV510" << 1 << L{30, 80, 50, 0, 0} << L{30.31, 80, 50, 0, 0}
                               << "0.31%" << false;
    QTest::newRow("haze/T both at bounds")
        << "KV510" << 0 << L{1.14, 80, 50, 0, 0} << L{0.84, 80.5, 50, 0, 0} << "-0.30%" << true;
    QTest::newRow("T below") << "KV510" << 2 << L{30, 80, 50, 0, 0} << L{30, 79.49, 50, 0, 0}
                             << "-0.51%" << false;
    QTest::newRow("Lab dE = threshold")
        << "KV510" << 3 << L{30, 80, 30, 0, 0} << L{30, 80, 30.3, 0, 0} << "0.30" << true;
    QTest::newRow("Lab dE over") << "KV510" << 3 << L{30, 80, 30, 1, 1} << L{30, 80, 30.31, 1, 1}
                                 << "0.31" << false;
    QTest::newRow("LCh dE = threshold")
        << "KV510" << 4 << L{0, 0, 40, 5, 5} << L{0, 0, 40, 5, 5.3} << "0.30" << true;
    QTest::newRow("Yxy dE over") << "KV510" << 5 << L{0, 0, 40, 5, 5} << L{0, 0, 40.31, 5, 5}
                                 << "0.31" << false;
    QTest::newRow("haze/T/Lab at bounds")
        << "KV510" << 6 << L{30, 80, 30, 2, 2} << L{30.3, 79.5, 30, 2.3, 2} << "0.30" << true;
    QTest::newRow("old layout dE = threshold")
        << "KV620" << -1 << L{0, 0, 50, 10, 20} << L{0, 0, 51.5, 10, 20} << "1.50" << true;
}

void TestComparisonSession::exactBoundsAgreeOnEveryPath() {
    QFETCH(QString, model);
    QFETCH(int, mode);
    QFETCH(QList<double>, standard);
    QFETCH(QList<double>, sample);
    QFETCH(QString, difference);
    QFETCH(bool, pass);
    SessionRig rig(model, model == "KV510" ? 114 : -1);
    if (mode >= 0)
        rig.instrument->setDisplayMode(mode);
    rig.instrument->setTolerance({30, 50, 3});
    rig.instrument->setDeltaEParam({0, 15});
    QVERIFY(rig.connect());
    const sim::Measurement s =
        reading(standard[0], standard[1], standard[2], standard[3], standard[4]);
    const sim::Measurement p = reading(sample[0], sample[1], sample[2], sample[3], sample[4]);
    const bool old = mode < 0;
    const int deciding = old         ? int(comparisonrows::OldColDeltaE)
                         : mode == 2 ? comparisonrows::ColDeltaT
                         : mode >= 3 ? comparisonrows::ColDeltaE
                                     : comparisonrows::ColDeltaHaze;
    auto shown = [&](const ComparisonRecord& r) {
        return old ? comparisonrows::oldCellText(r, deciding)
                   : comparisonrows::cellText(r, deciding);
    };

    // Live.
    const std::optional<ComparisonRecord> live = rig.compare(s, p);
    QVERIFY(live);
    QCOMPARE(shown(*live), difference);
    QCOMPARE(live->pass, pass);
    // Re-judged with the same settings.
    rig.session.rejudge();
    QCOMPARE(rig.session.list().record(0).pass, pass);
    // Imported from the instrument's memory.
    if (old)
        rig.instrument->addOldLayoutRecord(sim::oldLayoutRecordBytes(s, p), "r");
    else
        rig.instrument->addModeRecord(mode, sim::modeRecordBytes(mode, s, p), "r");
    QVERIFY(!rig.session.importRecords({}, {}));
    const ComparisonListModel& list = rig.session.list();
    QCOMPARE(list.totalCount(), 2);
    QCOMPARE(shown(list.record(1)), difference);
    QCOMPARE(list.record(1).pass, pass);
    QCOMPARE(list.failCount(), pass ? 0 : 2);
    // Exported: both rows say the same, in the sheet's verdict column.
    const QStringList lines =
        comparisonsheet::csvLines(rig.session.displayMode(), old, list.records());
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[1].section(',', -1), colour::verdictText(pass));
    QCOMPARE(lines[2].section(',', -1), colour::verdictText(pass));
}

void TestComparisonSession::deviationWordsAtTheirBandEdges() {
    using colour::DeviationAxis;
    struct Case {
        DeviationAxis axis;
        double standard, sample;
        const char* word;
    } cases[] = {
        {DeviationAxis::Lightness, 8.05, 4.05, "Slight black"}, // -4.000000000000001 in doubles
        {DeviationAxis::Lightness, 50.00, 45.99, "More black"},
        {DeviationAxis::RedGreen, 0.35, 0.55, "Normal"}, // 0.20000000000000007 in doubles
        {DeviationAxis::RedGreen, 10.00, 10.21, "Slight red"},
        {DeviationAxis::YellowBlue, 1.14, 0.94, "Normal"},
        {DeviationAxis::YellowBlue, 30.00, 34.00, "Slight yellow"},
    };
    for (const Case& c : cases) {
        // Differences taken from the instrument's hundredths, as every path takes them.
        const long long difference = std::llround(c.sample * 100) - std::llround(c.standard * 100);
        QCOMPARE(colour::deviationWordSourceHundredths(c.axis, difference), c.word);
        // A double difference a hair off the shown value gets the word of the shown value.
        QCOMPARE(colour::deviationWordSource(c.axis, c.sample - c.standard), c.word);
    }
}

void TestComparisonSession::importIsJudgedLikeRejudging() {
    SessionRig rig("KV670");
    rig.instrument->setDeltaEParam({6, 5}); // CIEDE2000, threshold 0.5
    rig.instrument->fillRecords(50);
    QVERIFY(rig.connect());
    QVERIFY(!rig.session.importRecords({}, {}));
    ComparisonListModel& list = rig.session.list();
    QCOMPARE(list.totalCount(), rig.instrument->modeRecordCount(rig.session.displayMode()));
    QList<bool> imported;
    for (const ComparisonRecord& r : list.records()) {
        imported << r.pass;
        const colour::Lab s{r.standard[2] / 100.0, r.standard[3] / 100.0, r.standard[4] / 100.0};
        const colour::Lab p{r.sample[2] / 100.0, r.sample[3] / 100.0, r.sample[4] / 100.0};
        QCOMPARE(r.deltaE, int(colour::toHundredths(colour::deltaEByIndex(6, false, s, p))));
    }
    const int failed = list.failCount();
    QVERIFY(failed > 0 && failed < list.totalCount());
    rig.session.rejudge();
    QCOMPARE(list.failCount(), failed);
    for (int i = 0; i < list.totalCount(); ++i)
        QCOMPARE(list.record(i).pass, imported[i]);

    // Stopped after two chunks: the whole records read so far come in, named, and no more.
    rig.session.clearList();
    rig.instrument->fillRecords(400);
    const int recordSize = records::modeArea(rig.session.displayMode()).recordSize;
    int chunks = 0;
    ComparisonSession::ImportResult stopped;
    QVERIFY(!rig.session.importRecords(
        {}, [&](int) { ++chunks; }, &stopped, [&] { return chunks >= 2; }));
    QVERIFY(stopped.stopped);
    QCOMPARE(stopped.appended, 2 * records::kChunk / recordSize);
    QCOMPARE(list.totalCount(), stopped.appended);
    QVERIFY(!list.records().last().name.isEmpty());
}

void TestComparisonSession::failedStandardLeavesNoStandard() {
    SessionRig rig("KV510");
    QVERIFY(rig.connect());
    QVERIFY(rig.compare(reading(20, 80, 50, 0, 0), reading(20.5, 80, 50, 0, 0)));
    rig.instrument->setSilent(true);
    QVERIFY(rig.session.measure(1, rig.session.profile().pull));
    QVERIFY(!rig.session.hasStandard());
    rig.instrument->setSilent(false);
    std::optional<ComparisonRecord> compared;
    QVERIFY(!rig.session.measure(2, rig.session.profile().pull, &compared));
    QVERIFY(!compared);
    QVERIFY(rig.session.lastSample()); // shown, but not compared, counted or listed
    QCOMPARE(rig.session.list().totalCount(), 1);
}

void TestComparisonSession::unreadableTolerancesAreRefused() {
    auto instrument = sim::VirtualInstrument::fromPreset("KV510");
    instrument->setTolerance({100, 100, 10});
    LinkFramePort port;
    port.setTransportFactory([inst = instrument] { return inst->createTransport(); });
    port.setDelayFunction([](int) {});
    RecordingPrompter prompter;
    FirstPageFor510 page(port, prompter);
    page.setModelTable(ModelTable::load(QStringLiteral(VELORIN_METERNO)));
    QVERIFY(port.openLink());
    page.onDeviceConnected();
    const char* fields[] = {"lineEdit_hazeTolerance", "lineEdit_tTolerance",
                            "lineEdit_eThresholds"};
    const char* messages[] = {"information|Haze Tolerance must between 0-100!",
                              "information|Transmittance  Tolerance must between 0-100!",
                              "information|Thresholds must between 0.1-50!"};
    for (int f = 0; f < 3; ++f) {
        for (const char* typed : {"1,5", "", "abc"}) {
            for (const char* name : fields)
                page.findChild<QLineEdit*>(name)->setText(QStringLiteral("1"));
            page.findChild<QLineEdit*>(fields[f])->setText(QString::fromLatin1(typed));
            prompter.shown.clear();
            instrument->clearReceivedFrames();
            pagedriver::call(&page, "on_pushButton_setTolerance_clicked");
            QCOMPARE(prompter.messages(), QStringList{messages[f]});
            QVERIFY(instrument->receivedFrames().isEmpty()); // nothing was written
        }
    }
    QCOMPARE(instrument->tolerance().haze, uint16_t(100));

    // Where the decimal sign is a comma, "1,5" is what the validator lets through: it is 1.5.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    {
        FirstPageFor510 german(port, prompter);
        german.setModelTable(ModelTable::load(QStringLiteral(VELORIN_METERNO)));
        german.onDeviceConnected();
        QCOMPARE(german.findChild<QLineEdit*>(fields[0])->text(), QStringLiteral("1,00"));
        prompter.shown.clear();
        pagedriver::call(&german,
                         "on_pushButton_setTolerance_clicked"); // as read: accepted unchanged
        QCOMPARE(prompter.messages().last(), QStringLiteral("Information|Setup successfully!"));
        german.findChild<QLineEdit*>(fields[0])->setText(QStringLiteral("1,5"));
        german.findChild<QLineEdit*>(fields[1])->setText(QStringLiteral("1"));
        german.findChild<QLineEdit*>(fields[2])->setText(QStringLiteral("1"));
        pagedriver::call(&german, "on_pushButton_setTolerance_clicked");
    }
    QLocale::setDefault(QLocale::c());
    QCOMPARE(instrument->tolerance().haze, uint16_t(150));
}

void TestComparisonSession::journalSeesEveryChangeFirst() {
    SessionRig rig("KV510");
    FakeJournal journal;
    rig.session.setJournal(&journal);
    QVERIFY(rig.connect());
    ComparisonListModel& list = rig.session.list();
    // Refused by the journal: the comparison does not reach the list.
    journal.refuse = true;
    QVERIFY(!rig.compare(reading(20, 80, 50, 0, 0), reading(20.5, 80, 50, 0, 0)));
    QCOMPARE(list.totalCount(), 0);
    journal.refuse = false;
    QVERIFY(rig.compare(reading(20, 80, 50, 0, 0), reading(20.5, 80, 50, 0, 0)));
    QVERIFY(rig.compare(reading(20, 80, 50, 0, 0), reading(22, 80, 50, 0, 0)));
    QCOMPARE(list.record(0).name, QStringLiteral("Comp1")); // the refused one took no name
    QVERIFY(rig.session.renameRow(0, QStringLiteral("first")));
    QVERIFY(rig.session.removeRow(1));
    QCOMPARE(list.failCount(), 0);
    const QList<ComparisonRecord> kept = list.records();
    rig.session.clearList();
    QCOMPARE(journal.calls,
             (QStringList{"write 1", "write 1", "write 1", "rename first", "deleted", "cleared"}));

    // A restored list keeps its ids, names and counters, and goes on numbering after them.
    rig.session.restore(kept, Reading{});
    QCOMPARE(list.record(0).id, kept[0].id);
    QCOMPARE(list.record(0).name, QStringLiteral("first"));
    QVERIFY(rig.session.hasStandard());
    QCOMPARE(journal.calls.size(), 6); // restoring writes nothing
    QVERIFY(rig.compare(reading(20, 80, 50, 0, 0), reading(20, 80, 50, 0, 0)));
    QCOMPARE(list.record(1).name, QStringLiteral("Comp2"));
    QCOMPARE(list.record(1).sequence, 2);

    // Re-judging goes to the journal first; refused, the list keeps its verdicts.
    journal.calls.clear();
    QVERIFY(!rig.session.setTolerance(10, 100, 10));  // ±0.10 %: the 0.5 % row fails
    QCOMPARE(journal.calls, QStringList{"update 2"}); // both take the new tolerance
    QCOMPARE(list.failCount(), 1);
    journal.refuse = true;
    QVERIFY(!rig.session.setTolerance(100, 100, 10));
    QCOMPARE(list.failCount(), 1);
    QVERIFY(!rig.session.renameRow(0, QStringLiteral("refused")));
    QVERIFY(!rig.session.removeRow(0));
    QCOMPARE(list.record(0).name, QStringLiteral("first"));
}

void TestComparisonSession::commandLineCompare() {
    QTemporaryDir dir;
    const QString readings = dir.filePath("readings.txt");
    {
        QFile f(readings);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("30.00 80.00 50.00 0.00 0.00\n"
                "30.30 80.50 50.00 0.00 0.00\n"   // both at their bounds: PASS
                "30.31 80.00 50.00 0.00 0.00\n"   // haze over: NG
                "30.00 79.49 50.00 0.00 0.00\n"); // T over: NG
    }
    const QString out = dir.filePath("cli.xlsx");
    auto run = [&](const QStringList& extra, QString& output) {
        QProcess tool;
        tool.start(QStringLiteral(VELORIN_CLI),
                   QStringList{"--simulate", "KV510", "--readings", readings, "compare",
                               "--samples", "3", "--haze-tol", "0.30", "--t-tol", "0.50"} +
                       extra);
        if (!tool.waitForFinished(30000))
            return -1;
        output = QString::fromUtf8(tool.readAllStandardOutput());
        return tool.exitCode();
    };
    for (bool pushed : {false, true}) {
        QString output;
        QCOMPARE(run(pushed ? QStringList{"--pushed"} : QStringList{"--out", out}, output), 0);
        const QStringList lines = output.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines[0], comparisonsheet::headings(0).join(','));
        QVERIFY(lines[1].contains(",30.30%,") &&
                lines[1].endsWith(",±0.30%,0.30%,±0.50%,0.50%,PASS"));
        QVERIFY(lines[2].endsWith(",0.31%,±0.50%,0.00%,NG"));
        QVERIFY(lines[3].endsWith(",0.00%,±0.50%,-0.51%,NG"));
        QCOMPARE(lines[4], QStringLiteral("PASS 1 NG 2 TOTAL 3"));
    }
    QVERIFY(QFile::exists(out));

    // Refusals: a value out of range, a readings line that does not parse.
    QString output;
    QVERIFY(run({"--haze-tol", "100.5"}, output) != 0);
    QFile f(readings);
    QVERIFY(f.open(QIODevice::Append));
    f.write("30 80 fifty 0 0\n");
    f.close();
    QProcess tool;
    tool.start(QStringLiteral(VELORIN_CLI),
               {"--simulate", "KV510", "--readings", readings, "compare"});
    QVERIFY(tool.waitForFinished(30000));
    QVERIFY(tool.exitCode() != 0);
    QVERIFY(QString::fromUtf8(tool.readAllStandardError()).contains("line 5"));
}

// Everything a row shows, a report says or a re-judge changes comes from the record itself.
void TestComparisonSession::recordsCarryTheirOwnMeaning() {
    JudgingSettings hazeT;
    hazeT.displayMode = 0;
    hazeT.hazeTolerance = hazeT.tTolerance = 100;
    hazeT.threshold = 10;
    Reading standard, sample;
    standard.values = {2000, 8000, 5000, 1000, 2000};
    sample.values = {2300, 8000, 5000, 1000, 2000};
    ComparisonRecord r = judging::compare(standard, sample, hazeT);
    r.model = QStringLiteral("KV510");
    r.serialNumber = QStringLiteral("1");
    QVERIFY(!r.pass); // ΔHaze 3.00 % against ±1.00 %
    // The report of a Haze/T row is a Haze/T report, with ΔE*ab named where no formula judged.
    ReportSnapshot s = report::snapshotOf(r, false);
    QCOMPARE(s.displayModes, (std::array<bool, 7>{true, false, false, false, false, false, false}));
    QCOMPARE(s.hazeTolerance, QStringLiteral("±1.00%"));
    QCOMPARE(s.deltaEFormula, colour::formulaLabel(0, false));
    QCOMPARE(s.verdict, colour::verdictText(false));
    // Settings re-judged apply to rows of their own meaning only, and keep the row's mode.
    JudgingSettings lab = hazeT;
    lab.displayMode = 3;
    lab.hazeTolerance = 1000;
    const ComparisonRecord again = judging::rejudged(r, lab);
    QCOMPARE(again.settings.displayMode, 0);
    QVERIFY(again.pass);
    ListMeaning other = ListMeaning::of(r);
    QVERIFY(judging::appliesTo(other, r));
    other.serialNumber = QStringLiteral("2");
    QVERIFY(!judging::appliesTo(other, r));
    // A setting never read is shown as not read, never as a number.
    r.settings.hazeTolerance = r.settings.threshold = -1;
    QCOMPARE(comparisonrows::cellText(r, comparisonrows::ColHazeTolerance),
             QStringLiteral("-----"));
    QCOMPARE(comparisonrows::cellText(r, comparisonrows::ColThreshold), QStringLiteral("-----"));
    QCOMPARE(report::snapshotOf(r, false).hazeTolerance, QStringLiteral("-----"));
}

// "1,5" is 1.5 where the comma is the decimal sign and can never become 15 anywhere: no group
// separators, and nothing rewritten when the field is left.
void TestComparisonSession::decimalFieldsReadTheInterfaceLocale() {
    for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::German, QLocale::Germany)}) {
        DecimalValidator field(0, 100, 2);
        field.setLocale(locale);
        const bool comma = locale.decimalPoint() == QLatin1String(",");
        int at = 0;
        for (QString typed :
             {QStringLiteral("1,5"), QStringLiteral("1.5"), QStringLiteral("1,500.0")}) {
            const QValidator::State state = field.validate(typed, at);
            const std::optional<double> value = field.number(typed);
            QString fixed = typed;
            field.fixup(fixed);
            QCOMPARE(fixed, typed);
            if (typed == QLatin1String(comma ? "1,5" : "1.5")) {
                QCOMPARE(state, QValidator::Acceptable);
                QCOMPARE(*value, 1.5);
            } else {
                QCOMPARE(state, QValidator::Invalid);
                QVERIFY(!value || *value != 15);
            }
        }
    }
}

// a* and b* are averaged and C*, h derived: 350° and 10° average to 0°, not 180°.
void TestComparisonSession::averagingKeepsHueWhole() {
    Reading first, second;
    // Current layout: C* 20.00 at h 350.0° and 10.0°, sent without a*, b*.
    first.values[6] = second.values[6] = 2000;
    first.values[7] = 3500;
    second.values[7] = 100;
    Reading mean = readings::mean({first, second}, false);
    QCOMPARE(mean.values[7], 0);
    QCOMPARE(mean.values[6], 1970); // 20 cos 10°: the chroma of the mean colour
    QCOMPARE(mean.values[3], 0);    // a*, b* stay as sent (absent)
    // Old layout, a*, b* sent: C* and h follow them (h in hundredths of a degree).
    Reading a, b;
    a.values = {5000, 300, 0, 300, 0};
    b.values = {5200, 0, 300, 300, 9000};
    mean = readings::mean({a, b}, true);
    QCOMPARE(mean.values[0], 5100);
    QCOMPARE(mean.values[1], 150); // a*, b* are the means of the sent a*, b*
    QCOMPARE(mean.values[2], 150);
    QCOMPARE(mean.values[3], 212); // hypot(150, 150)
    QCOMPARE(mean.values[4], 4500);
    QCOMPARE(readings::spread({a, b}, 0), 200);
    QCOMPARE(readings::spread({a}, 0), -1);
}

void TestComparisonSession::commandLineAveragesAndWritesCsv() {
    QTemporaryDir dir;
    const QString readings = dir.filePath("readings.txt");
    {
        QFile f(readings);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("30.00 80.00 50.00 0.00 0.00\n"
                "30.20 80.40 50.00 0.00 0.00\n" // standard: 30.10, 80.20
                "30.50 80.00 50.00 0.00 0.00\n"
                "30.90 80.10 50.00 0.00 0.00\n"); // sample: 30.70, 80.05; spread 0.40
    }
    for (bool pushed : {false, true}) {
        const QString out = dir.filePath(pushed ? "pushed.csv" : "pulled.csv");
        QProcess tool;
        QStringList args{"--simulate", "KV510",   "--readings",
                         readings,     "compare", "--readings-per-measurement",
                         "2",          "--out",   out};
        if (pushed)
            args << "--pushed";
        tool.start(QStringLiteral(VELORIN_CLI), args);
        QVERIFY(tool.waitForFinished(30000));
        QCOMPARE(tool.exitCode(), 0);
        QFile f(out);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QList<csv::Record> records;
        QVERIFY(csv::parse(f.readAll(), records));
        QCOMPARE(records.size(), 2);
        const QStringList headings = comparisonsheet::headings(0);
        QCOMPARE(records.at(0).fields, headings);
        const QStringList& row = records.at(1).fields;
        QCOMPARE(row.at(headings.indexOf("Standard Haze")), QStringLiteral("30.1"));
        QCOMPARE(row.at(headings.indexOf("Standard Transmittance")), QStringLiteral("80.2"));
        QCOMPARE(row.at(headings.indexOf("Sample Haze")), QStringLiteral("30.7"));
        QCOMPARE(row.at(headings.indexOf("Sample Transmittance")), QStringLiteral("80.05"));
        QCOMPARE(row.at(headings.indexOf("△Haze")), QStringLiteral("0.6"));
    }
}

QTEST_MAIN(TestComparisonSession)
#include "tst_comparisonsession.moc"
