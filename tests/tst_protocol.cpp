// Request bytes, reply judging and field decoding of every instrument command, against a
// frame port that records requests and plays back scripted replies.
#include "deviceinfocommands.h"
#include "fakes.h"
#include "frames.h"
#include "measurementcommands.h"
#include "messagesink.h"
#include "stdcolorcommands.h"

#include <QTest>

namespace {

struct CollectSink : MessageSink {
    QStringList texts;
    void showMessage(const QString& title, const QString& text) override {
        texts.append(title + QLatin1Char('|') + text);
    }
};

QByteArray sentHex(const FakePort& port, int i = 0) {
    return port.sent.value(i).toHex(' ').toUpper();
}

// A memory-family reply: AB fn address(4) n(2) data, frame CRC.
QByteArray memoryReply(uint8_t fn, uint32_t address, const QByteArray& data) {
    return crcd(frames::memoryRequest(fn, address, static_cast<uint16_t>(data.size()), data));
}

QByteArray queryReply(uint16_t code, const QByteArray& data) {
    QByteArray r = frames::queryRequest(code, static_cast<uint16_t>(data.size()));
    return crcd(r + data);
}

QByteArray le16(int v) {
    QByteArray b;
    b.append(char(v & 0xFF));
    b.append(char((v >> 8) & 0xFF));
    return b;
}

} // namespace

class TestProtocol : public QObject {
    Q_OBJECT
  private slots:
    void exampleFramesAreSentByteForByte();
    void keyInfo();
    void keyInfoErrorReplyAndFallback();
    void productionInfoMessages();
    void softwareVersionMessages();
    void headerTestIsEitherOr();
    void frameChecksumOnlyWhereVerified();
    void settingsBlocks();
    void measurementBlocks();
    void legacyMeasurementWaitsAndSkipsVerification();
    void recordCountsAndAddresses();
    void readMemory();
    void spectralMeasurement();
    void stdColorCommands();
    void shortRepliesNeverReadPastTheBuffer();
};

void TestProtocol::exampleFramesAreSentByteForByte() {
    FakePort port;
    KeyInfo key;
    int v = 0;
    ReadKeyInfo(port, key);
    CollectSink sink;
    ReadSoftwareVersion(port, v, &sink);
    std::array<int, 31> spectrum{};
    ReadSpectralMeasurement(port, spectrum);
    ReadDisplayParam(port, v);
    SetDisplayParam(port, 3);
    ColorMeasurementBlock block;
    ReadColorMeasurement(port, block);
    QCOMPARE(sentHex(port, 0), QByteArray("AB 20 05 00 12 00 94 6B 00 00"));
    QCOMPARE(sentHex(port, 1), QByteArray("AB 20 0C 00 02 00 9A 37"));
    QCOMPARE(sentHex(port, 2), QByteArray("AB 20 49 00 3E 00 9E 3B"));
    QCOMPARE(sentHex(port, 3), QByteArray("AB 40 00 03 00 00 03 00 0E F4"));
    QCOMPARE(sentHex(port, 4), QByteArray("AB 70 00 03 00 00 03 00 03 FF 41 56 3C"));
    QCOMPARE(sentHex(port, 5), QByteArray("AB 44 00 00 00 00 36 00 18 64 00 00"));
    // Deadlines, expected lengths and verification as the catalogue fixes them.
    QCOMPARE(port.expectedLengths, (QVector<int>{26, 10, 70, 13, 10, 64}));
    QCOMPARE(port.deadlines, (QVector<int>{6000, 6000, 6000, 6000, 10000, 6000}));
    QCOMPARE(port.verifies, (QVector<bool>{true, true, true, true, true, true}));
}

