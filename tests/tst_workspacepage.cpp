// The workspace page's part in a connection: identifying the instrument and choosing the
// variant, and the text helper for the instrument's 8-bit names.
#include "apptestsupport.h"
#include "firstpagefor510.h"
#include "frameport.h"
#include "instrumenttext.h"
#include "pagedriver.h"
#include "virtualinstrument.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct PageRig {
    std::shared_ptr<sim::VirtualInstrument> instrument;
    LinkFramePort port;
    RecordingPrompter prompter;
    std::unique_ptr<FirstPageFor510> page;

    explicit PageRig(const QString& model, int firmware = -1)
        : instrument(sim::VirtualInstrument::fromPreset(model)) {
        if (firmware >= 0)
            instrument->setFirmwareVersion(firmware);
        port.setTransportFactory([inst = instrument] { return inst->createTransport(); });
        page = std::make_unique<FirstPageFor510>(port, prompter);
        page->setModelTable(ModelTable::load(QStringLiteral(VELORIN_METERNO)));
    }
    bool connect() {
        if (!port.openLink())
            return false;
        page->openThreadSlot();
        page->onDeviceConnected();
        // Identified, with a mode the page can show.
        return page->session().meaningInForce().has_value();
    }
    template <class T> T* child(const char* name) const { return page->findChild<T*>(name); }
    bool shown(const char* name) const { return !child<QWidget>(name)->isHidden(); }
};

} // namespace

class TestWorkspacePage : public QObject {
    Q_OBJECT
  private slots:
    void identifiesInstrument();
    void fallsBackToProductionInfo();
    void unknownMeterNumberStopsBeforeVersion();
    void emptyModelTableConfiguresKindZero();
    void oldLayoutByModelAndVersion_data();
    void oldLayoutByModelAndVersion();
    void hazeTLabFromVersion114();
    void unsuitableDisplayModeIsRefused();
    void connectionReadsParameterOfColorimeter();
    void decodesInstrumentTexts();
};

void TestWorkspacePage::identifiesInstrument() {
    PageRig rig("KV510");
    QVERIFY(rig.connect());
    QCOMPARE(rig.child<QLineEdit>("lineEdit_serialNo")->text(),
             QString::number(rig.instrument->serialNumber()));
    QCOMPARE(rig.child<QLineEdit>("lineEdit_firmwareVersion")->text(),
             QString::number(rig.instrument->firmwareVersion() / 100.0, 'f', 2));
    QCOMPARE(rig.page->session().modelName(), QStringLiteral("KV510"));
    QCOMPARE(rig.page->session().identity().uiIndex, 0);
    // Identifying says nothing; the settings read after it says it read them.
    QCOMPARE(shownTexts(rig.prompter), QStringList{"Read successful!"});
    // The exchange released the lock: the worker goes on polling and picks up a push.
    rig.instrument->pushMeasurement();
    QTRY_VERIFY_WITH_TIMEOUT(rig.page->session().hasStandard(), 3000);
}

void TestWorkspacePage::fallsBackToProductionInfo() {
    PageRig rig("KV620", 300);
    rig.instrument->setKeyInfoSupported(false);
    QVERIFY(rig.connect());
    QCOMPARE(rig.child<QLineEdit>("lineEdit_serialNo")->text(),
             QString::number(rig.instrument->serialNumber()));
    QCOMPARE(rig.page->session().modelName(), QStringLiteral("KV620"));
}

void TestWorkspacePage::unknownMeterNumberStopsBeforeVersion() {
    PageRig rig("KV510");
    rig.instrument->setMeterNumber(4242);
    QVERIFY(!rig.connect());
    QCOMPARE(shownTexts(rig.prompter).value(0), QStringLiteral("Read MeterNo Fail!"));
    QCOMPARE(rig.page->session().modelName(), FirstPageFor510::tr("UnKnow"));
    QVERIFY(rig.child<QLineEdit>("lineEdit_firmwareVersion")->text().isEmpty());
    QCOMPARE(rig.page->session().displayMode(), -1);
}

void TestWorkspacePage::emptyModelTableConfiguresKindZero() {
    PageRig rig("KV630");
    QTemporaryDir dir;
    rig.page->setModelTable(ModelTable::load(dir.filePath("meterno")));
    rig.instrument->setDisplayMode(5); // Yxy suits kind 0
    QVERIFY(rig.connect());
    QCOMPARE(rig.page->session().modelName(), FirstPageFor510::tr("UnKnow"));
    QCOMPARE(rig.page->session().identity().uiIndex, 0);
    QCOMPARE(rig.page->session().displayMode(), 5);
}

void TestWorkspacePage::oldLayoutByModelAndVersion_data() {
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("firmware");
    QTest::addColumn<bool>("old");
    QTest::newRow("KV620 299") << "KV620" << 299 << true;
    QTest::newRow("KV620 300") << "KV620" << 300 << false;
    QTest::newRow("KV630 399") << "KV630" << 399 << true;
    QTest::newRow("KV630 400") << "KV630" << 400 << false;
    QTest::newRow("KV510 100") << "KV510" << 100 << false;
}

