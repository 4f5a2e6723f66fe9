// The application shell: device arrival and removal, the worker's life with the connection,
// language switching, the single-instance guard, the drag filter and the skin.
#include "appinit.h"
#include "apptestsupport.h"
#include "firstpagefor510.h"
#include "lookandfeel.h"
#include "mainwindow.h"
#include "mythread.h"
#include "pagedriver.h"
#include "singleinstance.h"
#include "startup.h"
#include "virtualinstrument.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QUuid>

namespace {

struct Rig {
    std::shared_ptr<sim::VirtualInstrument> instrument =
        sim::VirtualInstrument::fromPreset("KV510");
    RecordingPrompter prompter;
    ManualWatcher* watcher = nullptr;
    std::unique_ptr<MainWindow> window;

    explicit Rig(bool plugged = true, QStringList translationDirs = {}) {
        if (!plugged)
            instrument->unplug();
        MainWindowSetup setup;
        auto manual = std::make_unique<ManualWatcher>();
        watcher = manual.get();
        setup.watcher = std::move(manual);
        setup.transportFactory = [inst = instrument] { return inst->createTransport(); };
        setup.prompter = &prompter;
        setup.translationDirs = translationDirs.isEmpty()
                                    ? QStringList{QCoreApplication::applicationDirPath()}
                                    : translationDirs;
        window = std::make_unique<MainWindow>(std::move(setup));
    }
    FirstPageFor510* page() const { return window->page(); }
    QString serial() const { return page()->findChild<QLineEdit*>("lineEdit_serialNo")->text(); }
    QString deviceBoxTitle() const {
        return page()->findChild<QGroupBox*>("groupBox_deviceInformation")->title();
    }
};

void mouse(QObject* target, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons,
           QPoint global, bool* consumed) {
    QMouseEvent event(type, QPointF(0, 0), QPointF(global), button, buttons, Qt::NoModifier);
    *consumed = AppInit::Instance()->eventFilter(target, &event);
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
  private slots:
    void instrumentPresentAtStartIsOpenedAndIdentified();
    void arrivalOpensInstrumentAndStartsWorker();
    void unrelatedArrivalWithoutInstrumentFailsQuietly();
    void unrelatedRemovalKeepsLink();
    void removalStopsWorkerKeepsPageAndArrivalStartsFreshWorker();
    void unplugKeepsTheListAnotherInstrumentDropsTheStandard();
    void enterInAFieldPressesNothing();
    void languageSwitchesBothWays();
    void missingTranslationLeavesLanguage();
    void chineseTranslationIsComplete();
    void secondInstanceWakesFirstAndExits();
    void dragFilter();
    void skinGivesPaletteByPosition();
};

void TestMainWindow::instrumentPresentAtStartIsOpenedAndIdentified() {
    Rig rig;
    QVERIFY(!rig.window->isLampOn());
    QTRY_VERIFY(rig.window->isLampOn());
    QVERIFY(rig.watcher->started);
    QCOMPARE(rig.serial(), QString::number(rig.instrument->serialNumber()));
    QCOMPARE(rig.page()->session().modelName(), QStringLiteral("KV510"));
    QCOMPARE(rig.page()->session().identity().firmwareVersion, rig.instrument->firmwareVersion());
    QCOMPARE(rig.page()->session().displayMode(), rig.instrument->displayMode());
    // The connection reads the tolerances and confirms it.
    QCOMPARE((rig.page()->session().hazeTolerance() / 100.0),
             rig.instrument->tolerance().haze / 100.0);
    QCOMPARE(shownTexts(rig.prompter), QStringList{FirstPageFor510::tr("Read successful!")});
}

void TestMainWindow::arrivalOpensInstrumentAndStartsWorker() {
    Rig rig(false);
    QTest::qWait(50); // the start-up attempt finds nothing
    QVERIFY(!rig.window->isLampOn());
    QVERIFY(!rig.page()->worker());

    rig.instrument->plug();
    rig.watcher->arrive();
    QVERIFY(rig.window->isLampOn());
    QVERIFY(rig.window->isLinkOpen());
    QVERIFY(rig.page()->workerThread() && rig.page()->workerThread()->isRunning());
    QCOMPARE(rig.serial(), QString::number(rig.instrument->serialNumber()));

    // The worker picks up what the instrument sends on its own: it becomes the standard.
    rig.instrument->pushMeasurement();
    QTRY_VERIFY_WITH_TIMEOUT(rig.page()->session().hasStandard(), 3000);
}

void TestMainWindow::unrelatedArrivalWithoutInstrumentFailsQuietly() {
    Rig rig(false);
    QTest::qWait(50);
    rig.watcher->arrive();
    QVERIFY(!rig.window->isLampOn());
    QVERIFY(!rig.window->framePort().hasLink());
    QVERIFY(!rig.page()->worker());
    QVERIFY(rig.prompter.shown.isEmpty());
}

void TestMainWindow::unrelatedRemovalKeepsLink() {
    Rig rig;
    QTRY_VERIFY(rig.window->isLampOn());
    MyThread* worker = rig.page()->worker();
    rig.watcher->remove();
    QVERIFY(rig.window->isLampOn());
    QVERIFY(rig.window->isLinkOpen());
    QCOMPARE(rig.page()->worker(), worker);
    // A second arrival while connected changes nothing either.
    rig.watcher->arrive();
    QCOMPARE(rig.page()->worker(), worker);
    QCOMPARE(rig.prompter.shown.size(), 1);

    // Escape would close the program's only window, and with it the results.
    rig.window->show();
    QTest::keyClick(rig.window.get(), Qt::Key_Escape);
    QVERIFY(rig.window->isVisible());
}

void TestMainWindow::removalStopsWorkerKeepsPageAndArrivalStartsFreshWorker() {
    Rig rig;
    QTRY_VERIFY(rig.window->isLampOn());
    QPointer<QThread> firstThread = rig.page()->workerThread();
    rig.instrument->pushMeasurement();
    QTRY_VERIFY(rig.page()->session().hasStandard());
    const int standardHaze = rig.page()->session().standard()->values[0];

    // A measurement in flight when the cable goes must not land in the page.
    sim::Measurement other = rig.instrument->measurement();
    other.haze += 500;
    rig.instrument->setMeasurement(other);
    rig.instrument->pushMeasurement();
    rig.instrument->unplug();
    rig.watcher->remove();
    QVERIFY(!rig.window->isLampOn());
    QVERIFY(!rig.window->framePort().hasLink());
    QVERIFY(!rig.page()->worker());
    QVERIFY(!firstThread); // stopped and released
    QTest::qWait(700);     // longer than the blink of a pushed measurement
    QCOMPARE(rig.page()->session().standard()->values[0], standardHaze);
    QCOMPARE(rig.page()->session().pendingPushBytes(), 0);

    rig.instrument->plug();
    rig.watcher->arrive();
    QVERIFY(rig.window->isLampOn());
    QVERIFY(rig.page()->workerThread() && rig.page()->workerThread()->isRunning());
    rig.instrument->pushMeasurement();
    QTRY_COMPARE(rig.page()->session().standard()->values[0], int(other.haze));
}

void TestMainWindow::unplugKeepsTheListAnotherInstrumentDropsTheStandard() {
    Rig rig;
    QTRY_VERIFY(rig.window->isLampOn());
    rig.prompter.shown.clear();
    FirstPageFor510* page = rig.page();
    pagedriver::call(page, "on_pushButton_standardMeasurement_clicked");
    pagedriver::call(page, "on_pushButton_sampleMeasurement_clicked");
    pagedriver::call(page, "on_pushButton_sampleMeasurement_clicked");
    QCOMPARE(page->session().list().totalCount(), 2);

    rig.instrument->unplug();
    rig.watcher->remove();
    QVERIFY(!rig.window->isLampOn());
    QCOMPARE(page->session().list().totalCount(), 2);
    QVERIFY(page->session().hasStandard());
    QTRY_COMPARE(page->findChild<QLineEdit*>("lineEdit_totalNum")->text(), QStringLiteral("2"));
    // Measuring without the instrument says so and changes nothing.
    pagedriver::call(page, "on_pushButton_sampleMeasurement_clicked");
    QCOMPARE(rig.prompter.lastText(), FirstPageFor510::tr("Please connect the device first!"));
    QCOMPARE(page->session().list().totalCount(), 2);

    // The same instrument again: everything is still there and comparisons go on.
    rig.instrument->plug();
    rig.watcher->arrive();
    QVERIFY(rig.window->isLampOn());
    QVERIFY(page->session().hasStandard());
    pagedriver::call(page, "on_pushButton_sampleMeasurement_clicked");
    QCOMPARE(page->session().list().totalCount(), 3);

    // Another instrument: its samples are not compared with this one's standard, and the list of
    // the first one is closed (it stays in the history) rather than mixed with the new one's.
    QSignalSpy closed(&page->session(), &ComparisonSession::listClosed);
    rig.instrument->unplug();
    rig.watcher->remove();
    rig.instrument->setSerialNumber(rig.instrument->serialNumber() + 1);
    rig.instrument->plug();
    rig.watcher->arrive();
    QVERIFY(!page->session().hasStandard());
    auto* table = page->findChild<QTableWidget*>("tableWidget_colorDiff");
    QCOMPARE(qobject_cast<QLineEdit*>(table->cellWidget(1, 1))->text(), QStringLiteral("-----"));
    QCOMPARE(closed.size(), 1);
    QCOMPARE(closed.first().first().toInt(), 3);
    QCOMPARE(page->session().list().totalCount(), 0);
    QCOMPARE(page->findChild<QLineEdit*>("lineEdit_totalNum")->text(), QStringLiteral("0"));
    pagedriver::call(page, "on_pushButton_sampleMeasurement_clicked");
    QCOMPARE(page->session().list().totalCount(), 0);
}

// The window is a dialog: Enter in a field must not press whatever button it would take as its
// default (the record import, a language button).
void TestMainWindow::enterInAFieldPressesNothing() {
    Rig rig;
    QTRY_VERIFY(rig.window->isLampOn());
    rig.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(rig.window.get()));
    rig.prompter.shown.clear();
    const bool chinese = rig.page()->isChinese();
    for (const char* name : {"lineEdit_hazeTolerance", "lineEdit_tTolerance",
                             "lineEdit_eThresholds", "lineEdit_thresholds"}) {
        auto* field = rig.page()->findChild<QLineEdit*>(name);
        field->setFocus();
        QTest::keyClick(field, Qt::Key_Return);
        QTest::keyClick(field, Qt::Key_Enter);
    }
    QVERIFY2(rig.prompter.shown.isEmpty(), qPrintable(rig.prompter.messages().join(';')));
    QCOMPARE(rig.page()->session().list().totalCount(), 0);
    QCOMPARE(rig.page()->isChinese(), chinese);
    QVERIFY(rig.window->isVisible());
}