void TestProtocol::keyInfo() {
    FakePort port;
    QByteArray data;
    data += char(0xA5);
    data += char(0x00);
    data += le16(2024) + char(3) + char(15);
    data += le16(0x5678) + le16(0x1234); // serial 0x12345678
    data += le16(5100) + le16(0);
    data += le16(0xBEEF) + le16(0x0102);
    port.reply(queryReply(0x0005, data));
    KeyInfo key;
    QCOMPARE(ReadKeyInfo(port, key), Status::Success);
    QCOMPARE(key.dataFlag, uint8_t(0xA5));
    QCOMPARE(key.productionDate, QDate(2024, 3, 15));
    QCOMPARE(key.serialNumber, uint32_t(0x12345678));
    QCOMPARE(key.meterNumber, uint32_t(5100));
    QCOMPARE(key.extraWord, uint16_t(0xBEEF));
    QCOMPARE(key.extraWord2, uint16_t(0x0102));

    // An impossible date is no error; the record carries an invalid date.
    data.replace(2, 4, QByteArray(4, '\0'));
    port.reply(queryReply(0x0005, data));
    QCOMPARE(ReadKeyInfo(port, key), Status::Success);
    QVERIFY(!key.productionDate.isValid());

    // The checksum of bytes 0..23 is checked once more: a port that passes a bad one on
    // still gets -4.
    QByteArray bad = queryReply(0x0005, data);
    bad[24] = char(bad[24] ^ 0xFF);
    port.reply(bad);
    QCOMPARE(ReadKeyInfo(port, key), Status::BadChecksum);
}

void TestProtocol::keyInfoErrorReplyAndFallback() {
    FakePort port;
    KeyInfo key;
    key.serialNumber = 77;
    port.fail(0, hexBytes("ABA004"));
    QCOMPARE(ReadKeyInfo(port, key), Status::ErrorReply);
    QCOMPARE(key.serialNumber, uint32_t(77)); // untouched on failure
    port.fail(-1, {});
    QCOMPARE(ReadKeyInfo(port, key), Status::NoReply);
    port.fail(0, hexBytes("ABA0"));
    QCOMPARE(ReadKeyInfo(port, key), Status::NoReply);

    // The older layout gives the same identity from its own offsets.
    QByteArray data;
    data += char(0x01);
    data += char(0x00);
    data += le16(2019) + char(12) + char(31);
    data += le16(0x5678) + le16(0x1234);
    data += le16(6200) + le16(0);
    data += le16(7) + char(8) + char(9);
    data = crcd(data);
    port.reply(memoryReply(0x40, 0x0000, data));
    CollectSink sink;
    QCOMPARE(ReadProductionInfo(port, key, &sink), Status::Success);
    QCOMPARE(sentHex(port, 3),
             frames::withChecksum(hexBytes("AB40000000001400")).toHex(' ').toUpper());
    QCOMPARE(key.serialNumber, uint32_t(0x12345678));
    QCOMPARE(key.meterNumber, uint32_t(6200));
    QCOMPARE(key.productionDate, QDate(2019, 12, 31));
    QCOMPARE(key.extraByte, uint8_t(8));
    QCOMPARE(key.extraByte2, uint8_t(9));
    QVERIFY(sink.texts.isEmpty());

    port.fail(0, hexBytes("ABC708"));
    QCOMPARE(ReadProductionInfo(port, key, &sink), Status::ErrorReply);
    QVERIFY(sink.texts.isEmpty()); // the error reply shows nothing
}

