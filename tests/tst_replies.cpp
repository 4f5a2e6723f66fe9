// Replies that belong to their request: late replies and stray bytes never pass for the answer
// to a later request, and an error reply ends the wait at once.
#include "boundedwriter.h"
#include "deviceinfocommands.h"
#include "frameport.h"
#include "frames.h"
#include "measurementcommands.h"
#include "records.h"
#include "virtualinstrument.h"

#include <QElapsedTimer>
#include <QTest>
#include <QThread>

#include <QSemaphore>

#include <atomic>

namespace {

struct Stack {
    std::shared_ptr<sim::VirtualInstrument> instrument =
        sim::VirtualInstrument::fromPreset("KV510");
    LinkFramePort port;
    Stack() {
        port.setTransportFactory([i = instrument] { return i->createTransport(); });
        port.openLink();
    }
};

// A pattern in which every 256-byte chunk differs from its neighbours.
QByteArray pattern(int length) {
    QByteArray bytes(length, '\0');
    for (int i = 0; i < length; ++i)
        bytes[i] = char((i / 256) * 17 + i % 251);
    return bytes;
}

// The link as the program has it, except that one chosen reply comes too late for its request:
// the instrument holds it back longer than that request waits.
class LateOnce : public FramePort {
  public:
    LateOnce(LinkFramePort& link, sim::VirtualInstrument& instrument, int lateRequest)
        : link_(link), instrument_(instrument), late_(lateRequest) {}
    bool isLinkOpen() const override { return link_.isLinkOpen(); }
    int sendFrame(QByteArray& frame, int timeoutMs) override {
        instrument_.setReplyDelay(++sent_ == late_ ? 300 : 0);
        return link_.sendFrame(frame, timeoutMs);
    }
    int receiveFrame(QByteArray& out, int deadlineMs, int expectedLength, bool verify) override {
        return receiveReply(out, deadlineMs, expectedLength, verify, {});
    }
    int receiveReply(QByteArray& out, int deadlineMs, int expectedLength, bool verify,
                     ErrorFrame error) override {
        return link_.receiveReply(out, sent_ == late_ ? 100 : deadlineMs, expectedLength, verify,
                                  error);
    }
    void discardPending() override { link_.discardPending(); }

  private:
    LinkFramePort& link_;
    sim::VirtualInstrument& instrument_;
    int late_;
    int sent_ = 0;
};

} // namespace

class TestReplies : public QObject {
    Q_OBJECT
  private slots:
    // A chunk answered late makes its import fail; importing again in the same session, at once
    // or later, gives the right bytes or a failure, never bytes shifted by a chunk.
    void lateChunkNeverShiftsAnImport() {
        Stack stack;
        const QByteArray stored = pattern(25 * 256);
        stack.instrument->writeMemory(0x400000, stored);
        LateOnce port(stack.port, *stack.instrument, 3);
        QByteArray first;
        QVERIFY(records::readArea(port, 0x400000, int(stored.size()), first) < 0);
        QByteArray again;
        if (records::readArea(port, 0x400000, int(stored.size()), again) >= 0)
            QCOMPARE(again, stored);
        QThread::msleep(350);
        QByteArray third;
        QCOMPARE(records::readArea(port, 0x400000, int(stored.size()), third), Status::Success);
        QCOMPARE(third, stored);
    }

    // A reply left over from an earlier request is dropped before the next one is sent; one
    // that arrives after that is refused because it answers another address.
    void staleRepliesAreRefused() {
        Stack stack;
        stack.instrument->writeMemory(0x400000, pattern(512));
        QByteArray stale = frames::memoryRequest(frames::kReadMemory, 0x400100, 256);
        QVERIFY(stack.port.sendFrame(stale, 1000) > 0);
        QThread::msleep(50); // the reply is waiting
        QByteArray chunk;
        QCOMPARE(ReadMemory(stack.port, 0x400000, 256, chunk), Status::Success);
        QCOMPARE(chunk, pattern(512).left(256));

        stack.instrument->setReplyDelay(100);
        stale = frames::memoryRequest(frames::kReadMemory, 0x400100, 256);
        QVERIFY(stack.port.sendFrame(stale, 1000) > 0);
        chunk.clear();
        QCOMPARE(ReadMemory(stack.port, 0x400000, 256, chunk), Status::BadHeader);
        QVERIFY(chunk.isEmpty());
    }

    // Stray bytes that look like the start of a reply do not shift the data read.
    void strayBytesAreNoSuccess() {
        Stack stack;
        stack.instrument->writeMemory(0x400000, pattern(256));
        stack.instrument->injectStrayBytes(QByteArray::fromHex("AB400000"));
        QByteArray chunk;
        QVERIFY(ReadMemory(stack.port, 0x400000, 256, chunk) < 0);
        QVERIFY(chunk.isEmpty());
    }

    // An instrument without the key-information query says so at once; the wait ends then.
    void errorReplyEndsTheWait() {
        Stack stack;
        stack.instrument->setKeyInfoSupported(false);
        QElapsedTimer timer;
        timer.start();
        KeyInfo key;
        QCOMPARE(ReadKeyInfo(stack.port, key), Status::ErrorReply);
        QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(ReadProductionInfo(stack.port, key) >= 0);
    }

    // A write the device never completes returns at its time-out; later writes fail at once
    // until it does; closing does not wait for it and releases the device after it.
    void stalledWriteKeepsItsDeadline() {
        QSemaphore device;
        std::atomic<bool> released{false};
        auto writer = std::make_unique<BoundedWriter>([&](const uint8_t*, int length) {
            device.acquire();
            return length;
        });
        const uint8_t report[64] = {0x3F};
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(writer->write(report, 64, 100), 0);
        QVERIFY(timer.elapsed() < 1000);
        QCOMPARE(writer->write(report, 64, 100), -1);
        device.release(2); // the stalled write finishes, and the next one may go through
        int result = -1;
        for (int tries = 0; result == -1 && tries < 100; ++tries) {
            result = writer->write(report, 64, 1000);
            if (result == -1)
                QThread::msleep(10); // the stalled write is still on its way out
        }
        QCOMPARE(result, 64);

        QCOMPARE(writer->write(report, 64, 50), 0);
        writer->shutdown([&] { released = true; });
        writer.reset();
        QVERIFY(!released);
        device.release();
        QTRY_VERIFY(released);
    }
};

QTEST_GUILESS_MAIN(TestReplies)
#include "tst_replies.moc"