void TestMainWindow::languageSwitchesBothWays() {
    Rig rig;
    // The program starts in Chinese.
    QVERIFY(rig.page()->isChinese());
    QCOMPARE(rig.deviceBoxTitle(), QStringLiteral("设备信息"));

    rig.window->on_btnLanguageEn_clicked();
    QVERIFY(!rig.page()->isChinese());
    QCOMPARE(rig.deviceBoxTitle(), QStringLiteral("Device information"));

    rig.window->on_btnLanguageZh_clicked();
    QVERIFY(rig.page()->isChinese());
    QCOMPARE(rig.deviceBoxTitle(), QStringLiteral("设备信息"));
}

void TestMainWindow::missingTranslationLeavesLanguage() {
    QTemporaryDir dir;
    QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + "/Velorin_zh.qm",
                        dir.filePath("Velorin_zh.qm")));
    Rig rig(true, {dir.path()});
    QVERIFY(rig.page()->isChinese());

    rig.window->on_btnLanguageEn_clicked();
    QVERIFY(rig.page()->isChinese());
    QCOMPARE(rig.deviceBoxTitle(), QStringLiteral("设备信息"));
    // The translation in use must survive the failed attempt, not just the texts on screen.
    rig.page()->retranslate();
    QCOMPARE(rig.deviceBoxTitle(), QStringLiteral("设备信息"));
    QCOMPARE(FirstPageFor510::tr("Read successful!"), QStringLiteral("读取成功！"));
}

