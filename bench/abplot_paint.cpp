// The a*b* plot: the ΔE*00 tolerance contour alone (the costliest formula to solve), then a real
// repaint of the widget with 16,384 comparisons (the list's limit) around that contour, and the
// whole refresh when the standard changes (contour, plan and repaint).
#include "abplot.h"
#include "benchsupport.h"
#include "colourdifference.h"
#include "tolerancecontour.h"

#include <QApplication>
#include <QRandomGenerator>

#include <chrono>
#include <cmath>

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
    constexpr int kDeltaE00 = 6;
    const colour::Lab standard{62, 38, 44}; // C* 58, h 49
    const double threshold = 1.5;

    QVector<double> contour;
    for (int round = 0; round < 15; ++round) {
        const auto start = std::chrono::steady_clock::now();
        const QVector<QPointF> c = colour::toleranceContour(standard, kDeltaE00, false, threshold);
        contour.append(msSince(start));
        if (c.size() != 360)
            return 1;
    }
    bench("abplot_contour_ms", percentile(contour, 0.5), "ms");

    QRandomGenerator random(11);
    abplot::Input input;
    input.standard = standard;
    input.formula = kDeltaE00;
    input.threshold = threshold;
    for (int i = 0; i < kRows; ++i) {
        abplot::Point p;
        p.da = random.bounded(6.0) - 3;
        p.db = random.bounded(6.0) - 3;
        p.dL = random.bounded(3.0) - 1.5;
        const colour::Lab sample{standard.L + p.dL, standard.a + p.da, standard.b + p.db};
        p.pass = colour::deltaEByIndex(kDeltaE00, false, standard, sample) <= threshold;
        p.row = i;
        input.points.append(p);
    }
    AbPlot plot;
    plot.resize(900, 640);
    plot.setInput(input);
    plot.show();
    QCoreApplication::processEvents();

    QVector<double> paint;
    for (int round = 0; round < 9; ++round) {
        const auto start = std::chrono::steady_clock::now();
        plot.repaint();
        paint.append(msSince(start));
    }
    bench("abplot_paint_ms", percentile(paint, 0.5), "ms");

    QVector<double> refresh;
    for (int round = 0; round < 9; ++round) {
        input.standard.L = standard.L + 0.01 * (round + 1);
        const auto start = std::chrono::steady_clock::now();
        plot.setInput(input);
        plot.repaint();
        refresh.append(msSince(start));
    }
    bench("abplot_new_standard_ms", percentile(refresh, 0.5), "ms");
    return 0;
}
