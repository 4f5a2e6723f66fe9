#include "frameport.h"

#include "checksum16.h"
#include "delay.h"
#include "hidapitransport.h"

#include <algorithm>
#include <mutex>

FramePort::~FramePort() = default;

void FramePort::delayMs(int ms) {
    ::delayMs(ms);
}

uint16_t FramePort::checksum16(const QByteArray& bytes, int count) {
    count = std::clamp(count, 0, static_cast<int>(bytes.size()));
    return ::checksum16(bytes.constData(), count);
}

LinkFramePort::LinkFramePort()
    : factory_([] { return std::make_unique<HidapiTransport>(); }), delay_(::delayMs) {}

LinkFramePort::~LinkFramePort() {
    closeLink();
}

void LinkFramePort::setTransportFactory(TransportFactory factory) {
    factory_ = std::move(factory);
}

void LinkFramePort::setDelayFunction(std::function<void(int)> delay) {
    delay_ = delay ? std::move(delay) : std::function<void(int)>(::delayMs);
}

bool LinkFramePort::openLink() {
    auto link = std::make_unique<CLinkerUSB>(factory_());
    if (link->openDevice(kVendorId, kProductId) != 0)
        return false;
    setLink(std::move(link));
    return true;
}

void LinkFramePort::closeLink() {
    std::unique_lock<std::shared_mutex> locker(linkLock_);
    if (link_) {
        link_->close();
        link_.reset();
    }
}

bool LinkFramePort::isLinkRemoved() {
    std::shared_lock<std::shared_mutex> locker(linkLock_);
    return link_ && link_->isRemoved();
}

void LinkFramePort::setLink(std::unique_ptr<CLinker> link) {
    std::unique_lock<std::shared_mutex> locker(linkLock_);
    if (link_)
        link_->close();
    link_ = std::move(link);
}

bool LinkFramePort::hasLink() const {
    std::shared_lock<std::shared_mutex> locker(linkLock_);
    return link_ != nullptr;
}

bool LinkFramePort::isLinkOpen() const {
    std::shared_lock<std::shared_mutex> locker(linkLock_);
    return link_ && link_->isOpen();
}

int LinkFramePort::sendFrame(QByteArray& frame, int timeoutMs) {
    std::shared_lock<std::shared_mutex> locker(linkLock_);
    if (!link_ || !link_->isOpen())
        return -1;
    const uint16_t crc = checksum16(frame, static_cast<int>(frame.size()));
    frame.append(static_cast<char>(crc & 0xFF));
    frame.append(static_cast<char>(crc >> 8));
    return link_->write(frame, timeoutMs);
}

int LinkFramePort::receiveFrame(QByteArray& out, int deadlineMs, int expectedLength, bool verify) {
    return receiveReply(out, deadlineMs, expectedLength, verify, {});
}

void LinkFramePort::discardPending() {
    std::shared_lock<std::shared_mutex> locker(linkLock_);
    if (link_ && link_->isOpen())
        link_->discardPending();
}

int LinkFramePort::waitForInput(int timeoutMs) {
    // Shared, like a read: closing the link waits for this wait to end.
    std::shared_lock<std::shared_mutex> locker(linkLock_);
    if (!link_ || !link_->isOpen())
        return -1;
    return link_->waitForInput(timeoutMs);
}

int LinkFramePort::receiveReply(QByteArray& out, int deadlineMs, int expectedLength, bool verify,
                                ErrorFrame error) {
    std::shared_lock<std::shared_mutex> locker(linkLock_);
    if (!link_)
        return -1;
    const int n = link_->readReply(out, deadlineMs, expectedLength, error);
    if (n <= 0 || !verify)
        return n;
    if (expectedLength < 2 || out.size() < expectedLength)
        return -1;
    const auto lo = static_cast<uint8_t>(out.at(expectedLength - 2));
    const auto hi = static_cast<uint8_t>(out.at(expectedLength - 1));
    const uint16_t received = static_cast<uint16_t>(lo | (hi << 8));
    if (received != checksum16(out, expectedLength - 2))
        return -1;
    return static_cast<int>(out.size());
}

void LinkFramePort::delayMs(int ms) {
    delay_(ms);
}
