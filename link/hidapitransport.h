#pragma once

#include "hidtransport.h"

#include <string>

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
    std::string path_;
    uint16_t vendorId_ = 0;
    uint16_t productId_ = 0;
};
