// Statistics of the list and the trend chart, checked as numbers and as a plan.
#include "statistics.h"
#include "statisticspanel.h"
#include "statisticssheet.h"
#include "trendchart.h"
#include "trendplan.h"

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QTranslator>

#include <algorithm>
#include <cmath>

namespace {
const double kNone = std::nan("");
}

class TestAnalysis : public QObject {
    Q_OBJECT
  private slots:
    void figuresByHand();
    void panelAndSheetShowTheSameFigures();
    void panelFollowsTheLanguage();
    void trendQuantitiesPerMode();
    void trendPlanPointsBandAndColours();
    void trendHitTestAndClick();
};

void TestAnalysis::figuresByHand() {
    // 2, 4, 4, 4, 5, 5, 7, 9: mean 5, sum of squares 32, sd sqrt(32 / 7).
    analysis::Summary s = analysis::summarize({2, 4, 4, kNone, 4, 5, 5, 7, 9});
    QCOMPARE(s.n, 8);
    QCOMPARE(*s.mean, 5.0);
    QCOMPARE(*s.sd, std::sqrt(32.0 / 7));
    QCOMPARE(*s.minimum, 2.0);
    QCOMPARE(*s.maximum, 9.0);
    QCOMPARE(*s.range, 7.0);

    // After deleting all but one row there is a mean but no standard deviation.
    s = analysis::summarize({-1.25});
    QCOMPARE(s.n, 1);
    QCOMPARE(*s.mean, -1.25);
    QVERIFY(!s.sd);
    QCOMPARE(*s.range, 0.0);
    s = analysis::summarize({kNone});
    QCOMPARE(s.n, 0);
    QVERIFY(!s.mean && !s.minimum);

    // Values far from zero: no cancellation (a sum of squares would lose these digits).
    s = analysis::summarize({1e9 + 0.01, 1e9 + 0.02, 1e9 + 0.03});
    QVERIFY(std::abs(*s.sd - 0.01) < 1e-7);

    const analysis::VerdictCounts v = analysis::countVerdicts({true, false, true});
    QCOMPARE(v.pass, 2);
    QCOMPARE(v.ng, 1);
    QCOMPARE(*v.passRate(), 200.0 / 3);
    QVERIFY(!analysis::countVerdicts({}).passRate());
}

void TestAnalysis::panelAndSheetShowTheSameFigures() {
    const QVector<analysis::Column> columns{{"ΔE", {0.5, 1.5}, 2}, {"Haze", {12.345}, 2}};
    StatisticsPanel panel;
    panel.setData(columns, {true, false});
    QTableWidget* t = panel.table();
    QCOMPARE(t->rowCount(), 5);
    QCOMPARE(t->horizontalHeaderItem(3)->text(), QStringLiteral("SD"));
    QCOMPARE(t->item(0, 2)->text(), QStringLiteral("1.00"));
    QCOMPARE(t->item(0, 3)->text(), QStringLiteral("0.71"));
    QCOMPARE(t->item(1, 3)->text(), QStringLiteral("-----"));
    QCOMPARE(t->item(2, 0)->text(), QStringLiteral("PASS"));
    QCOMPARE(t->item(4, 1)->text(), QStringLiteral("50.0"));

    const QList<QVariantList> rows =
        analysis::statisticsSheetRows(columns, panel.summaries(), panel.verdicts());
    QCOMPARE(analysis::statisticsSheetName(), QStringLiteral("Statistics"));
    QCOMPARE(rows.size(), 1 + 2 + 1 + 3);
    QCOMPARE(rows.at(1).at(2).toDouble(), 1.0);
    QCOMPARE(rows.at(1).at(3).toDouble(), std::sqrt(0.5));
    QCOMPARE(rows.at(2), (QVariantList{"Haze", 1.0, 12.345, "-----", 12.345, 12.345, 0.0}));
    QVERIFY(rows.at(3).isEmpty());
    QCOMPARE(rows.at(6), (QVariantList{"Pass rate (%)", 50.0}));
}

void TestAnalysis::panelFollowsTheLanguage() {
    // The shipped translation: switching languages retranslates what is shown, and the sheet
    // takes its translated name.
    QTranslator chinese;
    QVERIFY(chinese.load(QCoreApplication::applicationDirPath() + "/Velorin_zh.qm"));
    StatisticsPanel panel;
    TrendChart chart;
    chart.resize(400, 200);
    chart.setSeries({{trend::Quantity::DeltaHaze, {0.1}, 0.5}}, {true});
    panel.setData({{"x", {1, 2}, 2}}, {true, false});
    QCoreApplication::installTranslator(&chinese);
    QCoreApplication::processEvents();
    QCOMPARE(panel.table()->horizontalHeaderItem(2)->text(), QStringLiteral("平均值"));
    QCOMPARE(panel.table()->item(1, 0)->text(), QStringLiteral("合格"));
    QCOMPARE(analysis::statisticsSheetName(), QStringLiteral("统计"));
    const auto& texts = chart.currentPlan().panes.at(0).texts;
    QVERIFY(std::any_of(texts.begin(), texts.end(),
                        [](const trend::Plan::Text& t) { return t.text == "△雾度"; }));
    QCoreApplication::removeTranslator(&chinese);
    QCoreApplication::processEvents();
    QCOMPARE(panel.table()->horizontalHeaderItem(2)->text(), QStringLiteral("Mean"));
}

