#include "deviceinfocommands.h"

#include "bytereader.h"
#include "frameport.h"
#include "frames.h"
#include "messagesink.h"

using namespace frames;

namespace {

const CommandSpec kKeyInfo = [] {
    CommandSpec s;
    s.function = kQuery;
    s.address = 0x0005;
    s.length = 0x0012;
    s.minSent = 8;
    s.replyLength = 26;
    s.header = {2, 0x05, 6, 0xA5};
    s.block = {0, 23, 24}; // the frame checksum, checked once more
    s.headerChecksumInRequest = true;
    s.errorByte1 = 0xA0;
    s.errorByte2 = 0x04;
    return s;
}();

const CommandSpec kProductionInfo = [] {
    CommandSpec s = readCommand(kReadMemory, 0x0000, 20, {2, 0x00, 6, 0x14}, {8, 25, 26});
    s.errorByte1 = 0xC7;
    s.errorByte2 = 0x08;
    return s;
}();

const CommandSpec kSoftwareVersion = [] {
    CommandSpec s;
    s.function = kQuery;
    s.address = 0x000C;
    s.length = 0x0002;
    s.minSent = 6;
    s.replyLength = 10;
    s.header = {1, 0x20, 4, 0x02};
    return s;
}();

const CommandSpec kReadDisplay = readCommand(kReadMemory, 0x0300, 3, {2, 0x00, 6, 0x03}, {8, 8, 9});
const CommandSpec kSetDisplay = writeCommand(0x0300, 3, {2, 0x00, 6, 0x03}, 10000);
const CommandSpec kReadTolerance =
    readCommand(kReadMemory, 0x030F, 8, {2, 0x0F, 6, 0x08}, {8, 13, 14});
const CommandSpec kSetTolerance = writeCommand(0x030F, 8, {2, 0x0F, 6, 0x08}, 10000);
const CommandSpec kReadDeltaE =
    readCommand(kReadMemory, 0x0225, 5, {2, 0x25, 6, 0x05}, {8, 10, 11});
const CommandSpec kSetDeltaE = writeCommand(0x0225, 5, {2, 0x25, 6, 0x05}, kDefaultDeadlineMs);

QDate dateFrom(int year, int month, int day) {
    return QDate(year, month, day); // an impossible date stays invalid; that is not an error
}

// Where the identity fields lie in the two replies that carry them; -1: not in this reply.
struct KeyInfoLayout {
    int flag, year, month, day, serial, meter, extraWord, extraWord2, extraByte, extraByte2;
};
constexpr KeyInfoLayout kKeyInfoLayout{6, 8, 10, 11, 12, 16, 20, 22, -1, -1};
constexpr KeyInfoLayout kProductionInfoLayout{8, 10, 12, 13, 14, 18, 22, -1, 24, 25};

CommandStatus decodeKeyInfo(const QByteArray& reply, const KeyInfoLayout& at, KeyInfo& info) {
    ByteReader r(reply);
    KeyInfo out;
    out.dataFlag = r.u8(at.flag);
    out.productionDate = dateFrom(r.u16(at.year), r.u8(at.month), r.u8(at.day));
    out.serialNumber = r.u32(at.serial);
    out.meterNumber = r.u32(at.meter);
    out.extraWord = r.u16(at.extraWord);
    if (at.extraWord2 >= 0)
        out.extraWord2 = r.u16(at.extraWord2);
    if (at.extraByte >= 0) {
        out.extraByte = r.u8(at.extraByte);
        out.extraByte2 = r.u8(at.extraByte2);
    }
    if (!r.ok())
        return Status::NoReply;
    info = out;
    return Status::Success;
}

CommandStatus writeBlock(FramePort& port, const CommandSpec& spec, const QByteArray& data) {
    QByteArray reply;
    return exchange(port, spec,
                    memoryRequest(spec.function, spec.address, spec.length, withChecksum(data)),
                    reply);
}

struct FailureText {
    CommandStatus status;
    const char* text; // UTF-8
};

// The two identification commands tell the user themselves why they failed.
void reportFailure(MessageSink* sink, CommandStatus status,
                   std::initializer_list<FailureText> texts) {
    for (const FailureText& t : texts)
        if (t.status == status)
            (sink ? sink : MessageSink::defaultSink())
                ->showMessage(QStringLiteral("提示"), QString::fromUtf8(t.text));
}

} // namespace

