#pragma once

#include "commandstatus.h"

#include <QByteArray>

#include <cstdint>

class FramePort;

namespace frames {

constexpr uint8_t kStart = 0xAB;
constexpr uint8_t kQuery = 0x20;
constexpr uint8_t kReadMemory = 0x40;
constexpr uint8_t kReadMeasurement = 0x44;
constexpr uint8_t kWriteParameter = 0x70;
constexpr uint8_t kWriteBlock = 0x74;

constexpr int kWriteTimeoutMs = 1000;
constexpr int kDefaultDeadlineMs = 6000;

// A reply passes when reply[byteB] == x or reply[byteY] == y; either alone is enough.
struct HeaderTest {
    int byteB = -1; // -1: no header test
    uint8_t x = 0;
    int byteY = 6;
    uint8_t y = 0;
};

// CRC-16 over reply bytes from..to (inclusive), stored little-endian at `at`.
struct BlockCheck {
    int from = -1; // -1: no block checksum
    int to = -1;
    int at = -1;
};

// Fixed constants of one command: what to send, what to expect, how to judge the reply.
struct CommandSpec {
    uint8_t function = 0;
    uint32_t address = 0; // query code for function 0x20
    uint16_t length = 0;  // the request's length field n
    int minSent = 0;      // smallest sendFrame result accepted
    int replyLength = 0;
    int deadlineMs = kDefaultDeadlineMs;
    bool verify = true; // frame checksum checked by receiveFrame
    HeaderTest header;
    BlockCheck block;
    bool headerChecksumInRequest = false; // the stored request already ends with its CRC
    // The reply must repeat the request's function, address and length (memory family): bulk
    // reads whose data has no checksum of its own take no other reply for theirs.
    bool echoed = false;
    uint8_t errorByte1 = 0; // error reply recognised by bytes 1..2 (0: none)
    uint8_t errorByte2 = 0;
};

// A read of the memory family (0x40, 0x44): n data bytes come back in an (n + 10)-byte reply.
CommandSpec readCommand(uint8_t function, uint32_t address, uint16_t n, HeaderTest header,
                        BlockCheck block = {}, bool verify = true);
// A write of parameter data (0x70): n bytes go out, a 10-byte reply comes back.
CommandSpec writeCommand(uint32_t address, uint16_t n, HeaderTest header,
                         int deadlineMs = kDefaultDeadlineMs);

// Request header of the memory family: AB fn address(4) n(2), then data. No frame checksum:
// sendFrame appends it.
QByteArray memoryRequest(uint8_t function, uint32_t address, uint16_t length,
                         const QByteArray& data = {});
// Request of the query family: AB 20 code(2) replyLength(2).
QByteArray queryRequest(uint16_t code, uint16_t replyLength);
// The request bytes of a command with no data block.
QByteArray requestFor(const CommandSpec& spec);
// data followed by its CRC-16, low byte first: a parameter block as written.
QByteArray withChecksum(const QByteArray& data);

bool passesHeader(const QByteArray& reply, const HeaderTest& test);
bool blockChecksumOk(const QByteArray& reply, const BlockCheck& check);
bool echoesRequest(const QByteArray& reply, const CommandSpec& spec);
bool isErrorReply(const QByteArray& gathered, uint8_t byte1, uint8_t byte2);

// Judges what receiveFrame gave back (its result and the gathered bytes) against the command.
CommandStatus judgeReply(const CommandSpec& spec, int received, const QByteArray& reply);

// One full exchange: send, (pause), receive, judge. On success reply holds the reply frame.
CommandStatus exchange(FramePort& port, const CommandSpec& spec, QByteArray request,
                       QByteArray& reply, int pauseMs = 0);

} // namespace frames
