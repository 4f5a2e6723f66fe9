// Statistics, capability, the trend chart and the a*b* plot, checked as numbers and as plans.
#include "abplot.h"
#include "analysispanel.h"
#include "capability.h"
#include "chartexport.h"
#include "colourdifference.h"
#include "judging.h"
#include "liststatistics.h"
#include "statistics.h"
#include "statisticspanel.h"
#include "statisticssheet.h"
#include "trendchart.h"
#include "trendplan.h"

#include <QAction>
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
    void sheetGroupsTheLotsOfAList();
    void panelReadsOnlyAppendedRowsYetFollowsEveryChange();
    void trendPlanPointsBandAndColours();
    void trendHitTestAndClick();
    void capabilityByHand();
    void controlLimitsOfPublishedExamples();
    void controlLimitsOnTheChart();
    void abPlotPlan();
    void abPlotPixelsAndClick();
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

    // The sheet holds the panel's figures as numbers rounded as shown, in the format that shows
    // them so; what does not exist stays the panel's text.
    const analysis::SheetRows rows =
        analysis::statisticsSheetRows(columns, panel.summaries(), panel.verdicts());
    QCOMPARE(analysis::statisticsSheetName(), QStringLiteral("Statistics"));
    QCOMPARE(rows.size(), 1 + 2 + 1 + 3);
    QVERIFY(rows.at(3).isEmpty());
    for (int r : {1, 2, 4, 5, 6}) {
        const int panelRow = r < 3 ? r - 1 : r - 2;
        for (int c = 0; c < rows.at(r).size(); ++c) {
            const xlsx::CellValue& cell = rows.at(r).at(c);
            const QString shown = t->item(panelRow, c)->text();
            if (cell.kind == xlsx::CellValue::Kind::Text) {
                QCOMPARE(cell.text, shown);
                continue;
            }
            QCOMPARE(cell.kind, xlsx::CellValue::Kind::Number);
            const int decimals = std::max(cell.format.decimals, 0);
            QVERIFY(!cell.format.percent);
            QCOMPARE(QString::number(cell.number, 'f', decimals), shown);
            // Rounded: the number is the text's, not the unrounded figure.
            QCOMPARE(cell.number, shown.toDouble());
        }
    }
    QCOMPARE(rows.at(1).at(3).format.code(), QStringLiteral("0.00"));
    QCOMPARE(rows.at(1).at(3).number, 0.71);
    QCOMPARE(rows.at(1).at(1).format.code(), QStringLiteral("General"));
    QCOMPARE(rows.at(6).at(2 - 1).format.code(), QStringLiteral("0.0"));
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
    QCOMPARE(chart.exporter()->saveAction()->text(), QStringLiteral("另存为 PNG…"));
    QCoreApplication::removeTranslator(&chinese);
    QCoreApplication::processEvents();
    QCOMPARE(panel.table()->horizontalHeaderItem(2)->text(), QStringLiteral("Mean"));
    QCOMPARE(chart.exporter()->copyAction()->text(), QStringLiteral("Copy"));
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

