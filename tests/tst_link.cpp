// The HID report layer, the frame link, the frame port and the background worker, against a
// scripted HID interface.
#include "checksum16.h"
#include "clinker.h"
#include "delay.h"
#include "fakes.h"
#include "frameport.h"
#include "libhiddevice.h"
#include "mythread.h"
#include "trace.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <atomic>
#include <ctime>

namespace {

QStringList captured;
void captureMessages(QtMsgType, const QMessageLogContext&, const QString& msg) {
    captured.append(msg);
}

struct Rig {
    FakeTransport* transport; // owned by the link
    std::unique_ptr<CLinkerUSB> link;
};

Rig openLink() {
    auto t = std::make_unique<FakeTransport>();
    FakeTransport* raw = t.get();
    auto link = std::make_unique<CLinkerUSB>(std::move(t));
    link->openDevice(0x2047, 0x0301);
    return {raw, std::move(link)};
}

QByteArray sequence(int n, int start = 0) {
    QByteArray b;
    for (int i = 0; i < n; ++i)
        b.append(static_cast<char>(start + i));
    return b;
}

double threadCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

} // namespace

class TestLink : public QObject {
    Q_OBJECT
  private slots:
    void crcCheckValues();
    void writeSplitsFramesIntoReports();
    void writeStopsAtFailedReport();
    void readKeepsLeftoversAndSkipsForeignReports();
    void readReturnsWhatArrivedWhenWaitExpires();
    void readNeverTrustsTheLengthByte();
    void linkReassemblesReplyAndSkipsStrayBytes();
    void linkSinglePollMode();
    void linkHalfReplyTimesOutButKeepsBytes();
    void framePortSendAndReceive();
    void traceLinesAreExactHex();
    void delaySleepsInsteadOfSpinning();
    void workerDeliversInOrderAndOnlyOnTraffic();
    void workerStopsWhileLockIsHeld();
    void pauseLockHandsOverAtOnce();
    void workerDoesNotStarveLockRequests();
    void closingLinkIsSafeDuringPoll();
};

void TestLink::crcCheckValues() {
    QCOMPARE(checksum16("", 0), uint16_t(0xFFFF));
    QCOMPARE(checksum16("abc", 3), uint16_t(0x5749));
    QCOMPARE(checksum16("123456789", 9), uint16_t(0x4B37));
    // Over data followed by its own CRC (low byte first) the CRC is zero.
    const QByteArray framed = crcd(hexBytes("AB2005001200"));
    QCOMPARE(framed.toHex(' ').toUpper(), QByteArray("AB 20 05 00 12 00 94 6B"));
    QCOMPARE(checksum16(framed.constData(), 8), uint16_t(0));
}

void TestLink::writeSplitsFramesIntoReports() {
    Rig rig = openLink();
    const QByteArray ten = sequence(10, 1);
    QCOMPARE(rig.link->write(ten, 1000), 10);
    QCOMPARE(rig.transport->written.size(), 1);
    QByteArray expected(64, '\0');
    expected[0] = 0x3F;
    expected[1] = 10;
    expected.replace(2, 10, ten);
    QCOMPARE(rig.transport->written[0], expected);

    rig.transport->written.clear();
    const QByteArray big = sequence(130);
    QCOMPARE(rig.link->write(big, 1000), 130);
    QCOMPARE(rig.transport->written.size(), 3);
    const int sizes[] = {62, 62, 6};
    int offset = 0;
    for (int i = 0; i < 3; ++i) {
        const QByteArray& r = rig.transport->written[i];
        QCOMPARE(r.size(), 64);
        QCOMPARE(uint8_t(r[0]), uint8_t(0x3F));
        QCOMPARE(int(r[1]), sizes[i]);
        QCOMPARE(r.mid(2, sizes[i]), big.mid(offset, sizes[i]));
        QVERIFY(r.mid(2 + sizes[i]).count('\0') == 62 - sizes[i]);
        offset += sizes[i];
    }
}

void TestLink::writeStopsAtFailedReport() {
    auto t = std::make_unique<FakeTransport>();
    FakeTransport* raw = t.get();
    libHidDevice dev(std::move(t));
    QCOMPARE(dev.write(reinterpret_cast<const uint8_t*>("x"), 1, 50), 0); // not open
    QCOMPARE(dev.open(0x2047, 0x0301), 0);
    raw->failWrites = true;
    const QByteArray big = sequence(130);
    QCOMPARE(dev.write(reinterpret_cast<const uint8_t*>(big.constData()), 130, 50), 0);

    CLinkerUSB link(std::make_unique<FakeTransport>());
    QCOMPARE(link.write(big, 1000), -1); // never opened
}

