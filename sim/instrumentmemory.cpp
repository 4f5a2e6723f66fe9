#include "instrumentmemory.h"

#include <algorithm>
#include <cstring>

namespace sim {

void InstrumentMemory::write(uint32_t address, const QByteArray& bytes) {
    // 64-bit arithmetic so that a write near the top of the address space cannot wrap.
    uint64_t at = address;
    const uint64_t end = std::min<uint64_t>(at + uint64_t(bytes.size()), 0x100000000ULL);
    while (at < end) {
        const uint32_t page = uint32_t(at / kPageSize);
        const uint32_t offset = uint32_t(at % kPageSize);
        const uint64_t chunk = std::min<uint64_t>(kPageSize - offset, end - at);
        QByteArray& bytesOfPage = pages_[page];
        if (bytesOfPage.isEmpty())
            bytesOfPage = QByteArray(int(kPageSize), '\0');
        std::memcpy(bytesOfPage.data() + offset, bytes.constData() + (at - address), size_t(chunk));
        at += chunk;
    }
}

QByteArray InstrumentMemory::read(uint32_t address, int length) const {
    QByteArray out(std::max(length, 0), '\0');
    uint64_t at = address;
    const uint64_t end = std::min<uint64_t>(at + uint64_t(out.size()), 0x100000000ULL);
    while (at < end) {
        const uint32_t page = uint32_t(at / kPageSize);
        const uint32_t offset = uint32_t(at % kPageSize);
        const uint64_t chunk = std::min<uint64_t>(kPageSize - offset, end - at);
        const auto it = pages_.find(page);
        if (it != pages_.end())
            std::memcpy(out.data() + (at - address), it->second.constData() + offset,
                        size_t(chunk));
        at += chunk;
    }
    return out;
}

} // namespace sim
