#pragma once

#include "hidtransport.h"

#include <cstdint>
#include <memory>
#include <vector>

// Moves byte streams through the instrument's HID reports: report id 0x3F, a length byte and
// up to 62 payload bytes. Nothing above this class knows that reports exist.
class libHidDevice {
  public:
    static constexpr uint8_t kReportId = 0x3F;
    static constexpr int kMaxPayload = 62;
    static constexpr int kDefaultWaitMs = 50;

    explicit libHidDevice(std::unique_ptr<HidTransport> transport);
    virtual ~libHidDevice();

    libHidDevice(const libHidDevice&) = delete;
    libHidDevice& operator=(const libHidDevice&) = delete;

    // 0 on success, -1 when no instrument with these ids can be opened.
    int open(uint16_t vendorId, uint16_t productId);

    virtual int close();
    // Delivers up to count bytes, waiting at most waitMs for each report. Returns bytes delivered.
    virtual int read(uint8_t* destination, int count, int waitMs);
    // Sends count bytes as reports. Returns the payload bytes of the reports completely written.
    virtual int write(const uint8_t* source, int count, int waitMs);
    virtual bool isRemoved();

    bool isOpen() const { return open_; }
    int leftoverCount() const { return leftoverCount_; }

  private:
    enum Error { Ok = 0, NotOpen = 2, Busy = 3, TimedOut = 4, IoError = 5, InvalidHandle = 6 };

    std::unique_ptr<HidTransport> transport_;
    bool open_ = false;
    int readWaitMs_ = kDefaultWaitMs;
    int writeWaitMs_ = kDefaultWaitMs;
    std::vector<uint8_t> reportBuffer_;
    int leftoverCount_ = 0;
};
