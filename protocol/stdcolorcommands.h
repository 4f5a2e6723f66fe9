#pragma once

#include "commandstatus.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

class FramePort;

// Replacing the instrument's standard colour library: count, one record per card, the text
// area as raw blocks, then the empty packet whose answer says whether the library was taken.
namespace stdcolor {
constexpr int kTextWidth = 16;
constexpr int kCardDataLength = 38;
// Card record bytes 0..35 as sent: both texts UTF-8 zero-padded to 16 bytes, then two words.
// A text longer than 16 bytes is cut at a character boundary so the record keeps its layout.
QByteArray cardData(const QString& text1, const QString& text2, int value1, int value2);
// The check value the caller must supply for a card or a count.
uint16_t cardCheckValue(const QString& text1, const QString& text2, int value1, int value2);
uint16_t countCheckValue(int count);
} // namespace stdcolor

// Nothing is sent (-4) when checkValue is not the CRC-16 of the two count bytes.
CommandStatus WriteStdColorCount(FramePort& port, int count, int checkValue);
// Nothing is sent (-4) when checkValue is not the CRC-16 of the 36 record bytes.
CommandStatus WriteStdColorCard(FramePort& port, int address, const QString& text1,
                                const QString& text2, int value1, int value2, int checkValue);
// n > 0: a data block, sent without awaiting an answer. n = 0: the closing empty packet, whose
// reply must carry function 0x74 and 0 in byte 6 (-3 otherwise, including the refusal F4 01).
CommandStatus WriteBlock(FramePort& port, uint32_t address, const QByteArray& data, int n);
