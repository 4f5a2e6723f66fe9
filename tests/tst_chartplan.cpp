// What the spectral chart draws, checked as a plan rather than as pixels.
#include "chartplan.h"

#include <QImage>
#include <QPainter>
#include <QTest>

namespace {

SpectralRecord flat(double value, bool shown = true) {
    SpectralRecord r;
    r.values.fill(value);
    r.showCurve = shown;
    return r;
}

QStringList textsOf(const ChartPlan& p) {
    QStringList out;
    for (const ChartPlan::Text& t : p.texts)
        out.append(t.text);
    return out;
}

} // namespace

class TestChartPlan : public QObject {
    Q_OBJECT
  private slots:
    void emptyChart();
    void fullScaleSteps_data();
    void fullScaleSteps();
    void coloursByPositionAndHiddenRecords();
    void curvePointsAndTitles();
    void distinctColoursAndHighlight();
    void drawsWithoutFailing();
};

void TestChartPlan::emptyChart() {
    const ChartPlan p = chart::plan(QRectF(0, 0, 1000, 500), {}, 0);
    QCOMPARE(p.fullScale, 60.0);
    QCOMPARE(p.lines.size(), 12 + 31 + 2);
    QVERIFY(p.curves.isEmpty());
    QCOMPARE(textsOf(p), (QStringList{"400", "450", "500", "550", "600", "650", "700",
                                      "Wavelength(nm)", "0", "25", "50", "Transmittance(%)"}));
    QCOMPARE(p.textsBeforeCurves, 8);
    // Grid from the plot's top; axes along its bottom and left side.
    QCOMPARE(p.lines.first().line, QLineF(200, 100, 800, 100));
    QCOMPARE(p.lines.at(12).line, QLineF(200, 100, 200, 400));
    QCOMPARE(p.lines.at(42).line, QLineF(800, 100, 800, 400));
    QCOMPARE(p.lines.at(43).line, QLineF(200, 400, 800, 400));
    QCOMPARE(p.lines.at(43).pen.width(), 2);
    QCOMPARE(p.lines.first().pen.style(), Qt::DashLine);
    QCOMPARE(p.lines.first().pen.capStyle(), Qt::SquareCap);
    // "450" centred under its wavelength; "400" starting at the origin.
    QCOMPARE(p.texts.at(0).rect, QRectF(200, 400, 100, 50));
    QCOMPARE(p.texts.at(1).rect.center().x(), 200 + 50.0 / 300 * 600);
    QCOMPARE(p.texts.at(11).rotation, 270.0);
    // Upright, the title runs as long as the plot is high, left of the tick labels, so a long
    // title is neither cut nor written over "50".
    const QRectF title = p.texts.at(11).rect;
    QCOMPARE(title.width(), p.lines.last().line.length());
    QVERIFY(title.center().x() + title.height() / 2 <= p.texts.at(9).rect.left() + 1e-9);
}

void TestChartPlan::fullScaleSteps_data() {
    QTest::addColumn<double>("max");
    QTest::addColumn<double>("scale");
    QTest::addColumn<QString>("middle");
    QTest::addColumn<QString>("top");
    QTest::newRow("60 stays") << 60.0 << 60.0 << "25"
                              << "50";
    QTest::newRow("60.01") << 60.01 << 120.0 << "50"
                           << "100";
    QTest::newRow("120 stays") << 120.0 << 120.0 << "50"
                               << "100";
    QTest::newRow("130") << 130.0 << 240.0 << "100"
                         << "200";
    QTest::newRow("beyond 240") << 655.35 << 240.0 << "100"
                                << "200";
}

void TestChartPlan::fullScaleSteps() {
    QFETCH(double, max);
    QFETCH(double, scale);
    QFETCH(QString, middle);
    QFETCH(QString, top);
    SpectralRecord r = flat(10);
    r.values[17] = max;
    const ChartPlan p = chart::plan(QRectF(0, 0, 600, 300), {r}, 1);
    QCOMPARE(p.fullScale, scale);
    const QStringList texts = textsOf(p);
    QCOMPARE(texts.at(9), middle);
    QCOMPARE(texts.at(10), top);
}

void TestChartPlan::coloursByPositionAndHiddenRecords() {
    QCOMPARE(chart::curveColour(0), QColor(0, 0, 0));
    QCOMPARE(chart::curveColour(1), QColor(1, 100, 200));
    QCOMPARE(chart::curveColour(2), QColor(2, 200, 144));
    QCOMPARE(chart::curveColour(3), QColor(3, 44, 88));
    // A hidden record changes neither the scale nor the colours of the others.
    const ChartPlan p =
        chart::plan(QRectF(0, 0, 600, 300), {flat(10), flat(500, false), flat(20)}, 0);
    QCOMPARE(p.fullScale, 60.0);
    QCOMPARE(p.curves.size(), 2);
    QCOMPARE(p.curves.at(1).recordIndex, 2);
    QCOMPARE(p.curves.at(1).pen.color(), QColor(2, 200, 144));
}

