#pragma once

#include "commandstatus.h"

#include <QByteArray>
#include <QVector>

#include <array>
#include <cstdint>
#include <functional>

class FramePort;

// The record areas of the instrument's memory and their layouts. Reading an area is one
// routine (chunks, progress); decoding it is a pure function over the bytes read.
namespace records {

constexpr int kChunk = 256;

// One side (standard or sample) of a stored comparison; what a record does not carry is 0.
struct Values {
    double haze = 0, transmittance = 0;
    double lStar = 0, aStar = 0, bStar = 0;
    double lchL = 0, lchC = 0, lchH = 0;
    double yTristimulus = 0, xChromaticity = 0, yChromaticity = 0;
};

struct Comparison {
    QByteArray name; // raw 8-bit text, up to the first zero byte
    Values standard, sample;
};

struct Spectrum {
    QByteArray name;
    std::array<double, 31> values{}; // percent; stored signed, so slightly negative is possible
};

// Where the comparisons of display mode 0..6 lie, and how big each record is.
struct ModeArea {
    uint32_t data;
    uint32_t names;
    int recordSize;
};
ModeArea modeArea(int mode);
constexpr int kNameSlot = 16;   // bytes per name slot, current firmware
constexpr int kNameLength = 13; // of which the name may use these
constexpr uint32_t kOldLayoutData = 0x10000;
constexpr uint32_t kOldLayoutNames = 0x20000;
constexpr int kOldLayoutRecord = 12;
constexpr int kOldLayoutNameSlot = 14;
// Spectral areas by user-interface kind: 0 and 3 transmittance, 1 and 2 reflectance.
uint32_t spectralValues(int uiIndex);
uint32_t spectralNames(int uiIndex);
constexpr int kSpectralRequested = 64; // bytes requested per record
constexpr int kSpectralRecord = 62;    // bytes a record takes
constexpr int kSpectralNameSlot = 16;

// Number of 256-byte chunks for length bytes.
int chunkCount(int length);

// Reads length bytes from start in 256-byte chunks (the last one the remainder), appending to
// out. progress(i) is called after chunk i has arrived. Stops at the first failure, and between
// chunks when stop() says so (a success with fewer bytes than asked for).
CommandStatus readArea(FramePort& port, uint32_t start, int length, QByteArray& out,
                       const std::function<void(int chunk)>& progress = {},
                       const std::function<bool()>& stop = {});

// The text of a name slot: the first `width` bytes up to the first zero byte.
QByteArray slotText(const QByteArray& names, int index, int slotSize, int width);

// Decoders: a record missing from the bytes (short read) ends the list.
QVector<Comparison> decodeModeRecords(int mode, const QByteArray& data, const QByteArray& names,
                                      int count);
QVector<Comparison> decodeOldLayoutRecords(const QByteArray& data, const QByteArray& names,
                                           int count);
QVector<Spectrum> decodeSpectra(const QByteArray& values, const QByteArray& names, int count);

} // namespace records