void TestMainWindow::chineseTranslationIsComplete() {
    QFile ts(QStringLiteral(VELORIN_SOURCE_DIR "/resources/translations/Velorin_zh.ts"));
    QVERIFY(ts.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(ts.readAll());
    QVERIFY(text.count(QStringLiteral("<message")) > 50);
    QCOMPARE(text.count(QStringLiteral("type=\"unfinished\"")), 0);
    QCOMPARE(text.count(QStringLiteral("<translation></translation>")), 0);
}

void TestMainWindow::secondInstanceWakesFirstAndExits() {
    const QString key = QUuid::createUuid().toString();
    SingleInstance first(key);
    QVERIFY(!first.isRunning());
    QWidget window;
    first.setActivationWindow(&window);
    QSignalSpy received(&first, &SingleInstance::messageReceived);

    SingleInstance second(key);
    QVERIFY(second.isRunning());
    RecordingPrompter prompter;
    QCOMPARE(startup::runAsSecondInstance(second, prompter), 0);
    QCOMPARE(prompter.shown.size(), 1);
    QCOMPARE(prompter.shown[0].title, QStringLiteral("Warn"));
    QCOMPARE(prompter.shown[0].text, QStringLiteral("Device already opened!"));

    QTRY_COMPARE(received.size(), 1);
    QCOMPARE(received[0][0].toString(), QStringLiteral("active!!!!!"));
    QVERIFY(window.isVisible());

    // Once the first instance is gone the next start is the running one.
    const QString reused = QUuid::createUuid().toString();
    { SingleInstance gone(reused); }
    SingleInstance next(reused);
    QVERIFY(!next.isRunning());
}

void TestMainWindow::dragFilter() {
    QWidget plain;
    QWidget movable;
    movable.setProperty("canMove", true);
    movable.move(100, 100);
    bool consumed = false;

    // Widgets without the property are left alone.
    mouse(&plain, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {5, 5}, &consumed);
    QVERIFY(!consumed);

    // A move without a left press does not drag; a right press does not start one.
    mouse(&movable, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {300, 300}, &consumed);
    QVERIFY(!consumed);
    mouse(&movable, QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, {110, 110},
          &consumed);
    QVERIFY(!consumed);
    mouse(&movable, QEvent::MouseMove, Qt::NoButton, Qt::RightButton, {300, 300}, &consumed);
    QVERIFY(!consumed);
    QCOMPARE(movable.pos(), QPoint(100, 100));

    // A left drag moves the widget with the mouse, keeping the grab point.
    mouse(&movable, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {110, 120},
          &consumed);
    QVERIFY(consumed);
    mouse(&movable, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {150, 170}, &consumed);
    QVERIFY(consumed);
    QCOMPARE(movable.pos(), QPoint(140, 150));

    // Releasing any button ends the drag.
    mouse(&movable, QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, {150, 170},
          &consumed);
    QVERIFY(consumed);
    QVERIFY(!AppInit::Instance()->isDragging());
    mouse(&movable, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {400, 400}, &consumed);
    QVERIFY(!consumed);
    QCOMPARE(movable.pos(), QPoint(140, 150));
}

void TestMainWindow::skinGivesPaletteByPosition() {
    // By position, not by parsing: whatever stands at characters 20 to 26 is the colour.
    QCOMPARE(lookandfeel::paletteColourOf("QPalette{background:#12AB34;}"),
             QStringLiteral("#12AB34"));
    QCOMPARE(lookandfeel::paletteColourOf("QPalette{ background:#12AB34;}"),
             QStringLiteral(":#12AB3"));
    QVERIFY(lookandfeel::paletteColourOf("QPalette{}").isEmpty());

    startup::initResources();
    QFile skin(QStringLiteral(":/qss/psblue.css"));
    QVERIFY(skin.open(QIODevice::ReadOnly));
    QVERIFY(skin.size() > 12000);
    QCOMPARE(lookandfeel::paletteColourOf(QString::fromLatin1(skin.readAll())),
             QStringLiteral("#FFFFFF"));
    QVERIFY(lookandfeel::applySkin(*qApp));
    QCOMPARE(qApp->palette().color(QPalette::Window), QColor(Qt::white));
    QVERIFY(!lookandfeel::applySkin(*qApp, QStringLiteral(":/qss/missing.css")));
    qApp->setStyleSheet(QString());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
