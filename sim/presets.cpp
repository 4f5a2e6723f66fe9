#include "recordgenerator.h"
#include "virtualinstrument.h"

namespace sim {

namespace {

struct Preset {
    const char* model;
    uint32_t meterNumber;
    uint32_t serialNumber;
    int firmware;
    int uiIndex;
    int year, month, day;
    int displayMode;
    Tolerance tolerance;
    DeltaEParam deltaE;
    double haze, transmittance, lStar, aStar, bStar;
};

// User-interface kinds as the shipped model table gives them. Haze meters measure film in
// transmission; colorimeters measure surfaces in reflection and
// report no haze or T.
// clang-format off
const Preset kPresets[] = {
    // model   meter serial    fw   ui  production    mode tolerance       dE       haze  T      L      a      b
    {"KV510", 5100, 51002317, 210, 0, 2021, 3, 15,  0, {100, 100, 10}, {0, 10}, 2.35, 89.12, 95.1,  -0.3,  1.2},
    {"KV620", 6200, 62000458, 250, 1, 2017, 6, 2,   3, {100, 100, 10}, {0, 10}, 0,    0,     52.3,  12.4,  -8.7},
    {"KV630", 6300, 63000112, 410, 1, 2020, 11, 20, 3, {100, 100, 10}, {0, 10}, 0,    0,     63.85, -4.12, 22.6},
    {"KV650", 6500, 65000087, 320, 2, 2019, 9, 9,   3, {100, 100, 10}, {2, 15}, 0,    0,     41.2,  30.5,  18.3},
    {"KV660", 6600, 66000301, 420, 2, 2022, 2, 14,  3, {100, 100, 10}, {0, 10}, 0,    0,     78.4,  1.9,   5.6},
    {"KV670", 6700, 67000019, 106, 1, 2023, 5, 30,  3, {150, 200, 15}, {1, 15}, 0,    0,     47.3,  -21.6, 33.9},
};
// clang-format on

// The display modes whose records a model of this user-interface kind keeps.
QList<int> modesOfKind(int uiIndex) {
    switch (uiIndex) {
    case 0:
        return {0, 1, 2, 3, 4, 5, 6};
    case 3:
        return {0, 1, 2};
    default:
        return {3, 4, 5};
    }
}

} // namespace

QStringList VirtualInstrument::presetModels() {
    QStringList models;
    for (const Preset& p : kPresets)
        models << QString::fromLatin1(p.model);
    return models;
}

std::shared_ptr<VirtualInstrument> VirtualInstrument::fromPreset(const QString& model) {
    for (const Preset& p : kPresets) {
        if (model != QLatin1String(p.model))
            continue;
        auto instrument = std::make_shared<VirtualInstrument>();
        instrument->setModelName(model);
        instrument->setMeterNumber(p.meterNumber);
        instrument->setSerialNumber(p.serialNumber);
        instrument->setFirmwareVersion(p.firmware);
        instrument->setUiIndex(p.uiIndex);
        instrument->setProductionDate(p.year, p.month, p.day);
        instrument->setKeyInfoSupported(true);
        instrument->setDisplayMode(p.displayMode);
        instrument->setTolerance(p.tolerance);
        instrument->setDeltaEParam(p.deltaE);
        const Measurement m =
            measurementFromLab(p.haze, p.transmittance, p.lStar, p.aStar, p.bStar);
        instrument->setMeasurement(m);
        const bool transmission = p.uiIndex == 0 || p.uiIndex == 3;
        instrument->setSpectrum(spectrumFor(m, transmission));

        RecordGenerator generator(m, p.serialNumber);
        if (instrument->usesOldLayout()) {
            for (int i = 0; i < 12; ++i) {
                const auto pair = generator.nextPair();
                instrument->addOldLayoutRecord(oldLayoutRecordBytes(pair.first, pair.second),
                                               recordName(i));
            }
        } else {
            for (int mode : modesOfKind(p.uiIndex)) {
                const int count = 5 + 2 * mode; // 5 .. 17, different per area
                for (int i = 0; i < count; ++i) {
                    const auto pair = generator.nextPair();
                    instrument->addModeRecord(mode, modeRecordBytes(mode, pair.first, pair.second),
                                              recordName(i));
                }
            }
        }
        for (int i = 0; i < 4; ++i)
            instrument->addSpectralRecord(p.uiIndex, generator.nextSpectrum(transmission),
                                          recordName(i));
        return instrument;
    }
    return nullptr;
}

} // namespace sim
