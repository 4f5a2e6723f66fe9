// The History window as a user meets it: its size on a laptop's and a desk monitor's screen, the
// words of its rows in Chinese, and the keyboard and assistive technology alone.
#include "historystore.h"
#include "historytestsupport.h"
#include "historywindow.h"
#include "offscreenscreens.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

using namespace history;

namespace {

const QDateTime kTime(QDate(2026, 4, 2), QTime(9, 0), Qt::UTC);

// One Haze/T/Lab row per `modes` entry, newest last; a Lab row keeps the 0.00 the instrument's
// haze difference arrives as.
QString makeHistory(const QTemporaryDir& dir, const QList<int>& modes,
                    Source source = Source::Live) {
    const QString file = dir.filePath(QStringLiteral("history.sqlite"));
    HistoryStore store;
    if (!store.open(file))
        return {};
    for (int i = 0; i < modes.size(); ++i) {
        HistoryComparison c =
            makeComparison(i + 1, QStringLiteral("SN-%1").arg(i), kTime.addSecs(i));
        c.displayMode = modes.at(i);
        c.source = source;
        if (c.displayMode == 3)
            c.deltaHaze = 0.0;
        store.record(c);
    }
    return file;
}

QWidget* child(QWidget* window, const char* name) {
    return window->findChild<QWidget*>(QString::fromLatin1(name));
}

// Presses Tab (or Shift+Tab) where the focus is until it leaves the widget it is in (a date edit
// steps through its own fields first), and returns where it went.
QWidget* tab(bool back = false) {
    QWidget* from = QApplication::focusWidget();
    for (int i = 0; i < 8 && QApplication::focusWidget() == from; ++i)
        QTest::keyClick(from, Qt::Key_Tab, back ? Qt::ShiftModifier : Qt::NoModifier);
    return QApplication::focusWidget();
}

} // namespace

class TestHistoryWindow : public QObject {
    Q_OBJECT
  private slots:
    void init() { QSettings().clear(); }
    void sizeFitsEachScreenAndIsKept();
    void rowsSpeakTheUsersLanguage();
    void keyboardAlone();
    void everyControlHasItsOwnName();
};

void TestHistoryWindow::sizeFitsEachScreenAndIsKept() {
    QTemporaryDir dir;
    const QString file = makeHistory(dir, {0, 3, 6});
    for (QScreen* screen : QGuiApplication::screens()) {
        QSettings().clear();
        QWidget owner;
        owner.setGeometry(screen->availableGeometry().adjusted(40, 60, -40, -40));
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        const QRect available = screen->availableGeometry();
        QSize kept;
        {
            HistoryWindow window(&owner);
            QVERIFY(window.setDatabase(HistoryUrl::sqliteFile(file)));
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QVERIFY(available.contains(window.frameGeometry()));
            QVERIFY(window.width() >= 1100 && window.height() >= 600);
            // Every heading and every date whole.
            QTableView* view = window.view();
            QStyleOptionViewItem option;
            option.font = view->font();
            option.fontMetrics = view->fontMetrics();
            for (int c = HistoryQueryModel::MeasuredAt; c < HistoryQueryModel::ColumnCount; ++c) {
                int widest = view->horizontalHeader()->sectionSizeHint(c);
                for (int r = 0; r < window.model()->rowCount(); ++r)
                    widest = std::max(widest, view->itemDelegate()
                                                  ->sizeHint(option, window.model()->index(r, c))
                                                  .width());
                QVERIFY2(view->columnWidth(c) >= widest,
                         qPrintable(window.model()->headerData(c, Qt::Horizontal).toString()));
            }
            window.resize(1150, 640);
            kept = window.size();
            window.close();
        }
        HistoryWindow again(&owner);
        again.show();
        QVERIFY(QTest::qWaitForWindowExposed(&again));
        QCOMPARE(again.size(), kept);
    }
}

void TestHistoryWindow::rowsSpeakTheUsersLanguage() {
    QTranslator chinese;
    QVERIFY(chinese.load(QCoreApplication::applicationDirPath() + "/Velorin_zh.qm"));
    QCoreApplication::installTranslator(&chinese);
    QTemporaryDir dir;
    HistoryWindow window;
    QVERIFY(window.setDatabase(HistoryUrl::sqliteFile(makeHistory(dir, {3, 0}, Source::Pushed))));
    QTRY_COMPARE(window.filteredCount(), 2);
    const auto shown = [&window](int row, int column) {
        return window.model()->index(row, column).data().toString();
    };
    // Newest first: the Haze/T row, then the Lab row.
    QCOMPARE(shown(0, HistoryQueryModel::DisplayMode), QStringLiteral("雾度/透过率"));
    QCOMPARE(shown(1, HistoryQueryModel::DisplayMode), QStringLiteral("Lab"));
    QCOMPARE(shown(0, HistoryQueryModel::Source), QStringLiteral("仪器发送"));
    QCOMPARE(window.model()->index(0, HistoryQueryModel::Source).data(Qt::EditRole).toString(),
             QStringLiteral("pushed"));
    // Only the differences a row was judged by; the others are not zeros.
    QCOMPARE(shown(0, HistoryQueryModel::DeltaHaze), QStringLiteral("0.02%"));
    QCOMPARE(shown(0, HistoryQueryModel::DeltaE), QString());
    QCOMPARE(shown(1, HistoryQueryModel::DeltaHaze), QString());
    QCOMPARE(shown(1, HistoryQueryModel::DeltaE), QStringLiteral("0.75"));
    for (int c = HistoryQueryModel::MeasuredAt; c < HistoryQueryModel::ColumnCount; ++c) {
        const QString heading = window.model()->headerData(c, Qt::Horizontal).toString();
        QVERIFY2(!heading.contains(QRegularExpression(QStringLiteral("[a-z]{3}"))),
                 qPrintable(heading));
    }
    const auto counts = [&window] {
        return window.findChild<QLabel*>(QStringLiteral("label_historyCounts"))->text();
    };
    QCOMPARE(counts(), QStringLiteral("2 条对比记录，合格率 100.0%"));

    // One row: no plural; none: no pass rate.
    QCoreApplication::removeTranslator(&chinese);
    QTranslator english;
    QVERIFY(english.load(QCoreApplication::applicationDirPath() + "/Velorin_en.qm"));
    QCoreApplication::installTranslator(&english);
    HistoryFilter one;
    one.serial = QStringLiteral("SN-0");
    window.setFilter(one);
    QTRY_COMPARE(counts(), QStringLiteral("1 comparison, 100.0% pass"));
    one.serial = QStringLiteral("nobody");
    window.setFilter(one);
    QTRY_COMPARE(counts(), QStringLiteral("No comparisons"));
}

