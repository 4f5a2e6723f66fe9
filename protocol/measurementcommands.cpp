#include "measurementcommands.h"

#include "bytereader.h"
#include "frameport.h"
#include "frames.h"
#include "instrumentkind.h"

using namespace frames;

namespace {

constexpr int kLegacyPauseMs = 1500;

CommandSpec modeResultSpec(int mode) {
    const uint32_t address = 0x20u + static_cast<uint32_t>(mode);
    return readCommand(kReadMeasurement, address, 24, {2, static_cast<uint8_t>(address), 6, 0x18});
}

CommandSpec colourBlockSpec(bool legacy) {
    CommandSpec s = readCommand(kReadMeasurement, 0x0000, 54, {2, 0x00, 6, 0x36}, {}, !legacy);
    s.minSent = legacy ? 8 : 10;
    s.headerChecksumInRequest = !legacy;
    return s;
}

CommandStatus readCount(FramePort& port, const CommandSpec& spec, int countOffset, int& count) {
    QByteArray reply;
    const CommandStatus status = exchange(port, spec, requestFor(spec), reply);
    if (status < 0)
        return status;
    ByteReader r(reply);
    count = r.u16(countOffset);
    return Status::Success;
}

} // namespace

QVector<int> ColorMeasurementBlock::toInts() const {
    return {lStar,          aStar,         bStar,         extraSigned[0], extraSigned[1],
            extraSigned[2], lchLightness,  lchChroma,     lchHue,         yTristimulus,
            xChromaticity,  yChromaticity, extraBytes[0], extraBytes[1],  extraBytes[2],
            extraBytes[3],  red,           green,         blue,           haze,
            transmittance};
}

bool parseModeResultBlock(const QByteArray& bytes, int offset, int mode, ModeResultBlock& out) {
    ByteReader r(bytes);
    if (offset < 0 || !r.has(offset, 34))
        return false;
    auto at = [offset](int i) { return offset + i; };
    ModeResultBlock b;
    b.red = r.u8(at(8));
    b.green = r.u8(at(9));
    b.blue = r.u8(at(10));
    switch (mode) {
    case 0:
        b.haze = r.u16(at(11));
        b.transmittance = r.u16(at(13));
        break;
    case 1:
        b.haze = r.u16(at(11));
        break;
    case 2:
        b.transmittance = r.u16(at(11));
        break;
    case 3:
    case 4:
    case 5:
        b.lStar = r.s16(at(11));
        b.aStar = r.s16(at(13));
        b.bStar = r.s16(at(15));
        if (mode == 4) {
            b.lchLightness = r.u16(at(17));
            b.lchChroma = r.u16(at(19));
            b.lchHue = r.u16(at(21));
        } else if (mode == 5) {
            b.yTristimulus = r.u16(at(17));
            b.xChromaticity = r.u16(at(19));
            b.yChromaticity = r.u16(at(21));
        }
        break;
    default:
        return false;
    }
    if (!r.ok())
        return false;
    out = b;
    return true;
}

bool parseColorMeasurementBlock(const QByteArray& bytes, int offset, ColorMeasurementBlock& out) {
    ByteReader r(bytes);
    if (offset < 0 || !r.has(offset, 64))
        return false;
    auto at = [offset](int i) { return offset + i; };
    ColorMeasurementBlock b;
    b.lStar = r.s16(at(8));
    b.aStar = r.s16(at(10));
    b.bStar = r.s16(at(12));
    for (int i = 0; i < 3; ++i)
        b.extraSigned[i] = r.s16(at(14 + 2 * i));
    b.lchLightness = r.u16(at(20));
    b.lchChroma = r.u16(at(22));
    b.lchHue = r.u16(at(24));
    b.yTristimulus = r.u16(at(26));
    b.xChromaticity = r.u16(at(28));
    b.yChromaticity = r.u16(at(30));
    for (int i = 0; i < 4; ++i)
        b.extraBytes[i] = r.u8(at(32 + i));
    b.red = r.u8(at(36));
    b.green = r.u8(at(37));
    b.blue = r.u8(at(38));
    b.haze = r.u16(at(39));
    b.transmittance = r.u16(at(41));
    if (!r.ok())
        return false;
    out = b;
    return true;
}

bool parseLegacyMeasurement(const QByteArray& bytes, int offset, LegacyMeasurement& out) {
    ByteReader r(bytes);
    if (offset < 0 || !r.has(offset, 64))
        return false;
    LegacyMeasurement m;
    m.lStar = r.s16(offset + 8);
    m.aStar = r.s16(offset + 10);
    m.bStar = r.s16(offset + 12);
    m.chroma = r.u16(offset + 22);
    m.hue = r.u16(offset + 24);
    m.red = r.u8(offset + 36);
    m.green = r.u8(offset + 37);
    m.blue = r.u8(offset + 38);
    if (!r.ok())
        return false;
    out = m;
    return true;
}

CommandStatus ReadModeResult(FramePort& port, int mode, ModeResultBlock& out) {
    if (mode < 0 || mode > 5)
        return Status::NotSent;
    const CommandSpec spec = modeResultSpec(mode);
    QByteArray reply;
    const CommandStatus status = exchange(port, spec, requestFor(spec), reply);
    if (status < 0)
        return status;
    return parseModeResultBlock(reply, 0, mode, out) ? Status::Success : Status::NoReply;
}

