#include "libhiddevice.h"

#include <algorithm>
#include <cstring>

libHidDevice::libHidDevice(std::unique_ptr<HidTransport> transport)
    : transport_(std::move(transport)), reportBuffer_(8192, 0) {}

libHidDevice::~libHidDevice() {
    close();
}

int libHidDevice::open(uint16_t vendorId, uint16_t productId) {
    close();
    if (!transport_ || !transport_->open(vendorId, productId))
        return -1;
    readWaitMs_ = writeWaitMs_ = kDefaultWaitMs;
    leftoverCount_ = 0;
    open_ = true;
    return 0;
}

int libHidDevice::close() {
    if (!open_)
        return NotOpen;
    open_ = false;
    leftoverCount_ = 0;
    if (!transport_ || !transport_->isOpen())
        return InvalidHandle;
    transport_->close();
    return Ok;
}

bool libHidDevice::isRemoved() {
    return !open_ || !transport_ || transport_->isRemoved();
}

int libHidDevice::write(const uint8_t* source, int count, int waitMs) {
    if (!open_)
        return 0;
    writeWaitMs_ = waitMs;
    if (count <= 0 || !source)
        return 0;

    const int reportLength = std::max(transport_->outputReportLength(), kMaxPayload + 2);
    std::vector<uint8_t> report(static_cast<size_t>(reportLength));
    int sent = 0;
    while (sent < count) {
        const int chunk = std::min(kMaxPayload, count - sent);
        std::fill(report.begin(), report.end(), 0);
        report[0] = kReportId;
        report[1] = static_cast<uint8_t>(chunk);
        std::memcpy(report.data() + 2, source + sent, static_cast<size_t>(chunk));
        if (transport_->writeReport(report.data(), reportLength, writeWaitMs_) < reportLength)
            break; // a report that did not go out whole stops the write
        sent += chunk;
    }
    return sent;
}

int libHidDevice::waitForInput(int waitMs) {
    if (!open_ || !transport_)
        return -1;
    if (leftoverCount() > 0)
        return 1;
    return transport_->waitForInput(waitMs);
}

int libHidDevice::read(uint8_t* destination, int count, int waitMs) {
    if (!open_)
        return 0;
    readWaitMs_ = waitMs;
    if (count <= 0 || !destination)
        return 0;

    uint8_t* buffer = reportBuffer_.data();
    const int leftover = leftoverCount();
    // Leftovers of the last report come first.
    if (count < leftover) {
        std::memcpy(destination, buffer, static_cast<size_t>(count));
        std::memmove(buffer, buffer + count, static_cast<size_t>(leftover - count));
        leftoverCount_ = leftover - count;
        return count;
    }
    int delivered = leftover;
    std::memcpy(destination, buffer, static_cast<size_t>(leftover));
    leftoverCount_ = 0;
    if (delivered == count)
        return count;

    const int reportLength = std::clamp(transport_->inputReportLength(), kMaxPayload + 2,
                                        static_cast<int>(reportBuffer_.size()));
    while (delivered < count) {
        const int got = transport_->readReport(buffer, reportLength, readWaitMs_);
        if (got < 0)
            return 0;
        if (got == 0) {
            // The wait expired: hand over what arrived, leftovers included, so that no byte
            // already taken out of the device is dropped.
            return delivered;
        }
        if (buffer[0] != kReportId || got < 2)
            continue;
        // Never trust the length byte beyond what the report actually carried.
        const int payload = std::min<int>({buffer[1], kMaxPayload, got - 2});
        if (payload <= 0)
            continue;
        const int wanted = count - delivered;
        if (payload > wanted) {
            std::memcpy(destination + delivered, buffer + 2, static_cast<size_t>(wanted));
            std::memmove(buffer, buffer + 2 + wanted, static_cast<size_t>(payload - wanted));
            leftoverCount_ = payload - wanted;
            return count;
        }
        std::memcpy(destination + delivered, buffer + 2, static_cast<size_t>(payload));
        delivered += payload;
    }
    return delivered;
}
