#pragma once

#include "instrumentmemory.h"
#include "virtualinstrument.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>

namespace sim {

using Clock = std::chrono::steady_clock;

// Memory map of the instrument, as far as the host can see it.
namespace layout {
constexpr uint32_t kProductionInfo = 0x0000;
constexpr uint32_t kDisplayParam = 0x0300;
constexpr uint32_t kTolerance = 0x030F;
constexpr uint32_t kDeltaEParam = 0x0225;
constexpr uint32_t kModeCountBase = 0x1200; // + 4 x mode
constexpr uint32_t kLabCountAlt = 0x1600;   // colorimeters ask here for modes 3 and 4
constexpr uint32_t kLChCountAlt = 0x1604;
constexpr uint32_t kColorDiffCount = 0x3010;
constexpr uint32_t kSpectralCount[2] = {0x1020, 0x1410};
constexpr uint32_t kStdColorCount = 0x2F00;
constexpr uint32_t kStdColorCardBase = 0x2000;
constexpr uint32_t kStdColorCardStride = 48;
constexpr int kMaxStdColorCards = 64;
constexpr uint32_t kStdColorData = 0x40000;

constexpr uint32_t kModeDataBase = 0x400000;
constexpr uint32_t kModeAreaStride = 0x80000;
constexpr uint32_t kModeNameOffset = 0x40000;
constexpr int kModeNameSlot = 16;
constexpr int kModeRecordSize[7] = {8, 4, 4, 12, 24, 24, 20};

constexpr uint32_t kOldData = 0x10000;
constexpr uint32_t kOldNames = 0x20000;
constexpr int kOldRecordSize = 12;
constexpr int kOldNameSlot = 14;

// Spectral area 0 serves user-interface kinds 0 and 3, area 1 kinds 1 and 2.
constexpr uint32_t kSpectralData[2] = {0x20000, 0x140000};
constexpr uint32_t kSpectralNames[2] = {0x21900, 0x141900};
constexpr int kSpectralRecordSize = 62;
constexpr int kSpectralNameSlot = 16;
constexpr int kSpectralCapacity = 100; // what fits before the name area when read as 64 x n

inline int spectralArea(int uiIndex) {
    return (uiIndex == 1 || uiIndex == 2) ? 1 : 0;
}
inline uint32_t modeDataStart(int mode) {
    return kModeDataBase + kModeAreaStride * uint32_t(mode);
}
inline uint32_t modeNameStart(int mode) {
    return modeDataStart(mode) + kModeNameOffset;
}
} // namespace layout

struct OutgoingReport {
    std::array<uint8_t, 64> bytes{};
    Clock::time_point readyAt;
};

// Everything the instrument is and knows; shared by the instrument object and its transports.
// All members are guarded by mutex; the member functions expect it to be held.
class InstrumentCore {
  public:
    mutable std::mutex mutex;
    std::condition_variable outboxChanged;

    // identity
    uint32_t meterNumber = 0, serialNumber = 0;
    int year = 2020, month = 1, day = 1;
    int firmware = 100;
    bool keyInfoSupported = true;
    QString model;
    int uiIndex = 0;

    // settings and measurement
    int displayMode = 0;
    Tolerance tolerance;
    DeltaEParam deltaE;
    Measurement measurement;
    // Readings still to come, each taken as the measurement once the current one was reported.
    std::deque<Measurement> readings;
    void measurementReported() {
        if (readings.empty())
            return;
        measurement = readings.front();
        readings.pop_front();
    }
    std::array<uint16_t, 31> spectrum{};

    // memory and records
    InstrumentMemory memory;
    std::array<int, 7> modeCounts{};
    int colorDiffCount = 0;
    std::array<int, 2> spectralCounts{};
    StdColorLibrary library;
    bool libraryContiguous = true;

    // plugging: an unplug starts a new generation; handles of an older one stay dead
    bool plugged = true;
    int generation = 0;
    int openHandles = 0;
    std::function<void(bool)> plugListener;

    // faults
    int dropReports = 0;
    bool corruptFrame = false, corruptBlock = false;
    int replyDelayMs = 0;
    bool silent = false;
    QByteArray stray;
    int splitPushParts = 0;
    int unplugAfterFrames = 0;    // counts down whole frames taken in; at zero the cable goes
    bool unplugNoticeDue = false; // the plug listener is still to hear of that
    Latency latency = Latency::None;

    // wire
    QByteArray inbox;
    Clock::time_point inboxTouched;
    std::deque<OutgoingReport> outbox;
    Clock::time_point lastDelivery;
    QList<QByteArray> received;
    int reportsSent = 0, reportsReceived = 0;

    bool usesOldLayout() const;
    bool pushesModeBlock() const;

    // One output report from the host.
    void takeReport(const uint8_t* report, int length);
    void pushMeasurement();
    void unplugged();

    // records
    void addModeRecord(int mode, const QByteArray& bytes, const QByteArray& name);
    void addOldLayoutRecord(const QByteArray& bytes, const QByteArray& name);
    void addSpectralRecord(int area, const QByteArray& bytes, const QByteArray& name);

  private:
    void parseInbox();
    void execute(const QByteArray& frame);
    void query(uint16_t code, uint16_t length);
    void readMemoryFamily(uint8_t function, uint32_t address, uint16_t length);
    void writeParameter(uint32_t address, const QByteArray& data);
    void writeBlock(uint32_t address, const QByteArray& data);
    bool libraryConsistent(uint32_t closingAddress) const;

    QByteArray withBlockChecksum(QByteArray block);
    QByteArray colourBlock(bool legacy) const;
    QByteArray modeBlock(int mode) const;
    QByteArray countBlock(uint32_t address) const;
    void reply(QByteArray frame) { send(std::move(frame), replyDelayMs, 0); }
    // Appends the frame CRC and queues the frame as reports; parts > 0 spreads it out.
    void send(QByteArray frame, int delayMs, int parts);
    void queueReport(const QByteArray& payload, Clock::time_point readyAt);
};

} // namespace sim