void TestProtocol::productionInfoMessages() {
    FakePort port;
    CollectSink sink;
    KeyInfo key;
    port.open = false;
    QCOMPARE(ReadProductionInfo(port, key, &sink), Status::NotSent);
    port.open = true;
    port.fail(0);
    QCOMPARE(ReadProductionInfo(port, key, &sink), Status::NoReply);
    QByteArray reply = memoryReply(0x40, 0x0000, crcd(QByteArray(18, '\x01')));
    QByteArray wrongHeader = reply;
    wrongHeader[2] = 0x33;
    wrongHeader[6] = 0x33;
    port.reply(wrongHeader);
    QCOMPARE(ReadProductionInfo(port, key, &sink), Status::BadHeader);
    QByteArray wrongBlock = reply;
    wrongBlock[26] = char(wrongBlock[26] ^ 0x55);
    port.reply(wrongBlock);
    QCOMPARE(ReadProductionInfo(port, key, &sink), Status::BadChecksum);
    QCOMPARE(sink.texts, (QStringList{QStringLiteral("提示|读取生产信息写端口失败！"),
                                      QStringLiteral("提示|读取生产信息接收端口报文失败！"),
                                      QStringLiteral("提示|读取生产信息接收的报文格式错误！"),
                                      QStringLiteral("提示|读取生产信息checksum错误！")}));
}

void TestProtocol::softwareVersionMessages() {
    FakePort port;
    CollectSink sink;
    int version = 0;
    port.reply(queryReply(0x000C, le16(210)));
    QCOMPARE(ReadSoftwareVersion(port, version, &sink), Status::Success);
    QCOMPARE(version, 210);
    port.open = false;
    QCOMPARE(ReadSoftwareVersion(port, version, &sink), Status::NotSent);
    port.open = true;
    port.fail(0);
    QCOMPARE(ReadSoftwareVersion(port, version, &sink), Status::NoReply);
    QByteArray wrong = queryReply(0x000C, le16(210));
    wrong[1] = 0x21;
    wrong[4] = 0x03;
    port.reply(wrong);
    QCOMPARE(ReadSoftwareVersion(port, version, &sink), Status::BadHeader);
    QCOMPARE(sink.texts, (QStringList{QStringLiteral("提示|读取软件版本写端口失败！"),
                                      QStringLiteral("提示|读取软件版本接收端口报文失败！"),
                                      QStringLiteral("提示|读取软件版本接收的报文格式错误！")}));
    QCOMPARE(version, 210);
}

void TestProtocol::headerTestIsEitherOr() {
    FakePort port;
    int h = 0, t = 0, thr = 0;
    const QByteArray good = memoryReply(0x40, 0x030F, crcd(le16(100) + le16(200) + le16(15)));
    QByteArray onlyByte6 = good;
    onlyByte6[2] = 0x00;
    port.reply(onlyByte6);
    QCOMPARE(ReadTolerance(port, h, t, thr), Status::Success);
    QByteArray onlyByte2 = good;
    onlyByte2[6] = 0x09;
    port.reply(onlyByte2);
    QCOMPARE(ReadTolerance(port, h, t, thr), Status::Success);
    QByteArray neither = good;
    neither[2] = 0x00;
    neither[6] = 0x09;
    port.reply(neither);
    QCOMPARE(ReadTolerance(port, h, t, thr), Status::BadHeader);

    // A mode result whose byte 6 is 0x18 passes even when byte 2 is another mode's address.
    QByteArray lab = memoryReply(0x44, 0x23, QByteArray(24, '\0'));
    lab[2] = 0x20;
    port.reply(lab);
    ModeResultBlock block;
    QCOMPARE(ReadLabResult(port, block), Status::Success);
}

void TestProtocol::frameChecksumOnlyWhereVerified() {
    FakePort port;
    int count = 0;
    ReadHazeTRecordCount(port, count);
    ReadColorDiffRecordCount(port, count);
    ReadSpectralRecordCount(port, 0, count);
    QByteArray mem;
    ReadMemory(port, 0x10000, 256, mem);
    LegacyMeasurement legacy;
    ReadMeasurementLegacy(port, legacy);
    QCOMPARE(port.verifies, (QVector<bool>{false, false, true, false, false}));

    // With V = no the reply is parsed even with a wrong frame checksum; its block checksum
    // still counts.
    QByteArray reply = memoryReply(0x40, 0x1200, crcd(le16(12)));
    reply[12] = char(reply[12] ^ 0x10);
    port.reply(reply);
    QCOMPARE(ReadHazeTRecordCount(port, count), Status::Success);
    QCOMPARE(count, 12);
    QByteArray badBlock = memoryReply(0x40, 0x1200, crcd(le16(12)));
    badBlock[10] = char(badBlock[10] ^ 0x10);
    port.reply(badBlock);
    QCOMPARE(ReadHazeTRecordCount(port, count), Status::BadChecksum);
}

