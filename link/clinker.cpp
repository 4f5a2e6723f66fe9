#include "clinker.h"

#include "trace.h"

#include <QDebug>
#include <QElapsedTimer>

#include <algorithm>

CLinker::~CLinker() = default;

CLinkerUSB::CLinkerUSB(std::unique_ptr<HidTransport> transport)
    : device_(std::move(transport)), scratch_(kReadBufferSize, 0) {}

CLinkerUSB::~CLinkerUSB() = default;

uint8_t CLinkerUSB::openDevice(uint16_t vendorId, uint16_t productId) {
    if (device_.open(vendorId, productId) != 0) {
        qDebug("hidDevice Open error!\n");
        return 0xFF;
    }
    qDebug("hidDevice Open success!\n");
    return 0;
}

void CLinkerUSB::close() {
    device_.close();
}

bool CLinkerUSB::isOpen() const {
    return device_.isOpen();
}

bool CLinkerUSB::isRemoved() {
    return device_.isRemoved();
}

int CLinkerUSB::waitForInput(int timeoutMs) {
    return device_.waitForInput(timeoutMs);
}

int CLinkerUSB::write(const QByteArray& frame, int timeoutMs) {
    trace::tx(frame);
    const int ret = device_.write(reinterpret_cast<const uint8_t*>(frame.constData()),
                                  static_cast<int>(frame.size()), timeoutMs);
    if (ret != frame.size()) {
        qDebug("hidDevice WriteMessage error! ret = %d\n", ret);
        return -1;
    }
    return static_cast<int>(frame.size());
}

int CLinkerUSB::pollOnce(QByteArray& out, int wanted) {
    // The scratch buffer bounds one poll, whatever length the caller expects.
    wanted = std::clamp(wanted, 1, kReadBufferSize);
    const int got = device_.read(scratch_.data(), wanted, kPollWaitMs);
    if (got > 0) {
        const QByteArray chunk(reinterpret_cast<const char*>(scratch_.data()), got);
        trace::rx(chunk);
        out.append(chunk);
    }
    return got;
}

int CLinkerUSB::read(QByteArray& out, int deadlineMs, int expectedLength) {
    return readReply(out, deadlineMs, expectedLength, {});
}

QByteArray CLinkerUSB::discardPending() {
    QByteArray dropped;
    // Bounded: an instrument that streams without pause must not hold the caller here forever.
    for (int polls = 0; polls < 64; ++polls) {
        const int got = device_.read(scratch_.data(), kReadBufferSize, 0);
        if (got <= 0)
            break;
        dropped.append(reinterpret_cast<const char*>(scratch_.data()), got);
    }
    if (!dropped.isEmpty())
        trace::dropped(dropped);
    return dropped;
}

int CLinkerUSB::readReply(QByteArray& out, int deadlineMs, int expectedLength, ErrorFrame error) {
    if (deadlineMs == 0) {
        const int got = pollOnce(out, kReadBufferSize);
        return got < 1 ? got : static_cast<int>(out.size());
    }

    QElapsedTimer timer;
    timer.start();
    for (;;) {
        const int got = pollOnce(out, expectedLength);
        if (got > 0) {
            const int junk = static_cast<int>(out.indexOf(static_cast<char>(kStartByte)));
            out.remove(0, junk < 0 ? out.size() : junk);
            if (out.size() >= expectedLength && !out.isEmpty() &&
                static_cast<uint8_t>(out.at(0)) == kStartByte)
                return static_cast<int>(out.size());
        } else {
            qDebug("hidDevice ReadMessage error!\n");
        }
        // An error frame is complete with its checksum, or when nothing more follows its pair.
        if (error.byte1 != 0 && out.size() >= 3 && static_cast<uint8_t>(out.at(1)) == error.byte1 &&
            static_cast<uint8_t>(out.at(2)) == error.byte2 &&
            (out.size() >= ErrorFrame::kLength || got <= 0))
            return 0;
        if (timer.elapsed() > deadlineMs)
            return got <= 0 ? got : 0; // an incomplete reply stays in out for the caller
    }
}
