#pragma once

#include "hidtransport.h"

#include <chrono>
#include <memory>

namespace sim {

class InstrumentCore;

// The host's handle onto a virtual instrument. It keeps the instrument's state alive, so it
// may outlive the VirtualInstrument object that made it.
class SimTransport : public HidTransport {
  public:
    explicit SimTransport(std::shared_ptr<InstrumentCore> core);
    ~SimTransport() override;

    bool open(uint16_t vendorId, uint16_t productId) override;
    void close() override;
    bool isOpen() const override;
    int writeReport(const uint8_t* report, int length, int timeoutMs) override;
    int readReport(uint8_t* buffer, int capacity, int timeoutMs) override;
    int waitForInput(int timeoutMs) override;
    bool isRemoved() override;

  private:
    bool attached() const; // open on the instrument's current plug generation; core lock held
    // When the first report of the outbox may be read; the outbox is not empty; core lock held.
    std::chrono::steady_clock::time_point firstReadyAt() const;

    std::shared_ptr<InstrumentCore> core_;
    bool open_ = false; // guarded by the core's mutex, like generation_
    int generation_ = -1;
};

} // namespace sim
