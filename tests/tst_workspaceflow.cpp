// The workspace page driven through the whole stack against the virtual instrument: pulled and
// pushed measurements, the comparison list and its counters, the settings and re-judging, and
// the language switch.
#include "apptestsupport.h"
#include "colour.h"
#include "firstpagefor510.h"
#include "frameport.h"
#include "pagedriver.h"
#include "pauselock.h"
#include "virtualinstrument.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTranslator>

#include "meterpagefor510.h"

namespace {

const QDateTime kNow(QDate(2024, 5, 6), QTime(10, 30));

struct Rig {
    std::shared_ptr<sim::VirtualInstrument> instrument;
    LinkFramePort port;
    RecordingPrompter prompter;
    std::unique_ptr<FirstPageFor510> page;

    explicit Rig(const QString& model, int firmware = -1)
        : instrument(sim::VirtualInstrument::fromPreset(model)) {
        if (firmware >= 0)
            instrument->setFirmwareVersion(firmware);
        instrument->setTolerance({100, 100, 10}); // 1.00 %, 1.00 %, dE 1.0
        setSample(20, 80, 50, 10, 20);
        port.setTransportFactory([inst = instrument] { return inst->createTransport(); });
        port.setDelayFunction([](int) {});
        page = std::make_unique<FirstPageFor510>(port, prompter);
        page->setModelTable(ModelTable::load(QStringLiteral(VELORIN_METERNO)));
        page->setBlinkDelay(0);
        page->setClock([] { return kNow; });
        page->resize(1090, 646);
    }
    ~Rig() { page->closeThreadSlot(); }
    bool connect() {
        if (!port.openLink())
            return false;
        page->openThreadSlot();
        page->onDeviceConnected();
        const bool ok = page->session().displayMode() >= 0 || page->session().oldLayout();
        prompter.shown.clear();
        return ok;
    }
    void setSample(double haze, double t, double L, double a, double b) {
        instrument->setMeasurement(sim::measurementFromLab(haze, t, L, a, b));
    }
    template <class T> T* child(const char* name) const { return page->findChild<T*>(name); }
    QTableView* list() const {
        return child<QTableView>(page->session().oldLayout() ? "tbData" : "tableWidget_data");
    }
    int rows() const { return list()->model()->rowCount(); }
    QString cell(int row, int column) const {
        return list()->model()->index(row, column).data().toString();
    }
    void standard() {
        page->session().oldLayout()
            ? pagedriver::call(page, "on_stdmeasurementBtn_clicked")
            : pagedriver::call(page, "on_pushButton_standardMeasurement_clicked");
    }
    void sample() {
        page->session().oldLayout()
            ? pagedriver::call(page, "on_samplemeasurementBtn_clicked")
            : pagedriver::call(page, "on_pushButton_sampleMeasurement_clicked");
    }
    // One comparison of a sample whose haze differs from the standard's by dHaze.
    void compare(double dHaze) {
        setSample(20, 80, 50, 10, 20);
        standard();
        setSample(20 + dHaze, 80, 50, 10, 20);
        sample();
    }
    bool countersConsistent() const {
        // The counters' texts follow a burst of changes once the event loop comes round.
        QCoreApplication::processEvents();
        int ng = 0;
        for (int row = 0; row < rows(); ++row)
            ng += cell(row, page->session().oldLayout() ? 14 : 28) == colour::verdictText(false);
        return page->session().list().failCount() == ng &&
               page->session().list().failCount() + page->session().list().passCount() ==
                   page->session().list().totalCount() &&
               page->session().list().totalCount() == rows() &&
               child<QLineEdit>("lineEdit_totalNum")->text() ==
                   QString::number(page->session().list().totalCount());
    }
};

QString tableText(QTableWidget* table, int row, int column) {
    if (auto* edit = qobject_cast<QLineEdit*>(table->cellWidget(row, column)))
        return edit->text();
    return table->item(row, column) ? table->item(row, column)->text() : QString();
}

} // namespace

