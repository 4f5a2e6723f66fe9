// The virtual instrument seen from the host side, report by report, with hand-built frames.
#include "checksum16.h"
#include "clinker.h"
#include "virtualinstrument.h"

#include <QElapsedTimer>
#include <QTest>

#include <atomic>
#include <cmath>
#include <cstring>
#include <ctime>
#include <thread>

using namespace sim;

namespace {

QByteArray hex(const char* text) {
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

QByteArray withCrc(QByteArray frame) {
    const uint16_t sum = checksum16(frame.constData(), int(frame.size()));
    frame.append(char(sum & 0xFF));
    frame.append(char(sum >> 8));
    return frame;
}

bool crcAt(const QByteArray& b, int from, int to, int at) {
    const uint16_t sum = checksum16(b.constData() + from, to - from + 1);
    return uint8_t(b.at(at)) == (sum & 0xFF) && uint8_t(b.at(at + 1)) == (sum >> 8);
}

int u16(const QByteArray& b, int at) {
    return uint8_t(b.at(at)) | (uint8_t(b.at(at + 1)) << 8);
}
int s16(const QByteArray& b, int at) {
    return int16_t(u16(b, at));
}

QByteArray memoryRequest(uint8_t fn, uint32_t address, const QByteArray& data = {}, int n = -1) {
    QByteArray f;
    f.append(char(0xAB));
    f.append(char(fn));
    for (int i = 0; i < 4; ++i)
        f.append(char((address >> (8 * i)) & 0xFF));
    const int length = n < 0 ? int(data.size()) : n;
    f.append(char(length & 0xFF));
    f.append(char(length >> 8));
    return withCrc(f + data);
}

QByteArray blockWithCrc(const QByteArray& data) {
    return withCrc(data);
}

double processCpuMs() {
    return double(std::clock()) * 1000.0 / CLOCKS_PER_SEC;
}

// One opened host-side handle.
struct Host {
    std::unique_ptr<HidTransport> t;

    explicit Host(VirtualInstrument& vi) : t(vi.createTransport()) {
        QVERIFY(t->open(VirtualInstrument::kVendorId, VirtualInstrument::kProductId));
    }
    void send(const QByteArray& bytes, int payloadPerReport = 62) {
        for (int i = 0; i < bytes.size(); i += payloadPerReport) {
            uint8_t report[64] = {0x3F};
            const QByteArray chunk = bytes.mid(i, payloadPerReport);
            report[1] = uint8_t(chunk.size());
            std::memcpy(report + 2, chunk.constData(), size_t(chunk.size()));
            QCOMPARE(t->writeReport(report, 64, 100), 64);
        }
    }
    // Payload bytes of the reports that arrive until a read waits waitMs in vain.
    QByteArray drain(int waitMs = 60, QList<int>* reportSizes = nullptr) {
        QByteArray out;
        uint8_t report[64];
        while (t->readReport(report, 64, waitMs) > 0) {
            out.append(reinterpret_cast<const char*>(report + 2), report[1]);
            if (reportSizes)
                reportSizes->append(report[1]);
        }
        return out;
    }
    QByteArray ask(const QByteArray& frame) {
        send(frame);
        return drain();
    }
};

} // namespace

class TestSim : public QObject {
    Q_OBJECT
  private slots:
    void identityReplies();
    void settingsAreReadAndWritten();
    void measurementBlocks();
    void recordCountsAndMemory();
    void framing();
    void hostLinkExchange();
    void library_data();
    void library();
    void pushes_data();
    void pushes();
    void faults();
    void pushSplitAndLatency();
    void unplugKillsHandles();
    void idleReadBlocksWithoutSpinning();
    void presets();
    void threadSmoke();
};

void TestSim::identityReplies() {
    VirtualInstrument vi;
    vi.setMeterNumber(6300);
    vi.setSerialNumber(123456789);
    vi.setProductionDate(2022, 7, 9);
    vi.setFirmwareVersion(410);
    Host host(vi);

    // The program sends two trailing zero bytes after this request; they are skipped.
    const QByteArray key = host.ask(hex("AB 20 05 00 12 00 94 6B 00 00"));
    QCOMPARE(key.size(), 26);
    QCOMPARE(key.left(6), hex("AB 20 05 00 12 00"));
    QCOMPARE(uint8_t(key.at(6)), uint8_t(0xA5));
    QCOMPARE(u16(key, 8), 2022);
    QCOMPARE(int(key.at(10)), 7);
    QCOMPARE(int(key.at(11)), 9);
    QCOMPARE(u16(key, 12) | (u16(key, 14) << 16), 123456789);
    QCOMPARE(u16(key, 16), 6300);
    QVERIFY(crcAt(key, 0, 23, 24));

    const QByteArray version = host.ask(hex("AB 20 0C 00 02 00 9A 37"));
    QCOMPARE(version.size(), 10);
    QCOMPARE(u16(version, 6), 410);
    QVERIFY(crcAt(version, 0, 7, 8));

    const QByteArray production = host.ask(memoryRequest(0x40, 0, {}, 20));
    QCOMPARE(production.size(), 30);
    QCOMPARE(uint8_t(production.at(6)), uint8_t(0x14));
    QCOMPARE(u16(production, 18), 6300);
    QVERIFY(crcAt(production, 8, 25, 26));
    QVERIFY(crcAt(production, 0, 27, 28));

    vi.setKeyInfoSupported(false);
    const QByteArray refused = host.ask(hex("AB 20 05 00 12 00 94 6B 00 00"));
    QCOMPARE(refused, withCrc(hex("AB A0 04")));
    QCOMPARE(host.ask(memoryRequest(0x40, 0, {}, 20)).size(), 30);
}

void TestSim::settingsAreReadAndWritten() {
    VirtualInstrument vi;
    vi.setDisplayMode(1);
    Host host(vi);

    const QByteArray display = host.ask(hex("AB 40 00 03 00 00 03 00 0E F4"));
    QCOMPARE(display.size(), 13);
    QCOMPARE(int(display.at(8)), 1);
    QVERIFY(crcAt(display, 8, 8, 9));

    const QByteArray set = host.ask(hex("AB 70 00 03 00 00 03 00 03 FF 41 56 3C"));
    QCOMPARE(set, withCrc(hex("AB 70 00 03 00 00 03 00")));
    QCOMPARE(vi.displayMode(), 3);

    // A block with a wrong checksum is neither stored nor answered.
    QVERIFY(host.ask(memoryRequest(0x70, 0x030F, hex("D2 04 F4 01 0F 00 00 00"))).isEmpty());
    QCOMPARE(vi.tolerance().haze, uint16_t(0));
    const QByteArray tol =
        host.ask(memoryRequest(0x70, 0x030F, blockWithCrc(hex("D2 04 F4 01 0F 00"))));
    QCOMPARE(tol.size(), 10);
    QCOMPARE(uint8_t(tol.at(6)), uint8_t(0x08));
    QCOMPARE(vi.tolerance().haze, uint16_t(1234));
    QCOMPARE(vi.tolerance().threshold, uint16_t(15));
    const QByteArray readTol = host.ask(memoryRequest(0x40, 0x030F, {}, 8));
    QCOMPARE(readTol.size(), 18);
    QCOMPARE(readTol.mid(8, 6), hex("D2 04 F4 01 0F 00"));
    QVERIFY(crcAt(readTol, 8, 13, 14));

    QCOMPARE(host.ask(memoryRequest(0x70, 0x0225, blockWithCrc(hex("04 0F 00")))).size(), 10);
    QCOMPARE(vi.deltaEParam().formula, uint8_t(4));
    const QByteArray de = host.ask(memoryRequest(0x40, 0x0225, {}, 5));
    QCOMPARE(de.size(), 15);
    QCOMPARE(de.mid(8, 3), hex("04 0F 00"));
    QVERIFY(crcAt(de, 8, 10, 11));
}

void TestSim::measurementBlocks() {
    VirtualInstrument vi;
    const Measurement m = measurementFromLab(2.35, 89.12, 52.0, -10.0, 24.5);
    vi.setMeasurement(m);
    std::array<uint16_t, 31> spectrum{};
    for (int k = 0; k < 31; ++k)
        spectrum[size_t(k)] = uint16_t(5000 + k);
    vi.setSpectrum(spectrum);
    Host host(vi);

    const QByteArray colour = host.ask(hex("AB 44 00 00 00 00 36 00 18 64 00 00"));
    QCOMPARE(colour.size(), 64);
    QCOMPARE(s16(colour, 10), -1000);
    QCOMPARE(u16(colour, 22), int(m.lchC));
    QCOMPARE(u16(colour, 24), int(m.lchH));
    QCOMPARE(u16(colour, 28), int(m.xChromaticity));
    QCOMPARE(uint8_t(colour.at(37)), m.green);
    QCOMPARE(u16(colour, 39), 235);
    QCOMPARE(u16(colour, 41), 8912);
    QVERIFY(crcAt(colour, 0, 61, 62));

    // The derived quantities agree with L*a*b*.
    QCOMPARE(int(m.lchC), int(std::lround(std::hypot(10.0, 24.5) * 100)));
    QCOMPARE(int(m.lchH), int(std::lround((180 - std::atan2(24.5, 10.0) * 180 / M_PI) * 10)));

    const QByteArray yxy = host.ask(memoryRequest(0x44, 0x25, {}, 24));
    QCOMPARE(yxy.size(), 34);
    QCOMPARE(uint8_t(yxy.at(6)), uint8_t(0x18));
    QCOMPARE(s16(yxy, 13), -1000);
    QCOMPARE(u16(yxy, 17), int(m.yTristimulus));
    QCOMPARE(u16(yxy, 21), int(m.yChromaticity));
    QCOMPARE(u16(host.ask(memoryRequest(0x44, 0x22, {}, 24)), 11), 8912);

    const QByteArray spectral = host.ask(hex("AB 20 49 00 3E 00 9E 3B"));
    QCOMPARE(spectral.size(), 70);
    QCOMPARE(u16(spectral, 6), 5000);
    QCOMPARE(u16(spectral, 66), 5030);

    // Old-layout instruments give the hue in hundredths and nothing else beyond RGB.
    vi.setModelName("KV620");
    vi.setFirmwareVersion(299);
    const QByteArray legacy = host.ask(memoryRequest(0x44, 0, {}, 54));
    QCOMPARE(u16(legacy, 24), m.lchH * 10);
    QCOMPARE(u16(legacy, 39), 0);
}

void TestSim::recordCountsAndMemory() {
    VirtualInstrument vi;
    vi.addModeRecord(3, hex("01 00 02 00 03 00 04 00 05 00 06 00"), "Lab1");
    vi.addModeRecord(3, hex("11 00 12 00 13 00 14 00 15 00 16 00"), "Lab2");
    vi.setModeRecordCount(6, 300);
    vi.setColorDiffRecordCount(7);
    std::array<int16_t, 31> values{};
    values.fill(-1);
    vi.addSpectralRecord(2, values, "S0");
    values.fill(0x0102);
    vi.addSpectralRecord(2, values, "ABCDEFGHIJKLMNOPQ"); // cut to its 16-byte slot
    Host host(vi);

    for (uint32_t address : {0x120Cu, 0x1600u}) {
        const QByteArray r = host.ask(memoryRequest(0x40, address, {}, 4));
        QCOMPARE(r.size(), 14);
        QCOMPARE(u16(r, 8), 2);
        QVERIFY(crcAt(r, 8, 9, 10));
    }
    QCOMPARE(u16(host.ask(memoryRequest(0x40, 0x1218, {}, 4)), 8), 300);
    const QByteArray diff = host.ask(memoryRequest(0x40, 0x3010, {}, 10));
    QCOMPARE(diff.size(), 20);
    QCOMPARE(u16(diff, 12), 7);
    QVERIFY(crcAt(diff, 8, 15, 16));
    const QByteArray specA = host.ask(memoryRequest(0x40, 0x1020, {}, 8));
    const QByteArray specB = host.ask(memoryRequest(0x40, 0x1410, {}, 8));
    QCOMPARE(specB.size(), 18);
    QCOMPARE(u16(specA, 10), 0);
    QCOMPARE(u16(specB, 10), 2);
    QVERIFY(crcAt(specB, 8, 13, 14));

    const QByteArray data = host.ask(memoryRequest(0x40, 0x580000, {}, 24));
    QCOMPARE(data.size(), 34);
    QCOMPARE(data.mid(20, 2), hex("11 00"));
    QCOMPARE(host.ask(memoryRequest(0x40, 0x5C0010, {}, 16)).mid(8, 16),
             QByteArray("Lab2").leftJustified(16, '\0'));

    // Spectral records are packed at 62 bytes though the host asks for 64 per record.
    const QByteArray spectra = host.ask(memoryRequest(0x40, 0x140000, {}, 128));
    QCOMPARE(spectra.size(), 138);
    QCOMPARE(s16(spectra, 8 + 60), -1);
    QCOMPARE(u16(spectra, 8 + 62), 0x0102);
    QCOMPARE(vi.readMemory(0x141910, 16), QByteArray("ABCDEFGHIJKLMNOP"));

    const QByteArray empty = host.ask(memoryRequest(0x40, 0x123456, {}, 256));
    QCOMPARE(empty.size(), 266);
    QCOMPARE(empty.mid(8, 256), QByteArray(256, '\0'));
}

void TestSim::framing() {
    VirtualInstrument vi;
    Host host(vi);
    const QByteArray version = hex("AB 20 0C 00 02 00 9A 37");

    // One byte per report, with junk in front.
    host.send(hex("00 55") + version, 1);
    QCOMPARE(host.drain().size(), 10);

    // A partial frame waits for its rest.
    const QByteArray tol = memoryRequest(0x40, 0x030F, {}, 8);
    host.send(tol.left(7));
    QVERIFY(host.drain(30).isEmpty());
    host.send(tol.mid(7));
    QCOMPARE(host.drain().size(), 18);

    // A frame with a bad checksum is ignored; the next good frame in the same report is answered.
    QByteArray bad = version;
    bad[7] = char(bad[7] ^ 1);
    vi.clearReceivedFrames();
    QCOMPARE(host.ask(bad + version).size(), 10);
    QCOMPARE(vi.receivedFrames(), QList<QByteArray>{version});

    // Two requests in one report give two replies, in order.
    const QByteArray both = host.ask(version + hex("AB 40 00 03 00 00 03 00 0E F4"));
    QCOMPARE(both.size(), 23);
    QCOMPARE(uint8_t(both.at(11)), uint8_t(0x40));

    // A report with another id is not taken in.
    uint8_t report[64] = {0x01, 8};
    std::memcpy(report + 2, version.constData(), 8);
    QCOMPARE(host.t->writeReport(report, 64, 10), 64);
    QVERIFY(host.drain(30).isEmpty());
}

void TestSim::hostLinkExchange() {
    // The program's own report layer and link against the instrument, pushes included.
    auto vi = VirtualInstrument::fromPreset("KV510");
    CLinkerUSB link(vi->createTransport());
    QCOMPARE(int(link.openDevice(0x2047, 0x0301)), 0);
    QCOMPARE(link.write(hex("AB 20 05 00 12 00 94 6B 00 00"), 1000), 10);
    QByteArray reply;
    QCOMPARE(link.read(reply, 6000, 26), 26);
    QCOMPARE(u16(reply, 16), 5100);
    QCOMPARE(link.write(memoryRequest(0x40, 0x400000, {}, 256), 1000), 10);
    reply.clear();
    QCOMPARE(link.read(reply, 6000, 266), 266);
    QCOMPARE(reply.mid(8, 8), vi->readMemory(0x400000, 8));
    vi->pushMeasurement();
    reply.clear();
    QCOMPARE(link.read(reply, 0, 0), 64);
}

void TestSim::library_data() {
    QTest::addColumn<bool>("dropCard1");
    QTest::addColumn<int>("dataBytes");
    QTest::addColumn<int>("closeAt");
    QTest::addColumn<bool>("accepted");
    // Cards of 4 and 6 colours: 10 colours of 26 bytes.
    QTest::newRow("consistent") << false << 260 << 0x40104 << true;
    QTest::newRow("card missing") << true << 260 << 0x40104 << false;
    QTest::newRow("stream short") << false << 234 << 0x400EA << false;
    QTest::newRow("closing address off") << false << 260 << 0x40100 << false;
}

void TestSim::library() {
    QFETCH(bool, dropCard1);
    QFETCH(int, dataBytes);
    QFETCH(int, closeAt);
    QFETCH(bool, accepted);
    VirtualInstrument vi;
    Host host(vi);

    QCOMPARE(host.ask(memoryRequest(0x70, 0x2F00, blockWithCrc(hex("02 00")))),
             withCrc(hex("AB 70 00 2F 00 00 04 00")));
    for (int i = 0; i < 2; ++i) {
        if (i == 1 && dropCard1)
            continue;
        QByteArray card = QByteArray("Card").append(char('A' + i)).leftJustified(16, '\0');
        card += QByteArray("Text").leftJustified(16, '\0');
        card += i == 0 ? hex("04 00 09 00") : hex("06 00 09 00");
        const QByteArray r =
            host.ask(memoryRequest(0x70, 0x2000 + 48 * uint32_t(i), blockWithCrc(card)));
        QCOMPARE(r.size(), 10);
        QCOMPARE(uint8_t(r.at(2)), uint8_t(48 * i));
    }
    QByteArray stream;
    for (int i = 0; i < dataBytes; ++i)
        stream.append(char(i * 7));
    for (int at = 0; at < stream.size(); at += 256) // data blocks are not answered
        QVERIFY(
            host.ask(memoryRequest(0x74, 0x40000 + uint32_t(at), stream.mid(at, 256))).isEmpty());

    const QByteArray close = host.ask(memoryRequest(0x74, uint32_t(closeAt)));
    QCOMPARE(close.size(), 10);
    if (accepted) {
        QCOMPARE(close, withCrc(memoryRequest(0x74, uint32_t(closeAt)).left(8)));
    } else {
        QCOMPARE(close.left(3), hex("AB F4 01"));
    }
    const StdColorLibrary lib = vi.library();
    QCOMPARE(lib.count, 2);
    QCOMPARE(lib.cards.value(0).text1, QByteArray("CardA").leftJustified(16, '\0'));
    QCOMPARE(lib.cards.value(0).value1, uint16_t(4));
    QCOMPARE(lib.data, stream);
    QVERIFY(lib.closed);
    QCOMPARE(lib.accepted, accepted);

    // A card whose block checksum is wrong is refused silently.
    QVERIFY(host.ask(memoryRequest(0x70, 0x2060, QByteArray(38, '\x01'))).isEmpty());
    QVERIFY(!vi.library().cards.contains(2));
}

void TestSim::pushes_data() {
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("firmware");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("byte2");
    QTest::addColumn<int>("byte6");
    QTest::newRow("KV510 105 Lab") << "KV510" << 105 << 3 << 34 << 0x23 << 0x18;
    QTest::newRow("KV670 105 HazeT") << "KV670" << 105 << 0 << 34 << 0x20 << 0x18;
    QTest::newRow("KV510 105 HazeTLab") << "KV510" << 105 << 6 << 64 << 0x00 << 0x36;
    QTest::newRow("KV510 106") << "KV510" << 106 << 3 << 64 << 0x00 << 0x36;
    QTest::newRow("KV620 299 legacy") << "KV620" << 299 << 3 << 64 << 0x00 << 0x36;
    QTest::newRow("KV630 400") << "KV630" << 400 << 3 << 64 << 0x00 << 0x36;
}

void TestSim::pushes() {
    QFETCH(QString, model);
    QFETCH(int, firmware);
    QFETCH(int, mode);
    QFETCH(int, length);
    QFETCH(int, byte2);
    QFETCH(int, byte6);
    VirtualInstrument vi;
    vi.setModelName(model);
    vi.setFirmwareVersion(firmware);
    vi.setDisplayMode(mode);
    const Measurement m = measurementFromLab(3.5, 88.0, 50.0, 20.0, -30.0);
    vi.setMeasurement(m);
    Host host(vi);
    vi.pushMeasurement();
    const QByteArray push = host.drain();
    QCOMPARE(push.size(), length);
    QCOMPARE(push.left(2), hex("AB 44"));
    QCOMPARE(int(uint8_t(push.at(2))), byte2);
    QCOMPARE(int(uint8_t(push.at(6))), byte6);
    QVERIFY(crcAt(push, 0, length - 3, length - 2));
    if (length == 64) {
        const bool legacy = firmware == 299;
        QCOMPARE(s16(push, 12), -3000);
        QCOMPARE(u16(push, 24), legacy ? m.lchH * 10 : int(m.lchH));
        QCOMPARE(u16(push, 39), legacy ? 0 : 350);
    } else {
        QCOMPARE(uint8_t(push.at(8)), m.red);
        QCOMPARE(u16(push, 11), mode == 3 ? 5000 : 350);
    }
}

void TestSim::faults() {
    VirtualInstrument vi;
    Host host(vi);
    const QByteArray tolRequest = memoryRequest(0x40, 0x030F, {}, 8);

    vi.corruptNextFrameChecksum();
    QVERIFY(!crcAt(host.ask(tolRequest), 0, 15, 16));
    QVERIFY(crcAt(host.ask(tolRequest), 0, 15, 16));

    // The block fault waits for a reply that has a block checksum.
    vi.corruptNextBlockChecksum();
    QVERIFY(crcAt(host.ask(hex("AB 20 0C 00 02 00 9A 37")), 0, 7, 8));
    const QByteArray badBlock = host.ask(tolRequest);
    QVERIFY(!crcAt(badBlock, 8, 13, 14));
    QVERIFY(crcAt(badBlock, 0, 15, 16));

    vi.dropNextReports(1);
    QCOMPARE(host.ask(memoryRequest(0x40, 0x10000, {}, 100)).size(), 110 - 62);

    vi.injectStrayBytes(hex("55 AA"));
    QList<int> sizes;
    host.send(tolRequest);
    const QByteArray withStray = host.drain(60, &sizes);
    QCOMPARE(sizes, (QList<int>{2, 18}));
    QCOMPARE(withStray.left(4), hex("55 AA AB 40"));

    vi.setReplyDelay(150);
    QElapsedTimer timer;
    timer.start();
    host.send(tolRequest);
    uint8_t report[64];
    QCOMPARE(host.t->readReport(report, 64, 50), 0);
    QCOMPARE(host.t->readReport(report, 64, 1000), 64);
    QVERIFY(timer.elapsed() >= 140);
    vi.setReplyDelay(0);

    // A silent instrument takes frames in but neither acts nor answers.
    vi.setSilent(true);
    vi.clearReceivedFrames();
    QVERIFY(host.ask(hex("AB 70 00 03 00 00 03 00 03 FF 41 56 3C")).isEmpty());
    QCOMPARE(vi.receivedFrames().size(), 1);
    QCOMPARE(vi.displayMode(), 0);
    vi.setSilent(false);
    QCOMPARE(host.ask(tolRequest).size(), 18);
}

void TestSim::pushSplitAndLatency() {
    VirtualInstrument vi;
    Host host(vi);
    vi.splitNextPush(4);
    vi.pushMeasurement();
    // The parts come 80 ms apart, so a reader that waits 50 ms per report sees them separately.
    QElapsedTimer timer;
    timer.start();
    QList<int> sizes;
    QByteArray first = host.drain(30, &sizes);
    QCOMPARE(sizes, QList<int>{16});
    first += host.drain(200, &sizes);
    QCOMPARE(sizes, (QList<int>{16, 16, 16, 16}));
    QCOMPARE(first.size(), 64);
    QVERIFY(timer.elapsed() >= 240);
    vi.pushMeasurement(); // only the next push was split
    sizes.clear();
    host.drain(60, &sizes);
    QCOMPARE(sizes, (QList<int>{62, 2}));

    // Full speed: one report per millisecond each way.
    vi.setLatency(Latency::UsbFullSpeed);
    const QByteArray request = memoryRequest(0x40, 0x400000, {}, 600); // 10 reports back
    timer.restart();
    host.send(request + request + request + request + request); // 1 report out
    uint8_t report[64];
    for (int i = 0; i < 50; ++i)
        QCOMPARE(host.t->readReport(report, 64, 100), 64);
    QVERIFY(timer.elapsed() >= 50);
}

void TestSim::unplugKillsHandles() {
    VirtualInstrument vi;
    QList<bool> events;
    vi.setPlugListener([&](bool plugged) { events.append(plugged); });
    auto wrongIds = vi.createTransport();
    QVERIFY(!wrongIds->open(0x2047, 0x0302));
    Host host(vi);
    QCOMPARE(host.ask(hex("AB 20 0C 00 02 00 9A 37")).size(), 10);

    // A reader blocked in a long wait wakes up with an error.
    std::atomic<int> blockedResult{1};
    std::thread reader([&] {
        uint8_t report[64];
        blockedResult = host.t->readReport(report, 64, 5000);
    });
    QTest::qWait(50);
    vi.unplug();
    reader.join();
    QCOMPARE(blockedResult.load(), -1);

    uint8_t report[64] = {0x3F, 1, 0xAB};
    QVERIFY(host.t->isRemoved());
    QCOMPARE(host.t->writeReport(report, 64, 10), -1);
    QCOMPARE(host.t->readReport(report, 64, 10), -1);
    auto fresh = vi.createTransport();
    QVERIFY(!fresh->open(0x2047, 0x0301));

    vi.plug();
    QCOMPARE(events, (QList<bool>{false, true}));
    QVERIFY(host.t->isRemoved()); // the old handle stays dead
    QCOMPARE(host.t->readReport(report, 64, 10), -1);
    Host again(vi);
    QVERIFY(!again.t->isRemoved());
    QCOMPARE(again.ask(hex("AB 20 0C 00 02 00 9A 37")).size(), 10);
}

void TestSim::idleReadBlocksWithoutSpinning() {
    VirtualInstrument vi;
    Host host(vi);
    uint8_t report[64];
    const double cpuBefore = processCpuMs();
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < 5; ++i)
        QCOMPARE(host.t->readReport(report, 64, 60), 0);
    QVERIFY(timer.elapsed() >= 295);
    QVERIFY2(processCpuMs() - cpuBefore < 50, "an idle read must sleep, not spin");

