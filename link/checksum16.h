#pragma once

#include <cstdint>

// CRC-16/MODBUS: reflected polynomial 0xA001 (0x8005), initial value 0xFFFF, input and output
// reflected, no final XOR. Sent low byte first. Check values: "123456789" -> 0x4B37,
// "abc" -> 0x5749; over data followed by its own CRC (low byte first) the result is 0.
uint16_t checksum16(const uint8_t* data, int count);
uint16_t checksum16(const char* data, int count);
