// Record areas read from the virtual instrument's memory and decoded, for every layout.
#include "frameport.h"
#include "records.h"
#include "virtualinstrument.h"

#include <QTest>

namespace {

struct Stack {
    std::shared_ptr<sim::VirtualInstrument> instrument = std::make_shared<sim::VirtualInstrument>();
    LinkFramePort port;
    Stack() {
        port.setTransportFactory([i = instrument] { return i->createTransport(); });
        port.openLink();
    }
};

sim::Measurement side(double haze, double t, double l, double a, double b) {
    return sim::measurementFromLab(haze, t, l, a, b);
}

// Lengths of the ReadMemory requests the instrument received.
QList<int> readLengths(const sim::VirtualInstrument& instrument) {
    QList<int> out;
    for (const QByteArray& f : instrument.receivedFrames())
        if (f.size() >= 8 && uint8_t(f[1]) == 0x40)
            out.append(uint8_t(f[6]) | (uint8_t(f[7]) << 8));
    return out;
}

} // namespace

class TestRecords : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    }
    void everyModeLayout_data();
    void everyModeLayout();
    void chunkingAndProgress();
    void oldLayoutAndNames();
    void spectraAreSigned();
    void shortDataEndsTheList();
};

void TestRecords::everyModeLayout_data() {
    QTest::addColumn<int>("mode");
    for (int mode = 0; mode < 7; ++mode)
        QTest::newRow(qPrintable(QStringLiteral("mode %1").arg(mode))) << mode;
}

void TestRecords::everyModeLayout() {
    QFETCH(int, mode);
    Stack s;
    const sim::Measurement standard = side(1.25, 90.5, 50.0, -10.25, 20.5);
    const sim::Measurement sample = side(2.5, 89.75, 51.0, -11.0, 21.0);
    s.instrument->addModeRecord(mode, sim::modeRecordBytes(mode, standard, sample), "First");
    s.instrument->addModeRecord(mode, sim::modeRecordBytes(mode, sample, standard), "Second");
    const records::ModeArea area = records::modeArea(mode);
    QCOMPARE(area.data, 0x400000u + 0x80000u * uint32_t(mode));
    QByteArray data, names;
    QCOMPARE(records::readArea(s.port, area.data, 2 * area.recordSize, data), Status::Success);
    QCOMPARE(records::readArea(s.port, area.names, 2 * records::kNameSlot, names), Status::Success);
    const auto got = records::decodeModeRecords(mode, data, names, 2);
    QCOMPARE(got.size(), 2);
    QCOMPARE(got[0].name, QByteArray("First"));
    const records::Values& v = got[0].standard;
    const bool haze = mode == 0 || mode == 1 || mode == 6;
    const bool t = mode == 0 || mode == 2 || mode == 6;
    const bool lab = mode >= 3;
    QCOMPARE(v.haze, haze ? standard.haze / 100.0 : 0.0);
    QCOMPARE(v.transmittance, t ? standard.transmittance / 100.0 : 0.0);
    QCOMPARE(v.aStar, lab ? standard.aStar / 100.0 : 0.0);
    QCOMPARE(v.lchH, mode == 4 ? standard.lchH / 10.0 : 0.0);
    QCOMPARE(v.xChromaticity, mode == 5 ? standard.xChromaticity / 10000.0 : 0.0);
    QCOMPARE(got[0].sample.bStar, lab ? sample.bStar / 100.0 : 0.0);
    QCOMPARE(got[1].sample.haze, haze ? standard.haze / 100.0 : 0.0);
}

