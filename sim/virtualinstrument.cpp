#include "virtualinstrument.h"

#include "instrumentcore.h"
#include "recordgenerator.h"
#include "simtransport.h"

#include <algorithm>

namespace sim {

namespace {

template <class F> auto locked(InstrumentCore& core, F f) {
    std::lock_guard<std::mutex> lock(core.mutex);
    return f(core);
}

bool validMode(int mode) {
    return mode >= 0 && mode < 7;
}
uint16_t countValue(int n) {
    return uint16_t(std::clamp(n, 0, 0xFFFF));
}

} // namespace

VirtualInstrument::VirtualInstrument() : core_(std::make_shared<InstrumentCore>()) {
    core_->spectrum = spectrumFor(core_->measurement, true);
}

VirtualInstrument::~VirtualInstrument() = default;

std::unique_ptr<HidTransport> VirtualInstrument::createTransport() {
    return std::make_unique<SimTransport>(core_);
}

void VirtualInstrument::setMeterNumber(uint32_t v) {
    locked(*core_, [&](InstrumentCore& c) { c.meterNumber = v; });
}
uint32_t VirtualInstrument::meterNumber() const {
    return locked(*core_, [](InstrumentCore& c) { return c.meterNumber; });
}
void VirtualInstrument::setSerialNumber(uint32_t v) {
    locked(*core_, [&](InstrumentCore& c) { c.serialNumber = v; });
}
uint32_t VirtualInstrument::serialNumber() const {
    return locked(*core_, [](InstrumentCore& c) { return c.serialNumber; });
}
void VirtualInstrument::setProductionDate(int year, int month, int day) {
    locked(*core_, [&](InstrumentCore& c) {
        c.year = year;
        c.month = month;
        c.day = day;
    });
}
void VirtualInstrument::setFirmwareVersion(int hundredths) {
    locked(*core_, [&](InstrumentCore& c) { c.firmware = hundredths; });
}
int VirtualInstrument::firmwareVersion() const {
    return locked(*core_, [](InstrumentCore& c) { return c.firmware; });
}
void VirtualInstrument::setKeyInfoSupported(bool v) {
    locked(*core_, [&](InstrumentCore& c) { c.keyInfoSupported = v; });
}
void VirtualInstrument::setModelName(const QString& v) {
    locked(*core_, [&](InstrumentCore& c) { c.model = v; });
}
QString VirtualInstrument::modelName() const {
    return locked(*core_, [](InstrumentCore& c) { return c.model; });
}
void VirtualInstrument::setUiIndex(int v) {
    locked(*core_, [&](InstrumentCore& c) { c.uiIndex = v; });
}
int VirtualInstrument::uiIndex() const {
    return locked(*core_, [](InstrumentCore& c) { return c.uiIndex; });
}
bool VirtualInstrument::usesOldLayout() const {
    return locked(*core_, [](InstrumentCore& c) { return c.usesOldLayout(); });
}

void VirtualInstrument::setDisplayMode(int v) {
    locked(*core_, [&](InstrumentCore& c) { c.displayMode = v; });
}
int VirtualInstrument::displayMode() const {
    return locked(*core_, [](InstrumentCore& c) { return c.displayMode; });
}
void VirtualInstrument::setTolerance(Tolerance v) {
    locked(*core_, [&](InstrumentCore& c) { c.tolerance = v; });
}
Tolerance VirtualInstrument::tolerance() const {
    return locked(*core_, [](InstrumentCore& c) { return c.tolerance; });
}
void VirtualInstrument::setDeltaEParam(DeltaEParam v) {
    locked(*core_, [&](InstrumentCore& c) { c.deltaE = v; });
}
DeltaEParam VirtualInstrument::deltaEParam() const {
    return locked(*core_, [](InstrumentCore& c) { return c.deltaE; });
}

void VirtualInstrument::setMeasurement(const Measurement& v) {
    locked(*core_, [&](InstrumentCore& c) { c.measurement = v; });
}
void VirtualInstrument::setReadings(const QList<Measurement>& readings) {
    locked(*core_, [&](InstrumentCore& c) {
        c.readings.assign(readings.begin(), readings.end());
        c.measurementReported();
    });
}
Measurement VirtualInstrument::measurement() const {
    return locked(*core_, [](InstrumentCore& c) { return c.measurement; });
}
void VirtualInstrument::setSpectrum(const std::array<uint16_t, 31>& v) {
    locked(*core_, [&](InstrumentCore& c) { c.spectrum = v; });
}
std::array<uint16_t, 31> VirtualInstrument::spectrum() const {
    return locked(*core_, [](InstrumentCore& c) { return c.spectrum; });
}
void VirtualInstrument::pushMeasurement() {
    locked(*core_, [](InstrumentCore& c) { c.pushMeasurement(); });
}

void VirtualInstrument::writeMemory(uint32_t address, const QByteArray& bytes) {
    locked(*core_, [&](InstrumentCore& c) { c.memory.write(address, bytes); });
}
QByteArray VirtualInstrument::readMemory(uint32_t address, int length) const {
    return locked(*core_, [&](InstrumentCore& c) { return c.memory.read(address, length); });
}
void VirtualInstrument::addModeRecord(int mode, const QByteArray& recordBytes,
                                      const QByteArray& name) {
    if (validMode(mode))
        locked(*core_, [&](InstrumentCore& c) { c.addModeRecord(mode, recordBytes, name); });
}
void VirtualInstrument::addOldLayoutRecord(const QByteArray& twelveBytes, const QByteArray& name) {
    locked(*core_, [&](InstrumentCore& c) { c.addOldLayoutRecord(twelveBytes, name); });
}
void VirtualInstrument::addSpectralRecord(int uiIndex, const std::array<int16_t, 31>& values,
                                          const QByteArray& name) {
    QByteArray bytes;
    for (int16_t v : values) {
        bytes.append(char(uint16_t(v) & 0xFF));
        bytes.append(char(uint16_t(v) >> 8));
    }
    locked(*core_, [&](InstrumentCore& c) {
        c.addSpectralRecord(layout::spectralArea(uiIndex), bytes, name);
    });
}
void VirtualInstrument::setModeRecordCount(int mode, int count) {
    if (validMode(mode))
        locked(*core_, [&](InstrumentCore& c) { c.modeCounts[size_t(mode)] = countValue(count); });
}
int VirtualInstrument::modeRecordCount(int mode) const {
    if (!validMode(mode))
        return 0;
    return locked(*core_, [&](InstrumentCore& c) { return c.modeCounts[size_t(mode)]; });
}
void VirtualInstrument::setColorDiffRecordCount(int n) {
    locked(*core_, [&](InstrumentCore& c) { c.colorDiffCount = countValue(n); });
}
int VirtualInstrument::colorDiffRecordCount() const {
    return locked(*core_, [](InstrumentCore& c) { return c.colorDiffCount; });
}
void VirtualInstrument::setSpectralRecordCount(int uiIndex, int n) {
    locked(*core_, [&](InstrumentCore& c) {
        c.spectralCounts[size_t(layout::spectralArea(uiIndex))] = countValue(n);
    });
}
int VirtualInstrument::spectralRecordCount(int uiIndex) const {
    return locked(*core_, [&](InstrumentCore& c) {
        return c.spectralCounts[size_t(layout::spectralArea(uiIndex))];
    });
}

void VirtualInstrument::fillRecords(int n) {
    locked(*core_, [&](InstrumentCore& c) {
        RecordGenerator generator(c.measurement, 0x5EED0000u ^ c.serialNumber);
        // Bounded by the smallest area: the 24-byte records of 0x40000-byte data areas.
        const int records = std::clamp(n, 0, 10000);
        for (int mode = 0; mode < 7; ++mode) {
            c.modeCounts[size_t(mode)] = 0;
            for (int i = 0; i < records; ++i) {
                const auto pair = generator.nextPair();
                c.addModeRecord(mode, modeRecordBytes(mode, pair.first, pair.second),
                                recordName(i));
            }
        }
        const int area = layout::spectralArea(c.uiIndex);
        const bool oldLayout = c.usesOldLayout();
        if (oldLayout) {
            c.colorDiffCount = 0;
            // 12-byte records from 0x10000 must stay below the name area at 0x20000.
            for (int i = 0; i < std::min(records, 5000); ++i) {
                const auto pair = generator.nextPair();
                c.addOldLayoutRecord(oldLayoutRecordBytes(pair.first, pair.second), recordName(i));
            }
        }
        // The old-layout names share memory with spectral area 0.
        if (!(oldLayout && area == 0)) {
            c.spectralCounts[size_t(area)] = 0;
            for (int i = 0; i < std::min(records, layout::kSpectralCapacity); ++i) {
                const auto values = generator.nextSpectrum(area == 0);
                QByteArray bytes;
                for (int16_t v : values) {
                    bytes.append(char(uint16_t(v) & 0xFF));
                    bytes.append(char(uint16_t(v) >> 8));
                }
                c.addSpectralRecord(area, bytes, recordName(i));
            }
        }
    });
}

StdColorLibrary VirtualInstrument::library() const {
    return locked(*core_, [](InstrumentCore& c) { return c.library; });
}

void VirtualInstrument::unplug() {
    std::function<void(bool)> listener;
    {
        std::lock_guard<std::mutex> lock(core_->mutex);
        if (!core_->plugged)
            return;
        core_->unplugged();
        listener = core_->plugListener;
    }
    if (listener)
        listener(false);
}
void VirtualInstrument::plug() {
    std::function<void(bool)> listener;
    {
        std::lock_guard<std::mutex> lock(core_->mutex);
        if (core_->plugged)
            return;
        core_->plugged = true;
        listener = core_->plugListener;
    }
    if (listener)
        listener(true);
}
bool VirtualInstrument::isPlugged() const {
    return locked(*core_, [](InstrumentCore& c) { return c.plugged; });
}
void VirtualInstrument::setPlugListener(std::function<void(bool)> listener) {
    locked(*core_, [&](InstrumentCore& c) { c.plugListener = std::move(listener); });
}

void VirtualInstrument::dropNextReports(int n) {
    locked(*core_, [&](InstrumentCore& c) { c.dropReports = std::max(n, 0); });
}
void VirtualInstrument::corruptNextFrameChecksum() {
    locked(*core_, [](InstrumentCore& c) { c.corruptFrame = true; });
}
void VirtualInstrument::corruptNextBlockChecksum() {
    locked(*core_, [](InstrumentCore& c) { c.corruptBlock = true; });
}
void VirtualInstrument::setReplyDelay(int ms) {
    locked(*core_, [&](InstrumentCore& c) { c.replyDelayMs = std::max(ms, 0); });
}
void VirtualInstrument::setSilent(bool v) {
    locked(*core_, [&](InstrumentCore& c) { c.silent = v; });
}
void VirtualInstrument::injectStrayBytes(const QByteArray& bytes) {
    locked(*core_, [&](InstrumentCore& c) { c.stray.append(bytes); });
}
void VirtualInstrument::splitNextPush(int parts) {
    locked(*core_, [&](InstrumentCore& c) { c.splitPushParts = std::max(parts, 0); });
}
void VirtualInstrument::setLatency(Latency v) {
    locked(*core_, [&](InstrumentCore& c) { c.latency = v; });
}

void VirtualInstrument::unplugAfterFrames(int n) {
    locked(*core_, [n](InstrumentCore& c) { c.unplugAfterFrames = std::max(n, 0); });
}

QList<QByteArray> VirtualInstrument::receivedFrames() const {
    return locked(*core_, [](InstrumentCore& c) { return c.received; });
}
void VirtualInstrument::clearReceivedFrames() {
    locked(*core_, [](InstrumentCore& c) { c.received.clear(); });
}
int VirtualInstrument::reportsSent() const {
    return locked(*core_, [](InstrumentCore& c) { return c.reportsSent; });
}
int VirtualInstrument::reportsReceived() const {
    return locked(*core_, [](InstrumentCore& c) { return c.reportsReceived; });
}

} // namespace sim