void TestProtocol::settingsBlocks() {
    FakePort port;
    QCOMPARE(SetTolerance(port, 1234, 500, 15), Status::NoReply);
    QCOMPARE(port.sent[0].mid(8, 8), crcd(le16(1234) + le16(500) + le16(15)));
    QCOMPARE(port.sent[0].left(8), hexBytes("AB700F0300000800"));
    QCOMPARE(port.deadlines.last(), 10000);

    QCOMPARE(SetDeltaEParam(port, 2, 15), Status::NoReply);
    QCOMPARE(port.sent[1].left(8), hexBytes("AB70250200000500"));
    QCOMPARE(port.sent[1].mid(8, 5), crcd(QByteArray(1, '\x02') + le16(15)));
    QCOMPARE(port.deadlines.last(), 6000);

    port.reply(memoryReply(0x70, 0x0225, QByteArray()).replace(6, 2, le16(5)));
    QCOMPARE(SetDeltaEParam(port, 2, 15), Status::Success);

    int formula = -1, threshold = -1;
    port.reply(memoryReply(0x40, 0x0225, crcd(hexBytes("030F00"))));
    QCOMPARE(ReadDeltaEParam(port, formula, threshold), Status::Success);
    QCOMPARE(formula, 3);
    QCOMPARE(threshold, 15);

    int mode = -1;
    port.reply(memoryReply(0x40, 0x0300, crcd(hexBytes("06"))));
    QCOMPARE(ReadDisplayParam(port, mode), Status::Success);
    QCOMPARE(mode, 6);

    // A short-sent request is -1 (fewer bytes than the command's minimum).
    port.sendResult = 7;
    QCOMPARE(ReadDisplayParam(port, mode), Status::NotSent);
}

void TestProtocol::measurementBlocks() {
    FakePort port;
    QByteArray data(54, '\0');
    data.replace(0, 6, le16(-1000) + le16(250) + le16(-325));
    data.replace(12, 6, le16(9512) + le16(1234) + le16(3599));
    data.replace(18, 6, le16(8800) + le16(3127) + le16(3290));
    data.replace(24, 4, hexBytes("01020304"));
    data.replace(28, 3, hexBytes("C86432"));
    data.replace(31, 4, le16(235) + le16(8912));
    port.reply(memoryReply(0x44, 0x0000, data));
    ColorMeasurementBlock b;
    QCOMPARE(ReadColorMeasurement(port, b), Status::Success);
    QCOMPARE(b.lStar, -1000);
    QCOMPARE(b.aStar, 250);
    QCOMPARE(b.bStar, -325);
    QCOMPARE(b.lchHue, 3599);
    QCOMPARE(b.xChromaticity, 3127);
    QCOMPARE(b.red, 200);
    QCOMPARE(b.blue, 50);
    QCOMPARE(b.haze, 235);
    QCOMPARE(b.transmittance, 8912);
    QCOMPARE(b.toInts().size(), 21);
    QCOMPARE(b.toInts().at(12), 1);
    QCOMPARE(b.toInts().at(20), 8912);

    // Each mode result command reads its own fields from the 24-byte block.
    const QByteArray block = hexBytes("0A141E") + le16(1111) + le16(2222) + le16(-3333) +
                             le16(4444) + le16(5555) + le16(6666) + QByteArray(9, '\0');
    struct Case {
        int mode;
        std::function<void(const ModeResultBlock&)> check;
    };
    const QList<Case> cases = {
        {0,
         [](const ModeResultBlock& m) {
             QCOMPARE(m.haze, 1111);
             QCOMPARE(m.transmittance, 2222);
             QCOMPARE(m.lStar, 0);
         }},
        {1,
         [](const ModeResultBlock& m) {
             QCOMPARE(m.haze, 1111);
             QCOMPARE(m.transmittance, 0);
         }},
        {2,
         [](const ModeResultBlock& m) {
             QCOMPARE(m.transmittance, 1111);
             QCOMPARE(m.haze, 0);
         }},
        {3,
         [](const ModeResultBlock& m) {
             QCOMPARE(m.bStar, -3333);
             QCOMPARE(m.lchLightness, 0);
         }},
        {4,
         [](const ModeResultBlock& m) {
             QCOMPARE(m.lchLightness, 4444);
             QCOMPARE(m.lchHue, 6666);
         }},
        {5,
         [](const ModeResultBlock& m) {
             QCOMPARE(m.yTristimulus, 4444);
             QCOMPARE(m.yChromaticity, 6666);
         }},
    };
    for (const Case& c : cases) {
        port.reply(memoryReply(0x44, 0x20u + c.mode, block));
        ModeResultBlock m;
        QCOMPARE(ReadModeResult(port, c.mode, m), Status::Success);
        QCOMPARE(m.red, 10);
        QCOMPARE(m.blue, 30);
        c.check(m);
        QCOMPARE(port.sent.last().left(8), frames::memoryRequest(0x44, 0x20u + c.mode, 24));
    }
    ModeResultBlock m;
    QCOMPARE(ReadModeResult(port, 6, m), Status::NotSent);
}

