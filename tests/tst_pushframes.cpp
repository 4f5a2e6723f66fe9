// Measurement frames pushed by the instrument, picked out of the worker's byte stream.
#include "fakes.h"
#include "frames.h"
#include "pushframes.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

QByteArray colourFrame(int lStar, int haze) {
    QByteArray data(54, '\0');
    data[0] = char(lStar & 0xFF);
    data[1] = char((lStar >> 8) & 0xFF);
    data[31] = char(haze & 0xFF);
    data[32] = char((haze >> 8) & 0xFF);
    return crcd(frames::memoryRequest(0x44, 0x0000, 54, data));
}

QByteArray modeFrame(int mode, int first) {
    QByteArray data(24, '\0');
    data[3] = char(first & 0xFF);
    data[4] = char((first >> 8) & 0xFF);
    return crcd(frames::memoryRequest(0x44, 0x20u + mode, 24, data));
}

QByteArray legacyFrame(int lStar) {
    QByteArray f = colourFrame(lStar, 0);
    f[62] = 0x00; // old firmware: the frame checksum is not relied on
    f[63] = 0x00;
    return f;
}

} // namespace

class TestPushFrames : public QObject {
    Q_OBJECT
  private slots:
    void wholeAndSplitFrames();
    void strayBytesAndSeveralFrames();
    void modeResultOfTheModeInForceOnly();
    void lostPieceIsNeverGluedToTheNextFrame();
    void legacyFrames();
    void randomBytesStayBounded();
};

void TestPushFrames::wholeAndSplitFrames() {
    PushFrameScanner scanner;
    const QByteArray f = colourFrame(9512, 235);
    auto got = scanner.feed(f, 0);
    QCOMPARE(got.size(), 1);
    QCOMPARE(got[0].colour.lStar, 9512);
    QCOMPARE(got[0].colour.haze, 235);
    QCOMPARE(scanner.buffered(), 0);

    // A frame cut across two deliveries is kept until its rest arrives.
    QVERIFY(scanner.feed(f.left(20), 100).isEmpty());
    QCOMPARE(scanner.buffered(), 20);
    got = scanner.feed(f.mid(20), 180);
    QCOMPARE(got.size(), 1);
    QCOMPARE(got[0].colour.lStar, 9512);

    // Even byte by byte.
    for (int i = 0; i < f.size() - 1; ++i)
        QVERIFY(scanner.feed(f.mid(i, 1), 200).isEmpty());
    QCOMPARE(scanner.feed(f.right(1), 200).size(), 1);
}

void TestPushFrames::strayBytesAndSeveralFrames() {
    PushFrameScanner scanner;
    const QByteArray stream = hexBytes("0001AB02AB") + colourFrame(100, 1) + hexBytes("ABAB") +
                              colourFrame(200, 2) + colourFrame(300, 3).left(10);
    const auto got = scanner.feed(stream, 0);
    QCOMPARE(got.size(), 2);
    QCOMPARE(got[0].colour.lStar, 100);
    QCOMPARE(got[1].colour.lStar, 200);
    QCOMPARE(scanner.buffered(), 10);
    // A reply-shaped frame of another kind is not a measurement.
    QVERIFY(scanner.feed(crcd(hexBytes("AB40000300000300")) + crcd(hexBytes("06")), 10).isEmpty());
}

void TestPushFrames::modeResultOfTheModeInForceOnly() {
    PushFrameScanner scanner(PushFrameScanner::Kind::ModeResult, 3);
    QVERIFY(scanner.feed(modeFrame(0, 1111), 0).isEmpty()); // a Haze/T result while Lab is in force
    QCOMPARE(scanner.buffered(), 0);
    auto got = scanner.feed(modeFrame(3, -1000), 0);
    QCOMPARE(got.size(), 1);
    QCOMPARE(got[0].mode.lStar, -1000);
    // The colour block is not what this instrument sends.
    QVERIFY(scanner.feed(colourFrame(1, 1), 0).isEmpty());
    scanner.configure(PushFrameScanner::Kind::ModeResult, 0);
    got = scanner.feed(modeFrame(0, 1111), 0);
    QCOMPARE(got.size(), 1);
    QCOMPARE(got[0].mode.haze, 1111);
}

void TestPushFrames::lostPieceIsNeverGluedToTheNextFrame() {
    PushFrameScanner scanner;
    const QByteArray lost = colourFrame(111, 1).left(30);
    const QByteArray next = colourFrame(222, 2);
    // The rest of the first frame never comes; the next frame arrives soon after.
    scanner.feed(lost, 0);
    auto got = scanner.feed(next, 50);
    QCOMPARE(got.size(), 1);
    QCOMPARE(got[0].colour.lStar, 222);
    // A piece left lying for longer than a second is dropped before new bytes are looked at.
    scanner.feed(lost, 1000);
    got = scanner.feed(next.left(40), 2500);
    QVERIFY(got.isEmpty());
    got = scanner.feed(next.mid(40), 2550);
    QCOMPARE(got.size(), 1);
    QCOMPARE(got[0].colour.lStar, 222);
}

void TestPushFrames::legacyFrames() {
    PushFrameScanner scanner(PushFrameScanner::Kind::Legacy, 0);
    auto got = scanner.feed(legacyFrame(5123), 0);
    QCOMPARE(got.size(), 1);
    QCOMPARE(got[0].legacy.lStar, 5123);
    QVERIFY(scanner.feed(modeFrame(3, 1), 0).isEmpty());
}

void TestPushFrames::randomBytesStayBounded() {
    QRandomGenerator random(7);
    for (auto kind : {PushFrameScanner::Kind::ColourBlock, PushFrameScanner::Kind::ModeResult,
                      PushFrameScanner::Kind::Legacy}) {
        PushFrameScanner scanner(kind, 2);
        for (int i = 0; i < 2000; ++i) {
            QByteArray chunk(int(random.bounded(1, 80)), '\0');
            for (char& c : chunk)
                c = char(random.bounded(4) == 0 ? 0xAB : random.bounded(256));
            if (random.bounded(3) == 0)
                chunk[0] = char(0xAB), chunk.append(char(0x44));
            scanner.feed(chunk, i);
            QVERIFY(scanner.buffered() < 64);
        }
    }
}

QTEST_GUILESS_MAIN(TestPushFrames)
#include "tst_pushframes.moc"
