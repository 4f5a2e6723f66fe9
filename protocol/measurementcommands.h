#pragma once

#include "commandstatus.h"

#include <QByteArray>
#include <QVector>

#include <array>
#include <cstdint>

class FramePort;

// Result of the six display-mode result commands (a 24-byte block). Quantities a mode does not
// carry stay 0. Scaled integers: haze, T, L*, a*, b*, C*, Y in hundredths; h in tenths; x, y in
// ten-thousandths.
struct ModeResultBlock {
    int red = 0, green = 0, blue = 0;
    int haze = 0, transmittance = 0;
    int lStar = 0, aStar = 0, bStar = 0;
    int lchLightness = 0, lchChroma = 0, lchHue = 0;
    int yTristimulus = 0, xChromaticity = 0, yChromaticity = 0;
};

// The full colour measurement block (54 data bytes).
struct ColorMeasurementBlock {
    int lStar = 0, aStar = 0, bStar = 0;
    int extraSigned[3] = {0, 0, 0}; // returned, not used
    int lchLightness = 0, lchChroma = 0, lchHue = 0;
    int yTristimulus = 0, xChromaticity = 0, yChromaticity = 0;
    int extraBytes[4] = {0, 0, 0, 0}; // returned, not used
    int red = 0, green = 0, blue = 0;
    int haze = 0, transmittance = 0;

    // The 21 integers in wire order: six signed words, six unsigned words, seven bytes, two words.
    QVector<int> toInts() const;
};

// What the legacy measurement command returns: L*, a*, b*, C* and h (both hundredths), R, G, B.
struct LegacyMeasurement {
    int lStar = 0, aStar = 0, bStar = 0;
    int chroma = 0, hue = 0;
    int red = 0, green = 0, blue = 0;
};

// Byte layouts of the measurement frames, also used for frames the instrument pushes.
// `offset` is where the frame's 0xAB start byte sits in `bytes`; false when too short.
bool parseModeResultBlock(const QByteArray& bytes, int offset, int mode, ModeResultBlock& out);
bool parseColorMeasurementBlock(const QByteArray& bytes, int offset, ColorMeasurementBlock& out);
bool parseLegacyMeasurement(const QByteArray& bytes, int offset, LegacyMeasurement& out);

// mode 0..5: Haze/T, Haze, T, Lab, LCh, Yxy. Any other mode is refused without sending (-1).
CommandStatus ReadModeResult(FramePort& port, int mode, ModeResultBlock& out);
CommandStatus ReadHazeTResult(FramePort& port, ModeResultBlock& out);
CommandStatus ReadHazeResult(FramePort& port, ModeResultBlock& out);
CommandStatus ReadTResult(FramePort& port, ModeResultBlock& out);
CommandStatus ReadLabResult(FramePort& port, ModeResultBlock& out);
CommandStatus ReadLChResult(FramePort& port, ModeResultBlock& out);
CommandStatus ReadYxyResult(FramePort& port, ModeResultBlock& out);
CommandStatus ReadColorMeasurement(FramePort& port, ColorMeasurementBlock& out);
// Waits 1500 ms between request and reply, as the old instruments need.
CommandStatus ReadMeasurementLegacy(FramePort& port, LegacyMeasurement& out);

// Record counts. mode 0..6 in display-mode order; uiIndex picks the colorimeter addresses.
CommandStatus ReadModeRecordCount(FramePort& port, int mode, int uiIndex, int& count);
CommandStatus ReadHazeTRecordCount(FramePort& port, int& count);
CommandStatus ReadHazeRecordCount(FramePort& port, int& count);
CommandStatus ReadTRecordCount(FramePort& port, int& count);
CommandStatus ReadLabRecordCount(FramePort& port, int uiIndex, int& count);
CommandStatus ReadLChRecordCount(FramePort& port, int uiIndex, int& count);
CommandStatus ReadYxyRecordCount(FramePort& port, int& count);
CommandStatus ReadHazeTLabRecordCount(FramePort& port, int& count);
CommandStatus ReadColorDiffRecordCount(FramePort& port, int& count);
// uiIndex 0..3 only; any other index is refused without sending (-1).
CommandStatus ReadSpectralRecordCount(FramePort& port, int uiIndex, int& count);

// Appends the n bytes stored at address to destination. No header test, no block checksum.
CommandStatus ReadMemory(FramePort& port, uint32_t address, uint16_t n, QByteArray& destination);

// The current spectrum: 31 values from 400 to 700 nm, hundredths of a percent.
CommandStatus ReadSpectralMeasurement(FramePort& port, std::array<int, 31>& values);
