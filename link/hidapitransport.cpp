#include "hidapitransport.h"

#include <hidapi.h>

#include <QDebug>

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
    vendorId_ = vendorId;
    productId_ = productId;
    return device_ != nullptr;
}

void HidapiTransport::close() {
    if (device_) {
        hid_close(device_);
        device_ = nullptr;
    }
}

int HidapiTransport::writeReport(const uint8_t* report, int length, int /*timeoutMs*/) {
    // Interrupt OUT writes on hidraw complete or fail at once; hidapi offers no write time-out.
    if (!device_)
        return -1;
    return hid_write(device_, report, static_cast<size_t>(length));
}

int HidapiTransport::readReport(uint8_t* buffer, int capacity, int timeoutMs) {
    if (!device_)
        return -1;
    return hid_read_timeout(device_, buffer, static_cast<size_t>(capacity), timeoutMs);
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
