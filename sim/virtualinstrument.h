#pragma once

#include "hidtransport.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

namespace sim {

// Measured values as the instrument scales them on the wire.
struct Measurement {
    uint16_t haze = 0, transmittance = 0;    // hundredths of %
    int16_t lStar = 0, aStar = 0, bStar = 0; // hundredths
    uint16_t lchL = 0, lchC = 0, lchH = 0;   // hundredths, hundredths, tenths of a degree
    uint16_t yTristimulus = 0, xChromaticity = 0, yChromaticity = 0; // hundredths, 1e-4, 1e-4
    uint8_t red = 0, green = 0, blue = 0;
};

// A consistent measurement from haze and T (%) and L*a*b*: LCh, Yxy (D65/2°) and the display
// colour are derived, so that every block the instrument sends agrees with itself.
Measurement measurementFromLab(double hazePercent, double transmittancePercent, double lStar,
                               double aStar, double bStar);

struct Tolerance {
    uint16_t haze = 0, transmittance = 0, threshold = 0; // x100, x100, x10
};
struct DeltaEParam {
    uint8_t formula = 0;
    uint16_t threshold = 0; // x10
};
struct StdColorCard {
    QByteArray text1, text2;
    uint16_t value1 = 0, value2 = 0;
};
// The standard colour library as the instrument received it.
struct StdColorLibrary {
    int count = -1;                // -1 until a card count arrives
    QMap<int, StdColorCard> cards; // by card index
    QByteArray data;               // the raw block stream as it arrived, from 0x40000
    bool closed = false;           // the empty packet arrived
    bool accepted = false;         // ... and the library was consistent
};
enum class Latency { None, UsbFullSpeed }; // UsbFullSpeed: 1 ms per report in each direction

// Record bytes as the instrument stores them, for addModeRecord / addOldLayoutRecord.
QByteArray modeRecordBytes(int mode, const Measurement& standard, const Measurement& sample);
QByteArray oldLayoutRecordBytes(const Measurement& standard, const Measurement& sample);

class InstrumentCore;

// A software stand-in for the instrument: it answers request frames written through the
// transports it hands out, pushes measurements, keeps record memory and can misbehave on
// demand. Every public member may be called from any thread.
class VirtualInstrument {
  public:
    static constexpr uint16_t kVendorId = 0x2047;
    static constexpr uint16_t kProductId = 0x0301;

    VirtualInstrument();
    ~VirtualInstrument();
    VirtualInstrument(const VirtualInstrument&) = delete;
    VirtualInstrument& operator=(const VirtualInstrument&) = delete;

    static std::shared_ptr<VirtualInstrument>
    fromPreset(const QString& model); // nullptr if unknown
    static QStringList presetModels();

    // A host-side handle onto this instrument; it may outlive the instrument object.
    std::unique_ptr<HidTransport> createTransport();

    // identity
    void setMeterNumber(uint32_t);
    uint32_t meterNumber() const;
    void setSerialNumber(uint32_t);
    uint32_t serialNumber() const;
    void setProductionDate(int year, int month, int day);
    void setFirmwareVersion(int hundredths);
    int firmwareVersion() const;
    void setKeyInfoSupported(bool); // false: ReadKeyInfo is answered with the A0 04 error reply
    void setModelName(const QString&);
    QString modelName() const; // decides the push format together with the firmware
    // User-interface kind 0..3 of the model; chooses the spectral area that fillRecords uses.
    void setUiIndex(int);
    int uiIndex() const;
    bool usesOldLayout() const;

    // settings
    void setDisplayMode(int);
    int displayMode() const;
    void setTolerance(Tolerance);
    Tolerance tolerance() const;
    void setDeltaEParam(DeltaEParam);
    DeltaEParam deltaEParam() const;

    // measurement
    void setMeasurement(const Measurement&);
    Measurement measurement() const;
    void setSpectrum(const std::array<uint16_t, 31>&);
    std::array<uint16_t, 31> spectrum() const;
    void pushMeasurement(); // as if measured with the instrument's keys
    // The measurements reported from now on, in order (pulled or pushed); the last one stays.
    void setReadings(const QList<Measurement>& readings);

    // memory and records
    void writeMemory(uint32_t address, const QByteArray& bytes);
    QByteArray readMemory(uint32_t address, int length) const; // zeros where nothing was written
    void addModeRecord(int mode, const QByteArray& recordBytes, const QByteArray& name);
    void addOldLayoutRecord(const QByteArray& twelveBytes, const QByteArray& name);
    void addSpectralRecord(int uiIndex, const std::array<int16_t, 31>& values,
                           const QByteArray& name);
    void setModeRecordCount(int mode, int count);
    int modeRecordCount(int mode) const;
    void setColorDiffRecordCount(int);
    int colorDiffRecordCount() const;
    void setSpectralRecordCount(int uiIndex, int);
    int spectralRecordCount(int uiIndex) const;
    // Replaces the records of every area with n plausible ones: the seven mode areas, the
    // spectral area of this model's user-interface index and, for old-layout instruments, the
    // old-layout area.
    void fillRecords(int n);

    // the standard colour library as received
    StdColorLibrary library() const;

    // plugging
    void unplug();
    void plug();
    bool isPlugged() const;
    void setPlugListener(std::function<void(bool plugged)>); // called on plug()/unplug()

    // faults on demand
    void dropNextReports(int n);              // the next n reports the instrument sends are lost
    void corruptNextFrameChecksum();          // the next frame sent carries a wrong frame CRC
    void corruptNextBlockChecksum();          // the next reply with a block CRC carries a wrong one
    void setReplyDelay(int ms);               // replies become readable only after ms
    void setSilent(bool);                     // frames are taken in and logged but not acted on
    void injectStrayBytes(const QByteArray&); // sent ahead of the next frame, as their own reports
    void splitNextPush(int parts);            // next push in that many reports, 80 ms apart
    void setLatency(Latency);
    void unplugAfterFrames(int n); // the cable goes once n more whole frames have arrived

    // observation for tests
    QList<QByteArray> receivedFrames() const; // every whole request frame with a good CRC, in order
    void clearReceivedFrames();
    int reportsSent() const;     // reports the instrument put on the wire, lost ones included
    int reportsReceived() const; // reports written by the host

  private:
    std::shared_ptr<InstrumentCore> core_;
};

} // namespace sim
