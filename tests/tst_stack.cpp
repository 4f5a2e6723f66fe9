// The whole stack against the virtual instrument: commands, frame port, link, report layer.
// Every status a command can return is produced here by a fault of the instrument.
#include "deviceinfocommands.h"
#include "fakes.h"
#include "frameport.h"
#include "measurementcommands.h"
#include "messagesink.h"
#include "mythread.h"
#include "stdcolorcommands.h"
#include "virtualinstrument.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

namespace {

struct CollectSink : MessageSink {
    QStringList texts;
    void showMessage(const QString&, const QString& text) override { texts.append(text); }
};

struct Stack {
    std::shared_ptr<sim::VirtualInstrument> instrument;
    LinkFramePort port;

    explicit Stack(const char* model = "KV510")
        : instrument(sim::VirtualInstrument::fromPreset(QString::fromLatin1(model))) {
        port.setTransportFactory([i = instrument] { return i->createTransport(); });
        port.setDelayFunction([](int) {});
        QVERIFY(port.openLink());
    }
};

} // namespace

class TestStack : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    }
    void identifiesEveryPreset();
    void settingsRoundTrip();
    void measurementsMatchTheInstrument();
    void recordsAndMemory();
    void statusesFromFaults();
    void keyInfoFallback();
    void standardColourLibrary();
    void pushedFramesReachTheWorker();
    void unplugFailsEverything();
};

void TestStack::identifiesEveryPreset() {
    for (const QString& model : sim::VirtualInstrument::presetModels()) {
        Stack s(qPrintable(model));
        KeyInfo key;
        QCOMPARE(ReadKeyInfo(s.port, key), Status::Success);
        QCOMPARE(key.meterNumber, s.instrument->meterNumber());
        QCOMPARE(key.serialNumber, s.instrument->serialNumber());
        QVERIFY(key.productionDate.isValid());
        int version = 0;
        QCOMPARE(ReadSoftwareVersion(s.port, version), Status::Success);
        QCOMPARE(version, s.instrument->firmwareVersion());
    }
}

void TestStack::settingsRoundTrip() {
    Stack s;
    QCOMPARE(SetDisplayParam(s.port, 3), Status::Success);
    QCOMPARE(s.instrument->displayMode(), 3);
    int mode = -1;
    QCOMPARE(ReadDisplayParam(s.port, mode), Status::Success);
    QCOMPARE(mode, 3);

    QCOMPARE(SetTolerance(s.port, 1234, 500, 15), Status::Success);
    QCOMPARE(s.instrument->tolerance().haze, uint16_t(1234));
    int haze = 0, t = 0, threshold = 0;
    QCOMPARE(ReadTolerance(s.port, haze, t, threshold), Status::Success);
    QCOMPARE(QList<int>({haze, t, threshold}), QList<int>({1234, 500, 15}));

    QCOMPARE(SetDeltaEParam(s.port, 4, 25), Status::Success);
    int formula = 0;
    QCOMPARE(ReadDeltaEParam(s.port, formula, threshold), Status::Success);
    QCOMPARE(formula, 4);
    QCOMPARE(threshold, 25);
}

void TestStack::measurementsMatchTheInstrument() {
    Stack s;
    const sim::Measurement m = sim::measurementFromLab(2.35, 89.12, 95.10, -0.30, 1.20);
    s.instrument->setMeasurement(m);
    ColorMeasurementBlock block;
    QCOMPARE(ReadColorMeasurement(s.port, block), Status::Success);
    QCOMPARE(block.lStar, int(m.lStar));
    QCOMPARE(block.aStar, int(m.aStar));
    QCOMPARE(block.lchHue, int(m.lchH));
    QCOMPARE(block.xChromaticity, int(m.xChromaticity));
    QCOMPARE(block.haze, 235);
    QCOMPARE(block.transmittance, 8912);
    QCOMPARE(block.red, int(m.red));

    for (int mode = 0; mode < 6; ++mode) {
        ModeResultBlock r;
        QCOMPARE(ReadModeResult(s.port, mode, r), Status::Success);
        QCOMPARE(r.green, int(m.green));
        if (mode == 0)
            QCOMPARE(r.transmittance, 8912);
        if (mode == 5)
            QCOMPARE(r.yChromaticity, int(m.yChromaticity));
    }

    Stack old("KV620");
    LegacyMeasurement legacy;
    QCOMPARE(ReadMeasurementLegacy(old.port, legacy), Status::Success);
    QCOMPARE(legacy.lStar, int(old.instrument->measurement().lStar));

    std::array<int, 31> spectrum{};
    QCOMPARE(ReadSpectralMeasurement(s.port, spectrum), Status::Success);
    const auto expected = s.instrument->spectrum();
    for (int k = 0; k < 31; ++k)
        QCOMPARE(spectrum[size_t(k)], int(expected[size_t(k)]));
}

