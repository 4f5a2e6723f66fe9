// The workspace with the keyboard alone and through a screen reader's eyes: a standard and
// three samples measured, a tolerance set, a row deleted, the list exported, the language
// switched, all without a mouse; every control a name, no two fields the same one.
#include "apptestsupport.h"
#include "firstpagefor510.h"
#include "historystore.h"
#include "historywindow.h"
#include "mainwindow.h"
#include "virtualinstrument.h"
#include "workspacehistory.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Rig {
    std::shared_ptr<sim::VirtualInstrument> instrument =
        sim::VirtualInstrument::fromPreset("KV510");
    RecordingPrompter prompter;
    QTemporaryDir dir;
    history::HistoryStore store;
    std::unique_ptr<MainWindow> window;

    Rig() {
        store.open(dir.filePath(QStringLiteral("history.sqlite")));
        MainWindowSetup setup;
        setup.watcher = std::make_unique<ManualWatcher>();
        setup.transportFactory = [inst = instrument] { return inst->createTransport(); };
        setup.prompter = &prompter;
        setup.translationDirs = {QCoreApplication::applicationDirPath()};
        setup.history = &store;
        window = std::make_unique<MainWindow>(std::move(setup));
        window->show();
        window->activateWindow();
    }
    FirstPageFor510* page() const { return window->page(); }
    QWidget* focus() const { return QApplication::focusWidget(); }
    QString focusName() const { return focus() ? focus()->objectName() : QString(); }
    void key(int k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(focus() ? focus() : window.get(), Qt::Key(k), modifiers);
    }
};

} // namespace

class TestWorkspaceKeys : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    }
    void measuresAndWorksWithTheKeyboardAlone();
    void everyControlHasAName();
};

void TestWorkspaceKeys::measuresAndWorksWithTheKeyboardAlone() {
    Rig rig;
    QVERIFY(QTest::qWaitForWindowActive(rig.window.get()));
    QTRY_VERIFY(rig.window->isLampOn());
    QTRY_VERIFY(rig.page()->session().displayMode() >= 0);
    ComparisonSession& session = rig.page()->session();
    rig.page()->setAnalysisShown(true);
    rig.page()->findChild<QAbstractButton*>("pushButton_standardMeasurement")->setFocus();

    // F7 the standard, F8 (a foot pedal's key) three samples.
    rig.key(Qt::Key_F7);
    QVERIFY(session.hasStandard());
    for (int i = 0; i < 3; ++i)
        rig.key(Qt::Key_F8);
    QCOMPARE(session.list().totalCount(), 3);

    // Tab walks the work in order; a table takes the focus once and Tab leaves it.
    rig.page()->findChild<QAbstractButton*>("pushButton_standardMeasurement")->setFocus();
    QStringList walk;
    for (int i = 0; i < 60 && !walk.contains(QLatin1String("tabWidget_analysis")); ++i) {
        rig.key(Qt::Key_Tab);
        walk << (rig.focusName().isEmpty() && rig.focus()
                     ? QString::fromLatin1(rig.focus()->metaObject()->className())
                     : rig.focusName());
    }
    const QStringList expected{"pushButton_sampleMeasurement", "lineEdit_hazeTolerance",
                               "pushButton_setTolerance",      "pushButton_readComparisonRecord",
                               "pushButton_exportExcel",       "tableWidget_data"};
    int at = -1;
    for (const QString& name : expected) {
        const int next = int(walk.indexOf(name, at + 1));
        QVERIFY2(next > at, qPrintable(name + " in " + walk.join(',')));
        at = next;
    }
    QVERIFY2(walk.value(at + 1) != QLatin1String("tableWidget_data") &&
                 !walk.value(at + 1).isEmpty(),
             qPrintable(walk.join(',')));

    // A tolerance typed and set from the keyboard.
    auto* haze = rig.page()->findChild<QLineEdit*>("lineEdit_hazeTolerance");
    haze->setFocus();
    rig.key(Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(haze, QStringLiteral("0.2"));
    rig.page()->findChild<QAbstractButton*>("pushButton_setTolerance")->setFocus();
    rig.key(Qt::Key_Space);
    QCOMPARE(session.hazeTolerance(), 20);

    // Delete removes the selected row of the list.
    auto* list = rig.page()->findChild<QTableView*>("tableWidget_data");
    list->setFocus();
    list->setCurrentIndex(list->model()->index(0, 1));
    rig.key(Qt::Key_Delete);
    QCOMPARE(session.list().totalCount(), 2);

    // Ctrl+E asks where to export, F9 hides the analysis, Ctrl+H opens the History window,
    // Ctrl+L switches the language.
    rig.prompter.shown.clear();
    rig.key(Qt::Key_E, Qt::ControlModifier);
    QVERIFY(!rig.prompter.shown.isEmpty() && rig.prompter.shown.first().kind == "save");
    const bool analysis = rig.page()->analysisShown();
    rig.key(Qt::Key_F9);
    QCOMPARE(rig.page()->analysisShown(), !analysis);
    const bool chinese = rig.page()->isChinese();
    rig.key(Qt::Key_L, Qt::ControlModifier);
    QCOMPARE(rig.page()->isChinese(), !chinese);
    rig.key(Qt::Key_H, Qt::ControlModifier);
    QTRY_VERIFY(rig.page()->history().window() && rig.page()->history().window()->isVisible());
}

// What a screen reader announces: every control that takes the focus has a name, no two fields
// the same one, and the list's columns are announced by their headings, in both languages.
void TestWorkspaceKeys::everyControlHasAName() {
    Rig rig;
    QVERIFY(QTest::qWaitForWindowExposed(rig.window.get()));
    QTRY_VERIFY(rig.page()->session().displayMode() >= 0);
    for (bool chinese : {false, true}) {
        QMetaObject::invokeMethod(rig.window.get(), chinese ? "on_btnLanguageZh_clicked"
                                                            : "on_btnLanguageEn_clicked");
        QStringList fields;
        for (QWidget* w : rig.window->findChildren<QWidget*>()) {
            // A spin box's own editor is announced as the spin box.
            if (!w->isVisibleTo(rig.window.get()) || !(w->focusPolicy() & Qt::TabFocus) ||
                qobject_cast<QAbstractSpinBox*>(w->parentWidget()))
                continue;
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
            QVERIFY(a);
            const QString name = a->text(QAccessible::Name).trimmed();
            QVERIFY2(!name.isEmpty(), qPrintable(w->objectName()));
            if (qobject_cast<QLineEdit*>(w) || qobject_cast<QSpinBox*>(w)) {
                QVERIFY2(!fields.contains(name), qPrintable(name));
                fields << name;
            }
        }
        auto* list = rig.page()->findChild<QTableView*>("tableWidget_data");
        for (int column = 0; column < list->model()->columnCount(); ++column)
            QVERIFY(!list->model()->headerData(column, Qt::Horizontal).toString().isEmpty());
    }
}

int main(int argc, char* argv[]) {
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    TestWorkspaceKeys test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_workspacekeys.moc"
