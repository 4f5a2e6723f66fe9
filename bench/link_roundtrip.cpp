// One full ReadTolerance through frame port, link, report layer and virtual instrument.
#include "benchsupport.h"
#include "deviceinfocommands.h"

#include <QCoreApplication>

#include <chrono>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    SimulatedLink link;
    int haze = 0, t = 0, threshold = 0;
    for (int i = 0; i < 200; ++i) // warm-up
        ReadTolerance(link.port, haze, t, threshold);

    constexpr int kRounds = 5000;
    QVector<double> micros;
    micros.reserve(kRounds);
    for (int i = 0; i < kRounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const int status = ReadTolerance(link.port, haze, t, threshold);
        const auto end = std::chrono::steady_clock::now();
        if (status < 0) {
            std::fprintf(stderr, "ReadTolerance failed: %d\n", status);
            return 1;
        }
        micros.append(std::chrono::duration<double, std::micro>(end - start).count());
    }
    bench("link_roundtrip_median", percentile(micros, 0.5), "us");
    bench("link_roundtrip_p99", percentile(micros, 0.99), "us");
    return 0;
}