void TestLink::readKeepsLeftoversAndSkipsForeignReports() {
    auto t = std::make_unique<FakeTransport>();
    FakeTransport* raw = t.get();
    libHidDevice dev(std::move(t));
    QCOMPARE(dev.open(0x2047, 0x0301), 0);
    raw->queueReport(sequence(4), 0x01); // another report id: skipped, not counted
    raw->queueReport(sequence(20, 100));
    uint8_t buf[64] = {};
    QCOMPARE(dev.read(buf, 5, 50), 5);
    QCOMPARE(QByteArray(reinterpret_cast<char*>(buf), 5), sequence(5, 100));
    QCOMPARE(dev.leftoverCount(), 15);
    const int readsBefore = raw->reads;
    QCOMPARE(dev.read(buf, 15, 50), 15);
    QCOMPARE(raw->reads, readsBefore); // served from the leftovers alone
    QCOMPARE(QByteArray(reinterpret_cast<char*>(buf), 15), sequence(15, 105));

    // Leftovers first, then new reports.
    raw->queueReport(sequence(10, 1));
    raw->queueReport(sequence(10, 50));
    QCOMPARE(dev.read(buf, 4, 50), 4);
    QCOMPARE(dev.read(buf, 12, 50), 12);
    QCOMPARE(QByteArray(reinterpret_cast<char*>(buf), 12), sequence(6, 5) + sequence(6, 50));
}

void TestLink::readReturnsWhatArrivedWhenWaitExpires() {
    auto t = std::make_unique<FakeTransport>();
    FakeTransport* raw = t.get();
    libHidDevice dev(std::move(t));
    dev.open(0x2047, 0x0301);
    raw->queueReport(sequence(30));
    raw->queueTimeout();
    uint8_t buf[64] = {};
    QCOMPARE(dev.read(buf, 34, 50), 30);
    QCOMPARE(dev.read(buf, 34, 50), 0); // nothing at all: 0

    // Leftover bytes taken out before a time-out are handed over, not dropped.
    raw->queueReport(sequence(10));
    QCOMPARE(dev.read(buf, 6, 50), 6);
    QCOMPARE(dev.read(buf, 20, 50), 4);
    QCOMPARE(QByteArray(reinterpret_cast<char*>(buf), 4), sequence(4, 6));
}

void TestLink::readNeverTrustsTheLengthByte() {
    auto t = std::make_unique<FakeTransport>();
    FakeTransport* raw = t.get();
    libHidDevice dev(std::move(t));
    dev.open(0x2047, 0x0301);
    QByteArray bogus(64, '\x11');
    bogus[0] = 0x3F;
    bogus[1] = char(0xFF); // claims 255 payload bytes
    raw->input.push_back(bogus);
    raw->input.push_back(hexBytes("3F05")); // claims 5, carries none
    raw->queueTimeout();
    uint8_t buf[300] = {};
    QCOMPARE(dev.read(buf, 300, 50), 62);
}

void TestLink::linkReassemblesReplyAndSkipsStrayBytes() {
    Rig rig = openLink();
    QByteArray reply = sequence(134);
    reply[0] = char(0xAB);
    rig.transport->queueReport(reply.mid(0, 62));
    rig.transport->queueReport(reply.mid(62, 62));
    rig.transport->queueReport(reply.mid(124, 10));
    QByteArray out;
    QCOMPARE(rig.link->read(out, 6000, 134), 134);
    QCOMPARE(out, reply);

    rig.transport->queueStream(hexBytes("0000") + reply.left(20));
    out.clear();
    QCOMPARE(rig.link->read(out, 6000, 20), 20);
    QCOMPARE(out, reply.left(20));
}

void TestLink::linkSinglePollMode() {
    Rig rig = openLink();
    rig.transport->queueReport(hexBytes("0102AB03"));
    rig.transport->queueReport(hexBytes("0405"));
    QByteArray out;
    // One poll with a deadline of 0 yields what the device delivers, start byte or not.
    QCOMPARE(rig.link->read(out, 0, 142090), 6);
    QCOMPARE(out, hexBytes("0102AB030405"));
    out.clear();
    QCOMPARE(rig.link->read(out, 0, 142090), 0);
    QVERIFY(out.isEmpty());
}

void TestLink::linkHalfReplyTimesOutButKeepsBytes() {
    Rig rig = openLink();
    QByteArray reply = sequence(17);
    reply[0] = char(0xAB);
    rig.transport->queueReport(reply);
    QByteArray out;
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(rig.link->read(out, 100, 34), 0);
    QVERIFY(timer.elapsed() >= 100);
    QCOMPARE(out, reply);
}

