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
#include "virtualinstrument.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <atomic>
#include <condition_variable>
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
    void waitForInputNeverTakesAReport();
    void workerDeliversInOrderAndOnlyOnTraffic();
    void commandRunsWhileWorkerWaits();
    void workerKeepsABurstFromACommand();
    void workerStopsWhileLockIsHeld();
    void pauseLockKeepsTheWorkerBehindCommands();
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

// A scripted HID interface that waits as a real one does: reads and waits for input block until
// a report is queued or their time-out passes. While held, waits with a time-out never end
// without input, so that a test knows where the worker is.
class WaitingTransport : public FakeTransport {
  public:
    int readReport(uint8_t* buffer, int capacity, int timeoutMs) override {
        std::unique_lock<std::mutex> lock(mutex);
        ++reading_;
        waitFor(lock, timeoutMs);
        --reading_;
        if (input.empty())
            return 0;
        ++taken_;
        lock.unlock();
        return FakeTransport::readReport(buffer, capacity, 0);
    }
    int waitForInput(int timeoutMs) override {
        std::unique_lock<std::mutex> lock(mutex);
        ++waiting_;
        waitFor(lock, timeoutMs);
        --waiting_;
        return input.empty() ? 0 : 1;
    }
    void push(const QByteArray& payload) {
        queueReport(payload);
        changed_.notify_all();
    }
    void hold(bool on) {
        std::lock_guard<std::mutex> lock(mutex);
        held_ = on;
        changed_.notify_all();
    }
    int waiting() { return get(waiting_); }
    int reading() { return get(reading_); }
    int taken() { return get(taken_); }

  private:
    void waitFor(std::unique_lock<std::mutex>& lock, int timeoutMs) {
        if (timeoutMs <= 0)
            return;
        changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                          [this] { return !input.empty() || held_; });
        changed_.wait(lock, [this] { return !input.empty() || !held_; });
    }
    int get(const int& value) {
        std::lock_guard<std::mutex> lock(mutex);
        return value;
    }

    std::condition_variable changed_;
    bool held_ = false;
    int waiting_ = 0, reading_ = 0, taken_ = 0;
};

struct WorkerRig {
    LinkFramePort port;
    WaitingTransport* transport = nullptr;
    QThread* thread = nullptr;
    MyThread* worker = nullptr;

    WorkerRig() {
        auto t = std::make_unique<WaitingTransport>();
        transport = t.get();
        auto link = std::make_unique<CLinkerUSB>(std::move(t));
        link->openDevice(0x2047, 0x0301);
        port.setLink(std::move(link));
        thread = new QThread;
        worker = new MyThread(&port);
        worker->moveToThread(thread);
        QObject::connect(thread, &QThread::started, worker, &MyThread::startThreadSlot);
    }
    void start() { thread->start(); }
    // Deletes the worker here once its thread has ended, as the workspace does, rather than by a
    // deleteLater posted from the ending thread.
    bool stop(int ms = 5000) {
        worker->requestStop();
        transport->hold(false); // a held wait would outlast the stop
        thread->quit();
        if (!thread->wait(ms))
            return false;
        delete worker;
        worker = nullptr;
        return true;
    }
    ~WorkerRig() {
        if (thread->isRunning())
            stop();
        if (!thread->isRunning())
            delete worker;
        delete thread;
    }
};
} // namespace

void TestLink::waitForInputNeverTakesAReport() {
    // The virtual instrument: looking takes nothing, and a wait ends when a report becomes due.
    auto instrument = sim::VirtualInstrument::fromPreset(QStringLiteral("KV510"));
    std::unique_ptr<HidTransport> sim = instrument->createTransport();
    QVERIFY(sim->open(0x2047, 0x0301));
    QCOMPARE(sim->waitForInput(0), 0);
    instrument->splitNextPush(2); // the second report comes later
    instrument->pushMeasurement();
    QCOMPARE(sim->waitForInput(0), 1);
    QCOMPARE(sim->waitForInput(0), 1);
    uint8_t buf[64] = {};
    QCOMPARE(sim->readReport(buf, 64, 0), 64);
    QCOMPARE(sim->waitForInput(0), 0);
    QCOMPARE(sim->waitForInput(10000), 1);
    QCOMPARE(sim->readReport(buf, 64, 0), 64);
    instrument->unplug();
    QCOMPARE(sim->waitForInput(10000), -1);

    // The report layer: leftovers of a report are input too; a closed device has none.
    auto t = std::make_unique<WaitingTransport>();
    WaitingTransport* raw = t.get();
    libHidDevice dev(std::move(t));
    QCOMPARE(dev.waitForInput(0), -1);
    QCOMPARE(dev.open(0x2047, 0x0301), 0);
    raw->push(sequence(20));
    QCOMPARE(dev.read(buf, 5, 50), 5);
    QCOMPARE(dev.waitForInput(0), 1);
    QCOMPARE(dev.read(buf, 15, 50), 15);
    QCOMPARE(dev.waitForInput(0), 0);
}