void TestWorkspacePage::oldLayoutByModelAndVersion() {
    QFETCH(QString, model);
    QFETCH(int, firmware);
    QFETCH(bool, old);
    PageRig rig(model, firmware);
    QVERIFY(rig.connect());
    QCOMPARE(rig.shown("groupBox_setDisplayParameter"), !old);
    auto* comparison = rig.child<QStackedWidget>("stackedWidget_comparisonMeasurement");
    QCOMPARE(comparison->currentWidget()->objectName(),
             old ? QStringLiteral("page_oldComparisonMeasurement")
                 : QStringLiteral("page_newComparisonMeasurement"));
    // The old layout reads no display mode.
    QCOMPARE(rig.page->session().displayMode() == -1, old);
}

void TestWorkspacePage::hazeTLabFromVersion114() {
    for (int firmware : {113, 114}) {
        PageRig rig("KV510", firmware);
        QVERIFY(rig.connect());
        QCOMPARE(rig.shown("radioButton_hazeTLab"), firmware == 114);
    }
    // A KV510 that measures haze and T only never offers it; a mode it reports that the page
    // cannot show leaves no mode chosen, and nothing is measured in a mode that is not known.
    PageRig hazeOnly("KV510", 114);
    hazeOnly.instrument->setMeterNumber(5110);
    hazeOnly.instrument->setDisplayMode(6);
    QVERIFY(!hazeOnly.connect());
    for (const char* radio : {"radioButton_hazeTLab", "radioButton_Lab", "radioButton_LCh"})
        QVERIFY(!hazeOnly.shown(radio));
    QVERIFY(hazeOnly.shown("radioButton_hazeT"));
    for (auto* radio : hazeOnly.page->findChildren<QRadioButton*>())
        QVERIFY(!radio->isChecked());
    hazeOnly.prompter.shown.clear();
    pagedriver::call(hazeOnly.page, "on_pushButton_sampleMeasurement_clicked");
    QCOMPARE(shownTexts(hazeOnly.prompter), QStringList{"Failed to read DisplayParam!"});
    QCOMPARE(hazeOnly.page->session().list().totalCount(), 0);
}

void TestWorkspacePage::unsuitableDisplayModeIsRefused() {
    PageRig rig("KV630");
    rig.instrument->setDisplayMode(0); // haze and T on a colorimeter
    QVERIFY(!rig.connect());
    QCOMPARE(shownTexts(rig.prompter).value(0), QStringLiteral("Failed to read DisplayParam!"));
}

void TestWorkspacePage::connectionReadsParameterOfColorimeter() {
    PageRig rig("KV670");
    QVERIFY(rig.port.openLink());
    rig.page->openThreadSlot();
    rig.page->onDeviceConnected();
    QCOMPARE(rig.page->session().identity().uiIndex, 1);
    QCOMPARE(rig.child<QStackedWidget>("stackedWidget")->currentWidget()->objectName(),
             QStringLiteral("page_eParameter"));
    QCOMPARE(rig.page->session().formulaIndex(), int(rig.instrument->deltaEParam().formula));
    QCOMPARE((rig.page->session().verdictThreshold() / 10.0),
             rig.instrument->deltaEParam().threshold / 10.0);
    QVERIFY(!rig.child<QLineEdit>("lineEdit_formula")->text().isEmpty());
    QVERIFY(rig.prompter.shown.isEmpty()); // reading the parameter confirms nothing

    // Without a link every action asks for the instrument first.
    rig.page->closeThreadSlot();
    rig.port.closeLink();
    QCOMPARE(pagedriver::callInt(rig.page, "on_pushButton_readParameter_clicked"), -1);
    QCOMPARE(shownTexts(rig.prompter), QStringList{"Please connect the device first!"});
}

void TestWorkspacePage::decodesInstrumentTexts() {
    QCOMPARE(decodeInstrumentText(QByteArray("Comp12\0\0\0\0", 10)), QStringLiteral("Comp12"));
    QCOMPARE(decodeInstrumentText(QByteArray("样品A")), QStringLiteral("样品A"));
    // "样品" in GB18030 (GBK range), as a Chinese Windows host writes it.
    QCOMPARE(decodeInstrumentText(QByteArray("\xD1\xF9\xC6\xB7"
                                             "A\0",
                                             6)),
             QStringLiteral("样品A"));
    // Neither UTF-8 nor GB18030: every byte kept as Latin-1.
    QCOMPARE(decodeInstrumentText(QByteArray("caf\xE9")), QString::fromLatin1("caf\xE9"));
    QVERIFY(decodeInstrumentText(QByteArray()).isEmpty());
}

QTEST_MAIN(TestWorkspacePage)
#include "tst_workspacepage.moc"