void TestChartPlan::distinctColoursAndHighlight() {
    // Beyond the first four, every colour of a round of the palette differs from all others
    // and from the first four, and none is the grid's grey.
    QList<QColor> seen;
    for (int i = 0; i < 4 + chart::extraColours().size(); ++i) {
        const QColor c = chart::curveColour(i);
        QVERIFY2(!seen.contains(c), qPrintable(QString::number(i)));
        QVERIFY(c != QColor(Qt::gray));
        seen.append(c);
    }
    QCOMPARE(chart::curveColour(4 + chart::extraColours().size()), chart::curveColour(4));

    // The highlighted record is drawn last, thicker, named beside its end; the others keep
    // their order and pens. A hidden record is not highlighted.
    const QVector<SpectralRecord> records = {flat(10), flat(20), flat(30)};
    const ChartPlan plain = chart::plan(QRectF(0, 0, 600, 300), records, 0);
    const ChartPlan p = chart::plan(QRectF(0, 0, 600, 300), records, 0, 1, QStringLiteral("spec2"));
    QCOMPARE(p.curves.size(), 3);
    QCOMPARE(p.curves.at(0).recordIndex, 0);
    QCOMPARE(p.curves.at(1).recordIndex, 2);
    QCOMPARE(p.curves.at(2).recordIndex, 1);
    QCOMPARE(p.curves.at(2).pen.widthF(), 4.0);
    QCOMPARE(p.curves.at(2).pen.color(), plain.curves.at(1).pen.color());
    QCOMPARE(p.curves.at(0).pen.widthF(), 2.0);
    QCOMPARE(p.texts.size(), plain.texts.size() + 1);
    const int name = int(textsOf(p).indexOf(QStringLiteral("spec2")));
    QVERIFY(name >= p.textsBeforeCurves);
    QVERIFY(p.texts.at(name).rect.left() > p.curves.at(2).points.last().x());

    // The curve under the mouse: the topmost one near the point, none far from all.
    QCOMPARE(chart::curveAt(p, p.curves.at(2).points.at(5) + QPointF(0, 3)), 1);
    QCOMPARE(chart::curveAt(p, QPointF(300, 5)), -1);
    const QVector<SpectralRecord> hidden = {flat(10), flat(20, false)};
    QCOMPARE(chart::plan(QRectF(0, 0, 600, 300), hidden, 0, 1, "x").texts.size(),
             chart::plan(QRectF(0, 0, 600, 300), hidden, 0).texts.size());
}

void TestChartPlan::curvePointsAndTitles() {
    SpectralRecord r = flat(30);
    r.values[30] = -0.01; // stored spectra may be slightly negative: drawn below the axis
    const ChartPlan p = chart::plan(QRectF(10, 20, 1000, 500), {r}, 3);
    const QPolygonF& pts = p.curves.first().points;
    QCOMPARE(pts.size(), 31);
    QCOMPARE(pts.first(), QPointF(10 + 200, 20 + 400 - 30 * 300.0 / 60));
    QVERIFY(pts.last().y() > 20 + 400);
    QCOMPARE(pts.last().x(), 10 + 800.0);
    QCOMPARE(textsOf(chart::plan(QRectF(0, 0, 10, 10), {}, 2)).last(),
             QStringLiteral("Reflectance(%)"));
    QCOMPARE(textsOf(chart::plan(QRectF(0, 0, 10, 10), {}, 3)).last(),
             QStringLiteral("Transmittance(%)"));
    QCOMPARE(textsOf(chart::plan(QRectF(0, 0, 10, 10), {}, 7)).last(), QStringLiteral("50"));
}

void TestChartPlan::drawsWithoutFailing() {
    QImage image(400, 200, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    chart::draw(painter, chart::plan(QRectF(0, 0, 400, 200), {flat(30), flat(50)}, 0));
    painter.end();
    // The second curve's colour (1, 100, 200) is on the picture.
    bool found = false;
    for (int y = 0; y < image.height() && !found; ++y)
        for (int x = 0; x < image.width() && !found; ++x)
            found = image.pixelColor(x, y) == QColor(1, 100, 200);
    QVERIFY(found);
}

QTEST_MAIN(TestChartPlan)
#include "tst_chartplan.moc"