void TestProtocol::legacyMeasurementWaitsAndSkipsVerification() {
    FakePort port;
    QByteArray data(54, '\0');
    data.replace(0, 6, le16(5000) + le16(-120) + le16(330));
    data.replace(14, 4, le16(3521) + le16(11000)); // C* and h in hundredths
    data.replace(28, 3, hexBytes("102030"));
    QByteArray reply = memoryReply(0x44, 0x0000, data);
    reply[63] = char(reply[63] ^ 0x01); // no frame checksum test on this one
    port.reply(reply);
    LegacyMeasurement m;
    QCOMPARE(ReadMeasurementLegacy(port, m), Status::Success);
    QCOMPARE(port.sent[0], crcd(hexBytes("AB44000000003600")));
    QCOMPARE(port.delays, QVector<int>{1500});
    QCOMPARE(m.aStar, -120);
    QCOMPARE(m.chroma, 3521);
    QCOMPARE(m.hue, 11000);
    QCOMPARE(m.green, 0x20);
}

void TestProtocol::recordCountsAndAddresses() {
    FakePort port;
    int count = 0;
    const QList<QPair<std::function<int()>, uint32_t>> calls = {
        {[&] { return ReadHazeTRecordCount(port, count); }, 0x1200},
        {[&] { return ReadHazeRecordCount(port, count); }, 0x1204},
        {[&] { return ReadTRecordCount(port, count); }, 0x1208},
        {[&] { return ReadLabRecordCount(port, 0, count); }, 0x120C},
        {[&] { return ReadLabRecordCount(port, 2, count); }, 0x1600},
        {[&] { return ReadLChRecordCount(port, 1, count); }, 0x1604},
        {[&] { return ReadLChRecordCount(port, 7, count); }, 0x1210},
        {[&] { return ReadYxyRecordCount(port, count); }, 0x1214},
        {[&] { return ReadHazeTLabRecordCount(port, count); }, 0x1218},
    };
    for (const auto& call : calls) {
        port.reply(memoryReply(0x40, call.second, crcd(le16(int(call.second & 0xFF)))));
        QCOMPARE(call.first(), Status::Success);
        QCOMPARE(port.sent.last().left(8), frames::memoryRequest(0x40, call.second, 4));
        QCOMPARE(count, int(call.second & 0xFF));
    }

    port.reply(memoryReply(0x40, 0x3010, crcd(hexBytes("AAAAAAAA") + le16(42) + hexBytes("0000"))));
    QCOMPARE(ReadColorDiffRecordCount(port, count), Status::Success);
    QCOMPARE(count, 42);
    QCOMPARE(port.sent.last().left(8), hexBytes("AB40103000000A00"));

    port.reply(memoryReply(0x40, 0x1410, crcd(hexBytes("0000") + le16(5) + hexBytes("0000"))));
    QCOMPARE(ReadSpectralRecordCount(port, 2, count), Status::Success);
    QCOMPARE(count, 5);
    QCOMPARE(port.sent.last().left(8), hexBytes("AB40101400000800"));
    port.reply(memoryReply(0x40, 0x1020, crcd(hexBytes("0000") + le16(9) + hexBytes("0000"))));
    QCOMPARE(ReadSpectralRecordCount(port, 3, count), Status::Success);
    QCOMPARE(port.sent.last().left(8), hexBytes("AB40201000000800"));
    const int sentBefore = port.sent.size();
    QCOMPARE(ReadSpectralRecordCount(port, 4, count), Status::NotSent);
    QCOMPARE(port.sent.size(), sentBefore);
}