CommandStatus ReadHazeTResult(FramePort& port, ModeResultBlock& out) {
    return ReadModeResult(port, 0, out);
}
CommandStatus ReadHazeResult(FramePort& port, ModeResultBlock& out) {
    return ReadModeResult(port, 1, out);
}
CommandStatus ReadTResult(FramePort& port, ModeResultBlock& out) {
    return ReadModeResult(port, 2, out);
}
CommandStatus ReadLabResult(FramePort& port, ModeResultBlock& out) {
    return ReadModeResult(port, 3, out);
}
CommandStatus ReadLChResult(FramePort& port, ModeResultBlock& out) {
    return ReadModeResult(port, 4, out);
}
CommandStatus ReadYxyResult(FramePort& port, ModeResultBlock& out) {
    return ReadModeResult(port, 5, out);
}

CommandStatus ReadColorMeasurement(FramePort& port, ColorMeasurementBlock& out) {
    const CommandSpec spec = colourBlockSpec(false);
    QByteArray reply;
    const CommandStatus status = exchange(port, spec, requestFor(spec), reply);
    if (status < 0)
        return status;
    return parseColorMeasurementBlock(reply, 0, out) ? Status::Success : Status::NoReply;
}

CommandStatus ReadMeasurementLegacy(FramePort& port, LegacyMeasurement& out) {
    const CommandSpec spec = colourBlockSpec(true);
    QByteArray reply;
    const CommandStatus status = exchange(port, spec, requestFor(spec), reply, kLegacyPauseMs);
    if (status < 0)
        return status;
    return parseLegacyMeasurement(reply, 0, out) ? Status::Success : Status::NoReply;
}

CommandStatus ReadModeRecordCount(FramePort& port, int mode, int uiIndex, int& count) {
    if (mode < 0 || mode > 6)
        return Status::NotSent;
    uint32_t address = 0x1200u + 4u * static_cast<uint32_t>(mode);
    const bool colorimeter = isColorimeter(uiIndex);
    if (colorimeter && mode == 3)
        address = 0x1600;
    else if (colorimeter && mode == 4)
        address = 0x1604;
    const CommandSpec spec =
        readCommand(kReadMemory, address, 4, {2, static_cast<uint8_t>(address & 0xFF), 6, 0x04},
                    {8, 9, 10}, false);
    return readCount(port, spec, 8, count);
}

CommandStatus ReadHazeTRecordCount(FramePort& port, int& count) {
    return ReadModeRecordCount(port, 0, 0, count);
}
CommandStatus ReadHazeRecordCount(FramePort& port, int& count) {
    return ReadModeRecordCount(port, 1, 0, count);
}
CommandStatus ReadTRecordCount(FramePort& port, int& count) {
    return ReadModeRecordCount(port, 2, 0, count);
}
CommandStatus ReadLabRecordCount(FramePort& port, int uiIndex, int& count) {
    return ReadModeRecordCount(port, 3, uiIndex, count);
}
CommandStatus ReadLChRecordCount(FramePort& port, int uiIndex, int& count) {
    return ReadModeRecordCount(port, 4, uiIndex, count);
}
CommandStatus ReadYxyRecordCount(FramePort& port, int& count) {
    return ReadModeRecordCount(port, 5, 0, count);
}
CommandStatus ReadHazeTLabRecordCount(FramePort& port, int& count) {
    return ReadModeRecordCount(port, 6, 0, count);
}

CommandStatus ReadColorDiffRecordCount(FramePort& port, int& count) {
    static const CommandSpec spec =
        readCommand(kReadMemory, 0x3010, 10, {2, 0x10, 6, 0x0A}, {8, 15, 16}, false);
    return readCount(port, spec, 12, count);
}

CommandStatus ReadSpectralRecordCount(FramePort& port, int uiIndex, int& count) {
    if (uiIndex < 0 || uiIndex > 3)
        return Status::NotSent;
    const uint32_t address = isColorimeter(uiIndex) ? 0x1410 : 0x1020;
    const CommandSpec spec =
        readCommand(kReadMemory, address, 8, {1, 0x40, 6, 0x08}, {8, 13, 14}, true);
    return readCount(port, spec, 10, count);
}

CommandStatus ReadMemory(FramePort& port, uint32_t address, uint16_t n, QByteArray& destination) {
    CommandSpec spec = readCommand(kReadMemory, address, n, {}, {}, false);
    spec.echoed = true;
    QByteArray reply;
    const CommandStatus status = exchange(port, spec, requestFor(spec), reply);
    if (status < 0)
        return status;
    destination.append(reply.mid(8, n));
    return Status::Success;
}

CommandStatus ReadSpectralMeasurement(FramePort& port, std::array<int, 31>& values) {
    CommandSpec spec;
    spec.function = kQuery;
    spec.address = 0x0049;
    spec.length = 0x003E;
    spec.minSent = 6;
    spec.replyLength = 70;
    spec.header = {1, 0x20, 4, 0x3E};
    QByteArray reply;
    const CommandStatus status = exchange(port, spec, requestFor(spec), reply);
    if (status < 0)
        return status;
    ByteReader r(reply);
    std::array<int, 31> out{};
    for (int k = 0; k < 31; ++k)
        out[static_cast<size_t>(k)] = r.u16(6 + 2 * k);
    values = out;
    return Status::Success;
}
