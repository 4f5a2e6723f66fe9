#include "frames.h"

#include "bytereader.h"
#include "checksum16.h"
#include "frameport.h"

namespace frames {

CommandSpec readCommand(uint8_t function, uint32_t address, uint16_t n, HeaderTest header,
                        BlockCheck block, bool verify) {
    CommandSpec s;
    s.function = function;
    s.address = address;
    s.length = n;
    s.minSent = 8;
    s.replyLength = n + 10;
    s.verify = verify;
    s.header = header;
    s.block = block;
    return s;
}

CommandSpec writeCommand(uint32_t address, uint16_t n, HeaderTest header, int deadlineMs) {
    CommandSpec s;
    s.function = kWriteParameter;
    s.address = address;
    s.length = n;
    s.minSent = 8 + n;
    s.replyLength = 10;
    s.deadlineMs = deadlineMs;
    s.header = header;
    return s;
}

QByteArray memoryRequest(uint8_t function, uint32_t address, uint16_t length,
                         const QByteArray& data) {
    QByteArray out;
    out.reserve(10 + data.size());
    appendU8(out, kStart);
    appendU8(out, function);
    appendU32(out, address);
    appendU16(out, length);
    out.append(data);
    return out;
}

QByteArray queryRequest(uint16_t code, uint16_t replyLength) {
    QByteArray out;
    appendU8(out, kStart);
    appendU8(out, kQuery);
    appendU16(out, code);
    appendU16(out, replyLength);
    return out;
}

QByteArray requestFor(const CommandSpec& spec) {
    QByteArray request = spec.function == kQuery
                             ? queryRequest(static_cast<uint16_t>(spec.address), spec.length)
                             : memoryRequest(spec.function, spec.address, spec.length);
    return spec.headerChecksumInRequest ? withChecksum(request) : request;
}

QByteArray withChecksum(const QByteArray& data) {
    QByteArray out = data;
    appendU16(out, checksum16(data.constData(), static_cast<int>(data.size())));
    return out;
}

bool passesHeader(const QByteArray& reply, const HeaderTest& test) {
    if (test.byteB < 0)
        return true;
    auto at = [&reply](int i) {
        return i >= 0 && i < reply.size() ? static_cast<int>(static_cast<uint8_t>(reply.at(i)))
                                          : -1;
    };
    return at(test.byteB) == test.x || at(test.byteY) == test.y;
}

bool blockChecksumOk(const QByteArray& reply, const BlockCheck& check) {
    if (check.from < 0)
        return true;
    ByteReader reader(reply);
    const uint16_t stored = reader.u16(check.at);
    if (!reader.ok() || check.to < check.from || check.to >= reply.size())
        return false;
    return stored == checksum16(reply.constData() + check.from, check.to - check.from + 1);
}

bool echoesRequest(const QByteArray& reply, const CommandSpec& spec) {
    ByteReader r(reply);
    const bool same =
        r.u8(1) == spec.function && r.u32(2) == spec.address && r.u16(6) == spec.length;
    return r.ok() && same;
}

bool isErrorReply(const QByteArray& gathered, uint8_t byte1, uint8_t byte2) {
    return gathered.size() >= 3 && static_cast<uint8_t>(gathered.at(1)) == byte1 &&
           static_cast<uint8_t>(gathered.at(2)) == byte2;
}

CommandStatus judgeReply(const CommandSpec& spec, int received, const QByteArray& reply) {
    if (received <= 0) {
        if (spec.errorByte1 != 0 && isErrorReply(reply, spec.errorByte1, spec.errorByte2))
            return Status::ErrorReply;
        return Status::NoReply;
    }
    // Whatever the port claims, never parse fewer bytes than the layout needs.
    if (received < spec.replyLength || reply.size() < spec.replyLength)
        return Status::NoReply;
    if (!passesHeader(reply, spec.header))
        return Status::BadHeader;
    if (spec.echoed && !echoesRequest(reply, spec))
        return Status::BadHeader;
    if (!blockChecksumOk(reply, spec.block))
        return Status::BadChecksum;
    return Status::Success;
}

CommandStatus exchange(FramePort& port, const CommandSpec& spec, QByteArray request,
                       QByteArray& reply, int pauseMs) {
    // A reply that came after its request gave up must not pass for the answer to this one.
    port.discardPending();
    const int sent = port.sendFrame(request, kWriteTimeoutMs);
    if (sent < spec.minSent)
        return Status::NotSent;
    if (pauseMs > 0)
        port.delayMs(pauseMs);
    reply.clear();
    const int received = port.receiveReply(reply, spec.deadlineMs, spec.replyLength, spec.verify,
                                           {spec.errorByte1, spec.errorByte2});
    return judgeReply(spec, received, reply);
}

} // namespace frames
