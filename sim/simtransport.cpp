#include "simtransport.h"

#include "instrumentcore.h"

#include <algorithm>
#include <cstring>
#include <thread>

namespace sim {

namespace {
constexpr auto kReportTime = std::chrono::milliseconds(1); // one USB full-speed frame
}

SimTransport::SimTransport(std::shared_ptr<InstrumentCore> core) : core_(std::move(core)) {}

SimTransport::~SimTransport() {
    close();
}

bool SimTransport::attached() const {
    return open_ && core_->plugged && generation_ == core_->generation;
}

bool SimTransport::open(uint16_t vendorId, uint16_t productId) {
    std::lock_guard<std::mutex> lock(core_->mutex);
    if (vendorId != VirtualInstrument::kVendorId || productId != VirtualInstrument::kProductId ||
        !core_->plugged)
        return false;
    if (attached())
        return true;
    // A fresh handle sees only what the instrument sends from now on.
    if (core_->openHandles == 0)
        core_->outbox.clear();
    ++core_->openHandles;
    open_ = true;
    generation_ = core_->generation;
    return true;
}

void SimTransport::close() {
    std::lock_guard<std::mutex> lock(core_->mutex);
    if (attached() && --core_->openHandles == 0)
        core_->outbox.clear();
    open_ = false;
    core_->outboxChanged.notify_all(); // a read blocked on this handle gives up
}

bool SimTransport::isOpen() const {
    std::lock_guard<std::mutex> lock(core_->mutex);
    return open_;
}

bool SimTransport::isRemoved() {
    std::lock_guard<std::mutex> lock(core_->mutex);
    if (!core_->plugged)
        return true;
    return open_ && generation_ != core_->generation;
}

int SimTransport::writeReport(const uint8_t* report, int length, int /*timeoutMs*/) {
    if (!report || length <= 0)
        return -1;
    bool slow = false;
    {
        std::lock_guard<std::mutex> lock(core_->mutex);
        slow = core_->latency == Latency::UsbFullSpeed;
    }
    if (slow)
        std::this_thread::sleep_for(kReportTime);
    std::function<void(bool)> listener;
    {
        std::lock_guard<std::mutex> lock(core_->mutex);
        if (!attached())
            return -1;
        core_->takeReport(report, length);
        if (core_->unplugNoticeDue) {
            core_->unplugNoticeDue = false;
            listener = core_->plugListener;
        }
    }
    // Told outside the lock, as unplug() does.
    if (listener)
        listener(false);
    return length;
}

Clock::time_point SimTransport::firstReadyAt() const {
    auto readyAt = core_->outbox.front().readyAt;
    if (core_->latency == Latency::UsbFullSpeed)
        readyAt = std::max(readyAt, core_->lastDelivery + kReportTime);
    return readyAt;
}

int SimTransport::readReport(uint8_t* buffer, int capacity, int timeoutMs) {
    if (!buffer || capacity <= 0)
        return -1;
    std::unique_lock<std::mutex> lock(core_->mutex);
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    for (;;) {
        if (!attached())
            return -1;
        const auto now = Clock::now();
        bool haveWake = timeoutMs >= 0;
        auto wakeAt = deadline;
        if (!core_->outbox.empty()) {
            const auto readyAt = firstReadyAt();
            if (readyAt <= now) {
                const OutgoingReport r = core_->outbox.front();
                core_->outbox.pop_front();
                core_->lastDelivery = now;
                const int n = std::min<int>(capacity, int(r.bytes.size()));
                std::memcpy(buffer, r.bytes.data(), size_t(n));
                return n;
            }
            if (!haveWake || readyAt < wakeAt)
                wakeAt = readyAt;
            haveWake = true;
        }
        if (timeoutMs >= 0 && now >= deadline)
            return 0;
        if (haveWake)
            core_->outboxChanged.wait_until(lock, wakeAt);
        else
            core_->outboxChanged.wait(lock);
    }
}

int SimTransport::waitForInput(int timeoutMs) {
    std::unique_lock<std::mutex> lock(core_->mutex);
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    for (;;) {
        if (!attached())
            return -1;
        const auto now = Clock::now();
        auto wakeAt = deadline;
        if (!core_->outbox.empty()) {
            const auto readyAt = firstReadyAt();
            if (readyAt <= now)
                return 1;
            wakeAt = std::min(wakeAt, readyAt);
        }
        if (now >= deadline)
            return 0;
        core_->outboxChanged.wait_until(lock, wakeAt);
    }
}

} // namespace sim
