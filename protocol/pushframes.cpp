#include "pushframes.h"

#include "checksum16.h"

namespace {
constexpr uint8_t kStart = 0xAB;
constexpr uint8_t kMeasurement = 0x44; // 'D'

uint8_t at(const QByteArray& b, int i) {
    return static_cast<uint8_t>(b.at(i));
}
} // namespace

PushFrameScanner::PushFrameScanner(Kind kind, int displayMode)
    : kind_(kind), displayMode_(displayMode) {}

void PushFrameScanner::configure(Kind kind, int displayMode) {
    if (kind != kind_ || displayMode != displayMode_)
        buffer_.clear();
    kind_ = kind;
    displayMode_ = displayMode;
}

int PushFrameScanner::frameLength() const {
    return kind_ == Kind::ModeResult ? 34 : 64;
}

// Judges the candidate frame at the front of the buffer (which starts with 0xAB).
PushFrameScanner::Verdict PushFrameScanner::judge(int length) const {
    const int have = static_cast<int>(buffer_.size());
    if (have >= 2 && at(buffer_, 1) != kMeasurement)
        return Verdict::NotAFrame;
    // Old-layout instruments mark their block with 0 in byte 2, the others with 0 in byte 3.
    const int zeroByte = kind_ == Kind::Legacy ? 2 : 3;
    if (have > zeroByte && at(buffer_, zeroByte) != 0)
        return Verdict::NotAFrame;
    const uint8_t lengthByte = kind_ == Kind::ModeResult ? 0x18 : 0x36;
    if (have > 6 && at(buffer_, 6) != lengthByte)
        return Verdict::NotAFrame;
    if (have < length)
        return Verdict::Incomplete;
    // The two blocks whose replies carry a checked frame checksum are checked here too, so a
    // frame glued together from a lost piece and a new frame is never taken as a measurement.
    if (kind_ != Kind::Legacy && checksum16(buffer_.constData(), length) != 0)
        return Verdict::NotAFrame;
    if (kind_ == Kind::ModeResult && at(buffer_, 2) != 0x20 + displayMode_)
        return Verdict::OtherMode;
    return Verdict::Frame;
}

QList<PushFrameScanner::Measurement> PushFrameScanner::feed(const QByteArray& bytes, qint64 nowMs) {
    QList<Measurement> out;
    if (!buffer_.isEmpty() && nowMs - lastArrivalMs_ > kStaleAfterMs)
        buffer_.clear();
    lastArrivalMs_ = nowMs;
    buffer_.append(bytes);

    const int length = frameLength();
    for (;;) {
        const auto start = buffer_.indexOf(static_cast<char>(kStart));
        if (start < 0) {
            buffer_.clear();
            break;
        }
        buffer_.remove(0, start);
        const Verdict verdict = judge(length);
        if (verdict == Verdict::Incomplete)
            break;
        if (verdict == Verdict::NotAFrame) {
            buffer_.remove(0, 1); // look for the next start byte
            continue;
        }
        if (verdict == Verdict::Frame) {
            Measurement m;
            m.kind = kind_;
            bool ok = false;
            switch (kind_) {
            case Kind::ColourBlock:
                ok = parseColorMeasurementBlock(buffer_, 0, m.colour);
                break;
            case Kind::ModeResult:
                ok = parseModeResultBlock(buffer_, 0, displayMode_, m.mode);
                break;
            case Kind::Legacy:
                ok = parseLegacyMeasurement(buffer_, 0, m.legacy);
                break;
            }
            if (ok)
                out.append(m);
        }
        buffer_.remove(0, length); // a frame, or a whole frame of another display mode
    }
    // What stays is the start of one frame, shorter than a frame: the buffer is bounded.
    return out;
}