void TestAnalysis::trendQuantitiesPerMode() {
    using Q = trend::Quantity;
    QCOMPARE(trend::quantities(0, false), (QVector<Q>{Q::DeltaHaze, Q::DeltaT}));
    QCOMPARE(trend::quantities(2, false), (QVector<Q>{Q::DeltaT}));
    QCOMPARE(trend::quantities(4, false), (QVector<Q>{Q::DeltaE}));
    QCOMPARE(trend::quantities(6, false), (QVector<Q>{Q::DeltaHaze, Q::DeltaT, Q::DeltaE}));
    QCOMPARE(trend::quantities(0, true), (QVector<Q>{Q::DeltaE}));
    QVERIFY(trend::quantities(9, false).isEmpty());
}

void TestAnalysis::trendPlanPointsBandAndColours() {
    // ΔHaze within ±0.5 and ΔT within ±1: two stacked panes with symmetric bands.
    const QVector<trend::Series> haze{{trend::Quantity::DeltaHaze, {0.2, -0.8, kNone, 0.4}, 0.5},
                                      {trend::Quantity::DeltaT, {0.1, 0.3, 0.5, 2.0}, 1.0}};
    const trend::Plan p = trend::plan(QRectF(0, 0, 600, 400), haze, {true, false, false, false});
    QCOMPARE(p.panes.size(), 2);
    QCOMPARE(p.rowCount, 4);
    QCOMPARE(p.lastRow, 3);
    const trend::Plan::Pane& h = p.panes.at(0);
    QVERIFY(h.plot.bottom() < p.panes.at(1).plot.top());
    QCOMPARE(h.rows, (QVector<int>{0, 1, 3})); // the row without a value has no point
    QCOMPARE(h.line.size(), 3);
    // Rows evenly across the plot, first at its left edge and last at its right.
    QCOMPARE(h.points.first().x(), h.plot.left());
    QCOMPARE(h.points.last().x(), h.plot.right());
    QCOMPARE(h.points.at(1).y(), trend::yOf(h, -0.8));
    QCOMPARE(h.band.top(), trend::yOf(h, 0.5));
    QCOMPARE(h.band.bottom(), trend::yOf(h, -0.5));
    QVERIFY(h.low < -0.8 && h.high > 0.5);
    QCOMPARE(h.texts.last().text, QStringLiteral("△Haze"));
    // ΔT's point at 2.0 lies outside its band but inside its plot.
    const trend::Plan::Pane& t = p.panes.at(1);
    QVERIFY(t.points.last().y() < t.band.top() && t.points.last().y() > t.plot.top());
    QCOMPARE(p.passColour, QColor(Qt::darkGreen));
    QCOMPARE(p.ngColour, QColor(Qt::red));

    // ΔE from 0 to the threshold; without a threshold, no band.
    trend::Plan e =
        trend::plan(QRectF(0, 0, 600, 300), {{trend::Quantity::DeltaE, {0.3, 1.2}, 1.0}}, {});
    QCOMPARE(e.panes.at(0).band.bottom(), trend::yOf(e.panes.at(0), 0));
    QCOMPARE(e.panes.at(0).band.top(), trend::yOf(e.panes.at(0), 1.0));
    QCOMPARE(e.panes.at(0).low, 0.0);
    e = trend::plan(QRectF(0, 0, 600, 300), {{trend::Quantity::DeltaE, {0.3}, -1}}, {true});
    QVERIFY(e.panes.at(0).band.isEmpty());
    QCOMPARE(e.panes.at(0).points.first().x(), e.panes.at(0).plot.center().x());

    // Drawing marks every point in its verdict's colour.
    QImage image(600, 400, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    trend::draw(painter, p);
    painter.end();
    QCOMPARE(image.pixelColor(h.points.at(0).toPoint()), QColor(Qt::darkGreen));
    QCOMPARE(image.pixelColor(h.points.at(1).toPoint()), QColor(Qt::red));
}

void TestAnalysis::trendHitTestAndClick() {
    QVector<double> values;
    for (int i = 0; i < 1000; ++i)
        values.append(std::sin(i / 50.0));
    TrendChart chart;
    chart.resize(500, 300);
    chart.setSeries({{trend::Quantity::DeltaE, values, 0.5}}, QVector<bool>(1000, true));
    const trend::Plan& p = chart.currentPlan();
    const trend::Plan::Pane& pane = p.panes.at(0);
    QCOMPARE(trend::hitTest(p, pane.points.at(700)), 700);
    // Of two points in reach, the nearer one.
    const trend::Plan sparse =
        trend::plan(QRectF(0, 0, 500, 300), {{trend::Quantity::DeltaE, {1, 2, 3}, -1}}, {});
    const QPointF between = (sparse.panes.at(0).points.at(1) + sparse.panes.at(0).points.at(2)) / 2;
    QCOMPARE(trend::hitTest(sparse, between - QPointF(1, 0), 1000), 1);
    QCOMPARE(trend::hitTest(sparse, between + QPointF(1, 0), 1000), 2);
    QCOMPARE(trend::hitTest(p, QPointF(pane.points.at(700).x(), pane.plot.top() - 50)), -1);

    QSignalSpy clicked(&chart, &TrendChart::rowClicked);
    QTest::mouseClick(&chart, Qt::LeftButton, {}, pane.points.at(250).toPoint());
    QCOMPARE(clicked.size(), 1);
    QCOMPARE(clicked.first().first().toInt(), trend::hitTest(p, pane.points.at(250).toPoint()));
    QVERIFY(std::abs(clicked.first().first().toInt() - 250) <= 2);
}

QTEST_MAIN(TestAnalysis)
#include "tst_analysis.moc"
