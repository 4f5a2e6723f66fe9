#include "records.h"

#include "bytereader.h"
#include "instrumentkind.h"
#include "measurementcommands.h"

#include <algorithm>

namespace records {

ModeArea modeArea(int mode) {
    static const int sizes[7] = {8, 4, 4, 12, 24, 24, 20};
    mode = std::clamp(mode, 0, 6);
    const uint32_t data = 0x400000u + 0x80000u * static_cast<uint32_t>(mode);
    return {data, data + 0x40000u, sizes[mode]};
}

uint32_t spectralValues(int uiIndex) {
    return isColorimeter(uiIndex) ? 0x140000u : 0x20000u;
}

uint32_t spectralNames(int uiIndex) {
    return isColorimeter(uiIndex) ? 0x141900u : 0x21900u;
}

int chunkCount(int length) {
    return length <= 0 ? 0 : (length + kChunk - 1) / kChunk;
}

CommandStatus readArea(FramePort& port, uint32_t start, int length, QByteArray& out,
                       const std::function<void(int)>& progress,
                       const std::function<bool()>& stop) {
    const int chunks = chunkCount(length);
    for (int i = 0; i < chunks; ++i) {
        if (stop && stop())
            break;
        const int size = std::min(kChunk, length - kChunk * i);
        const CommandStatus status = ReadMemory(port, start + static_cast<uint32_t>(kChunk * i),
                                                static_cast<uint16_t>(size), out);
        if (status < 0)
            return status;
        if (progress)
            progress(i);
    }
    return Status::Success;
}

QByteArray slotText(const QByteArray& names, int index, int slotSize, int width) {
    const QByteArray slot = names.mid(static_cast<qsizetype>(index) * slotSize, width);
    const auto zero = slot.indexOf('\0');
    return zero < 0 ? slot : slot.left(zero);
}

namespace {

// Reads the words of one record in order: s = signed, u = unsigned, each with its divisor.
class RecordCursor {
  public:
    RecordCursor(const QByteArray& bytes, int offset) : reader_(bytes), at_(offset) {}
    double s(double scale) { return reader_.s16(next()) / scale; }
    double u(double scale) { return reader_.u16(next()) / scale; }
    bool ok() const { return reader_.ok(); }

  private:
    int next() {
        const int here = at_;
        at_ += 2;
        return here;
    }
    ByteReader reader_;
    int at_;
};

void readLab(RecordCursor& c, Values& v) {
    v.lStar = c.s(100);
    v.aStar = c.s(100);
    v.bStar = c.s(100);
}

void readSide(int mode, RecordCursor& c, Values& v) {
    switch (mode) {
    case 0:
        v.haze = c.u(100);
        v.transmittance = c.u(100);
        break;
    case 1:
        v.haze = c.u(100);
        break;
    case 2:
        v.transmittance = c.u(100);
        break;
    case 3:
        readLab(c, v);
        break;
    case 4:
        readLab(c, v);
        v.lchL = c.u(100);
        v.lchC = c.u(100);
        v.lchH = c.u(10);
        break;
    case 5:
        readLab(c, v);
        v.yTristimulus = c.u(100);
        v.xChromaticity = c.u(10000);
        v.yChromaticity = c.u(10000);
        break;
    case 6:
        readLab(c, v);
        v.haze = c.u(100);
        v.transmittance = c.u(100);
        break;
    default:
        break;
    }
}

} // namespace

namespace {

// The records of an area packed back to back, each named from its slot: read(cursor, record)
// fills one record; a record the bytes do not hold whole ends the list.
template <class Record, class Read>
QVector<Record> decodeEach(const QByteArray& data, const QByteArray& names, int count,
                           int recordSize, int slotSize, int nameWidth, Read read) {
    QVector<Record> out;
    count = std::max(0, count);
    out.reserve(std::min<qsizetype>(count, data.size() / recordSize));
    for (int k = 0; k < count; ++k) {
        Record record;
        RecordCursor cursor(data, k * recordSize);
        read(cursor, record);
        if (!cursor.ok())
            break;
        record.name = slotText(names, k, slotSize, nameWidth);
        out.append(record);
    }
    return out;
}

} // namespace

QVector<Comparison> decodeModeRecords(int mode, const QByteArray& data, const QByteArray& names,
                                      int count) {
    if (mode < 0 || mode > 6)
        return {};
    return decodeEach<Comparison>(data, names, count, modeArea(mode).recordSize, kNameSlot,
                                  kNameLength, [mode](RecordCursor& c, Comparison& r) {
                                      readSide(mode, c, r.standard);
                                      readSide(mode, c, r.sample);
                                  });
}

QVector<Comparison> decodeOldLayoutRecords(const QByteArray& data, const QByteArray& names,
                                           int count) {
    return decodeEach<Comparison>(data, names, count, kOldLayoutRecord, kOldLayoutNameSlot,
                                  kOldLayoutNameSlot, [](RecordCursor& c, Comparison& r) {
                                      readLab(c, r.standard);
                                      readLab(c, r.sample);
                                  });
}

QVector<Spectrum> decodeSpectra(const QByteArray& values, const QByteArray& names, int count) {
    return decodeEach<Spectrum>(values, names, count, kSpectralRecord, kSpectralNameSlot,
                                kSpectralNameSlot, [](RecordCursor& c, Spectrum& r) {
                                    for (double& v : r.values)
                                        v = c.s(100);
                                });
}

} // namespace records