void TestAnalysis::sheetGroupsTheLotsOfAList() {
    JudgingSettings settings;
    settings.displayMode = 0;
    settings.hazeTolerance = settings.tTolerance = 100;
    Reading standard, sample;
    standard.values = {2000, 8000, 5000, 1000, 2000};
    QList<ComparisonRecord> records;
    for (const char* lot : {"A", "B", "A"}) {
        sample.values = {2000 + 100 * int(records.size()), 8000, 5000, 1000, 2000};
        records << judging::compare(standard, sample, settings);
        records.last().lot = QString::fromLatin1(lot);
    }
    const auto titleRow = [](const analysis::SheetRows& rows, const QString& title) {
        for (int r = 0; r < rows.size(); ++r)
            if (!rows.at(r).isEmpty() && rows.at(r).first().text == title)
                return r;
        return -1;
    };
    // The whole list first, as before; then each lot under its title with its own figures.
    const analysis::SheetRows rows = analysis::listStatisticsSheet(0, false, false, records);
    const int a = titleRow(rows, QStringLiteral("Lot: A"));
    const int b = titleRow(rows, QStringLiteral("Lot: B"));
    QVERIFY(a > 0 && b > a);
    QCOMPARE(rows.at(1).at(1).number, 3.0); // ΔHaze... n of the whole list
    QCOMPARE(rows.at(a + 2).at(1).number, 2.0);
    QCOMPARE(rows.at(b + 2).at(1).number, 1.0);
    QCOMPARE(rows.at(a + 1).value(8).text, QStringLiteral("Capability"));
    // One lot: nothing to group.
    QCOMPARE(analysis::listStatisticsSheet(0, false, false, records.mid(0, 1)).size(),
             analysis::listStatisticsSheet(0, false, false, records.mid(1, 1)).size());
    QCOMPARE(titleRow(analysis::listStatisticsSheet(0, false, false, records.mid(0, 1)),
                      QStringLiteral("Lot: A")),
             -1);
}

