// 100 stored spectra through the spectral page's history import, over the full-speed USB
// model, against the ceiling that model allows: per ReadMemory or count exchange one request
// report plus ceil(reply / 62) reply reports, 1 ms each.
#include "frameport.h"
#include "meterpagefor510.h"
#include "prompter.h"
#include "records.h"
#include "silentprompter.h"
#include "usbmodel.h"
#include "virtualinstrument.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    constexpr int kRecords = 100;
    auto instrument = std::make_shared<sim::VirtualInstrument>();
    std::array<int16_t, 31> values{};
    for (int i = 0; i < kRecords; ++i) {
        values.fill(static_cast<int16_t>(3000 + i));
        instrument->addSpectralRecord(0, values, QByteArray("film") + QByteArray::number(i));
    }
    instrument->setLatency(sim::Latency::UsbFullSpeed);
    LinkFramePort port;
    port.setTransportFactory([instrument] { return instrument->createTransport(); });
    if (!port.openLink())
        return 1;
    SilentPrompter prompter;
    MeterPageFor510 page(nullptr, &port, 0);
    page.setPrompter(&prompter);

    QElapsedTimer timer;
    timer.start();
    page.on_pushButton_spectralHistory_clicked();
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    if (page.records().size() != kRecords) {
        std::fprintf(stderr, "import failed: %s\n", qPrintable(prompter.last));
        return 1;
    }

    int ceilingReports = usbmodel::exchangeReports(18); // the record count
    ceilingReports += usbmodel::areaReports(records::kSpectralRequested * kRecords) +
                      usbmodel::areaReports(records::kSpectralNameSlot * kRecords);
    const double ceilingSeconds = usbmodel::seconds(ceilingReports);
    std::printf("BENCH spectral_history_ms %.1f ms\n", seconds * 1e3);
    std::printf("BENCH spectral_history_ceiling_ms %.1f ms\n", ceilingSeconds * 1e3);
    std::printf("BENCH spectral_history_ratio %.3f ratio\n", ceilingSeconds / seconds);
    return 0;
}
