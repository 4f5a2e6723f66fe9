// One full repaint of the trend chart with 16,384 comparisons (the list's limit), in the haze
// layout's two panes: planning and drawing, as a resize or a new row costs. Also the statistics
// of a full list of about 30 quantities, as every change recomputes them.
#include "benchsupport.h"
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
    return 0;
}
