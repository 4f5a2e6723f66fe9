#pragma once

#include "hidtransport.h"

#include <atomic>
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
    // Waits up to waitMs until bytes can be read without waiting (HidTransport::waitForInput).
    // Safe beside a read or write on another thread; open and close must not run meanwhile.
    virtual int waitForInput(int waitMs);
    virtual bool isRemoved();

    bool isOpen() const { return open_; }
    int leftoverCount() const { return leftoverCount_.load(std::memory_order_relaxed); }

  private:
    enum Error { Ok = 0, NotOpen = 2, Busy = 3, TimedOut = 4, IoError = 5, InvalidHandle = 6 };

    std::unique_ptr<HidTransport> transport_;
    bool open_ = false;
    int readWaitMs_ = kDefaultWaitMs;
    int writeWaitMs_ = kDefaultWaitMs;
    std::vector<uint8_t> reportBuffer_;
    // Written by reads only; atomic because waitForInput looks at it from a poller's thread.
    std::atomic<int> leftoverCount_{0};
};
