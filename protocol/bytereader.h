#pragma once

#include <QByteArray>

#include <cstdint>

// Little-endian field reader over a reply. Reading past the end yields 0 and clears ok(), so a
// short buffer can never be read beyond; decoders check ok() once at the end.
class ByteReader {
  public:
    explicit ByteReader(const QByteArray& bytes) : bytes_(bytes) {}

    bool has(int offset, int width) const {
        return offset >= 0 && width >= 0 && offset <= bytes_.size() - width;
    }
    uint8_t u8(int offset) {
        if (!has(offset, 1))
            return fail();
        return static_cast<uint8_t>(bytes_.at(offset));
    }
    uint16_t u16(int offset) {
        if (!has(offset, 2))
            return fail();
        return static_cast<uint16_t>(byte(offset) | (byte(offset + 1) << 8));
    }
    int16_t s16(int offset) { return static_cast<int16_t>(u16(offset)); }
    uint32_t u32(int offset) {
        if (!has(offset, 4))
            return fail();
        return static_cast<uint32_t>(byte(offset)) |
               (static_cast<uint32_t>(byte(offset + 1)) << 8) |
               (static_cast<uint32_t>(byte(offset + 2)) << 16) |
               (static_cast<uint32_t>(byte(offset + 3)) << 24);
    }
    QByteArray bytes(int offset, int width) {
        if (!has(offset, width)) {
            fail();
            return {};
        }
        return bytes_.mid(offset, width);
    }
    bool ok() const { return ok_; }

  private:
    uint32_t byte(int offset) const { return static_cast<uint8_t>(bytes_.at(offset)); }
    uint8_t fail() {
        ok_ = false;
        return 0;
    }

    const QByteArray& bytes_;
    bool ok_ = true;
};

// Little-endian appenders for building requests.
inline void appendU8(QByteArray& out, unsigned v) {
    out.append(static_cast<char>(v & 0xFF));
}
inline void appendU16(QByteArray& out, unsigned v) {
    appendU8(out, v);
    appendU8(out, v >> 8);
}
inline void appendU32(QByteArray& out, uint32_t v) {
    appendU16(out, v & 0xFFFF);
    appendU16(out, v >> 16);
}
