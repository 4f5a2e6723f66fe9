#pragma once

#include <QByteArray>

#include <cstdint>
#include <map>

namespace sim {

// The instrument's address space: sparse pages, zeros where nothing was written.
class InstrumentMemory {
  public:
    void write(uint32_t address, const QByteArray& bytes);
    QByteArray read(uint32_t address, int length) const;
    void clear() { pages_.clear(); }

  private:
    static constexpr uint32_t kPageSize = 4096;
    std::map<uint32_t, QByteArray> pages_; // by page number
};

} // namespace sim
