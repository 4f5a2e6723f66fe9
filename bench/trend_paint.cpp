// One full repaint of the trend chart with 16,384 comparisons (the list's limit), in the haze
// layout's two panes: planning and drawing, as a resize or a new row costs. Also the statistics
// of a full list of about 30 quantities, as every change recomputes them, and the whole refresh
// the workspace does on a change: the list's records made into columns and chart series.
#include "benchsupport.h"
#include "comparisonrows.h"
#include "judging.h"
#include "liststatistics.h"
#include "statistics.h"
#include "trendplan.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>

#include <chrono>

namespace {
double msSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}
} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    constexpr int kRows = 16384;
    QRandomGenerator random(7);
    QVector<trend::Series> series{{trend::Quantity::DeltaHaze, {}, 0.5},
                                  {trend::Quantity::DeltaT, {}, 1.0}};
    QVector<bool> passes;
    for (int i = 0; i < kRows; ++i) {
        const double h = random.bounded(1.4) - 0.7, t = random.bounded(2.6) - 1.3;
        series[0].values.append(h);
        series[1].values.append(t);
        passes.append(std::abs(h) <= 0.5 && std::abs(t) <= 1.0);
    }
    QImage image(1280, 400, QImage::Format_ARGB32_Premultiplied);
    QVector<double> paint;
    for (int round = 0; round < 7; ++round) {
        image.fill(Qt::white);
        const auto start = std::chrono::steady_clock::now();
        QPainter painter(&image);
        trend::draw(painter, trend::plan(QRectF(0, 0, 1280, 400), series, passes));
        painter.end();
        paint.append(msSince(start));
    }
    bench("trend_paint_ms", percentile(paint, 0.5), "ms");

    QVector<analysis::Column> columns(30);
    for (analysis::Column& c : columns)
        for (int i = 0; i < kRows; ++i)
            c.values.append(random.bounded(100.0));
    QVector<double> stats;
    for (int round = 0; round < 7; ++round) {
        const auto start = std::chrono::steady_clock::now();
        const QVector<analysis::Summary> s = analysis::summarizeAll(columns);
        stats.append(msSince(start));
        if (s.size() != 30)
            return 1;
    }
    bench("statistics_16384x30_ms", percentile(stats, 0.5), "ms");

    // Mode 6 shows the most quantities: ten values and three differences.
    JudgingSettings settings;
    settings.displayMode = 6;
    settings.hazeTolerance = settings.tTolerance = 50;
    settings.threshold = 10;
    QList<ComparisonRecord> records;
    Reading standard, sample;
    standard.values = {2000, 8000, 5000, 1000, 2000, 5000, 2236, 634, 1842, 3500, 3600};
    for (int i = 0; i < kRows; ++i) {
        sample = standard;
        sample.values[0] += int(random.bounded(140)) - 70;
        sample.values[3] += int(random.bounded(200)) - 100;
        records.append(judging::compare(standard, sample, settings));
    }
    QVector<double> refresh;
    for (int round = 0; round < 7; ++round) {
        const auto start = std::chrono::steady_clock::now();
        const QVector<analysis::Column> list = analysis::listColumns(6, false, false, records);
        const QVector<analysis::Summary> s = analysis::summarizeAll(list);
        const QVector<trend::Series> t = analysis::trendSeries(6, false, settings, records);
        refresh.append(msSince(start));
        if (s.size() != 13 || t.size() != 3)
            return 1;
    }
    bench("list_analysis_refresh_16384_ms", percentile(refresh, 0.5), "ms");
    return 0;
}
