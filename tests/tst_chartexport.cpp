// Every chart's context menu saves its picture as PNG and copies it: the trend chart, the a*b*
// plot and the spectral page's chart, with the file dialog and the errors scripted.
#include "abplot.h"
#include "chartexport.h"
#include "meterpagefor510.h"
#include "scriptedprompter.h"
#include "trendchart.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

class TestChartExport : public QObject {
    Q_OBJECT
  private slots:
    void everyChartSavesAndCopiesWhatIsShown();
    void failuresAreReported();
};

void TestChartExport::everyChartSavesAndCopiesWhatIsShown() {
    QTemporaryDir dir;
    TrendChart trend;
    trend.resize(420, 220);
    trend.setSeries({{trend::Quantity::DeltaE, {0.2, 0.8, 0.4}, 0.5}}, {true, false, true});
    AbPlot ab;
    ab.resize(520, 400);
    abplot::Input in;
    in.standard = {50, 10, 10};
    in.formula = 2;
    in.threshold = 1;
    in.points = {{0.2, 0.1, 0.3, true, 0}};
    ab.setInput(in);
    MeterPageFor510 page(nullptr, nullptr, 0);
    SpectralRecord record;
    record.values.fill(40);
    page.addRecordRow(record, QStringLiteral("curve"));
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    auto* spectral = page.findChild<QWidget*>(QStringLiteral("widget_chart"));

    ScriptedPrompter prompter;
    trend.setPrompter(&prompter);
    ab.setPrompter(&prompter);
    page.setPrompter(&prompter);
    const struct {
        QWidget* chart;
        ChartExport* exporter;
        QImage shown;
        const char* name;
    } charts[] = {
        {&trend, trend.exporter(), trend.grab().toImage(), "trend.png"},
        {&ab, ab.exporter(), ab.grab().toImage(), "abplot.png"},
        // The page paints its chart under the placeholder: the picture is that part of it.
        {spectral, page.chartExport(),
         page.grab(QRect(spectral->mapTo(&page, QPoint()), spectral->size())).toImage(),
         "spectra.png"},
    };
    for (const auto& c : charts) {
        QCOMPARE(c.chart->contextMenuPolicy(), Qt::ActionsContextMenu);
        QCOMPARE(c.chart->actions(),
                 (QList<QAction*>{c.exporter->saveAction(), c.exporter->copyAction()}));
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        prompter.files = {path};
        c.exporter->saveAction()->trigger();
        QCOMPARE(prompter.shown.last().kind, QStringLiteral("save"));
        QCOMPARE(prompter.shown.last().directory, QString::fromLatin1(c.name));
        QCOMPARE(prompter.shown.last().text, QStringLiteral("PNG image (*.png)"));
        const QImage saved(path, "PNG");
        QCOMPARE(saved.size(), c.chart->size());
        QCOMPARE(saved.convertToFormat(QImage::Format_RGB32),
                 c.shown.convertToFormat(QImage::Format_RGB32));

        c.exporter->copyAction()->trigger();
        QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
                 saved.convertToFormat(QImage::Format_RGB32));
    }
    // Only the dialogs: a save that worked says nothing more.
    QCOMPARE(prompter.shown.size(), 3);
}

void TestChartExport::failuresAreReported() {
    QTemporaryDir dir;
    TrendChart trend;
    trend.resize(300, 200);
    ScriptedPrompter prompter;
    trend.setPrompter(&prompter);

    // Cancelled: nothing written, nothing said.
    QVERIFY(!trend.exporter()->saveAsPng());
    QCOMPARE(prompter.shown.size(), 1);

    // A folder that is not there: the old files stay, the reason is shown.
    const QString path = dir.filePath(QStringLiteral("gone/trend.png"));
    prompter.files = {path};
    QVERIFY(!trend.exporter()->saveAsPng());
    QCOMPARE(prompter.shown.last().kind, QStringLiteral("warning"));
    QVERIFY(prompter.shown.last().text.startsWith(
        QStringLiteral("The chart could not be saved to %1.\n").arg(path)));
    QVERIFY(prompter.shown.last().text.size() > path.size() + 40);
    QVERIFY(!QFile::exists(path));

    // A chart with nothing to show (no size) makes no image and no file.
    QString why;
    QVERIFY(!ChartExport::writePng(QImage(), dir.filePath(QStringLiteral("empty.png")), &why));
    QVERIFY(!why.isEmpty());
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("empty.png"))));
}

QTEST_MAIN(TestChartExport)
#include "tst_chartexport.moc"