void TestProtocol::readMemory() {
    FakePort port;
    QByteArray data;
    for (int i = 0; i < 256; ++i)
        data.append(char(i));
    port.reply(memoryReply(0x40, 0x400000, data));
    QByteArray dest = "xy";
    QCOMPARE(ReadMemory(port, 0x400000, 256, dest), Status::Success);
    QCOMPARE(port.expectedLengths.last(), 266);
    QCOMPARE(dest, QByteArray("xy") + data);
    QCOMPARE(port.sent.last().left(8), hexBytes("AB40000040000001"));

    // 265 bytes where 266 are expected: -2, and nothing appended.
    port.replies.append({265, memoryReply(0x40, 0x400000, data).left(265)});
    QCOMPARE(ReadMemory(port, 0x400000, 256, dest), Status::NoReply);
    QCOMPARE(dest.size(), 258);
}

void TestProtocol::spectralMeasurement() {
    FakePort port;
    QByteArray data;
    for (int k = 0; k < 31; ++k)
        data += le16(k == 30 ? 65535 : 1000 + 100 * k);
    port.reply(queryReply(0x0049, data));
    std::array<int, 31> values{};
    QCOMPARE(ReadSpectralMeasurement(port, values), Status::Success);
    QCOMPARE(values[0], 1000);
    QCOMPARE(values[29], 3900);
    QCOMPARE(values[30], 65535); // live values are unsigned
    QByteArray wrong = queryReply(0x0049, data);
    wrong[1] = 0x21;
    wrong[4] = 0x3F;
    port.reply(wrong);
    QCOMPARE(ReadSpectralMeasurement(port, values), Status::BadHeader);
}

