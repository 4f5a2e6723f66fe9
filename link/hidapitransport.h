#pragma once

#include "hidtransport.h"

#include <memory>
#include <string>

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
    bool isRemoved() override;

  private:
    hid_device_* device_ = nullptr;
    std::unique_ptr<BoundedWriter> writer_; // hid_write has no time-out of its own
    std::string path_;
    uint16_t vendorId_ = 0;
    uint16_t productId_ = 0;
};