class TestWorkspaceFlow : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    }
    void pullChoosesCommandByFirmware_data();
    void pullChoosesCommandByFirmware();
    void sampleWithoutStandardIsNotCompared();
    void comparisonFillsListAndCounters();
    void pushSplitAcrossDeliveriesIsComparedLikeAPull();
    void oldLayoutComparesWithItsFormula();
    void deleteRenameAndClear();
    void toleranceSettingsValidateAndRejudge();
    void displayModeChangeAsksTwiceAndShowsItsColumns();
    void fixedFormulaColorimeterSetsThresholdOnly();
    void selectableFormulaGoesThroughTheDialog();
    void reportCopiesTheRow();
    void spectralButtonOpensTheSpectralPage();
    void languageSwitchRewritesShownTexts();
    void grabsForReview();
};

void TestWorkspaceFlow::pullChoosesCommandByFirmware_data() {
    QTest::addColumn<int>("firmware");
    QTest::addColumn<bool>("fullBlock");
    QTest::newRow("KV510 106: colour block") << 106 << true;
    QTest::newRow("KV510 105: display-mode result") << 105 << false;
}

void TestWorkspaceFlow::pullChoosesCommandByFirmware() {
    QFETCH(int, firmware);
    QFETCH(bool, fullBlock);
    Rig rig("KV510", firmware);
    QVERIFY(rig.connect());
    QCOMPARE(rig.page->session().displayMode(), 0);
    rig.standard();
    auto* table = rig.child<QTableWidget>("tableWidget_colorDiff");
    QCOMPARE(tableText(table, 1, 1), QStringLiteral("20.00%"));
    QCOMPARE(tableText(table, 2, 1), QStringLiteral("80.00%"));
    // The Haze/T result carries no colour; its other rows show 0.
    QCOMPARE(tableText(table, 3, 1), fullBlock ? QStringLiteral("50.00") : QStringLiteral("0.00"));
    QVERIFY(rig.page->session().hasStandard());
    QVERIFY(rig.prompter.shown.isEmpty());
}

void TestWorkspaceFlow::sampleWithoutStandardIsNotCompared() {
    Rig rig("KV510");
    QVERIFY(rig.connect());
    rig.sample();
    QCOMPARE(tableText(rig.child<QTableWidget>("tableWidget_colorDiff"), 1, 2),
             QStringLiteral("20.00%"));
    QCOMPARE(rig.page->session().list().totalCount(), 0);
    QCOMPARE(rig.rows(), 0);

    // A failed pull says so and compares nothing.
    rig.instrument->setSilent(true);
    rig.sample();
    QCOMPARE(shownTexts(rig.prompter), QStringList{"Failed to read measurement data!"});
    QCOMPARE(rig.rows(), 0);
}