void TestLink::framePortSendAndReceive() {
    LinkFramePort port;
    QByteArray frame = hexBytes("AB200C000200");
    QCOMPARE(port.sendFrame(frame, 1000), -1);
    QCOMPARE(frame.size(), 6); // no checksum appended without a link
    QByteArray out;
    QCOMPARE(port.receiveFrame(out, 10, 10, true), -1);

    Rig rig = openLink();
    FakeTransport* transport = rig.transport;
    rig.link->close();
    port.setLink(std::move(rig.link));
    QVERIFY(!port.isLinkOpen());
    QCOMPARE(port.sendFrame(frame, 1000), -1);
    QCOMPARE(frame.size(), 6);

    auto t = std::make_unique<FakeTransport>();
    transport = t.get();
    auto link = std::make_unique<CLinkerUSB>(std::move(t));
    link->openDevice(0x2047, 0x0301);
    port.setLink(std::move(link));
    QVERIFY(port.isLinkOpen());
    QCOMPARE(port.sendFrame(frame, 1000), 8);
    QCOMPARE(frame, hexBytes("AB200C0002009A37"));
    QCOMPARE(transport->written.first().mid(1, 9), hexBytes("08AB200C0002009A37"));

    // Verification looks at the checksum ending at the expected length, and reports the
    // whole length of a longer reply.
    const QByteArray reply = crcd(hexBytes("AB200C0002003412"));
    // Each poll asks for the whole expected length again, so a reply that trickles in can
    // end up longer than expected.
    const QByteArray longer = reply + hexBytes("EEEE");
    transport->queueReport(longer.left(6));
    transport->queueTimeout();
    transport->queueReport(longer.mid(6));
    transport->queueTimeout();
    out.clear();
    QCOMPARE(port.receiveFrame(out, 500, 10, true), 12);
    QByteArray broken = reply;
    broken[9] = char(broken[9] ^ 0x01);
    transport->queueReport(broken);
    out.clear();
    QCOMPARE(port.receiveFrame(out, 500, 10, true), -1);
    transport->queueReport(broken);
    out.clear();
    QCOMPARE(port.receiveFrame(out, 500, 10, false), 10);
}

void TestLink::traceLinesAreExactHex() {
    Rig rig = openLink();
    LinkFramePort port;
    FakeTransport* transport = rig.transport;
    port.setLink(std::move(rig.link));
    trace::setEnabled(true);
    captured.clear();
    const QtMessageHandler old = qInstallMessageHandler(captureMessages);
    QByteArray frame = hexBytes("AB2005001200946B");
    port.sendFrame(frame, 1000);
    transport->queueReport(hexBytes("AB2005"));
    transport->queueTimeout();
    QByteArray out;
    port.receiveFrame(out, 0, 26, false);
    qInstallMessageHandler(old);
    trace::setEnabled(false);
    QVERIFY2(captured.contains(QStringLiteral("TX AB 20 05 00 12 00 94 6B 00 00")),
             qPrintable(captured.join('|')));
    QVERIFY(captured.contains(QStringLiteral("RX AB 20 05")));
}

void TestLink::delaySleepsInsteadOfSpinning() {
    QElapsedTimer timer;
    timer.start();
    const double cpuBefore = threadCpuMs();
    delayMs(120);
    const double cpu = threadCpuMs() - cpuBefore;
    QVERIFY(timer.elapsed() >= 120);
    QVERIFY2(cpu < 30, qPrintable(QString::number(cpu)));
}

namespace {
struct WorkerRig {
    LinkFramePort port;
    FakeTransport* transport = nullptr;
    QThread* thread = nullptr;
    MyThread* worker = nullptr;

    WorkerRig() {
        auto t = std::make_unique<FakeTransport>();
        transport = t.get();
        auto link = std::make_unique<CLinkerUSB>(std::move(t));
        link->openDevice(0x2047, 0x0301);
        port.setLink(std::move(link));
        thread = new QThread;
        worker = new MyThread(&port);
        worker->moveToThread(thread);
        QObject::connect(thread, &QThread::finished, worker, &QObject::deleteLater);
        QObject::connect(thread, &QThread::started, worker, &MyThread::startThreadSlot);
    }
    void start() { thread->start(); }
    bool stop(int ms = 5000) {
        worker->requestStop();
        thread->quit();
        return thread->wait(ms);
    }
    ~WorkerRig() {
        if (thread->isRunning())
            stop();
        delete thread;
    }
};
} // namespace

