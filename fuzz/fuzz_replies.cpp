// Feeds arbitrary bytes to every command as the instrument's reply: no input may crash a
// command, read past the reply, or trip a sanitizer.
#include "deviceinfocommands.h"
#include "frameport.h"
#include "measurementcommands.h"
#include "messagesink.h"
#include "pushframes.h"
#include "stdcolorcommands.h"

#include <QtGlobal>

#include <cstddef>
#include <cstdint>

namespace {

class ReplayPort : public FramePort {
  public:
    ReplayPort(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool isLinkOpen() const override { return true; }
    int sendFrame(QByteArray& frame, int) override { return static_cast<int>(frame.size() + 2); }
    int receiveFrame(QByteArray& out, int, int expected, bool) override {
        // First byte picks what the port claims; the rest is the reply.
        if (size_ == 0)
            return 0;
        const int claim = static_cast<int8_t>(data_[0]);
        out.append(reinterpret_cast<const char*>(data_ + 1), static_cast<qsizetype>(size_ - 1));
        return claim == 0x7F ? expected : claim;
    }
    void delayMs(int) override {}

  private:
    const uint8_t* data_;
    size_t size_;
};

class QuietSink : public MessageSink {
  public:
    void showMessage(const QString&, const QString&) override {}
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The link's diagnostic lines would drown the fuzzer's own output.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ReplayPort port(data, size);
    QuietSink sink;
    KeyInfo key;
    int a = 0, b = 0, c = 0;
    ReadKeyInfo(port, key);
    ReadProductionInfo(port, key, &sink);
    ReadSoftwareVersion(port, a, &sink);
    ReadDisplayParam(port, a);
    SetDisplayParam(port, 3);
    ReadTolerance(port, a, b, c);
    SetTolerance(port, 1, 2, 3);
    ReadDeltaEParam(port, a, b);
    SetDeltaEParam(port, 1, 2);
    for (int mode = 0; mode < 7; ++mode) {
        ModeResultBlock m;
        ReadModeResult(port, mode, m);
        ReadModeRecordCount(port, mode, mode % 4, a);
    }
    ColorMeasurementBlock block;
    ReadColorMeasurement(port, block);
    LegacyMeasurement legacy;
    ReadMeasurementLegacy(port, legacy);
    ReadColorDiffRecordCount(port, a);
    ReadSpectralRecordCount(port, 1, a);
    QByteArray memory;
    ReadMemory(port, 0x400000, 256, memory);
    ReadMemory(port, 0x10000, 0, memory);
    std::array<int, 31> spectrum{};
    ReadSpectralMeasurement(port, spectrum);
    WriteStdColorCount(port, 3, stdcolor::countCheckValue(3));
    WriteStdColorCard(port, 0x2000, QStringLiteral("a"), QStringLiteral("b"), 1, 2,
                      stdcolor::cardCheckValue(QStringLiteral("a"), QStringLiteral("b"), 1, 2));
    WriteBlock(port, 0x40000, QByteArray(), 0);

    // Pushed frames are parsed at any offset of the delivered bytes.
    const QByteArray pushed(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (int offset = 0; offset < pushed.size(); offset += 7) {
        parseColorMeasurementBlock(pushed, offset, block);
        parseLegacyMeasurement(pushed, offset, legacy);
        ModeResultBlock m;
        parseModeResultBlock(pushed, offset, offset % 6, m);
    }
    // And through the scanner that picks them out of the worker's stream, in two pieces.
    const int cut = pushed.isEmpty() ? 0 : static_cast<uint8_t>(pushed.at(0)) % (pushed.size() + 1);
    for (auto kind : {PushFrameScanner::Kind::ColourBlock, PushFrameScanner::Kind::ModeResult,
                      PushFrameScanner::Kind::Legacy}) {
        PushFrameScanner scanner(kind, cut % 6);
        scanner.feed(pushed.left(cut), 0);
        scanner.feed(pushed.mid(cut), 10);
    }
    return 0;
}