    // A push wakes a waiting reader at once.
    std::thread pusher([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        vi.pushMeasurement();
    });
    timer.restart();
    QCOMPARE(host.t->readReport(report, 64, 2000), 64);
    QVERIFY(timer.elapsed() < 1000);
    pusher.join();
}

void TestSim::presets() {
    QVERIFY(!VirtualInstrument::fromPreset("KV999"));
    for (const QString& model : VirtualInstrument::presetModels()) {
        auto vi = VirtualInstrument::fromPreset(model);
        QVERIFY(vi);
        QCOMPARE(vi->modelName(), model);
        Host host(*vi);
        const QByteArray key = host.ask(hex("AB 20 05 00 12 00 94 6B 00 00"));
        QCOMPARE(key.size(), 26);
        QCOMPARE(u16(key, 16), model.mid(2).toInt() * 10);

        const Measurement m = vi->measurement();
        QVERIFY(std::abs(std::hypot(m.aStar, m.bStar) - m.lchC) <= 1.0);
        QCOMPARE(m.lchL, uint16_t(m.lStar));

        const int ui = vi->uiIndex();
        QCOMPARE(vi->spectralRecordCount(ui), 4);
        if (vi->usesOldLayout()) {
            QVERIFY(vi->colorDiffRecordCount() >= 5);
            QCOMPARE(u16(host.ask(memoryRequest(0x40, 0x3010, {}, 10)), 12),
                     vi->colorDiffRecordCount());
        } else {
            const int mode = ui == 1 || ui == 2 ? 3 : 0;
            QVERIFY(vi->modeRecordCount(mode) >= 5);
            QCOMPARE(vi->readMemory(0x400000 + 0x80000 * mode + 0x40000, 9),
                     QByteArray("Sample01").append('\0'));
        }
    }
    auto vi = VirtualInstrument::fromPreset("KV510");
    vi->fillRecords(30);
    for (int mode = 0; mode < 7; ++mode)
        QCOMPARE(vi->modeRecordCount(mode), 30);
    QCOMPARE(vi->spectralRecordCount(0), 30);
}

void TestSim::threadSmoke() {
    auto vi = VirtualInstrument::fromPreset("KV660");
    Host host(*vi);
    std::atomic<bool> done{false};
    std::atomic<int> frames{0};
    std::thread reader([&] {
        uint8_t report[64];
        while (!done) {
            if (host.t->readReport(report, 64, 20) > 0 && report[1] > 0 && report[2] == 0xAB)
                ++frames;
        }
    });
    const QByteArray version = hex("AB 20 0C 00 02 00 9A 37");
    for (int i = 0; i < 200; ++i) {
        host.send(version);
        vi->setDisplayMode(i % 7);
        vi->setMeasurement(measurementFromLab(1, 90, 50 + i % 10, 1, 2));
        if (i % 10 == 0)
            vi->pushMeasurement();
        (void)vi->library();
        (void)vi->receivedFrames();
    }
    QTRY_COMPARE_WITH_TIMEOUT(frames.load(), 220, 3000);
    done = true;
    reader.join();
    QCOMPARE(vi->receivedFrames().size(), 200);
}

QTEST_GUILESS_MAIN(TestSim)
#include "tst_sim.moc"
