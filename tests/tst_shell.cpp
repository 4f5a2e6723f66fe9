// The shell's words: Qt's own translation switched with ours, the connection beside the lamp,
// and the language of a message given while the window is being made.
#include "apptestsupport.h"
#include "historystore.h"
#include "mainwindow.h"
#include "translators.h"
#include "virtualinstrument.h"

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
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
    void historyThatCannotOpenSaysSoInTheLanguage();
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
    // Notes what the words say when a message appears.
    struct WatchingPrompter : RecordingPrompter {
        QLabel* label = nullptr;
        QStringList wordsAtMessage;
        void information(QWidget* parent, const QString& title, const QString& text) override {
            if (label)
                wordsAtMessage << label->text();
            RecordingPrompter::information(parent, title, text);
        }
    } prompter;
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
    prompter.label = label;
    QTRY_VERIFY(watcher->started);
    QCOMPARE(label->text(), QStringLiteral("未连接仪器"));

    instrument->plug();
    watcher->arrive();
    QVERIFY(window.isLampOn());
    const QString words = QStringLiteral("KV510 \u00B7 %1").arg(instrument->serialNumber());
    QCOMPARE(label->text(), words);
    // Named already while the first message after identifying it is shown.
    QCOMPARE(prompter.wordsAtMessage, QStringList{words});

    window.on_btnLanguageEn_clicked();
    instrument->unplug();
    watcher->remove();
    QCOMPARE(label->text(), QStringLiteral("No instrument"));
}

void TestShell::historyThatCannotOpenSaysSoInTheLanguage() {
    QTemporaryDir dir;
    // A file where the history's folder should be.
    QFile blocker(dir.filePath(QStringLiteral("blocker")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    history::HistoryStore store;
    QVERIFY(!store.open(dir.filePath(QStringLiteral("blocker/history.sqlite"))));
    RecordingPrompter prompter;
    MainWindowSetup setup;
    setup.watcher = std::make_unique<ManualWatcher>();
    setup.prompter = &prompter;
    setup.translationDirs = {QCoreApplication::applicationDirPath()};
    setup.history = &store;
    MainWindow window(std::move(setup));
    QVERIFY(!prompter.messages().isEmpty());
    QVERIFY2(prompter.messages().first().contains(QStringLiteral("测量历史记录已关闭")),
             qPrintable(prompter.messages().first()));
}

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
