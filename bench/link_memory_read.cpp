// 64 KiB of a record area in 256-byte ReadMemory chunks over a full-speed USB model, against
// the ceiling that model allows: per chunk one request report plus ceil((n + 10) / 62) reply
// reports at 1 ms each.
#include "benchsupport.h"
#include "measurementcommands.h"
#include "usbmodel.h"

#include <QCoreApplication>
#include <QElapsedTimer>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    SimulatedLink link;
    link.instrument->setLatency(sim::Latency::UsbFullSpeed);

    constexpr int kTotal = 64 * 1024;
    constexpr int kChunk = 256;
    QByteArray data;
    data.reserve(kTotal);
    QElapsedTimer timer;
    timer.start();
    for (int offset = 0; offset < kTotal; offset += kChunk) {
        if (ReadMemory(link.port, 0x400000u + static_cast<uint32_t>(offset), kChunk, data) < 0) {
            std::fprintf(stderr, "ReadMemory failed at offset %d\n", offset);
            return 1;
        }
    }
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    const double ceilingSeconds = usbmodel::seconds(usbmodel::areaReports(kTotal));
    bench("link_memory_read_rate", kTotal / seconds, "B/s");
    bench("link_memory_read_ceiling", kTotal / ceilingSeconds, "B/s");
    bench("link_memory_read_ratio", ceilingSeconds / seconds, "ratio");
    return data.size() == kTotal ? 0 : 1;
}