void TestHistoryWindow::keyboardAlone() {
    QTemporaryDir dir;
    HistoryWindow window;
    QVERIFY(window.setDatabase(HistoryUrl::sqliteFile(makeHistory(dir, {0, 6, 6}))));
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTRY_COMPARE(window.filteredCount(), 3);

    const QList<QWidget*> order{child(&window, "lineEdit_historySerial"),
                                child(&window, "lineEdit_historyName"),
                                child(&window, "comboBox_historyVerdict"),
                                child(&window, "checkBox_historyFrom"),
                                child(&window, "checkBox_historyTo"),
                                child(&window, "lineEdit_historyProduct"),
                                child(&window, "lineEdit_historyLot"),
                                child(&window, "lineEdit_historyStation"),
                                child(&window, "lineEdit_historyDatabase"),
                                child(&window, "pushButton_historyDatabase"),
                                window.view(),
                                child(&window, "pushButton_historyExport"),
                                child(&window, "pushButton_historyReport")};
    QCOMPARE(QApplication::focusWidget(), order.first());
    // Forward once round, the table taken once, and back again.
    for (int i = 1; i <= order.size(); ++i)
        QCOMPARE(tab(), order.at(i % order.size()));
    for (int i = order.size() - 1; i >= 0; --i)
        QCOMPARE(tab(true), order.at(i));
    // A date filter switched on joins the walk.
    order.at(3)->setFocus();
    QTest::keyClick(order.at(3), Qt::Key_Space);
    QCOMPARE(tab(), child(&window, "dateTimeEdit_historyFrom"));
    QCOMPARE(tab(), order.at(4));
    QTest::keyClick(order.at(3), Qt::Key_Space);

    // Arrows move inside the table.
    window.view()->setFocus();
    window.view()->setCurrentIndex(window.model()->index(0, HistoryQueryModel::Name));
    QTest::keyClick(window.view(), Qt::Key_Down);
    QCOMPARE(window.view()->currentIndex().row(), 1);

    // Enter applies a filter at once.
    order.first()->setFocus();
    QTest::keyClicks(order.first(), QStringLiteral("SN-1"));
    QTest::keyClick(order.first(), Qt::Key_Return);
    QCOMPARE(window.model()->rowCount(), 1);

    QTest::keyClick(order.first(), Qt::Key_Escape);
    QVERIFY(!window.isVisible());
}

void TestHistoryWindow::everyControlHasItsOwnName() {
    QTemporaryDir dir;
    HistoryWindow window;
    QVERIFY(window.setDatabase(HistoryUrl::sqliteFile(makeHistory(dir, {0}))));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // What a screen reader reads out for each control the user can reach. The parts of a control
    // (a table's cells, a date edit's text) are named by the control.
    const QList<QAccessible::Role> controls{QAccessible::EditableText, QAccessible::ComboBox,
                                            QAccessible::SpinBox,      QAccessible::CheckBox,
                                            QAccessible::PushButton,   QAccessible::Table};
    QStringList names;
    int found = 0;
    std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* node) {
        for (int i = 0; i < node->childCount(); ++i) {
            QAccessibleInterface* part = node->child(i);
            if (!part || part->state().invisible)
                continue;
            if (controls.contains(part->role())) {
                ++found;
                const QString name = part->text(QAccessible::Name);
                QVERIFY2(!name.trimmed().isEmpty(),
                         qPrintable(part->object()->objectName() + " has no name"));
                QVERIFY2(!names.contains(name), qPrintable("two controls are called " + name));
                names << name;
                continue;
            }
            walk(part);
        }
    };
    walk(QAccessible::queryAccessibleInterface(&window));
    QCOMPARE(found, 16);
}

int main(int argc, char* argv[]) {
    QTemporaryDir screens;
    if (!useTwoOffscreenScreens(screens))
        return 1;
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    TestHistoryWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_historywindow.moc"
