// The shell's words: Qt's own translation switched with ours, and the connection beside the lamp.
#include "apptestsupport.h"
#include "mainwindow.h"
#include "translators.h"
#include "virtualinstrument.h"

#include <QCoreApplication>
#include <QLabel>
#include <QTest>
#include <QTranslator>

namespace {

QString qtButton(const char* text) {
    return QCoreApplication::translate("QPlatformTheme", text);
}

} // namespace

class TestShell : public QObject {
    Q_OBJECT
  private slots:
    void qtTranslationFollowsOurs();
    void connectionInWords();
};

void TestShell::qtTranslationFollowsOurs() {
    if (!QFile::exists(Translators::defaultQtDir() + "/qtbase_zh_CN.qm"))
        QSKIP("Qt's translations are not installed (scripts/setup installs them)");
    const QString english = qtButton("Cancel");
    {
        Translators translators({QCoreApplication::applicationDirPath()});
        QVERIFY(translators.switchTo("Velorin_zh", "zh_CN"));
        QVERIFY(translators.qt() && translators.ours());
        QCOMPARE(qtButton("Cancel"), QStringLiteral("取消"));
        QCOMPARE(QCoreApplication::translate("MainWindow", "No instrument"),
                 QStringLiteral("未连接仪器"));
        // The Chinese report's two title lines: Chinese, then English.
        QCOMPARE(QCoreApplication::translate("ReportPageFor620", "Test Report1"),
                 QStringLiteral("测试报告"));
        QCOMPARE(QCoreApplication::translate("ReportPageFor620", "Test Report"),
                 QStringLiteral("Test Report"));

        QVERIFY(translators.switchTo("Velorin_en", "en"));
        QVERIFY(!translators.qt());
        QCOMPARE(qtButton("Cancel"), english);

        // A failed switch keeps both translations of the language in use.
        QVERIFY(translators.switchTo("Velorin_zh", "zh_CN"));
        QVERIFY(!translators.switchTo("Velorin_missing", "en"));
        QCOMPARE(qtButton("Cancel"), QStringLiteral("取消"));
    }
    // Gone with their owner.
    QCOMPARE(qtButton("Cancel"), english);
}

void TestShell::connectionInWords() {
    auto instrument = sim::VirtualInstrument::fromPreset("KV510");
    instrument->unplug();
    RecordingPrompter prompter;
    MainWindowSetup setup;
    auto manual = std::make_unique<ManualWatcher>();
    ManualWatcher* watcher = manual.get();
    setup.watcher = std::move(manual);
    setup.transportFactory = [instrument] { return instrument->createTransport(); };
    setup.prompter = &prompter;
    setup.translationDirs = {QCoreApplication::applicationDirPath()};
    MainWindow window(std::move(setup));
    auto* label = window.findChild<QLabel*>("ConnectionStateLabel");
    QVERIFY(label);
    QTRY_VERIFY(watcher->started);
    QCOMPARE(label->text(), QStringLiteral("未连接仪器"));

    instrument->plug();
    watcher->arrive();
    QVERIFY(window.isLampOn());
    QCOMPARE(label->text(), QStringLiteral("KV510 \u00B7 %1").arg(instrument->serialNumber()));

    window.on_btnLanguageEn_clicked();
    instrument->unplug();
    watcher->remove();
    QCOMPARE(label->text(), QStringLiteral("No instrument"));
}

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