void TestAnalysis::panelReadsOnlyAppendedRowsYetFollowsEveryChange() {
    JudgingSettings settings;
    settings.displayMode = 6;
    settings.hazeTolerance = settings.tTolerance = 100;
    settings.threshold = 10;
    Reading standard, sample;
    standard.values = {2000, 8000, 5000, 1000, 2000, 5000, 2236, 634, 1842, 3500, 3600};
    QList<ComparisonRecord> records;
    quint64 revision = 0;
    const auto add = [&](int n) {
        for (int i = 0; i < n; ++i) {
            sample = standard;
            sample.values[0] += 37 * int(records.size() % 7);
            sample.values[3] -= 11 * int(records.size() % 5);
            records.append(judging::compare(standard, sample, settings));
        }
    };
    AnalysisPanel panel;
    panel.setSource([&] {
        return AnalysisPanel::Source{&records, ListMeaning::of(records.value(0)), settings, false,
                                     revision};
    });
    panel.show();
    // What a panel made from nothing shows for the records now.
    const auto fresh = [&] {
        return analysis::summarizeAll(analysis::listColumns(6, false, false, records));
    };
    const auto same = [&] {
        panel.refresh();
        const QVector<analysis::Summary> shown = panel.statistics()->summaries(), want = fresh();
        if (shown.size() != want.size())
            return false;
        for (int k = 0; k < shown.size(); ++k)
            if (shown[k].n != want[k].n || shown[k].mean != want[k].mean ||
                shown[k].sd != want[k].sd || shown[k].maximum != want[k].maximum)
                return false;
        return true;
    };
    add(20);
    QVERIFY(same());
    add(3); // appended: only these are read
    QVERIFY(same());
    // A row judged again and a row removed change the revision: everything is read again.
    records[4].sample[0] += 900;
    judging::judge(records[4]);
    ++revision;
    QVERIFY(same());
    records.removeAt(2);
    ++revision;
    add(1);
    QVERIFY(same());
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

void TestAnalysis::capabilityByHand() {
    // 2, 4, 4, 4, 5, 5, 7, 9: mean 5, s = sqrt(32 / 7) = 2.138.
    const QVector<double> values{2, 4, kNone, 4, 4, 5, 5, 7, 9};
    const double s = std::sqrt(32.0 / 7);
    // Haze 5 ± 3: Cp = 6 / 6s; the mean sits mid-band, so Cpk = Cp.
    analysis::Capability c = analysis::capability(values, analysis::twoSidedLimits(5, 3));
    QCOMPARE(c.n, 8);
    QCOMPARE(*c.cp, 6 / (6 * s));
    QCOMPARE(*c.cpk, 3 / (3 * s));
    // Off-centre: the nearer limit counts.
    c = analysis::capability(values, analysis::twoSidedLimits(6, 3));
    QCOMPARE(*c.cpk, (5 - 3.0) / (3 * s));
    QCOMPARE(*c.cp, 6 / (6 * s));
    // ΔE up to 8: one-sided, no Cp. A mean beyond the limit gives a negative Cpk.
    c = analysis::capability(values, analysis::upperLimit(8));
    QVERIFY(!c.cp);
    QCOMPARE(*c.cpk, 3 / (3 * s));
    QVERIFY(*analysis::capability(values, analysis::upperLimit(4)).cpk < 0);

    // No figure below two values, for values that do not vary (0.1 three times sums to a hair
    // over 0.3, which must not become a tiny spread and a Cp of 1e16), or with an unknown
    // tolerance; n is still given.
    c = analysis::capability({0.3}, analysis::twoSidedLimits(0, 1));
    QCOMPARE(c.n, 1);
    QVERIFY(!c.cp && !c.cpk);
    c = analysis::capability({0.1, 0.1, 0.1}, analysis::twoSidedLimits(0, 1));
    QCOMPARE(c.n, 3);
    QCOMPARE(*c.sd, 0.0);
    QCOMPARE(*c.mean, 0.1);
    QVERIFY(!c.cp && !c.cpk);
    c = analysis::capability(values, analysis::twoSidedLimits(5, -1));
    QCOMPARE(c.n, 8);
    QVERIFY(!c.cp && !c.cpk);

    const QVector<analysis::Capability> all = analysis::capabilities(
        {{"Haze", values, analysis::twoSidedLimits(5, 3)}, {"ΔE", {}, analysis::upperLimit(1)}});
    QCOMPARE(all.size(), 2);
    QCOMPARE(*all.at(0).cp, 6 / (6 * s));
    QCOMPARE(all.at(1).n, 0);
}

void TestAnalysis::controlLimitsOfPublishedExamples() {
    // NIST/SEMATECH e-Handbook of Statistical Methods, 6.3.2.2 (individuals control chart):
    // moisture content of ten batches, mean 50.81, average moving range 16.9 / 9 = 1.8778, limits
    // 55.80 and 45.82 (the handbook divides 3 by d2 = 1.128; 2.66 agrees to two decimals).
    const QVector<double> moisture{49.6, 47.6, 49.9, 51.3, 47.8, 51.2, 52.6, 52.4, 53.6, 52.1};
    auto c = trend::controlLimits(moisture);
    QVERIFY(c);
    QCOMPARE(c->n, 10);
    QVERIFY(std::abs(c->centre - 50.81) < 1e-9);
    QVERIFY(std::abs(c->averageMovingRange - 16.9 / 9) < 1e-9);
    QVERIFY(std::abs(c->upper - 55.80) < 0.005);
    QVERIFY(std::abs(c->lower - 45.82) < 0.005);
    // Montgomery, Introduction to Statistical Quality Control, example 6.5 (weekly loan
    // processing costs): mean 300.5, average moving range 148 / 19 = 7.79, UCL 321.22,
    // LCL 279.78.
    const QVector<double> costs{310, 288, 297, 298, 307, 303, 294, 297, 308, 306,
                                294, 299, 297, 299, 314, 295, 293, 306, 301, 304};
    c = trend::controlLimits(costs);
    QCOMPARE(c->centre, 300.5);
    QVERIFY(std::abs(c->averageMovingRange - 148.0 / 19) < 1e-9);
    QVERIFY(std::abs(c->upper - 321.22) < 0.005);
    QVERIFY(std::abs(c->lower - 279.78) < 0.005);

    // A row without a value is passed over: its neighbours make one moving range.
    c = trend::controlLimits({1, kNone, 3, 2});
    QCOMPARE(c->n, 3);
    QCOMPARE(c->averageMovingRange, 1.5);
    QVERIFY(!trend::controlLimits({4, kNone}));
}

void TestAnalysis::controlLimitsOnTheChart() {
    // Nine steady points and a jump: the jump lies beyond the upper control limit and is ringed.
    QVector<double> values{0.1, 0.12, 0.11, 0.1, 0.12, 0.11, 0.1, 0.12, 0.11, 0.9};
    const trend::Plan p =
        trend::plan(QRectF(0, 0, 600, 300), {{trend::Quantity::DeltaHaze, values, 1}}, {});
    const trend::Plan::Pane& pane = p.panes.at(0);
    const auto c = trend::controlLimits(values);
    QCOMPARE(pane.controlLines.size(), 3);
    QCOMPARE(pane.controlLines.at(0).y1(), trend::yOf(pane, c->centre));
    QCOMPARE(pane.controlLines.at(1).y1(), trend::yOf(pane, c->upper));
    QCOMPARE(pane.controlLines.at(2).y1(), trend::yOf(pane, c->lower));
    QVERIFY(pane.low <= c->lower && pane.high >= c->upper);
    QCOMPARE(pane.outside, QVector<int>{9});
    QCOMPARE(pane.controlTexts.at(0).text, trend::upperLimitLabel());
    // Limits close together (a steady climb: small moving ranges) keep their names apart.
    QVector<double> climb;
    for (int i = 0; i < 30; ++i)
        climb.append(0.07 * i);
    const trend::Plan::Pane close =
        trend::plan(QRectF(0, 0, 500, 120), {{trend::Quantity::DeltaHaze, climb, 1}}, {})
            .panes.at(0);
    QCOMPARE(close.controlLines.size(), 3);
    for (int i = 0; i + 1 < close.controlTexts.size(); ++i)
        for (int j = i + 1; j < close.controlTexts.size(); ++j)
            QVERIFY(!close.controlTexts.at(i).rect.intersects(close.controlTexts.at(j).rect));
    // Values that do not vary have no limits to draw.
    QVERIFY(trend::plan(QRectF(0, 0, 600, 300), {{trend::Quantity::DeltaT, {0.5, 0.5, 0.5}, 1}}, {})
                .panes.at(0)
                .controlLines.isEmpty());

    // ΔE: a lower limit under zero is left out; one point has no limits.
    values = {0.2, 1.4, 0.3};
    trend::Plan e = trend::plan(QRectF(0, 0, 600, 300), {{trend::Quantity::DeltaE, values, 1}}, {});
    QVERIFY(trend::controlLimits(values)->lower < 0);
    QCOMPARE(e.panes.at(0).controlLines.size(), 2);
    QCOMPARE(e.panes.at(0).low, 0.0);
    e = trend::plan(QRectF(0, 0, 600, 300), {{trend::Quantity::DeltaE, {0.2}, 1}}, {});
    QVERIFY(e.panes.at(0).controlLines.isEmpty() && !e.panes.at(0).control);
}

namespace {

// Samples around a high-chroma standard, judged by CIEDE2000 against 1.0; the last is far out.
abplot::Input abInput() {
    abplot::Input in;
    in.standard = {60, 40, 50};
    in.formula = 6;
    in.threshold = 1.0;
    const double d[][3] = {{0.3, -0.2, 0.1}, {-0.5, 0.4, -0.6}, {kNone, kNone, 0.2}, {2.5, 1.5, 3}};
    for (int i = 0; i < 4; ++i) {
        const colour::Lab sample{60 + d[i][2], 40 + d[i][0], 50 + d[i][1]};
        const bool pass = std::isnan(d[i][0]) ||
                          colour::deltaEByIndex(6, false, in.standard, sample) <= in.threshold;
        in.points.append({d[i][0], d[i][1], d[i][2], pass, i + 10});
    }
    return in;
}

} // namespace

void TestAnalysis::abPlotPlan() {
    const abplot::Input in = abInput();
    const abplot::Plan p = abplot::plan(QRectF(0, 0, 700, 500), in);
    // A square plane with the standard at its centre, every point inside it.
    QCOMPARE(p.plot.width(), p.plot.height());
    QCOMPARE(p.origin, p.plot.center());
    QCOMPARE(p.points.size(), 3); // the row without a*b* has only its ΔL*
    QCOMPARE(p.barPoints.size(), 4);
    QCOMPARE(p.points.at(2).row, 13);
    QCOMPARE(p.points.at(2).at, abplot::pointOf(p, 2.5, 1.5));
    QVERIFY(!p.points.at(2).pass && p.points.at(0).pass);
    for (const abplot::Plan::Marker& m : p.points)
        QVERIFY(p.plot.contains(m.at));
    QCOMPARE(p.newestRow, 13);

    // The contour, read back from pixels, lies where CIEDE2000 reaches the threshold.
    QVERIFY(p.contourClosed);
    QCOMPARE(p.contour.size(), 1);
    QCOMPARE(p.contour.first().size(), 361);
    for (int k = 0; k < 360; k += 15) {
        const QPointF px = p.contour.first().at(k);
        const double da = (px.x() - p.origin.x()) / p.scale;
        const double db = (p.origin.y() - px.y()) / p.scale;
        const double e = colour::deltaEByIndex(6, false, in.standard, {60, 40 + da, 50 + db});
        QVERIFY(std::abs(e - 1.0) < 1e-6);
    }
    // The ΔL* band ends where the formula reaches the threshold in lightness alone.
    const abplot::Tolerance t = abplot::tolerance(in);
    QVERIFY(std::abs(colour::deltaEByIndex(6, false, in.standard, {60 + t.lighter, 40, 50}) - 1) <
            1e-6);
    QCOMPARE(p.barBand.top(), abplot::barYOf(p, t.lighter));
    QCOMPARE(p.barBand.bottom(), abplot::barYOf(p, -t.darker));
    QVERIFY(p.barHigh >= 3 && p.barLow <= -3);
    QVERIFY(std::any_of(p.texts.begin(), p.texts.end(), [](const abplot::Plan::Text& t) {
        return t.text == QStringLiteral("△E*00 tolerance 1.0");
    }));

    // Without a threshold there is nothing to draw around the points.
    abplot::Input none = in;
    none.threshold = -1;
    const abplot::Plan q = abplot::plan(QRectF(0, 0, 700, 500), none);
    QVERIFY(q.contour.isEmpty() && q.barBand.isEmpty());
    QCOMPARE(q.points.size(), 3);
    // An empty list still has its axes.
    QVERIFY(abplot::plan(QRectF(0, 0, 300, 200), abplot::Input{}).grid.size() > 4);
}

void TestAnalysis::abPlotPixelsAndClick() {
    AbPlot plot;
    plot.resize(700, 500);
    plot.setInput(abInput());
    const abplot::Plan& p = plot.currentPlan();
    const QImage image = plot.grab().toImage();
    QCOMPARE(image.pixelColor(p.points.at(0).at.toPoint()), QColor(Qt::darkGreen));
    QCOMPARE(image.pixelColor(p.points.at(2).at.toPoint() + QPoint(1, 0)), QColor(Qt::red));
    QCOMPARE(image.pixelColor(p.barPoints.at(2).at.toPoint()), QColor(Qt::darkGreen));

    QCOMPARE(abplot::hitTest(p, p.points.at(1).at + QPointF(2, 2)), 11);
    QCOMPARE(abplot::hitTest(p, p.barPoints.at(2).at), 12);
    QCOMPARE(abplot::hitTest(p, p.plot.topLeft() + QPointF(3, 3)), -1);
    QSignalSpy clicked(&plot, &AbPlot::rowClicked);
    QTest::mouseClick(&plot, Qt::LeftButton, {}, p.points.at(0).at.toPoint());
    QCOMPARE(clicked.size(), 1);
    QCOMPARE(clicked.first().first().toInt(), 10);

    // A new row keeps the contour already worked out; another standard replaces it.
    const QVector<QPointF> contour = plot.currentTolerance().contour;
    abplot::Input more = abInput();
    more.points.append({0.1, 0.1, 0.1, true, 14});
    plot.setInput(more);
    QCOMPARE(plot.currentTolerance().contour.constData(), contour.constData());
    more.standard.a = 20;
    plot.setInput(more);
    QVERIFY(plot.currentTolerance().contour != contour);
}

QTEST_MAIN(TestAnalysis)
#include "tst_analysis.moc"
