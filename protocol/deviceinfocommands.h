#pragma once

#include "commandstatus.h"

#include <QDate>

#include <cstdint>

class FramePort;
class MessageSink;

// Identity of the instrument, from ReadKeyInfo or (older layout) ReadProductionInfo.
struct KeyInfo {
    uint8_t dataFlag = 0;
    QDate productionDate; // invalid when the instrument stores an impossible date
    uint32_t serialNumber = 0;
    uint32_t meterNumber = 0; // model code, looked up in the model table
    uint16_t extraWord = 0;
    uint16_t extraWord2 = 0; // ReadKeyInfo only
    uint8_t extraByte = 0;   // ReadProductionInfo only
    uint8_t extraByte2 = 0;  // ReadProductionInfo only
};

// Display modes: what the instrument measures and shows.
enum DisplayMode {
    DisplayHazeT = 0,
    DisplayHaze = 1,
    DisplayT = 2,
    DisplayLab = 3,
    DisplayLCh = 4,
    DisplayYxy = 5,
    DisplayHazeTLab = 6
};

// Out-parameters are written only on success. The caller holds the pause lock.
CommandStatus ReadKeyInfo(FramePort& port, KeyInfo& info);
// Reports its failures (other than the error reply) through the sink, in the instrument's texts.
CommandStatus ReadProductionInfo(FramePort& port, KeyInfo& info, MessageSink* sink = nullptr);
CommandStatus ReadSoftwareVersion(FramePort& port, int& version, MessageSink* sink = nullptr);
CommandStatus ReadDisplayParam(FramePort& port, int& mode);
CommandStatus SetDisplayParam(FramePort& port, int mode);
// Haze and T in hundredths of a percent, the colour-difference threshold in tenths.
CommandStatus ReadTolerance(FramePort& port, int& haze100, int& t100, int& threshold10);
CommandStatus SetTolerance(FramePort& port, int haze100, int t100, int threshold10);
CommandStatus ReadDeltaEParam(FramePort& port, int& formula, int& threshold10);
CommandStatus SetDeltaEParam(FramePort& port, int formula, int threshold10);
