// Arbitrary input reports through the report reader and the frame link: leftovers, foreign
// report ids and lying length bytes must never make them write or read out of bounds.
#include "clinker.h"
#include "frameport.h"
#include "hidtransport.h"
#include "libhiddevice.h"

#include <QtGlobal>
#include <algorithm>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

// Splits the fuzz input into reports: each begins with a length byte (0 = a time-out).
class ScriptTransport : public HidTransport {
  public:
    ScriptTransport(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool open(uint16_t, uint16_t) override { return (open_ = true); }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    int writeReport(const uint8_t*, int length, int) override { return length; }
    int readReport(uint8_t* buffer, int capacity, int) override {
        if (pos_ >= size_)
            return -1;
        const int declared = data_[pos_];
        ++pos_;
        const int len = std::min(declared, static_cast<int>(size_ - pos_));
        const int n = std::min(len, capacity);
        std::memcpy(buffer, data_ + pos_, static_cast<size_t>(n));
        pos_ += static_cast<size_t>(len);
        return n;
    }
    bool isRemoved() override { return false; }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    bool open_ = false;
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The link's diagnostic lines would drown the fuzzer's own output.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    // Leading byte: how many bytes each read asks for.
    const int ask = data[0] + 1;
    {
        libHidDevice dev(std::make_unique<ScriptTransport>(data + 1, size - 1));
        dev.open(0x2047, 0x0301);
        uint8_t buf[300];
        for (int i = 0; i < 64 && dev.read(buf, std::min(ask, 300), 1) > 0; ++i) {
        }
    }
    {
        auto link =
            std::make_unique<CLinkerUSB>(std::make_unique<ScriptTransport>(data + 1, size - 1));
        link->openDevice(0x2047, 0x0301);
        LinkFramePort port;
        port.setLink(std::move(link));
        QByteArray out;
        port.receiveFrame(out, 0, 142090, false);
        out.clear();
        port.receiveFrame(out, 1, ask, true);
    }
    return 0;
}