void TestLink::workerDeliversInOrderAndOnlyOnTraffic() {
    WorkerRig rig;
    ByteCollector got;
    connect(rig.worker, &MyThread::senddata, &got, &ByteCollector::take, Qt::QueuedConnection);
    rig.start();
    QTest::qWait(150);
    QCOMPARE(got.chunks.size(), 0);
    rig.transport->queueReport(hexBytes("AB4400"));
    QTRY_COMPARE(got.chunks.size(), 1);
    rig.transport->queueReport(hexBytes("000036"));
    QTRY_COMPARE(got.chunks.size(), 2);
    QCOMPARE(got.chunks.at(0), hexBytes("AB4400"));
    QCOMPARE(got.chunks.at(1), hexBytes("000036"));
    QVERIFY(rig.stop());
}

void TestLink::workerStopsWhileLockIsHeld() {
    WorkerRig rig;
    rig.start();
    QTest::qWait(50);
    PauseLocker locker(rig.worker->sharedPauseLock());
    std::shared_ptr<PauseLock> lock = rig.worker->sharedPauseLock();
    QElapsedTimer timer;
    timer.start();
    QVERIFY(rig.stop(2000));
    QVERIFY(timer.elapsed() < 500);
    // The worker is gone; the lock is still ours, and only ours to release.
    QVERIFY(!lock->tryLock(0));
    locker.unlock();
    QVERIFY(lock->tryLock(0));
    lock->unlock();
}

void TestLink::pauseLockHandsOverAtOnce() {
    // The worker pauses holding the lock; a thread asking for it ends the pause at once rather
    // than waiting the pause out, and a stop request does the same.
    PauseLock lock;
    std::atomic<qint64> paused{-1};
    QThread* holder = QThread::create([&lock, &paused] {
        lock.lock();
        QElapsedTimer t;
        t.start();
        lock.pauseUnlessWanted(5000);
        paused = t.elapsed();
        lock.unlock();
    });
    holder->start();
    QTRY_VERIFY(!lock.tryLock(0) || (lock.unlock(), false));
    QElapsedTimer waited;
    waited.start();
    lock.lock();
    QVERIFY2(waited.elapsed() < 2000, qPrintable(QString::number(waited.elapsed())));
    lock.unlock();
    QVERIFY(holder->wait(5000));
    QVERIFY(paused.load() >= 0 && paused.load() < 2000);
    delete holder;

    PauseLock stopping;
    QElapsedTimer t;
    t.start();
    QThread* stopper = QThread::create([&stopping] {
        QThread::msleep(50);
        stopping.requestStop();
    });
    stopper->start();
    QVERIFY(stopping.pauseUnlessWanted(5000));
    QVERIFY(t.elapsed() < 2000);
    QVERIFY(stopper->wait(5000));
    delete stopper;
    // A stopping worker gives up a lock attempt at once too.
    stopping.lock();
    QElapsedTimer attempt;
    attempt.start();
    std::atomic<bool> got{true};
    QThread* worker = QThread::create([&stopping, &got] { got = stopping.tryLock(5000); });
    worker->start();
    QVERIFY(worker->wait(5000));
    QVERIFY(!got.load());
    QVERIFY(attempt.elapsed() < 2000);
    stopping.unlock();
    delete worker;
}

void TestLink::workerDoesNotStarveLockRequests() {
    WorkerRig rig;
    rig.start();
    QTest::qWait(50);
    qint64 worst = 0;
    for (int i = 0; i < 20; ++i) {
        QElapsedTimer timer;
        timer.start();
        rig.worker->pauseLock().lock();
        worst = std::max(worst, timer.elapsed());
        QThread::msleep(5);
        rig.worker->pauseLock().unlock();
        QThread::msleep(static_cast<unsigned long>(3 + i % 7)); // let the worker take it back
    }
    QVERIFY2(worst <= 100, qPrintable(QString::number(worst)));
    QVERIFY(rig.stop());
}

void TestLink::closingLinkIsSafeDuringPoll() {
    WorkerRig rig;
    rig.start();
    for (int i = 0; i < 10; ++i) {
        QTest::qWait(7);
        rig.port.closeLink(); // waits for a poll in progress; the worker then finds no link
        QVERIFY(!rig.port.isLinkOpen());
        auto t = std::make_unique<FakeTransport>();
        auto link = std::make_unique<CLinkerUSB>(std::move(t));
        link->openDevice(0x2047, 0x0301);
        rig.port.setLink(std::move(link));
    }
    QVERIFY(rig.stop());
}

QTEST_GUILESS_MAIN(TestLink)
#include "tst_link.moc"
