// The program's window, in its skin and font, on the screens inspectors use (1366×768 and
// 1600×1000, under a task bar and a title bar), in both languages: at least ten list rows in
// view with everything above the list shown whole.
// With VELORIN_SCREENSHOTS=DIR set the windows are also saved there as pictures to look at.
#include "apptestsupport.h"
#include "comparisonrows.h"
#include "firstpagefor510.h"
#include "historystore.h"
#include "judging.h"
#include "mainwindow.h"
#include "meterpagefor510.h"
#include "offscreenscreens.h"
#include "pagedriver.h"
#include "startup.h"
#include "virtualinstrument.h"

#include <QApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

class TestWorkspaceScreen : public QObject {
    Q_OBJECT
  private slots:
    void tenRowsAndEveryButtonOnEachScreen();
};

void TestWorkspaceScreen::tenRowsAndEveryButtonOnEachScreen() {
    const QList<QScreen*> screens = QGuiApplication::screens();
    QCOMPARE(screens.size(), 2);
    const QString shots = qEnvironmentVariable("VELORIN_SCREENSHOTS");
    const bool scaled = qEnvironmentVariableIsSet("VELORIN_SCREEN_SCALE");
    for (QScreen* screen : screens) {
        for (int run = 0; run < 4; ++run) {
            // Both languages with the current layout, and with the old one.
            const bool chinese = run % 2 == 0;
            const QString model = run < 2 ? QStringLiteral("KV510") : QStringLiteral("KV620");
            auto instrument = sim::VirtualInstrument::fromPreset(model);
            // Haze, T and Lab together: the tallest comparison table of the current layout.
            if (run < 2)
                instrument->setDisplayMode(6);
            RecordingPrompter prompter;
            MainWindowSetup setup;
            setup.watcher = std::make_unique<ManualWatcher>();
            setup.transportFactory = [instrument] { return instrument->createTransport(); };
            setup.prompter = &prompter;
            setup.translationDirs = {QCoreApplication::applicationDirPath()};
            // With a history, as the program has one: the History and Products buttons show.
            QTemporaryDir historyDir;
            history::HistoryStore store;
            store.open(historyDir.filePath(QStringLiteral("history.sqlite")));
            setup.history = &store;
            MainWindow window(std::move(setup));
            chinese ? pagedriver::call(&window, "on_btnLanguageZh_clicked")
                    : pagedriver::call(&window, "on_btnLanguageEn_clicked");
            // A maximised window under a 40-pixel task bar and a 32-pixel title bar.
            const QRect available = screen->availableGeometry();
            window.setGeometry(available.adjusted(2, 32, -2, -42));
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            FirstPageFor510* page = window.page();
            // The instrument is identified once the window runs.
            QTRY_VERIFY(page->session().displayMode() >= 0 || page->session().oldLayout());
            QTRY_VERIFY(page->session().judgingSettings().threshold >= 0);
            QList<ComparisonRecord> records;
            Reading standard, sample;
            standard.values = {2000, 8000, 5000, 1000, 2000, 5000, 2236, 634, 1842, 3500, 3600};
            sample = standard;
            for (int i = 0; i < 30; ++i) {
                sample.values[0] = 2000 + 7 * i;
                ComparisonRecord r =
                    judging::compare(standard, sample, page->session().judgingSettings());
                r.sequence = i + 1;
                r.name = QStringLiteral("Comp%1").arg(i + 1);
                records << r;
            }
            page->session().append(records);
            // Once the layout has settled on the instrument's display mode, nothing above the
            // list is squeezed: the panels have their height, every shown row of the comparison
            // table is inside it and the verdict bar below it.
            auto* upper = page->findChild<QWidget*>(QStringLiteral("widget_upperPanels"));
            auto* table = page->findChild<QTableWidget*>(
                page->session().oldLayout() ? QStringLiteral("tbColorDiff")
                                            : QStringLiteral("tableWidget_colorDiff"));
            auto* verdict = page->findChild<QWidget*>(page->session().oldLayout()
                                                          ? QStringLiteral("resultlab")
                                                          : QStringLiteral("label_result"));
            int last = table->rowCount() - 1;
            while (table->isRowHidden(last))
                --last;
            QTRY_VERIFY2(upper->height() >= upper->minimumSizeHint().height() &&
                             table->rowViewportPosition(last) + table->rowHeight(last) <=
                                 table->viewport()->height() &&
                             table->geometry().bottom() < verdict->geometry().top(),
                         qPrintable(model));

            const QString where = QStringLiteral("%1x%2 %3 %4")
                                      .arg(screen->size().width())
                                      .arg(screen->size().height())
                                      .arg(chinese ? "zh" : "en", model);
            if (!shots.isEmpty()) {
                QTest::qWait(50); // the analysis refreshes once the event loop runs
                const QString name = QString(where).replace(' ', '-');
                window.grab().save(QStringLiteral("%1/workspace-%2.png").arg(shots, name));
                auto* tabs = page->findChild<QTabWidget*>(QStringLiteral("tabWidget_analysis"));
                tabs->setCurrentIndex(1);
                window.grab().save(QStringLiteral("%1/trend-%2.png").arg(shots, name));
                tabs->setCurrentIndex(2);
                window.grab().save(QStringLiteral("%1/abplot-%2.png").arg(shots, name));
                tabs->setCurrentIndex(0);
                // The spectral page with a day's curves, where the instrument has one.
                page->setDialogRunner([&](QDialog& dialog) {
                    if (auto* spectral = qobject_cast<MeterPageFor510*>(&dialog)) {
                        // Measured from the virtual instrument, as a user measures them.
                        auto* measure = spectral->findChild<QPushButton*>(
                            QStringLiteral("pushButton_spectralMeasurement"));
                        for (int i = 0; i < 12; ++i)
                            measure->click();
                        spectral->resize(window.size());
                        spectral->show();
                        QTest::qWait(50);
                        spectral->grab().save(
                            QStringLiteral("%1/spectral-%2.png").arg(shots, name));
                    }
                    return 0;
                });
                if (auto* button = page->findChild<QPushButton*>(
                        QStringLiteral("pushButton_spectralTransmittance"));
                    button && button->isVisible())
                    button->click();
                page->findChild<QPushButton*>(QStringLiteral("pushButton_history"))->click();
                if (QWidget* history = page->findChild<QWidget*>(QStringLiteral("HistoryWindow"))) {
                    QTest::qWait(300); // the counts arrive from their thread
                    history->grab().save(QStringLiteral("%1/history-%2.png").arg(shots, name));
                    history->close();
                }
            }
            QVERIFY2(screen->availableGeometry().contains(window.frameGeometry()),
                     qPrintable(where));
            auto* list = page->findChild<QTableView*>(page->session().oldLayout()
                                                          ? QStringLiteral("tbData")
                                                          : QStringLiteral("tableWidget_data"));
            const auto rowsInView = [list] {
                return list->viewport()->height() / list->verticalHeader()->defaultSectionSize();
            };
            // Scaled up, the screen holds fewer rows; texts must still be whole. (The button
            // row's height follows its width: the layout settles in the event loop.)
            QTRY_VERIFY2(scaled || rowsInView() >= 10,
                         qPrintable(QStringLiteral("%1: %2 rows").arg(where).arg(rowsInView())));
            // Every button above and beside the list is whole.
            for (QPushButton* button : page->findChildren<QPushButton*>()) {
                if (!button->isVisibleTo(page) || !button->window()->isAncestorOf(page))
                    continue;
                QVERIFY2(button->width() >= button->minimumSizeHint().width(),
                         qPrintable(where + ": " + button->text()));
            }
            // With the analysis shown, every text of the list's rows in view is whole, each
            // column heading too, and the newest row is in view above any scroll bar.
            QVERIFY(page->analysisShown());
            QTRY_VERIFY(list->visualRect(list->model()->index(29, 1)).bottom() <=
                        list->viewport()->height());
            const QFontMetrics metrics = list->fontMetrics();
            for (int column = 0; column < list->model()->columnCount(); ++column) {
                if (list->isColumnHidden(column))
                    continue;
                const QString heading =
                    list->model()->headerData(column, Qt::Horizontal).toString();
                for (int row = 0; row < 30; ++row) {
                    const QString text = list->model()->index(row, column).data().toString();
                    QVERIFY2(metrics.horizontalAdvance(text) < list->columnWidth(column),
                             qPrintable(QStringLiteral("%1: '%2' in a %3-pixel column")
                                            .arg(where, text)
                                            .arg(list->columnWidth(column))));
                }
                QVERIFY2(!heading.isEmpty(), qPrintable(where));
            }
        }
    }
}

int main(int argc, char* argv[]) {
    QTemporaryDir dir;
    if (!useTwoOffscreenScreens(dir))
        return 1;
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    startup::applyLookAndFeel(app);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});

    TestWorkspaceScreen test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_workspacescreen.moc"