void TestWorkspaceFlow::comparisonFillsListAndCounters() {
    Rig rig("KV510");
    QVERIFY(rig.connect());
    rig.compare(0.5);
    rig.compare(2);
    QCOMPARE(rig.page->session().list().passCount(), 1);
    QCOMPARE(rig.page->session().list().failCount(), 1);
    QVERIFY(rig.countersConsistent());
    QCOMPARE(rig.child<QLabel>("label_result")->text(), colour::verdictText(false));
    auto* table = rig.child<QTableWidget>("tableWidget_colorDiff");
    QCOMPARE(tableText(table, 1, 3), QStringLiteral("2%"));

    QCOMPARE(rig.list()->model()->columnCount(), 36);
    QCOMPARE(rig.cell(0, 0), QStringLiteral("1"));
    QCOMPARE(rig.cell(0, 1), QStringLiteral("Comp1"));
    QCOMPARE(rig.cell(0, 2), QStringLiteral("2024/05/06  10:30"));
    QCOMPARE(rig.cell(0, 3), QStringLiteral("20.00%"));
    QCOMPARE(rig.cell(0, 14), QStringLiteral("20.50%"));
    QCOMPARE(rig.cell(0, 25), QStringLiteral("0.50%"));
    QCOMPARE(rig.cell(0, 28), colour::verdictText(true));
    QCOMPARE(rig.cell(0, 31), QStringLiteral("±1.00%"));
    QCOMPARE(rig.cell(0, 33), QStringLiteral("1.0"));
    QCOMPARE(rig.cell(0, 34), QStringLiteral("KV510"));
    QCOMPARE(rig.cell(0, 35), QString::number(rig.instrument->serialNumber()));
    QCOMPARE(rig.cell(1, 1), QStringLiteral("Comp2"));
    QCOMPARE(rig.list()->model()->index(1, 28).data(Qt::BackgroundRole).value<QBrush>().color(),
             QColor(Qt::red));
    for (int column = 31; column < 36; ++column)
        QVERIFY(rig.list()->isColumnHidden(column));

    // A value typed over the standard is the one the next comparison uses.
    auto* hazeEdit = qobject_cast<QLineEdit*>(table->cellWidget(1, 1));
    QVERIFY(hazeEdit);
    hazeEdit->setText(QStringLiteral("22.00%"));
    rig.sample();
    QCOMPARE(rig.cell(2, 25), QStringLiteral("0.00%"));
    // Not a number: refused when the cell is left, which shows the value in use again.
    for (const char* typed : {"", "abc", "20,5"}) {
        hazeEdit->setText(QString::fromLatin1(typed));
        emit hazeEdit->editingFinished();
        QCOMPARE(hazeEdit->text(), QStringLiteral("22.00%"));
        QVERIFY(rig.prompter.lastText().contains(QLatin1String("is not a number")));
    }
    rig.sample();
    QCOMPARE(rig.cell(3, 25), QStringLiteral("0.00%"));
}

void TestWorkspaceFlow::pushSplitAcrossDeliveriesIsComparedLikeAPull() {
    Rig rig("KV510");
    QVERIFY(rig.connect());
    // Pushed before any button: the standard.
    rig.instrument->splitNextPush(3);
    rig.instrument->pushMeasurement();
    QTRY_VERIFY(rig.page->session().hasStandard());
    QCOMPARE(rig.page->session().list().totalCount(), 0);

    rig.sample(); // pulled sample: comparison 1, and the next push is a sample
    QCOMPARE(rig.page->session().list().totalCount(), 1);
    rig.setSample(23, 80, 50, 10, 20);
    rig.instrument->splitNextPush(2);
    rig.instrument->pushMeasurement();
    QTRY_COMPARE(rig.page->session().list().totalCount(), 2);
    QCOMPARE(rig.cell(1, 14), QStringLiteral("23.00%"));
    QCOMPARE(rig.cell(1, 28), colour::verdictText(false));
    QVERIFY(rig.countersConsistent());
    QCOMPARE(rig.page->session().pendingPushBytes(), 0);
}

void TestWorkspaceFlow::oldLayoutComparesWithItsFormula() {
    Rig rig("KV620", 250);
    rig.instrument->setDeltaEParam({0, 15});
    QVERIFY(rig.connect());
    QVERIFY(rig.page->session().oldLayout());
    rig.setSample(0, 0, 50, 10, 20);
    rig.standard();
    rig.setSample(0, 0, 51, 10, 20);
    rig.sample();
    QCOMPARE(rig.list()->model()->columnCount(), 21);
    QCOMPARE(rig.rows(), 1);
    QCOMPARE(rig.cell(0, 13), QStringLiteral("1.00"));
    QCOMPARE(rig.cell(0, 14), colour::verdictText(true));
    QCOMPARE(rig.cell(0, 17), colour::formulaLabel(0, true));
    QCOMPARE(rig.cell(0, 18), QStringLiteral("1.5"));
    QCOMPARE(tableText(rig.child<QTableWidget>("tbColorDiff"), 1, 4),
             colour::deviationWord(colour::DeviationAxis::Lightness, 1));

    // Index 6 does not exist there: it reads as the first formula.
    rig.instrument->setDeltaEParam({6, 15});
    QCOMPARE(pagedriver::callInt(rig.page, "on_pushButton_readParameter_clicked"), 1);
    QCOMPARE(rig.child<QLineEdit>("lineEdit_formula")->text(), QStringLiteral("△E*ab"));

    // The old layout clears without asking.
    pagedriver::call(rig.page, "on_pushButton_clear_clicked");
    QVERIFY(rig.prompter.shown.isEmpty());
    QCOMPARE(rig.rows(), 0);
    QVERIFY(rig.countersConsistent());
}

