#pragma once

#include "libhiddevice.h"

#include <QByteArray>
#include <QObject>

#include <memory>
#include <vector>

// The short frame an instrument may send instead of the reply asked for: the start byte, these
// two bytes and a CRC-16. byte1 0: the command has none.
struct ErrorFrame {
    uint8_t byte1 = 0;
    uint8_t byte2 = 0;
    static constexpr int kLength = 5;
};

// An abstract link that moves whole frames.
class CLinker : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;
    ~CLinker() override;

    virtual void close() {}
    // Appends what arrives to out. deadlineMs 0 is the single-poll mode of the background worker.
    virtual int read(QByteArray& out, int deadlineMs, int expectedLength) {
        Q_UNUSED(out)
        Q_UNUSED(deadlineMs)
        Q_UNUSED(expectedLength)
        return 0;
    }
    // read, but an error frame ends the wait as soon as it is complete (returning 0, the frame
    // left in out) instead of at the deadline.
    virtual int readReply(QByteArray& out, int deadlineMs, int expectedLength, ErrorFrame error) {
        Q_UNUSED(error)
        return read(out, deadlineMs, expectedLength);
    }
    // Reads away what is waiting without blocking (a late reply, stray bytes) and returns it.
    virtual QByteArray discardPending() { return {}; }
    // Waits up to timeoutMs until bytes can be read without waiting, without reading them: 1
    // when they can, 0 when none came, -1 on error. May run beside a read or write on another
    // thread. A link that cannot tell answers 1: read to see.
    virtual int waitForInput(int timeoutMs) {
        Q_UNUSED(timeoutMs)
        return 1;
    }
    virtual int write(const QByteArray& frame, int timeoutMs) {
        Q_UNUSED(frame)
        Q_UNUSED(timeoutMs)
        return 0;
    }
    virtual bool isOpen() const { return false; }
    virtual bool isRemoved() { return true; }
};

// The link over the instrument's HID interface. Gathers replies that span several reports and
// skips stray bytes ahead of a frame's start byte.
class CLinkerUSB : public CLinker {
    Q_OBJECT
  public:
    static constexpr uint8_t kStartByte = 0xAB;
    static constexpr int kReadBufferSize = 12800;
    static constexpr int kPollWaitMs = 50;

    explicit CLinkerUSB(std::unique_ptr<HidTransport> transport);
    ~CLinkerUSB() override;

    // 0 on success, 0xFF on failure.
    uint8_t openDevice(uint16_t vendorId, uint16_t productId);

    void close() override;
    int read(QByteArray& out, int deadlineMs, int expectedLength) override;
    int readReply(QByteArray& out, int deadlineMs, int expectedLength, ErrorFrame error) override;
    QByteArray discardPending() override;
    int waitForInput(int timeoutMs) override;
    int write(const QByteArray& frame, int timeoutMs) override;
    bool isOpen() const override;
    bool isRemoved() override;

  private:
    int pollOnce(QByteArray& out, int wanted);

    libHidDevice device_;
    std::vector<uint8_t> scratch_; // kept between calls: allocating 12.8 kB per poll buys nothing
};