void TestStack::recordsAndMemory() {
    Stack s;
    s.instrument->fillRecords(20);
    int count = 0;
    QCOMPARE(ReadLabRecordCount(s.port, 0, count), Status::Success);
    QCOMPARE(count, 20);
    // 20 Lab records: 240 data bytes in one chunk; names 320 bytes in chunks of 256 and 64.
    QByteArray data, names;
    QCOMPARE(ReadMemory(s.port, 0x580000, 240, data), Status::Success);
    QCOMPARE(ReadMemory(s.port, 0x5C0000, 256, names), Status::Success);
    QCOMPARE(ReadMemory(s.port, 0x5C0100, 64, names), Status::Success);
    QCOMPARE(data, s.instrument->readMemory(0x580000, 240));
    QCOMPARE(names, s.instrument->readMemory(0x5C0000, 320));

    QCOMPARE(ReadSpectralRecordCount(s.port, 0, count), Status::Success);
    QCOMPARE(count, s.instrument->spectralRecordCount(0));
    for (int mode = 0; mode < 7; ++mode) {
        QCOMPARE(ReadModeRecordCount(s.port, mode, 0, count), Status::Success);
        QCOMPARE(count, s.instrument->modeRecordCount(mode));
    }
    Stack old("KV620");
    QCOMPARE(ReadColorDiffRecordCount(old.port, count), Status::Success);
    QCOMPARE(count, old.instrument->colorDiffRecordCount());
    QCOMPARE(ReadLabRecordCount(old.port, 1, count), Status::Success);
}

void TestStack::statusesFromFaults() {
    Stack s;
    int haze = 0, t = 0, threshold = 0;

    // -2: a reply whose frame checksum is wrong, and an instrument that stays silent.
    s.instrument->corruptNextFrameChecksum();
    QCOMPARE(ReadTolerance(s.port, haze, t, threshold), Status::NoReply);
    s.instrument->dropNextReports(1);
    QCOMPARE(ReadTolerance(s.port, haze, t, threshold), Status::NoReply);
    // -4: the block checksum inside a reply whose frame is intact.
    s.instrument->corruptNextBlockChecksum();
    QCOMPARE(ReadTolerance(s.port, haze, t, threshold), Status::BadChecksum);
    // Commands without frame verification still parse, and a bad block checksum gives -4.
    int count = 0;
    s.instrument->corruptNextBlockChecksum();
    QCOMPARE(ReadHazeTRecordCount(s.port, count), Status::BadChecksum);
    // Stray bytes ahead of a reply are skipped.
    s.instrument->injectStrayBytes(QByteArray("\x01\x02\x03", 3));
    QCOMPARE(ReadTolerance(s.port, haze, t, threshold), Status::Success);
    // A late reply within the deadline is still taken.
    s.instrument->setReplyDelay(200);
    QCOMPARE(ReadTolerance(s.port, haze, t, threshold), Status::Success);
    s.instrument->setReplyDelay(0);
    // -3: a stale reply of another command is rejected by the header test.
    s.instrument->setReplyDelay(6500);
    int mode = 0;
    QCOMPARE(ReadDisplayParam(s.port, mode), Status::NoReply);
    s.instrument->setReplyDelay(0);
    QCOMPARE(ReadYxyRecordCount(s.port, count), Status::BadHeader);
    // The link is in step again afterwards.
    QTest::qWait(100);
    QCOMPARE(ReadTolerance(s.port, haze, t, threshold), Status::Success);
    // -1: nothing can be sent once the link is closed.
    s.port.closeLink();
    QCOMPARE(ReadTolerance(s.port, haze, t, threshold), Status::NotSent);
}