void TestWorkspaceFlow::deleteRenameAndClear() {
    Rig rig("KV510");
    QVERIFY(rig.connect());
    rig.compare(0.5);
    rig.compare(3);
    rig.compare(0.2);
    rig.page->show();
    QVERIFY(QTest::qWaitForWindowExposed(rig.page.get()));

    // The painted Delete button of the NG row, clicked like a button.
    QTableView* list = rig.list();
    const QRect cell = list->visualRect(list->model()->index(1, 29));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(list->model()->rowCount(), 2);
    QCOMPARE(rig.page->session().list().failCount(), 0);
    QCOMPARE(rig.page->session().list().passCount(), 2);
    QVERIFY(rig.countersConsistent());
    QCOMPARE(rig.cell(1, 0), QStringLiteral("3")); // not renumbered
    QCOMPARE(rig.cell(1, 1), QStringLiteral("Comp3"));

    // Only the name opens an editor.
    pagedriver::call(rig.page, "doubleClickedSlot", 0, 2);
    QVERIFY(list->viewport()->findChildren<QLineEdit*>().isEmpty());
    pagedriver::call(rig.page, "doubleClickedSlot", 0, 1);
    QCOMPARE(list->viewport()->findChildren<QLineEdit*>().size(), 1);

    rig.prompter.answers = {QMessageBox::No};
    pagedriver::call(rig.page, "on_pushButton_clear_clicked");
    QCOMPARE(rig.prompter.messages(), QStringList{"Tip|Clearing data will clear all comparison "
                                                  "records. Are you sure you want to clear it?"});
    QCOMPARE(list->model()->rowCount(), 2);
    rig.prompter.answers = {QMessageBox::Yes};
    pagedriver::call(rig.page, "on_pushButton_clear_clicked");
    QCOMPARE(list->model()->rowCount(), 0);
    QVERIFY(rig.countersConsistent());
    QVERIFY(!rig.page->session().hasStandard());
    QCOMPARE(tableText(rig.child<QTableWidget>("tableWidget_colorDiff"), 1, 1),
             QStringLiteral("-----"));
    // An empty list asks nothing; names start again at Comp1.
    rig.prompter.shown.clear();
    pagedriver::call(rig.page, "on_pushButton_clear_clicked");
    QVERIFY(rig.prompter.shown.isEmpty());
    rig.compare(0.1);
    QCOMPARE(rig.cell(0, 1), QStringLiteral("Comp1"));
}

