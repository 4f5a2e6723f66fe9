#pragma once

#include "clinker.h"
#include "hidtransport.h"

#include <QByteArray>

#include <functional>
#include <memory>
#include <shared_mutex>

// What every instrument command talks through: send a request frame, receive a reply frame.
// Production code wires LinkFramePort; tests may wire their own.
class FramePort {
  public:
    virtual ~FramePort();

    virtual bool isLinkOpen() const = 0;
    // Appends the CRC-16 to frame (low byte first) and writes it. Returns bytes written or -1.
    virtual int sendFrame(QByteArray& frame, int timeoutMs) = 0;
    // Collects a reply into out. With verify set, checks the CRC ending at expectedLength and
    // returns -1 on mismatch. Returns the byte count, or 0 or less on failure.
    virtual int receiveFrame(QByteArray& out, int deadlineMs, int expectedLength, bool verify) = 0;
    // receiveFrame, but a command that knows an error frame gets it as soon as it is complete
    // rather than at the deadline (the frame is left in out, the result is 0).
    virtual int receiveReply(QByteArray& out, int deadlineMs, int expectedLength, bool verify,
                             ErrorFrame error) {
        Q_UNUSED(error)
        return receiveFrame(out, deadlineMs, expectedLength, verify);
    }
    // Before a request: drops whatever arrived since the last exchange (a late reply, stray
    // bytes), so that the reply read next can only be an answer to this request.
    virtual void discardPending() {}
    // For a poller that must not hold up the commands: waits up to timeoutMs until bytes can be
    // read without waiting, without reading them. 1 when they can, 0 when none came, -1 when
    // there is no link. A port that cannot tell answers 1: read to see.
    virtual int waitForInput(int timeoutMs) {
        Q_UNUSED(timeoutMs)
        return 1;
    }
    // Blocking pause used between a request and its reply on some instruments.
    virtual void delayMs(int ms);

    static uint16_t checksum16(const QByteArray& bytes, int count);
};

// The frame port over the one device link. Owns the link; the link pointer is replaced only on
// the user-interface thread, and a read-write lock keeps a worker's poll in progress from
// seeing the link released under it.
class LinkFramePort : public FramePort {
  public:
    static constexpr uint16_t kVendorId = 0x2047;
    static constexpr uint16_t kProductId = 0x0301;

    using TransportFactory = std::function<std::unique_ptr<HidTransport>()>;

    LinkFramePort();
    ~LinkFramePort() override;

    // Where new links get their HID transport from (hidapi unless set).
    void setTransportFactory(TransportFactory factory);
    // Replaces the pause used by delayMs (tests make it instant).
    void setDelayFunction(std::function<void(int)> delay);

    // Creates a link and opens the instrument; false (and no link kept) when that fails.
    bool openLink();
    // Closes and releases the link; waits for a read or write in progress to finish.
    void closeLink();
    // True when there is a link and the device behind it no longer answers.
    bool isLinkRemoved();

    // Takes an already built link (tests).
    void setLink(std::unique_ptr<CLinker> link);
    bool hasLink() const;

    bool isLinkOpen() const override;
    int sendFrame(QByteArray& frame, int timeoutMs) override;
    int receiveFrame(QByteArray& out, int deadlineMs, int expectedLength, bool verify) override;
    int receiveReply(QByteArray& out, int deadlineMs, int expectedLength, bool verify,
                     ErrorFrame error) override;
    void discardPending() override;
    int waitForInput(int timeoutMs) override;
    void delayMs(int ms) override;

  private:
    mutable std::shared_mutex linkLock_;
    std::unique_ptr<CLinker> link_;
    TransportFactory factory_;
    std::function<void(int)> delay_;
};
