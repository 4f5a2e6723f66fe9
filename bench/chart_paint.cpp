// One full repaint of the spectral chart with 1,000 shown records.
#include "chartplan.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>

#include <chrono>
#include <cstdio>

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QVector<SpectralRecord> records(1000);
    QRandomGenerator random(3);
    for (SpectralRecord& r : records)
        for (double& v : r.values)
            v = random.bounded(100.0);
    QImage image(1280, 400, QImage::Format_ARGB32_Premultiplied);
    double best = 1e9;
    for (int round = 0; round < 5; ++round) {
        image.fill(Qt::white);
        const auto start = std::chrono::steady_clock::now();
        QPainter painter(&image);
        chart::draw(painter, chart::plan(QRectF(10, 10, 1260, 380), records, 0));
        painter.end();
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        best = std::min(best, ms);
    }
    std::printf("BENCH chart_paint_ms %.3f ms\n", best);
    return 0;
}