void TestWorkspaceFlow::toleranceSettingsValidateAndRejudge() {
    Rig rig("KV510");
    QVERIFY(rig.connect());
    rig.compare(0.5);
    rig.compare(3);
    auto* haze = rig.child<QLineEdit>("lineEdit_hazeTolerance");
    auto* t = rig.child<QLineEdit>("lineEdit_tTolerance");
    auto* threshold = rig.child<QLineEdit>("lineEdit_eThresholds");
    // A typed value the instrument does not hold is marked until it is set.
    QVERIFY(!haze->property("unapplied").toBool());
    haze->setText(QStringLiteral("1.5"));
    QVERIFY(haze->property("unapplied").toBool());
    haze->setText(QStringLiteral("1.0"));
    QVERIFY(!haze->property("unapplied").toBool()); // 1.0 is the 1.00 in force
    struct Case {
        const char* haze;
        const char* t;
        const char* threshold;
        const char* message;
    };
    const Case refused[] = {
        {"100.01", "1", "1", "information|Haze Tolerance must between 0-100!"},
        {"-0.01", "1", "1", "information|Haze Tolerance must between 0-100!"},
        {"1", "100.5", "1", "information|Transmittance  Tolerance must between 0-100!"},
        {"1", "1", "0.05", "information|Thresholds must between 0.1-50!"},
        {"1", "1", "50.1", "information|Thresholds must between 0.1-50!"},
    };
    for (const Case& c : refused) {
        rig.prompter.shown.clear();
        haze->setText(c.haze);
        t->setText(c.t);
        threshold->setText(c.threshold);
        pagedriver::call(rig.page, "on_pushButton_setTolerance_clicked");
        QCOMPARE(rig.prompter.messages(), QStringList{c.message});
        QCOMPARE(rig.instrument->tolerance().haze, uint16_t(100)); // nothing reached it
    }

    // The range ends are accepted; typed hundredths arrive whole (0.29 is 29, not 28).
    rig.prompter.shown.clear();
    haze->setText("100");
    t->setText("0.29");
    threshold->setText("0.1");
    pagedriver::call(rig.page, "on_pushButton_setTolerance_clicked");
    QCOMPARE(rig.prompter.messages(), QStringList{"Information|Setup successfully!"});
    QCOMPARE(rig.instrument->tolerance().haze, uint16_t(10000));
    QVERIFY(!haze->property("unapplied").toBool() && !t->property("unapplied").toBool());
    QCOMPARE(rig.instrument->tolerance().transmittance, uint16_t(29));
    QCOMPARE(rig.instrument->tolerance().threshold, uint16_t(1));

    // Both rows pass now; the hidden columns say what they were judged with, as new rows do.
    QCOMPARE(rig.page->session().list().passCount(), 2);
    QVERIFY(rig.countersConsistent());
    QCOMPARE(rig.cell(1, 28), colour::verdictText(true));
    QCOMPARE(rig.cell(0, 31), QStringLiteral("±100.00%"));
    QCOMPARE(rig.cell(0, 32), QStringLiteral("±0.29%"));
    QCOMPARE(rig.cell(0, 33), QStringLiteral("0.1"));
    QCOMPARE(rig.child<QLabel>("label_result")->text(), colour::verdictText(true));
    rig.compare(1);
    QCOMPARE(rig.cell(2, 31), QStringLiteral("±100.00%"));

    // A failed write keeps the page's copies.
    rig.instrument->setSilent(true);
    rig.prompter.shown.clear();
    haze->setText("2");
    pagedriver::call(rig.page, "on_pushButton_setTolerance_clicked");
    QCOMPARE(rig.prompter.messages(), QStringList{"Error|Failed to Setup  Tolerance information!"});
    QCOMPARE((rig.page->session().hazeTolerance() / 100.0), 100.0);
}