CommandStatus ReadKeyInfo(FramePort& port, KeyInfo& info) {
    QByteArray reply;
    const CommandStatus status = exchange(port, kKeyInfo, requestFor(kKeyInfo), reply);
    if (status < 0)
        return status;
    return decodeKeyInfo(reply, kKeyInfoLayout, info);
}

CommandStatus ReadProductionInfo(FramePort& port, KeyInfo& info, MessageSink* sink) {
    QByteArray reply;
    const CommandStatus status =
        exchange(port, kProductionInfo, requestFor(kProductionInfo), reply);
    if (status < 0) {
        reportFailure(sink, status,
                      {{Status::NotSent, "读取生产信息写端口失败！"},
                       {Status::NoReply, "读取生产信息接收端口报文失败！"},
                       {Status::BadHeader, "读取生产信息接收的报文格式错误！"},
                       {Status::BadChecksum, "读取生产信息checksum错误！"}});
        return status; // the error reply (-5) is not reported: the caller falls back
    }
    return decodeKeyInfo(reply, kProductionInfoLayout, info);
}

CommandStatus ReadSoftwareVersion(FramePort& port, int& version, MessageSink* sink) {
    QByteArray reply;
    const CommandStatus status =
        exchange(port, kSoftwareVersion, requestFor(kSoftwareVersion), reply);
    if (status < 0) {
        reportFailure(sink, status,
                      {{Status::NotSent, "读取软件版本写端口失败！"},
                       {Status::NoReply, "读取软件版本接收端口报文失败！"},
                       {Status::BadHeader, "读取软件版本接收的报文格式错误！"}});
        return status;
    }
    ByteReader r(reply);
    const int value = r.u16(6);
    if (!r.ok())
        return Status::NoReply;
    version = value;
    return Status::Success;
}

CommandStatus ReadDisplayParam(FramePort& port, int& mode) {
    QByteArray reply;
    const CommandStatus status = exchange(port, kReadDisplay, requestFor(kReadDisplay), reply);
    if (status < 0)
        return status;
    mode = static_cast<uint8_t>(reply.at(8));
    return Status::Success;
}

CommandStatus SetDisplayParam(FramePort& port, int mode) {
    QByteArray data;
    appendU8(data, static_cast<unsigned>(mode));
    return writeBlock(port, kSetDisplay, data);
}

CommandStatus ReadTolerance(FramePort& port, int& haze100, int& t100, int& threshold10) {
    QByteArray reply;
    const CommandStatus status = exchange(port, kReadTolerance, requestFor(kReadTolerance), reply);
    if (status < 0)
        return status;
    ByteReader r(reply);
    haze100 = r.u16(8);
    t100 = r.u16(10);
    threshold10 = r.u16(12);
    return Status::Success;
}

CommandStatus SetTolerance(FramePort& port, int haze100, int t100, int threshold10) {
    QByteArray data;
    appendU16(data, static_cast<unsigned>(haze100));
    appendU16(data, static_cast<unsigned>(t100));
    appendU16(data, static_cast<unsigned>(threshold10));
    return writeBlock(port, kSetTolerance, data);
}

CommandStatus ReadDeltaEParam(FramePort& port, int& formula, int& threshold10) {
    QByteArray reply;
    const CommandStatus status = exchange(port, kReadDeltaE, requestFor(kReadDeltaE), reply);
    if (status < 0)
        return status;
    ByteReader r(reply);
    formula = r.u8(8);
    threshold10 = r.u16(9);
    return Status::Success;
}

CommandStatus SetDeltaEParam(FramePort& port, int formula, int threshold10) {
    QByteArray data;
    appendU8(data, static_cast<unsigned>(formula));
    appendU16(data, static_cast<unsigned>(threshold10));
    return writeBlock(port, kSetDeltaE, data);
}