void TestLink::workerDeliversInOrderAndOnlyOnTraffic() {
    WorkerRig rig;
    ByteCollector got;
    connect(rig.worker, &MyThread::senddata, &got, &ByteCollector::take, Qt::QueuedConnection);
    rig.start();
    QTest::qWait(150);
    QCOMPARE(got.chunks.size(), 0);
    rig.transport->push(hexBytes("AB4400"));
    QTRY_COMPARE(got.chunks.size(), 1);
    rig.transport->push(hexBytes("000036"));
    QTRY_COMPARE(got.chunks.size(), 2);
    QCOMPARE(got.chunks.at(0), hexBytes("AB4400"));
    QCOMPARE(got.chunks.at(1), hexBytes("000036"));
    QVERIFY(rig.stop());
}

void TestLink::commandRunsWhileWorkerWaits() {
    // The worker's wait for input never ends by itself here; the command still gets the lock,
    // exchanges, and its reply does not go to the worker.
    WorkerRig rig;
    ByteCollector got;
    connect(rig.worker, &MyThread::senddata, &got, &ByteCollector::take, Qt::QueuedConnection);
    const QByteArray reply = hexBytes("AB200C0002003412");
    rig.transport->hold(true);
    rig.start();
    QTRY_COMPARE(rig.transport->waiting(), 1);
    {
        PauseLocker locker(rig.worker->sharedPauseLock());
        QByteArray frame = hexBytes("AB200C000200");
        QCOMPARE(rig.port.sendFrame(frame, 1000), 8);
        QCOMPARE(rig.transport->waiting(), 1);
        rig.transport->push(reply);
        QByteArray out;
        QCOMPARE(rig.port.receiveFrame(out, 1000, int(reply.size()), false), int(reply.size()));
        QCOMPARE(out, reply);
    }
    // Whether or not the worker saw the reply come, once it waits again it has handed nothing
    // over: the reply was the command's.
    QTRY_COMPARE(rig.transport->waiting(), 1);
    QCoreApplication::processEvents();
    QCOMPARE(got.chunks.size(), 0);
    QCOMPARE(rig.transport->taken(), 1);
    QVERIFY(rig.stop());
}

void TestLink::workerKeepsABurstFromACommand() {
    // A command that asks for the lock while the worker reads a burst gets it only when the
    // burst has ended, so its clean-up cannot drop the burst's rest.
    WorkerRig rig;
    ByteCollector got;
    connect(rig.worker, &MyThread::senddata, &got, &ByteCollector::take, Qt::QueuedConnection);
    rig.transport->hold(true);
    rig.start();
    rig.transport->push(hexBytes("AB4400"));
    QTRY_VERIFY(rig.transport->taken() == 1 && rig.transport->reading() == 1);
    std::shared_ptr<PauseLock> lock = rig.worker->sharedPauseLock();
    std::atomic<int> takenWhenLocked{-1};
    QThread* command = QThread::create([&] {
        PauseLocker locker(lock);
        takenWhenLocked = rig.transport->taken();
    });
    command->start();
    QTRY_VERIFY(lock->hasWaiters());
    rig.transport->push(hexBytes("000036"));
    QTRY_VERIFY(rig.transport->taken() == 2 && rig.transport->reading() == 1);
    rig.transport->hold(false);
    QVERIFY(command->wait(5000));
    delete command;
    QCOMPARE(takenWhenLocked.load(), 2);
    QTRY_COMPARE(got.chunks.size(), 1);
    QCOMPARE(got.chunks.at(0), hexBytes("AB4400000036"));
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

void TestLink::pauseLockKeepsTheWorkerBehindCommands() {
    // A thread waiting in lock() gets the lock before a worker's tryLock, whoever wakes first.
    PauseLock lock;
    lock.lock();
    std::atomic<int> order{0}, command{0}, worker{0};
    QThread* commandThread = QThread::create([&] {
        lock.lock();
        command = ++order;
        lock.unlock();
    });
    commandThread->start();
    QTRY_VERIFY(lock.hasWaiters());
    QThread* workerThread = QThread::create([&] {
        if (lock.tryLock(5000)) {
            worker = ++order;
            lock.unlock();
        }
    });
    workerThread->start();
    QVERIFY(!lock.waitUntilFree(20));
    lock.unlock();
    QVERIFY(commandThread->wait(5000) && workerThread->wait(5000));
    QCOMPARE(command.load(), 1);
    QCOMPARE(worker.load(), 2);
    QVERIFY(lock.waitUntilFree(0));
    delete commandThread;
    delete workerThread;

    // A stop ends every wait of the worker at once; a free lock can still be taken.
    lock.lock();
    QThread* stopper = QThread::create([&lock] {
        QThread::msleep(50);
        lock.requestStop();
    });
    QElapsedTimer t;
    t.start();
    stopper->start();
    QVERIFY(lock.pause(10000));
    QVERIFY(!lock.waitUntilFree(10000));
    QVERIFY(!lock.tryLock(10000));
    QVERIFY(t.elapsed() < 5000);
    QVERIFY(stopper->wait(5000));
    delete stopper;
    lock.unlock();
    QVERIFY(lock.tryLock(0));
    lock.unlock();
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
        auto t = std::make_unique<WaitingTransport>();
        rig.transport = t.get();
        auto link = std::make_unique<CLinkerUSB>(std::move(t));
        link->openDevice(0x2047, 0x0301);
        rig.port.setLink(std::move(link));
    }
    QVERIFY(rig.stop());
}

QTEST_GUILESS_MAIN(TestLink)
#include "tst_link.moc"
