#pragma once

#include <cstdint>

// One HID interface seen report by report. The hidapi implementation talks to the real
// instrument; the virtual instrument implements the same interface from the device side.
// Reports include the report id as their first byte, as hidapi passes them.
class HidTransport {
  public:
    virtual ~HidTransport() = default;

    // Opens the single attached interface with these ids; false when there is none.
    virtual bool open(uint16_t vendorId, uint16_t productId) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // Writes one whole output report. Returns the bytes accepted, 0 on time-out, -1 on error.
    virtual int writeReport(const uint8_t* report, int length, int timeoutMs) = 0;
    // Reads one input report into buffer. Returns its length, 0 on time-out, -1 on error.
    virtual int readReport(uint8_t* buffer, int capacity, int timeoutMs) = 0;
    // Waits up to timeoutMs until an input report is waiting, without taking it out: 1 when one
    // is, 0 when none came (possibly before timeoutMs), -1 on error. It may run while another
    // thread reads or writes, so that a poller can wait without blocking their exchange. A
    // transport that cannot tell without reading answers 1 at once: read, with a wait, to see.
    virtual int waitForInput(int timeoutMs) {
        (void)timeoutMs;
        return 1;
    }
    // True when the device no longer answers (unplugged).
    virtual bool isRemoved() = 0;

    // Report lengths including the report id byte.
    virtual int inputReportLength() const { return 64; }
    virtual int outputReportLength() const { return 64; }
};
