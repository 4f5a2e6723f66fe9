// The spectral page on screens of the sizes inspectors use, with the window frame the platform
// puts around it: the page fits, the chart has at least half of it, the captions and names stay
// in view while the table scrolls, and the list/chart boundary is remembered.
#include "meterpagefor510.h"
#include "offscreenscreens.h"

#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QStandardPaths>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

class TestSpectralScreen : public QObject {
    Q_OBJECT
  private slots:
    void fitsEachScreen();
    void captionsAndNamesStayInView();
    void boundaryIsRemembered();
};

void TestSpectralScreen::fitsEachScreen() {
    const QList<QScreen*> screens = QGuiApplication::screens();
    QCOMPARE(screens.size(), 2);
    for (QScreen* screen : screens) {
        QWidget owner;
        owner.setGeometry(screen->availableGeometry().adjusted(40, 60, -40, -40));
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        QCOMPARE(owner.screen(), screen);
        MeterPageFor510 page(nullptr, nullptr, 0, &owner);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        const QRect available = screen->availableGeometry();
        QVERIFY2(available.contains(page.frameGeometry()),
                 qPrintable(QStringLiteral("%1x%2: frame %3,%4 %5x%6")
                                .arg(available.width())
                                .arg(available.height())
                                .arg(page.frameGeometry().x())
                                .arg(page.frameGeometry().y())
                                .arg(page.frameGeometry().width())
                                .arg(page.frameGeometry().height())));
        QVERIFY(page.height() > available.height() * 9 / 10);
        auto* chart = page.findChild<QWidget*>(QStringLiteral("widget_chart"));
        QVERIFY(chart->height() >= page.height() / 2);
    }
}

void TestSpectralScreen::captionsAndNamesStayInView() {
    MeterPageFor510 page(nullptr, nullptr, 0);
    SpectralRecord record;
    record.values.fill(40);
    for (int i = 0; i < 60; ++i)
        page.addRecordRow(record, QString());
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    auto* table = page.findChild<QTableWidget*>(QStringLiteral("tableWidget_data"));
    auto* frozen = page.findChild<QTableView*>(QStringLiteral("tableView_frozenNames"));
    QVERIFY(frozen && frozen->isVisible());
    QVERIFY(table->horizontalHeader()->isVisible());
    QCOMPARE(table->horizontalHeader()->model()->headerData(2, Qt::Horizontal).toString(),
             QStringLiteral("400nm"));

    table->verticalScrollBar()->setValue(table->verticalScrollBar()->maximum());
    table->horizontalScrollBar()->setValue(table->horizontalScrollBar()->maximum());
    QVERIFY(table->verticalScrollBar()->value() > 0);
    QTRY_COMPARE(frozen->verticalScrollBar()->value(), table->verticalScrollBar()->value());
    // The frozen view still shows numbers and names at the table's left edge.
    QCOMPARE(frozen->x(), table->frameWidth());
    QVERIFY(!frozen->isColumnHidden(1) && frozen->isColumnHidden(2));
    QCOMPARE(frozen->indexAt(QPoint(frozen->columnWidth(0) + 5, 5)).column(), 1);
    // The all-curves box moved with its column.
    auto* all = page.findChild<QCheckBox*>(QStringLiteral("checkBox_allCurves"));
    QCOMPARE(all->x() - 4, table->horizontalHeader()->sectionViewportPosition(33));
}

void TestSpectralScreen::boundaryIsRemembered() {
    QList<int> chosen;
    {
        MeterPageFor510 page(nullptr, nullptr, 0);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        auto* splitter = page.findChild<QSplitter*>(QStringLiteral("splitter_meterPage"));
        const int total = splitter->sizes().at(0) + splitter->sizes().at(1);
        splitter->setSizes({total / 4, total - total / 4});
        chosen = splitter->sizes();
        page.reject();
    }
    MeterPageFor510 page(nullptr, nullptr, 0);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QCOMPARE(page.findChild<QSplitter*>(QStringLiteral("splitter_meterPage"))->sizes(), chosen);
}

int main(int argc, char* argv[]) {
    QTemporaryDir dir;
    if (!useTwoOffscreenScreens(dir))
        return 1;
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    TestSpectralScreen test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_spectralscreen.moc"