void TestRecords::chunkingAndProgress() {
    // 20 Lab records: 240 data bytes in one chunk, 320 name bytes in chunks of 256 and 64.
    Stack s;
    for (int i = 0; i < 20; ++i)
        s.instrument->addModeRecord(
            3, sim::modeRecordBytes(3, side(0, 0, 50, 1, 2), side(0, 0, 51, 1, 2)), "n");
    s.instrument->clearReceivedFrames();
    QByteArray data, names;
    QList<int> progress;
    auto note = [&progress](int i) { progress.append(i); };
    QCOMPARE(records::readArea(s.port, 0x580000, 240, data, note), Status::Success);
    QCOMPARE(records::readArea(s.port, 0x5C0000, 320, names, note), Status::Success);
    QCOMPARE(readLengths(*s.instrument), (QList<int>{240, 256, 64}));
    QCOMPARE(progress, (QList<int>{0, 0, 1}));
    QCOMPARE(records::chunkCount(240) + records::chunkCount(320), 3);
    QCOMPARE(records::chunkCount(0), 0);
    QCOMPARE(records::decodeModeRecords(3, data, names, 20).size(), 20);

    // A failing chunk stops the read and reports the failure.
    s.instrument->setSilent(true);
    QByteArray more;
    QVERIFY(records::readArea(s.port, 0x580000, 600, more) < 0);
}

void TestRecords::oldLayoutAndNames() {
    Stack s;
    s.instrument->addOldLayoutRecord(
        sim::oldLayoutRecordBytes(side(0, 0, 40, 5, -5), side(0, 0, 41, 6, -4)),
        "ABCDEFGHIJKLMN"); // 14 bytes, no zero: taken whole
    QByteArray data, names;
    records::readArea(s.port, records::kOldLayoutData, 12, data);
    records::readArea(s.port, records::kOldLayoutNames, 14, names);
    const auto got = records::decodeOldLayoutRecords(data, names, 1);
    QCOMPARE(got.size(), 1);
    QCOMPARE(got[0].name, QByteArray("ABCDEFGHIJKLMN"));
    QCOMPARE(got[0].standard.lStar, 40.0);
    QCOMPARE(got[0].sample.bStar, -4.0);

    // Current firmware: 13 bytes of a 16-byte slot are the name.
    const QByteArray nameSlots =
        QByteArray("ABCDEFGHIJKLMNOP") + QByteArray("xy\0zzzzzzzzzzzzz", 16);
    QCOMPARE(records::slotText(nameSlots, 0, 16, 13), QByteArray("ABCDEFGHIJKLM"));
    QCOMPARE(records::slotText(nameSlots, 1, 16, 13), QByteArray("xy"));
    QCOMPARE(records::slotText(nameSlots, 5, 16, 13), QByteArray());
}

void TestRecords::spectraAreSigned() {
    QCOMPARE(records::spectralValues(3), 0x20000u);
    QCOMPARE(records::spectralValues(2), 0x140000u);
    Stack s;
    std::array<int16_t, 31> values{};
    values[0] = -1; // stored 0xFF 0xFF
    values[30] = 10000;
    s.instrument->addSpectralRecord(0, values, QByteArray(16, 'Q'));
    s.instrument->addSpectralRecord(0, values, QByteArray());
    QByteArray v, n;
    QCOMPARE(
        records::readArea(s.port, records::spectralValues(0), 2 * records::kSpectralRequested, v),
        Status::Success);
    QCOMPARE(records::readArea(s.port, records::spectralNames(0), 2 * 16, n), Status::Success);
    const auto got = records::decodeSpectra(v, n, 2);
    QCOMPARE(got.size(), 2);
    QCOMPARE(got[0].values[0], -0.01);
    QCOMPARE(got[0].values[30], 100.0);
    QCOMPARE(got[0].name, QByteArray(16, 'Q'));
    QVERIFY(got[1].name.isEmpty());
    QCOMPARE(got[1].values[30], 100.0);
}

void TestRecords::shortDataEndsTheList() {
    QCOMPARE(records::decodeModeRecords(3, QByteArray(30, '\1'), {}, 5).size(), 2);
    QCOMPARE(records::decodeModeRecords(9, QByteArray(30, '\1'), {}, 5).size(), 0);
    QCOMPARE(records::decodeOldLayoutRecords(QByteArray(11, '\1'), {}, 1).size(), 0);
    QCOMPARE(records::decodeSpectra(QByteArray(62 * 3, '\0'), {}, -4).size(), 0);
}

QTEST_GUILESS_MAIN(TestRecords)
#include "tst_records.moc"
