#pragma once

#include "frameport.h"
#include "hidtransport.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QThread>
#include <QVector>

#include <algorithm>
#include <cstring>
#include <deque>
#include <mutex>

// A scripted HID interface: queued input reports come out one per read; a null entry stands
// for a read that times out. Written reports are recorded.
class FakeTransport : public HidTransport {
  public:
    bool open(uint16_t, uint16_t) override { return (opened = present); }
    void close() override { opened = false; }
    bool isOpen() const override { return opened; }
    int writeReport(const uint8_t* report, int length, int) override {
        if (failWrites)
            return -1;
        written.append(QByteArray(reinterpret_cast<const char*>(report), length));
        return length;
    }
    int readReport(uint8_t* buffer, int capacity, int timeoutMs) override {
        std::unique_lock<std::mutex> lock(mutex);
        ++reads;
        if (input.empty()) {
            // A real interface waits for its time-out; a short nap keeps callers from spinning.
            lock.unlock();
            QThread::msleep(static_cast<unsigned long>(std::min(timeoutMs, 5)));
            return 0;
        }
        const QByteArray r = input.front();
        input.pop_front();
        if (r.isNull())
            return 0;
        const int n = std::min(capacity, static_cast<int>(r.size()));
        std::memcpy(buffer, r.constData(), static_cast<size_t>(n));
        return n;
    }
    bool isRemoved() override { return !present; }

    // Queues payload as one report of the instrument's layout.
    void queueReport(const QByteArray& payload, char reportId = 0x3F) {
        QByteArray r(64, '\0');
        r[0] = reportId;
        r[1] = static_cast<char>(payload.size());
        std::memcpy(r.data() + 2, payload.constData(), static_cast<size_t>(payload.size()));
        std::unique_lock<std::mutex> lock(mutex);
        input.push_back(r);
    }
    // Queues bytes split into reports of at most 62 payload bytes.
    void queueStream(const QByteArray& bytes) {
        for (int i = 0; i < bytes.size(); i += 62)
            queueReport(bytes.mid(i, 62));
    }
    void queueTimeout() {
        std::unique_lock<std::mutex> lock(mutex);
        input.push_back(QByteArray());
    }

    bool present = true;
    bool opened = false;
    bool failWrites = false;
    int reads = 0;
    QList<QByteArray> written;
    std::deque<QByteArray> input;
    std::mutex mutex;
};

// A frame port that records what commands send and answers with scripted replies, so that
// request bytes and reply judging can be checked without any link.
class FakePort : public FramePort {
  public:
    struct Reply {
        int result;       // what receiveFrame returns
        QByteArray bytes; // what it leaves in the caller's buffer
    };

    bool isLinkOpen() const override { return open; }
    int sendFrame(QByteArray& frame, int) override {
        if (!open)
            return -1;
        const uint16_t crc = checksum16(frame, static_cast<int>(frame.size()));
        frame.append(static_cast<char>(crc & 0xFF));
        frame.append(static_cast<char>(crc >> 8));
        sent.append(frame);
        return sendResult >= 0 ? sendResult : static_cast<int>(frame.size());
    }
    int receiveFrame(QByteArray& out, int deadlineMs, int expected, bool verify) override {
        deadlines.append(deadlineMs);
        expectedLengths.append(expected);
        verifies.append(verify);
        if (replies.isEmpty())
            return 0;
        const Reply r = replies.takeFirst();
        out.append(r.bytes);
        return r.result;
    }
    void delayMs(int ms) override { delays.append(ms); }

    // A reply that arrived whole and (if asked) passed the frame checksum.
    void reply(const QByteArray& bytes) { replies.append({static_cast<int>(bytes.size()), bytes}); }
    void fail(int result, const QByteArray& gathered = {}) { replies.append({result, gathered}); }

    bool open = true;
    int sendResult = -1; // -1: report the whole frame as written
    QList<QByteArray> sent;
    QList<Reply> replies;
    QVector<int> deadlines, expectedLengths, delays;
    QVector<bool> verifies;
};

// Collects what a worker hands over, on the thread the collector lives in (a QSignalSpy
// would record on the worker's thread and race with the test reading it).
class ByteCollector : public QObject {
    Q_OBJECT
  public:
    QList<QByteArray> chunks;
  public slots:
    void take(const QByteArray& bytes) { chunks.append(bytes); }
};

inline QByteArray hexBytes(const char* hex) {
    return QByteArray::fromHex(QByteArray(hex));
}

// Appends the CRC-16 (low byte first), as the instrument ends its frames and blocks.
inline QByteArray crcd(QByteArray bytes) {
    const uint16_t crc = FramePort::checksum16(bytes, static_cast<int>(bytes.size()));
    bytes.append(static_cast<char>(crc & 0xFF));
    bytes.append(static_cast<char>(crc >> 8));
    return bytes;
}