void TestWorkspaceFlow::displayModeChangeAsksTwiceAndShowsItsColumns() {
    Rig rig("KV510");
    QVERIFY(rig.connect());
    rig.child<QRadioButton>("radioButton_haze")->setChecked(true);
    pagedriver::call(rig.page, "on_pushButton_setDisplayParameter_clicked");
    QVERIFY(rig.prompter.shown.isEmpty());
    QCOMPARE(rig.instrument->displayMode(), 1);
    QCOMPARE(rig.page->session().displayMode(), 1);
    QTableView* list = rig.list();
    for (int column = 3; column <= 27; ++column)
        QCOMPARE(list->isColumnHidden(column), column != 3 && column != 14 && column != 25);
    auto* table = rig.child<QTableWidget>("tableWidget_colorDiff");
    for (int row = 1; row <= 12; ++row)
        QCOMPARE(table->isRowHidden(row), row != 1);
    // Columns are as wide as what they hold: the haze column takes "100.00%" whole.
    QVERIFY(list->columnWidth(3) >=
            list->fontMetrics().horizontalAdvance(QStringLiteral("100.00%")));
    QVERIFY(list->columnWidth(2) >=
            list->fontMetrics().horizontalAdvance(QStringLiteral("2026/12/30  23:59")));

    // Haze mode judges haze only. Once the instrument takes Lab, the Haze rows are closed into
    // the history: no second question, and no row is ever shown under the Lab columns.
    rig.compare(0.5);
    rig.child<QRadioButton>("radioButton_Lab")->setChecked(true);
    rig.prompter.answers = {QMessageBox::Yes, QMessageBox::No};
    pagedriver::call(rig.page, "on_pushButton_setDisplayParameter_clicked");
    QCOMPARE(rig.prompter.shown.size(), 1);
    QCOMPARE(rig.prompter.shown[0].title, QStringLiteral("Warn"));
    // A warning box that asks, with Yes and No.
    QCOMPARE(rig.prompter.shown[0].kind, QStringLiteral("warning"));
    QCOMPARE(rig.prompter.shown[0].buttons, QMessageBox::Yes | QMessageBox::No);
    // Enter and Esc answer what loses nothing.
    QCOMPARE(rig.prompter.shown[0].defaultButton, QMessageBox::No);
    QCOMPARE(list->model()->rowCount(), 0);
    QCOMPARE(rig.instrument->displayMode(), 3);
    QVERIFY(!list->isColumnHidden(27));
    QVERIFY(list->isColumnHidden(3));

    // Refused at the first question: nothing is written.
    rig.compare(0.5);
    rig.child<QRadioButton>("radioButton_hazeT")->setChecked(true);
    rig.prompter.answers = {QMessageBox::No};
    pagedriver::call(rig.page, "on_pushButton_setDisplayParameter_clicked");
    QCOMPARE(rig.instrument->displayMode(), 3);
    QCOMPARE(list->model()->rowCount(), 1);
}

void TestWorkspaceFlow::fixedFormulaColorimeterSetsThresholdOnly() {
    Rig rig("KV650", 300);
    rig.instrument->setDeltaEParam({3, 10}); // a stored CMC formula changes nothing here
    QVERIFY(rig.connect());
    QCOMPARE(rig.page->session().identity().uiIndex, 2);
    QVERIFY(rig.child<QLineEdit>("lineEdit_formula")->isHidden());
    rig.setSample(0, 0, 50, 10, 20);
    rig.standard();
    rig.setSample(0, 0, 50.5, 10.5, 20);
    rig.sample();
    QCOMPARE(rig.cell(0, 27),
             QString::number(colour::deltaEab(50, 10, 20, 50.5, 10.5, 20), 'f', 2));

    auto* threshold = rig.child<QLineEdit>("lineEdit_thresholds");
    threshold->setText("4.1"); // 41 in single precision; a double product would truncate to 40
    pagedriver::call(rig.page, "on_pushButton_setParameter_clicked");
    QVERIFY(rig.prompter.shown.isEmpty());
    QCOMPARE(rig.instrument->deltaEParam().formula, uint8_t(0));
    QCOMPARE(rig.instrument->deltaEParam().threshold, uint16_t(41));
    QCOMPARE((rig.page->session().verdictThreshold() / 10.0), 4.1);
    QCOMPARE(rig.cell(0, 33), QStringLiteral("4.1"));

    threshold->setText("0.05");
    pagedriver::call(rig.page, "on_pushButton_setParameter_clicked");
    rig.page->setChinese(true);
    pagedriver::call(rig.page, "on_pushButton_setParameter_clicked");
    QCOMPARE(rig.prompter.messages(), (QStringList{"information|Thresholds must between 0.1—50!",
                                                   "提示|阀值必须介于0.1-50之间！"}));
    rig.prompter.shown.clear();
    threshold->setText("2");
    rig.instrument->setSilent(true);
    pagedriver::call(rig.page, "on_pushButton_setParameter_clicked");
    QCOMPARE(rig.prompter.messages(), QStringList{"错误|写入△E参数信息失败！"});
    QCOMPARE((rig.page->session().verdictThreshold() / 10.0), 4.1);
}

