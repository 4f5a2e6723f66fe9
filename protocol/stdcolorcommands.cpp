#include "stdcolorcommands.h"

#include "bytereader.h"
#include "checksum16.h"
#include "frameport.h"
#include "frames.h"

using namespace frames;

namespace {

QByteArray paddedText(const QString& text) {
    QByteArray utf8 = text.toUtf8();
    if (utf8.size() > stdcolor::kTextWidth) {
        // Cut before a continuation byte so no half character reaches the instrument.
        int cut = stdcolor::kTextWidth;
        while (cut > 0 && (static_cast<uint8_t>(utf8.at(cut)) & 0xC0) == 0x80)
            --cut;
        utf8.truncate(cut);
    }
    utf8.append(QByteArray(stdcolor::kTextWidth - utf8.size(), '\0'));
    return utf8;
}

} // namespace

namespace stdcolor {

QByteArray cardData(const QString& text1, const QString& text2, int value1, int value2) {
    QByteArray data = paddedText(text1) + paddedText(text2);
    appendU16(data, static_cast<unsigned>(value1));
    appendU16(data, static_cast<unsigned>(value2));
    return data;
}

uint16_t cardCheckValue(const QString& text1, const QString& text2, int value1, int value2) {
    const QByteArray data = cardData(text1, text2, value1, value2);
    return checksum16(data.constData(), static_cast<int>(data.size()));
}

uint16_t countCheckValue(int count) {
    QByteArray data;
    appendU16(data, static_cast<unsigned>(count));
    return checksum16(data.constData(), static_cast<int>(data.size()));
}

} // namespace stdcolor

CommandStatus WriteStdColorCount(FramePort& port, int count, int checkValue) {
    if (stdcolor::countCheckValue(count) != static_cast<uint16_t>(checkValue))
        return Status::BadChecksum;
    static const CommandSpec spec = writeCommand(0x2F00, 4, {2, 0x00, 6, 0x04});
    QByteArray data;
    appendU16(data, static_cast<unsigned>(count));
    QByteArray reply;
    return exchange(port, spec,
                    memoryRequest(spec.function, spec.address, spec.length, withChecksum(data)),
                    reply);
}

CommandStatus WriteStdColorCard(FramePort& port, int address, const QString& text1,
                                const QString& text2, int value1, int value2, int checkValue) {
    const QByteArray data = stdcolor::cardData(text1, text2, value1, value2);
    if (checksum16(data.constData(), static_cast<int>(data.size())) !=
        static_cast<uint16_t>(checkValue))
        return Status::BadChecksum;
    // The record address travels as 16 bits; the upper address bytes are zero.
    const uint32_t address16 = static_cast<uint32_t>(address) & 0xFFFFu;
    const CommandSpec spec = writeCommand(address16, stdcolor::kCardDataLength,
                                          {2, static_cast<uint8_t>(address16 & 0xFF), 6, 0x26});
    QByteArray reply;
    return exchange(port, spec,
                    memoryRequest(spec.function, spec.address, spec.length, withChecksum(data)),
                    reply);
}

CommandStatus WriteBlock(FramePort& port, uint32_t address, const QByteArray& data, int n) {
    n = std::clamp(n, 0, static_cast<int>(std::min<qsizetype>(data.size(), 0xFFFF)));
    QByteArray request =
        memoryRequest(kWriteBlock, address, static_cast<uint16_t>(n), data.left(n));
    const int sent = port.sendFrame(request, kWriteTimeoutMs);
    if (sent < n + 8)
        return Status::NotSent;
    if (n > 0)
        return Status::Success; // the instrument does not answer data blocks
    QByteArray reply;
    const int received = port.receiveFrame(reply, kDefaultDeadlineMs, 10, false);
    if (received < 10 || reply.size() < 10)
        return Status::NoReply;
    if (static_cast<uint8_t>(reply.at(1)) != kWriteBlock || reply.at(6) != 0)
        return Status::BadHeader;
    return Status::Success;
}
