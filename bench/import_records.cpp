// 16,384 stored Lab comparisons through the workspace's record import into the list, over the
// full-speed USB model. The reading phase is set against the ceiling that model allows: per
// ReadMemory or count exchange one request report plus ceil(reply / 62) reply reports, 1 ms each.
#include "firstpagefor510.h"
#include "frameport.h"
#include "modeltable.h"
#include "prompter.h"
#include "records.h"
#include "silentprompter.h"
#include "usbmodel.h"
#include "virtualinstrument.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>

namespace {

// Notes when the last reply arrived, which ends the reading phase.
class TimedPort : public FramePort {
  public:
    LinkFramePort link;
    QElapsedTimer clock;
    qint64 lastReplyNs = 0;

    bool isLinkOpen() const override { return link.isLinkOpen(); }
    int sendFrame(QByteArray& frame, int timeoutMs) override {
        return link.sendFrame(frame, timeoutMs);
    }
    int receiveFrame(QByteArray& out, int deadlineMs, int expectedLength, bool verify) override {
        const int status = link.receiveFrame(out, deadlineMs, expectedLength, verify);
        lastReplyNs = clock.nsecsElapsed();
        return status;
    }
    void delayMs(int ms) override { link.delayMs(ms); }
};

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    constexpr int kRecords = 16384;
    constexpr int kLab = 3;
    auto instrument = sim::VirtualInstrument::fromPreset(QStringLiteral("KV630"));
    instrument->setDisplayMode(kLab);
    instrument->setModeRecordCount(kLab, 0);
    for (int i = 0; i < kRecords; ++i) {
        const sim::Measurement standard = sim::measurementFromLab(0, 0, 50, 10, 20);
        const sim::Measurement sample =
            sim::measurementFromLab(0, 0, 50 + (i % 200) / 100.0, 10, 20);
        instrument->addModeRecord(kLab, sim::modeRecordBytes(kLab, standard, sample),
                                  QByteArray("film") + QByteArray::number(i));
    }
    TimedPort port;
    port.link.setTransportFactory([instrument] { return instrument->createTransport(); });
    if (!port.link.openLink())
        return 1;
    SilentPrompter prompter;
    FirstPageFor510 page(port, prompter);
    page.setModelTable(ModelTable::load(QStringLiteral(VELORIN_METERNO)));
    page.onDeviceConnected();
    if (page.session().displayMode() != kLab) {
        std::fprintf(stderr, "the page did not take the instrument: %s\n",
                     qPrintable(prompter.last));
        return 1;
    }
    instrument->setLatency(sim::Latency::UsbFullSpeed);

    prompter.last.clear();
    port.clock.start();
    // As the form's button calls it.
    QMetaObject::invokeMethod(&page, "on_pushButton_readComparisonRecord_clicked");
    const double totalSeconds = static_cast<double>(port.clock.nsecsElapsed()) / 1e9;
    const double readingSeconds = static_cast<double>(port.lastReplyNs) / 1e9;
    if (page.session().list().totalCount() != kRecords) {
        std::fprintf(stderr, "import failed: %s\n", qPrintable(prompter.last));
        return 1;
    }

    int ceilingReports = usbmodel::exchangeReports(4 + 10); // the record count: a 4-byte ReadMemory
    ceilingReports += usbmodel::areaReports(records::modeArea(kLab).recordSize * kRecords) +
                      usbmodel::areaReports(records::kNameSlot * kRecords);
    const double ceilingSeconds = usbmodel::seconds(ceilingReports);
    std::printf("BENCH import_records_reading_ms %.1f ms\n", readingSeconds * 1e3);
    std::printf("BENCH import_records_ceiling_ms %.1f ms\n", ceilingSeconds * 1e3);
    std::printf("BENCH import_records_ratio %.3f ratio\n", ceilingSeconds / readingSeconds);
    std::printf("BENCH import_records_total_ms %.1f ms\n", totalSeconds * 1e3);
    return 0;
}