void TestWorkspaceFlow::selectableFormulaGoesThroughTheDialog() {
    Rig rig("KV670");
    rig.instrument->setDeltaEParam({0, 5});
    QVERIFY(rig.connect());
    rig.setSample(0, 0, 50, 10, 20);
    rig.standard();
    rig.setSample(0, 0, 50.6, 10, 20);
    rig.sample();
    QCOMPARE(rig.cell(0, 28), colour::verdictText(false)); // 0.60 > 0.5

    bool lockHeld = false;
    bool isParameterDialog = false;
    rig.page->setDialogRunner([&](QDialog& dialog) -> int {
        lockHeld = !rig.page->pauseLock()->tryLock(0);
        isParameterDialog = dialog.inherits("setEParameterPageFor670");
        rig.instrument->setDeltaEParam({2, 10}); // what the dialog writes
        return int(QDialog::Accepted);
    });
    pagedriver::call(rig.page, "on_pushButton_setParameter_clicked");
    QVERIFY(lockHeld);
    QVERIFY(isParameterDialog);
    QCOMPARE(rig.page->session().formulaIndex(), 2);
    QCOMPARE(rig.child<QLineEdit>("lineEdit_formula")->text(), colour::formulaLabel(2, false));
    const double e94 = colour::deltaE94(50, 10, 20, 50.6, 10, 20);
    QCOMPARE(rig.cell(0, 27), QString::number(e94, 'f', 2));
    QCOMPARE(rig.cell(0, 28), colour::verdictText(e94 <= 1.0));
    QVERIFY(rig.countersConsistent());

    // Cancelled: nothing is read back.
    rig.instrument->setDeltaEParam({1, 10});
    rig.page->setDialogRunner([](QDialog&) { return int(QDialog::Rejected); });
    pagedriver::call(rig.page, "on_pushButton_setParameter_clicked");
    QCOMPARE(rig.page->session().formulaIndex(), 2);
}

void TestWorkspaceFlow::spectralButtonOpensTheSpectralPage() {
    Rig rig("KV670");
    QVERIFY(rig.connect());
    int kind = -1;
    int measured = -1;
    rig.page->setDialogRunner([&](QDialog& dialog) -> int {
        auto* spectral = qobject_cast<MeterPageFor510*>(&dialog);
        if (!spectral)
            return int(QDialog::Rejected);
        kind = spectral->uiIndex();
        // A measurement from the page, taken while the worker keeps polling.
        pagedriver::call(spectral, "on_pushButton_spectralMeasurement_clicked");
        measured = static_cast<int>(spectral->records().size());
        return int(QDialog::Accepted);
    });
    pagedriver::call(rig.page, "on_pushButton_spectralTransmittance_clicked");
    QCOMPARE(kind, 1);
    QCOMPARE(measured, 1);
    QVERIFY(rig.prompter.shown.isEmpty());
}

