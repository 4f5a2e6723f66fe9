#pragma once

#include "hidtransport.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

class BoundedWriter;

struct hid_device_;

// HidTransport over hidapi (hidraw backend on Linux, hidapi's native backend elsewhere).
class HidapiTransport : public HidTransport {
  public:
    HidapiTransport();
    ~HidapiTransport() override;

    bool open(uint16_t vendorId, uint16_t productId) override;
    void close() override;
    bool isOpen() const override { return device_ != nullptr; }
    int writeReport(const uint8_t* report, int length, int timeoutMs) override;
    int readReport(uint8_t* buffer, int capacity, int timeoutMs) override;
    int waitForInput(int timeoutMs) override;
    bool isRemoved() override;

  private:
    // hidapi cannot wait for input without reading it, cannot cut a read short, and must not be
    // used by two threads at once. So a wait reads into lookahead_ in slices this short, holding
    // io_, and a read or write waits at most one slice for it.
    static constexpr int kWaitSliceMs = 3;
    // How long a read waits for the device at least: beyond a wait's slice, only a stalled write
    // holds it.
    static constexpr int kDeviceBusyMs = 20;

    hid_device_* device_ = nullptr;
    // Held for every hidapi call on the device; shared with the writer's thread.
    std::shared_ptr<std::timed_mutex> io_ = std::make_shared<std::timed_mutex>();
    std::vector<uint8_t> lookahead_ = std::vector<uint8_t>(1024); // a report a wait took out
    int lookaheadLength_ = 0;
    std::unique_ptr<BoundedWriter> writer_; // hid_write has no time-out of its own
    std::string path_;
    uint16_t vendorId_ = 0;
    uint16_t productId_ = 0;
};
