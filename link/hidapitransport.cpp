#include "hidapitransport.h"

#include "boundedwriter.h"

#include <hidapi.h>

#include <QDebug>

#include <algorithm>
#include <chrono>
#include <cstring>

namespace {
// hid_init is process-wide and reference-free; hid_exit is left to process end.
bool ensureHidInit() {
    static const bool ok = hid_init() == 0;
    return ok;
}
} // namespace

HidapiTransport::HidapiTransport() = default;

HidapiTransport::~HidapiTransport() {
    close();
}

bool HidapiTransport::open(uint16_t vendorId, uint16_t productId) {
    close();
    if (!ensureHidInit())
        return false;
    // The single attached instrument: the first interface with these ids.
    hid_device_info* list = hid_enumerate(vendorId, productId);
    if (list && list->path) {
        path_ = list->path;
        device_ = hid_open_path(list->path);
    }
    hid_free_enumeration(list);
    lookaheadLength_ = 0;
    if (device_) {
        // A fresh lock: a write stalled in an earlier handle may still hold the old one.
        io_ = std::make_shared<std::timed_mutex>();
        hid_device* device = device_;
        writer_ =
            std::make_unique<BoundedWriter>([device, io = io_](const uint8_t* report, int length) {
                const std::lock_guard<std::timed_mutex> guard(*io);
                return hid_write(device, report, static_cast<size_t>(length));
            });
    }
    vendorId_ = vendorId;
    productId_ = productId;
    return device_ != nullptr;
}

void HidapiTransport::close() {
    if (device_) {
        // A write still stalled in the device keeps the handle until it returns.
        hid_device* device = device_;
        device_ = nullptr;
        writer_->shutdown([device] { hid_close(device); });
        writer_.reset();
    }
}

int HidapiTransport::writeReport(const uint8_t* report, int length, int timeoutMs) {
    // hid_write blocks as long as the device does; the writer's thread bears that instead of
    // the caller, which gets 0 (time-out) once timeoutMs has passed.
    if (!device_)
        return -1;
    return writer_->write(report, length, timeoutMs);
}

int HidapiTransport::readReport(uint8_t* buffer, int capacity, int timeoutMs) {
    if (!device_ || !buffer || capacity <= 0)
        return -1;
    std::unique_lock<std::timed_mutex> io(*io_, std::defer_lock);
    if (timeoutMs < 0)
        io.lock();
    else if (!io.try_lock_for(std::chrono::milliseconds(std::max(timeoutMs, kDeviceBusyMs))))
        return 0; // a write stalled in the device: nothing can be read meanwhile
    if (lookaheadLength_ > 0) {
        const int n = std::min(capacity, lookaheadLength_);
        std::memcpy(buffer, lookahead_.data(), static_cast<size_t>(n));
        lookaheadLength_ = 0;
        return n;
    }
    return hid_read_timeout(device_, buffer, static_cast<size_t>(capacity), timeoutMs);
}

int HidapiTransport::waitForInput(int timeoutMs) {
    if (!device_)
        return -1;
    timeoutMs = std::max(timeoutMs, 0);
    std::unique_lock<std::timed_mutex> io(*io_, std::defer_lock);
    if (!io.try_lock_for(std::chrono::milliseconds(timeoutMs)))
        return 0;
    if (lookaheadLength_ > 0)
        return 1;
    const int n = hid_read_timeout(device_, lookahead_.data(), lookahead_.size(),
                                   std::min(timeoutMs, kWaitSliceMs));
    if (n < 0)
        return -1;
    lookaheadLength_ = n;
    return n > 0 ? 1 : 0;
}

bool HidapiTransport::isRemoved() {
    if (!device_)
        return true;
    // Asking the open handle is unreliable (hidapi caches its attributes), so look for our
    // interface among the present devices; the query is only asked on removal notifications.
    hid_device_info* list = hid_enumerate(vendorId_, productId_);
    bool present = false;
    for (hid_device_info* d = list; d; d = d->next)
        present = present || path_ == d->path;
    hid_free_enumeration(list);
    return !present;
}
