#include "instrumentcore.h"

#include "checksum16.h"

#include <algorithm>
#include <cstring>

namespace sim {

namespace {

constexpr uint8_t kStart = 0xAB;
constexpr uint8_t kQuery = 0x20;
constexpr uint8_t kReadMemory = 0x40;
constexpr uint8_t kReadMeasurement = 0x44;
constexpr uint8_t kWriteParameter = 0x70;
constexpr uint8_t kWriteBlock = 0x74;

constexpr uint16_t kQueryKeyInfo = 0x0005;
constexpr uint16_t kQueryVersion = 0x000C;
constexpr uint16_t kQuerySpectrum = 0x0049;

constexpr int kReportPayload = 62;
// Longest write the firmware takes in one frame; a longer length field is line noise.
constexpr int kMaxWriteData = 4096;
// Longest query answer; the host never asks for more than a spectrum.
constexpr int kMaxQueryData = 1024;
// A frame whose rest does not follow within this time was cut off; the instrument drops it.
constexpr auto kPartialFrameTimeout = std::chrono::milliseconds(1000);
constexpr auto kPushSplitGap = std::chrono::milliseconds(80);
// Room for the standard colour text area; blocks beyond it are kept in memory only.
constexpr uint32_t kMaxLibraryBytes = 0x40000;

uint16_t crc(const QByteArray& bytes, int count = -1) {
    return checksum16(bytes.constData(), count < 0 ? int(bytes.size()) : count);
}

uint16_t u16(const QByteArray& b, int at) {
    return uint16_t(uint8_t(b.at(at)) | (uint8_t(b.at(at + 1)) << 8));
}

uint32_t u32(const QByteArray& b, int at) {
    return u16(b, at) | (uint32_t(u16(b, at + 2)) << 16);
}

void appendU16(QByteArray& b, uint16_t v) {
    b.append(char(v & 0xFF));
    b.append(char(v >> 8));
}

void appendU32(QByteArray& b, uint32_t v) {
    appendU16(b, uint16_t(v & 0xFFFF));
    appendU16(b, uint16_t(v >> 16));
}

void putU16(QByteArray& b, int at, uint16_t v) {
    b[at] = char(v & 0xFF);
    b[at + 1] = char(v >> 8);
}

QByteArray memoryHeader(uint8_t function, uint32_t address, uint16_t length) {
    QByteArray f;
    f.append(char(kStart));
    f.append(char(function));
    appendU32(f, address);
    appendU16(f, length);
    return f;
}

QByteArray queryHeader(uint16_t code, uint16_t length) {
    QByteArray f;
    f.append(char(kStart));
    f.append(char(kQuery));
    appendU16(f, code);
    appendU16(f, length);
    return f;
}

// Frame length from the bytes seen so far: > 0 known, 0 need more bytes, -1 not a frame start.
int frameLength(const QByteArray& in) {
    if (in.size() < 2)
        return 0;
    switch (uint8_t(in.at(1))) {
    case kQuery:
        return 8;
    case kReadMemory:
    case kReadMeasurement:
        return 10;
    case kWriteParameter:
    case kWriteBlock: {
        if (in.size() < 8)
            return 0;
        const int n = u16(in, 6);
        return n > kMaxWriteData ? -1 : 10 + n;
    }
    default:
        return -1;
    }
}

bool isModeCountAddress(uint32_t address, int* mode) {
    for (int m = 0; m < 7; ++m) {
        if (address == layout::kModeCountBase + 4u * uint32_t(m)) {
            *mode = m;
            return true;
        }
    }
    if (address == layout::kLabCountAlt || address == layout::kLChCountAlt) {
        *mode = address == layout::kLabCountAlt ? 3 : 4;
        return true;
    }
    return false;
}

} // namespace

bool InstrumentCore::usesOldLayout() const {
    if (model == QLatin1String("KV620") || model == QLatin1String("KV650"))
        return firmware < 300;
    if (model == QLatin1String("KV630") || model == QLatin1String("KV660"))
        return firmware < 400;
    return false;
}

bool InstrumentCore::pushesModeBlock() const {
    return (model == QLatin1String("KV510") || model == QLatin1String("KV670")) && firmware <= 105;
}

void InstrumentCore::takeReport(const uint8_t* report, int length) {
    ++reportsReceived;
    if (length < 3 || report[0] != 0x3F)
        return;
    const int payload = report[1];
    if (payload < 1 || payload > kReportPayload || payload > length - 2)
        return;
    const auto now = Clock::now();
    if (!inbox.isEmpty() && now - inboxTouched > kPartialFrameTimeout)
        inbox.clear();
    inboxTouched = now;
    inbox.append(reinterpret_cast<const char*>(report + 2), payload);
    parseInbox();
}

void InstrumentCore::parseInbox() {
    for (;;) {
        const int start = int(inbox.indexOf(char(kStart)));
        if (start < 0) {
            inbox.clear();
            return;
        }
        inbox.remove(0, start);
        const int length = frameLength(inbox);
        if (length == 0 || (length > 0 && inbox.size() < length))
            return; // the rest is still on its way
        if (length < 0 || crc(inbox, length - 2) != u16(inbox, length - 2)) {
            // Not a frame after all: resynchronise on the next start byte.
            inbox.remove(0, 1);
            continue;
        }
        const QByteArray frame = inbox.left(length);
        inbox.remove(0, length);
        received.append(frame);
        if (!silent)
            execute(frame);
        if (unplugAfterFrames > 0 && --unplugAfterFrames == 0) {
            unplugged();
            unplugNoticeDue = true;
            return;
        }
    }
}

void InstrumentCore::execute(const QByteArray& frame) {
    const uint8_t function = uint8_t(frame.at(1));
    if (function == kQuery) {
        query(u16(frame, 2), u16(frame, 4));
        return;
    }
    const uint32_t address = u32(frame, 2);
    const uint16_t length = u16(frame, 6);
    if (function == kReadMemory || function == kReadMeasurement)
        readMemoryFamily(function, address, length);
    else if (function == kWriteParameter)
        writeParameter(address, frame.mid(8, length));
    else if (function == kWriteBlock)
        writeBlock(address, frame.mid(8, length));
}

void InstrumentCore::query(uint16_t code, uint16_t length) {
    QByteArray data;
    switch (code) {
    case kQueryKeyInfo:
        if (!keyInfoSupported) {
            // Older firmware does not know the query and says so in a short frame.
            QByteArray error;
            error.append(char(kStart));
            error.append(char(0xA0));
            error.append(char(0x04));
            reply(error);
            return;
        }
        data.append(char(0xA5)); // data flag: record valid
        data.append('\0');
        appendU16(data, uint16_t(year));
        data.append(char(month));
        data.append(char(day));
        appendU32(data, serialNumber);
        appendU32(data, meterNumber);
        appendU16(data, uint16_t(firmware)); // the extra words: firmware and hardware revision
        appendU16(data, 1);
        break;
    case kQueryVersion:
        appendU16(data, uint16_t(firmware));
        break;
    case kQuerySpectrum:
        for (uint16_t v : spectrum)
            appendU16(data, v);
        break;
    default:
        // Unknown queries are answered with as many zero bytes as were asked for.
        data = QByteArray(std::min<int>(length, kMaxQueryData), '\0');
        break;
    }
    reply(queryHeader(code, uint16_t(data.size())) + data);
}

QByteArray InstrumentCore::withBlockChecksum(QByteArray block) {
    uint16_t sum = crc(block);
    if (corruptBlock) {
        sum ^= 0x5A5A;
        corruptBlock = false;
    }
    appendU16(block, sum);
    return block;
}

QByteArray InstrumentCore::countBlock(uint32_t address) const {
    QByteArray block;
    int mode = 0;
    if (isModeCountAddress(address, &mode)) {
        appendU16(block, uint16_t(modeCounts[size_t(mode)]));
    } else if (address == layout::kColorDiffCount) {
        // Area start, count, record size: what the firmware keeps about the area.
        appendU32(block, layout::kOldData);
        appendU16(block, uint16_t(colorDiffCount));
        appendU16(block, uint16_t(layout::kOldRecordSize));
    } else {
        const int area = address == layout::kSpectralCount[1] ? 1 : 0;
        appendU16(block, uint16_t(layout::kSpectralRecordSize));
        appendU16(block, uint16_t(spectralCounts[size_t(area)]));
        appendU16(block, uint16_t(layout::kSpectralCapacity));
    }
    return block;
}

void InstrumentCore::readMemoryFamily(uint8_t function, uint32_t address, uint16_t length) {
    QByteArray data;
    int mode = 0;
    if (function == kReadMeasurement) {
        if (address == 0x0000 && length == 54)
            data = colourBlock(usesOldLayout());
        else if (address >= 0x20 && address <= 0x25 && length == 24)
            data = modeBlock(int(address - 0x20));
        else
            data = QByteArray(length, '\0');
        measurementReported();
    } else if (address == layout::kProductionInfo && length == 20) {
        QByteArray block;
        block.append(char(0xA5));
        block.append('\0');
        appendU16(block, uint16_t(year));
        block.append(char(month));
        block.append(char(day));
        appendU32(block, serialNumber);
        appendU32(block, meterNumber);
        appendU16(block, uint16_t(firmware));
        block.append(char(1)); // hardware revision
        block.append(char(uiIndex));
        data = withBlockChecksum(block);
    } else if (address == layout::kDisplayParam && length == 3) {
        data = withBlockChecksum(QByteArray(1, char(displayMode)));
    } else if (address == layout::kTolerance && length == 8) {
        QByteArray block;
        appendU16(block, tolerance.haze);
        appendU16(block, tolerance.transmittance);
        appendU16(block, tolerance.threshold);
        data = withBlockChecksum(block);
    } else if (address == layout::kDeltaEParam && length == 5) {
        QByteArray block(1, char(deltaE.formula));
        appendU16(block, deltaE.threshold);
        data = withBlockChecksum(block);
    } else if ((isModeCountAddress(address, &mode) && length == 4) ||
               (address == layout::kColorDiffCount && length == 10) ||
               ((address == layout::kSpectralCount[0] || address == layout::kSpectralCount[1]) &&
                length == 8)) {
        data = withBlockChecksum(countBlock(address));
    } else {
        data = memory.read(address, length);
    }
    reply(memoryHeader(function, address, length) + data);
}

void InstrumentCore::writeParameter(uint32_t address, const QByteArray& data) {
    const int n = int(data.size());
    // A block whose own checksum does not match is dropped without an answer; the host then
    // times out, as it would with the real firmware.
    const auto blockValid = [&](int dataBytes) {
        return n == dataBytes + 2 && crc(data, dataBytes) == u16(data, dataBytes);
    };
    const bool isCard = address >= layout::kStdColorCardBase && address < layout::kStdColorCount &&
                        (address - layout::kStdColorCardBase) % layout::kStdColorCardStride == 0;

    if (address == layout::kDisplayParam && n == 3) {
        if (!blockValid(1) || uint8_t(data.at(0)) > 6)
            return;
        displayMode = uint8_t(data.at(0));
    } else if (address == layout::kTolerance && n == 8) {
        if (!blockValid(6))
            return;
        tolerance = {u16(data, 0), u16(data, 2), u16(data, 4)};
    } else if (address == layout::kDeltaEParam && n == 5) {
        if (!blockValid(3))
            return;
        deltaE = {uint8_t(data.at(0)), u16(data, 1)};
    } else if (address == layout::kStdColorCount && n == 4) {
        if (!blockValid(2))
            return;
        // A new count starts a new library.
        library = StdColorLibrary();
        library.count = u16(data, 0);
        libraryContiguous = true;
        memory.write(address, data);
    } else if (isCard && n == 38) {
        if (!blockValid(36))
            return;
        const int index = int((address - layout::kStdColorCardBase) / layout::kStdColorCardStride);
        StdColorCard card;
        card.text1 = data.mid(0, 16);
        card.text2 = data.mid(16, 16);
        card.value1 = u16(data, 32);
        card.value2 = u16(data, 34);
        library.cards.insert(index, card);
        memory.write(address, data);
    } else {
        memory.write(address, data);
    }
    reply(memoryHeader(kWriteParameter, address, uint16_t(n)));
}

void InstrumentCore::writeBlock(uint32_t address, const QByteArray& data) {
    if (!data.isEmpty()) {
        // Data blocks are stored and never answered.
        memory.write(address, data);
        if (address < layout::kStdColorData)
            return;
        const uint32_t offset = address - layout::kStdColorData;
        if (offset != uint32_t(library.data.size()))
            libraryContiguous = false;
        if (offset + uint32_t(data.size()) > kMaxLibraryBytes)
            return;
        if (uint32_t(library.data.size()) < offset + uint32_t(data.size()))
            library.data.resize(int(offset) + int(data.size()));
        std::memcpy(library.data.data() + offset, data.constData(), size_t(data.size()));
        return;
    }
    library.closed = true;
    library.accepted = libraryConsistent(address);
    if (library.accepted) {
        reply(memoryHeader(kWriteBlock, address, 0));
    } else {
        QByteArray error;
        error.append(char(kStart));
        error.append(char(0xF4));
        error.append(char(0x01));
        error.append(QByteArray(5, '\0'));
        reply(error);
    }
}

bool InstrumentCore::libraryConsistent(uint32_t closingAddress) const {
    if (library.count < 0 || !libraryContiguous)
        return false;
    int64_t colours = 0;
    for (int i = 0; i < library.count; ++i) {
        const auto it = library.cards.constFind(i);
        if (it == library.cards.constEnd())
            return false;
        colours += it->value1;
    }
    return int64_t(library.data.size()) == 26 * colours &&
           closingAddress == layout::kStdColorData + uint32_t(library.data.size());
}

QByteArray InstrumentCore::colourBlock(bool legacy) const {
    const Measurement& m = measurement;
    QByteArray d(54, '\0');
    // Offsets below are frame offsets, 8 ahead of the data.
    const auto put = [&](int frameOffset, uint16_t v) { putU16(d, frameOffset - 8, v); };
    put(8, uint16_t(m.lStar));
    put(10, uint16_t(m.aStar));
    put(12, uint16_t(m.bStar));
    put(20, m.lchL);
    put(22, m.lchC);
    d[36 - 8] = char(m.red);
    d[37 - 8] = char(m.green);
    d[38 - 8] = char(m.blue);
    if (legacy) {
        // The legacy firmware gives the hue in hundredths of a degree and nothing else.
        put(24, uint16_t(std::min<int>(m.lchH * 10, 0xFFFF)));
        return d;
    }
    put(24, m.lchH);
    put(26, m.yTristimulus);
    put(28, m.xChromaticity);
    put(30, m.yChromaticity);
    put(39, m.haze);
    put(41, m.transmittance);
    return d;
}

QByteArray InstrumentCore::modeBlock(int mode) const {
    const Measurement& m = measurement;
    QByteArray d(24, '\0');
    d[0] = char(m.red);
    d[1] = char(m.green);
    d[2] = char(m.blue);
    QList<uint16_t> words;
    switch (mode) {
    case 0:
        words = {m.haze, m.transmittance};
        break;
    case 1:
        words = {m.haze};
        break;
    case 2:
        words = {m.transmittance};
        break;
    case 3:
        words = {uint16_t(m.lStar), uint16_t(m.aStar), uint16_t(m.bStar)};
        break;
    case 4:
        words = {uint16_t(m.lStar), uint16_t(m.aStar), uint16_t(m.bStar), m.lchL, m.lchC, m.lchH};
        break;
    default:
        words = {uint16_t(m.lStar), uint16_t(m.aStar), uint16_t(m.bStar),
                 m.yTristimulus,    m.xChromaticity,   m.yChromaticity};
        break;
    }
    for (int i = 0; i < words.size(); ++i)
        putU16(d, 3 + 2 * i, words.at(i));
    return d;
}

void InstrumentCore::pushMeasurement() {
    if (silent)
        return;
    QByteArray frame;
    if (usesOldLayout())
        frame = memoryHeader(kReadMeasurement, 0, 54) + colourBlock(true);
    else if (pushesModeBlock() && displayMode >= 0 && displayMode <= 5)
        frame = memoryHeader(kReadMeasurement, 0x20u + uint32_t(displayMode), 24) +
                modeBlock(displayMode);
    else
        frame = memoryHeader(kReadMeasurement, 0, 54) + colourBlock(false);
    measurementReported();
    const int parts = splitPushParts;
    splitPushParts = 0;
    send(frame, 0, parts);
}

void InstrumentCore::send(QByteArray frame, int delayMs, int parts) {
    uint16_t sum = crc(frame);
    if (corruptFrame) {
        sum ^= 0xA5A5;
        corruptFrame = false;
    }
    appendU16(frame, sum);

    auto readyAt = Clock::now() + std::chrono::milliseconds(delayMs);
    for (int i = 0; i < stray.size(); i += kReportPayload)
        queueReport(stray.mid(i, kReportPayload), readyAt);
    stray.clear();

    const int size = int(frame.size());
    int chunk = kReportPayload;
    if (parts > 0) {
        parts = std::clamp(parts, (size + kReportPayload - 1) / kReportPayload, size);
        chunk = (size + parts - 1) / parts;
    }
    for (int i = 0; i < size; i += chunk) {
        queueReport(frame.mid(i, chunk), readyAt);
        if (parts > 0)
            readyAt += kPushSplitGap;
    }
}

void InstrumentCore::queueReport(const QByteArray& payload, Clock::time_point readyAt) {
    ++reportsSent;
    if (dropReports > 0) {
        --dropReports;
        return;
    }
    // Nobody listening: the report goes nowhere, as on a real bus.
    if (openHandles == 0)
        return;
    OutgoingReport r;
    r.bytes[0] = 0x3F;
    r.bytes[1] = uint8_t(payload.size());
    std::memcpy(r.bytes.data() + 2, payload.constData(), size_t(payload.size()));
    r.readyAt = readyAt;
    outbox.push_back(r);
    outboxChanged.notify_all();
}

void InstrumentCore::unplugged() {
    plugged = false;
    ++generation;
    openHandles = 0;
    inbox.clear();
    outbox.clear();
    outboxChanged.notify_all();
}

void InstrumentCore::addModeRecord(int mode, const QByteArray& bytes, const QByteArray& name) {
    const int size = layout::kModeRecordSize[mode];
    const int index = modeCounts[size_t(mode)];
    QByteArray record = bytes.left(size);
    record.append(QByteArray(size - int(record.size()), '\0'));
    QByteArray slot = name.left(layout::kModeNameSlot);
    slot.append(QByteArray(layout::kModeNameSlot - int(slot.size()), '\0'));
    memory.write(layout::modeDataStart(mode) + uint32_t(index * size), record);
    memory.write(layout::modeNameStart(mode) + uint32_t(index * layout::kModeNameSlot), slot);
    modeCounts[size_t(mode)] = std::min(index + 1, 0xFFFF);
}

void InstrumentCore::addOldLayoutRecord(const QByteArray& bytes, const QByteArray& name) {
    const int index = colorDiffCount;
    QByteArray record = bytes.left(layout::kOldRecordSize);
    record.append(QByteArray(layout::kOldRecordSize - int(record.size()), '\0'));
    QByteArray slot = name.left(layout::kOldNameSlot);
    slot.append(QByteArray(layout::kOldNameSlot - int(slot.size()), '\0'));
    memory.write(layout::kOldData + uint32_t(index * layout::kOldRecordSize), record);
    memory.write(layout::kOldNames + uint32_t(index * layout::kOldNameSlot), slot);
    colorDiffCount = std::min(index + 1, 0xFFFF);
}

void InstrumentCore::addSpectralRecord(int area, const QByteArray& bytes, const QByteArray& name) {
    const int index = spectralCounts[size_t(area)];
    QByteArray slot = name.left(layout::kSpectralNameSlot);
    slot.append(QByteArray(layout::kSpectralNameSlot - int(slot.size()), '\0'));
    memory.write(layout::kSpectralData[area] + uint32_t(index * layout::kSpectralRecordSize),
                 bytes);
    memory.write(layout::kSpectralNames[area] + uint32_t(index * layout::kSpectralNameSlot), slot);
    spectralCounts[size_t(area)] = std::min(index + 1, 0xFFFF);
}

} // namespace sim
