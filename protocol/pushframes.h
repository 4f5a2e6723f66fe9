#pragma once

#include "measurementcommands.h"

#include <QByteArray>
#include <QList>

// Picks the measurement frames the instrument sends on its own out of the background worker's
// byte stream. The stream arrives in arbitrary pieces, so a frame cut across two deliveries is
// kept until its rest arrives; bytes that cannot start a frame are dropped; the buffer is
// bounded.
class PushFrameScanner {
  public:
    enum class Kind {
        ColourBlock, // the 64-byte colour measurement block
        ModeResult,  // the 34-byte result block of one display mode (early haze-meter firmware)
        Legacy       // the 64-byte block of old-layout instruments
    };

    struct Measurement {
        Kind kind = Kind::ColourBlock;
        ColorMeasurementBlock colour;
        ModeResultBlock mode;
        LegacyMeasurement legacy;
    };

    // A piece of a frame older than this is stale: its rest was lost.
    static constexpr qint64 kStaleAfterMs = 1000;

    explicit PushFrameScanner(Kind kind = Kind::ColourBlock, int displayMode = 0);

    // What to look for; changing it drops what is buffered.
    void configure(Kind kind, int displayMode);
    Kind kind() const { return kind_; }

    // Appends bytes received at nowMs (any monotonic clock) and returns the measurements
    // completed by them, in order.
    QList<Measurement> feed(const QByteArray& bytes, qint64 nowMs);

    int buffered() const { return static_cast<int>(buffer_.size()); }
    void reset() { buffer_.clear(); }

  private:
    enum class Verdict { Frame, Incomplete, NotAFrame, OtherMode };
    Verdict judge(int frameLength) const;
    int frameLength() const;

    Kind kind_;
    int displayMode_;
    QByteArray buffer_;
    qint64 lastArrivalMs_ = 0;
};