void TestProtocol::stdColorCommands() {
    FakePort port;
    // The caller's check value must match, or nothing is sent.
    QCOMPARE(WriteStdColorCount(port, 3, 0x1234), Status::BadChecksum);
    QVERIFY(port.sent.isEmpty());
    const uint16_t countCrc = FramePort::checksum16(hexBytes("0300"), 2);
    port.reply(memoryReply(0x70, 0x2F00, QByteArray()).replace(6, 2, le16(4)));
    QCOMPARE(WriteStdColorCount(port, 3, countCrc), Status::Success);
    QCOMPARE(port.sent[0].size(), 14);
    QCOMPARE(
        port.sent[0].left(12),
        hexBytes("AB70002F000004000300").append(char(countCrc & 0xFF)).append(char(countCrc >> 8)));

    // Texts padded to 16 bytes; exactly 16 bytes need no padding.
    const QString sixteen = QStringLiteral("ABCDEFGHIJKLMNOP");
    const QByteArray record = stdcolor::cardData(sixteen, QString(), 12, 0x1234);
    QCOMPARE(record.size(), 36);
    QCOMPARE(record.left(16), sixteen.toUtf8());
    QCOMPARE(record.mid(16, 16), QByteArray(16, '\0'));
    QCOMPARE(record.mid(32), hexBytes("0C003412"));
    const uint16_t cardCrc = FramePort::checksum16(record, 36);
    QCOMPARE(WriteStdColorCard(port, 0x2030, sixteen, QString(), 12, 0x1234, cardCrc ^ 1),
             Status::BadChecksum);
    QCOMPARE(port.sent.size(), 1);
    QByteArray cardReply = memoryReply(0x70, 0x2030, QByteArray()).replace(6, 2, le16(0x26));
    port.reply(cardReply);
    QCOMPARE(WriteStdColorCard(port, 0x2030, sixteen, QString(), 12, 0x1234, cardCrc),
             Status::Success);
    QCOMPARE(port.sent[1].size(), 48);
    QCOMPARE(port.sent[1].left(8), hexBytes("AB70302000002600"));
    QCOMPARE(port.sent[1].mid(8, 36), record);

    // A long text is cut at a character boundary, never in the middle of one.
    const QByteArray cut =
        stdcolor::cardData(QString::fromUtf8("标准色卡标准色卡"), QString(), 0, 0);
    QCOMPARE(cut.left(16), QString::fromUtf8("标准色卡标").toUtf8() + QByteArray(1, '\0'));

    // Data blocks go out without waiting for an answer.
    const int receivesBefore = port.expectedLengths.size();
    QCOMPARE(WriteBlock(port, 0x40000, QByteArray(256, 'x'), 256), Status::Success);
    QCOMPARE(port.sent.last().size(), 266);
    QCOMPARE(port.expectedLengths.size(), receivesBefore);

    // The empty packet: accepted only with function 0x74 and byte 6 = 0.
    port.reply(crcd(hexBytes("AB74000104000000")));
    QCOMPARE(WriteBlock(port, 0x40100, QByteArray(), 0), Status::Success);
    QCOMPARE(port.sent.last(), crcd(hexBytes("AB74000104000000")));
    port.reply(crcd(hexBytes("ABF401000000000000")).left(10));
    QCOMPARE(WriteBlock(port, 0x40100, QByteArray(), 0), Status::BadHeader);
    port.fail(0, hexBytes("ABF401"));
    QCOMPARE(WriteBlock(port, 0x40100, QByteArray(), 0), Status::NoReply);
    port.sendResult = 7;
    QCOMPARE(WriteBlock(port, 0x40100, QByteArray(), 0), Status::NotSent);
}

void TestProtocol::shortRepliesNeverReadPastTheBuffer() {
    // A port that claims success with too few bytes must not make a command read past them.
    FakePort port;
    for (int len = 0; len < 64; ++len) {
        port.replies.append({64, crcd(hexBytes("AB44000000003600")).left(len)});
        ColorMeasurementBlock b;
        QCOMPARE(ReadColorMeasurement(port, b), Status::NoReply);
    }
    port.replies.append({26, hexBytes("AB2005")});
    KeyInfo key;
    QCOMPARE(ReadKeyInfo(port, key), Status::NoReply);
    ModeResultBlock m;
    QVERIFY(!parseModeResultBlock(QByteArray(40, '\0'), 10, 3, m));
    QVERIFY(parseModeResultBlock(QByteArray(44, '\0'), 10, 3, m));
    ColorMeasurementBlock b;
    QVERIFY(!parseColorMeasurementBlock(QByteArray(64, '\0'), 1, b));
}

QTEST_GUILESS_MAIN(TestProtocol)
#include "tst_protocol.moc"
