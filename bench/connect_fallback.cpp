// Identifying an instrument that does not know the key-information query: the error reply, the
// production-information fallback and the software version, as a connect makes them.
#include "benchsupport.h"
#include "deviceinfocommands.h"

#include <QCoreApplication>

#include <chrono>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    SimulatedLink link;
    link.instrument->setKeyInfoSupported(false);
    link.instrument->setLatency(sim::Latency::UsbFullSpeed);

    constexpr int kRounds = 20;
    QVector<double> millis;
    for (int i = 0; i < kRounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        KeyInfo key;
        int version = 0;
        if (ReadKeyInfo(link.port, key) != Status::ErrorReply ||
            ReadProductionInfo(link.port, key) < 0 || ReadSoftwareVersion(link.port, version) < 0) {
            std::fprintf(stderr, "identification failed\n");
            return 1;
        }
        const auto end = std::chrono::steady_clock::now();
        millis.append(std::chrono::duration<double, std::milli>(end - start).count());
    }
    bench("connect_fallback_median", percentile(millis, 0.5), "ms");
    bench("connect_fallback_max", percentile(millis, 1.0), "ms");
    return 0;
}