void TestWorkspaceFlow::reportCopiesTheRow() {
    Rig rig("KV510");
    QVERIFY(rig.connect());
    rig.compare(0.5);
    int opened = 0;
    rig.page->setReportOpener([&](const ReportSnapshot&, bool old) {
        QVERIFY(!old);
        ++opened;
    });
    pagedriver::call(rig.page, "on_ReportBtn_clicked", 0);
    QCOMPARE(opened, 1);
    const ReportSnapshot& s = rig.page->reportSnapshot();
    QCOMPARE(s.sampleName, QStringLiteral("Comp1"));
    QCOMPARE(s.testTime, QStringLiteral("2024/05/06  10:30"));
    QCOMPARE(s.standard.haze, 20.0);
    QCOMPARE(s.sample.haze, 20.5);
    QCOMPARE(s.standard.L, 50.0);
    QCOMPARE(s.difference.haze, 0.5);
    QCOMPARE(s.verdict, colour::verdictText(true));
    QCOMPARE(s.hazeTolerance, QStringLiteral("±1.00%"));
    QCOMPARE(s.device, QStringLiteral("KV510"));
    QCOMPARE(s.serialNumber, QString::number(rig.instrument->serialNumber()));
    QVERIFY(s.displayModes[0] && !s.displayModes[3]);
}

void TestWorkspaceFlow::languageSwitchRewritesShownTexts() {
    Rig rig("KV510");
    QVERIFY(rig.connect());
    rig.setSample(20, 80, 50, 10, 20);
    rig.standard();
    rig.setSample(20.5, 80, 45, 10, 20.3); // L* 5 darker, b* 0.3 yellower
    rig.sample();
    rig.compare(3);

    QTranslator translator;
    QVERIFY(translator.load(QCoreApplication::applicationDirPath() + "/Velorin_zh.qm"));
    QCoreApplication::installTranslator(&translator);
    rig.page->setChinese(true);
    rig.page->retranslate();
    auto* table = rig.child<QTableWidget>("tableWidget_colorDiff");
    QCOMPARE(rig.child<QLabel>("label_result")->text(), QStringLiteral("不合格"));
    QCOMPARE(rig.cell(0, 28), QStringLiteral("合格"));
    QCOMPARE(rig.cell(1, 28), QStringLiteral("不合格"));
    QCOMPARE(tableText(table, 0, 1), QStringLiteral("标准"));
    QCOMPARE(tableText(table, 1, 0), QStringLiteral("雾度"));
    QCOMPARE(rig.child<QPushButton>("pushButton_spectralTransmittance")->text(),
             QStringLiteral("光谱透过率"));
    // Deleting after the switch still finds the NG row by its translated verdict.
    pagedriver::call(rig.page, "on_DeleteBtn_clicked", 1);
    QVERIFY(rig.countersConsistent());

    QCoreApplication::removeTranslator(&translator);
    rig.page->setChinese(false);
    rig.page->retranslate();
    QCOMPARE(rig.cell(0, 28), QStringLiteral("PASS"));
    QCOMPARE(rig.child<QLabel>("label_result")->text(), QStringLiteral("NG"));
}

// With VELORIN_GRAB_DIR set, saves the page with data for each model and language, to look at.
void TestWorkspaceFlow::grabsForReview() {
    const QString dir = qEnvironmentVariable("VELORIN_GRAB_DIR");
    if (dir.isEmpty())
        QSKIP("VELORIN_GRAB_DIR not set");
    QTranslator translator;
    QVERIFY(translator.load(QCoreApplication::applicationDirPath() + "/Velorin_zh.qm"));
    for (const char* model : {"KV510", "KV620", "KV650", "KV670"}) {
        for (bool chinese : {false, true}) {
            Rig rig(model, QByteArray(model) == "KV620" ? 250 : -1);
            rig.instrument->setDeltaEParam({0, 10});
            if (chinese)
                QCoreApplication::installTranslator(&translator);
            rig.page->setChinese(chinese);
            rig.page->retranslate();
            QVERIFY(rig.connect());
            rig.compare(0.5);
            rig.setSample(22, 78, 48, 11, 19);
            rig.sample();
            rig.page->resize(1400, 800);
            rig.page->show();
            QTest::qWait(50);
            rig.page->grab().save(
                QDir(dir).filePath(QStringLiteral("%1_%2.png").arg(model, chinese ? "zh" : "en")));
            QCoreApplication::removeTranslator(&translator);
        }
    }
}

QTEST_MAIN(TestWorkspaceFlow)
#include "tst_workspaceflow.moc"
