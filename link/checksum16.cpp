#include "checksum16.h"

uint16_t checksum16(const uint8_t* data, int count) {
    uint16_t crc = 0xFFFF;
    for (int i = 0; i < count; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1u) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001u)
                             : static_cast<uint16_t>(crc >> 1);
    }
    return crc;
}

uint16_t checksum16(const char* data, int count) {
    return checksum16(reinterpret_cast<const uint8_t*>(data), count);
}