void TestStack::keyInfoFallback() {
    Stack s("KV620");
    s.instrument->setKeyInfoSupported(false);
    KeyInfo key;
    QCOMPARE(ReadKeyInfo(s.port, key), Status::ErrorReply);
    CollectSink sink;
    QCOMPARE(ReadProductionInfo(s.port, key, &sink), Status::Success);
    QCOMPARE(key.meterNumber, uint32_t(6200));
    QCOMPARE(key.serialNumber, s.instrument->serialNumber());
    QVERIFY(sink.texts.isEmpty());
}

void TestStack::standardColourLibrary() {
    Stack s;
    QCOMPARE(WriteStdColorCount(s.port, 2, stdcolor::countCheckValue(2)), Status::Success);
    const QString names[2] = {QStringLiteral("Red 1"), QStringLiteral("标准白")};
    for (int i = 0; i < 2; ++i)
        QCOMPARE(WriteStdColorCard(s.port, 0x2000 + 48 * i, names[i], QStringLiteral("x"), 3, i,
                                   stdcolor::cardCheckValue(names[i], QStringLiteral("x"), 3, i)),
                 Status::Success);
    // 6 colour rows of 26 bytes: 156 bytes, sent as one block, then the empty packet after it.
    const QByteArray stream(156, 'c');
    QCOMPARE(WriteBlock(s.port, 0x40000, stream, 156), Status::Success);
    QCOMPARE(WriteBlock(s.port, 0x40000 + 156, QByteArray(), 0), Status::Success);
    const sim::StdColorLibrary lib = s.instrument->library();
    QCOMPARE(lib.count, 2);
    QCOMPARE(lib.cards.value(1).text1, QByteArray("标准白") + QByteArray(16 - 9, '\0'));
    QCOMPARE(lib.data, stream);
    QVERIFY(lib.accepted);

    // An inconsistent library is refused by the empty packet (-3).
    Stack t;
    QCOMPARE(WriteStdColorCount(t.port, 1, stdcolor::countCheckValue(1)), Status::Success);
    QCOMPARE(WriteBlock(t.port, 0x40000, stream, 10), Status::Success);
    QCOMPARE(WriteBlock(t.port, 0x40000 + 10, QByteArray(), 0), Status::BadHeader);
}

void TestStack::pushedFramesReachTheWorker() {
    Stack s;
    QThread thread;
    auto* worker = new MyThread(&s.port);
    worker->moveToThread(&thread);
    connect(&thread, &QThread::finished, worker, &QObject::deleteLater);
    connect(&thread, &QThread::started, worker, &MyThread::startThreadSlot);
    ByteCollector got;
    connect(worker, &MyThread::senddata, &got, &ByteCollector::take, Qt::QueuedConnection);
    thread.start();
    s.instrument->splitNextPush(2);
    s.instrument->pushMeasurement();
    QTRY_VERIFY(got.chunks.size() >= 2);
    QByteArray all;
    for (const QByteArray& chunk : got.chunks)
        all += chunk;
    QCOMPARE(all.size(), 64);
    ColorMeasurementBlock block;
    QVERIFY(parseColorMeasurementBlock(all, 0, block));
    QCOMPARE(block.lStar, int(s.instrument->measurement().lStar));
    worker->requestStop();
    thread.quit();
    QVERIFY(thread.wait(2000));
}

void TestStack::unplugFailsEverything() {
    Stack s;
    s.instrument->unplug();
    QVERIFY(s.port.isLinkRemoved());
    int mode = 0;
    QCOMPARE(ReadDisplayParam(s.port, mode), Status::NotSent);
    s.port.closeLink();
    QVERIFY(!s.port.openLink());
    s.instrument->plug();
    QVERIFY(s.port.openLink());
    QCOMPARE(ReadDisplayParam(s.port, mode), Status::Success);
}

QTEST_GUILESS_MAIN(TestStack)
#include "tst_stack.moc"
