// How long a settings read takes from the user-interface thread while the background worker
// polls the virtual instrument, as the workspace issues it (pause lock, then ReadTolerance),
// beside the same command with no worker running.
#include "benchsupport.h"
#include "deviceinfocommands.h"
#include "mythread.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QThread>

#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

// One command as the page issues it; its duration, or a negative value when it failed.
double timedRead(FramePort& port, const std::shared_ptr<PauseLock>& lock, double unit) {
    int haze = 0, t = 0, threshold = 0;
    const auto start = Clock::now();
    PauseLocker locker(lock);
    const int status = ReadTolerance(port, haze, t, threshold);
    locker.unlock();
    const auto end = Clock::now();
    if (status < 0) {
        std::fprintf(stderr, "ReadTolerance failed: %d\n", status);
        std::exit(1);
    }
    return std::chrono::duration<double>(end - start).count() * unit;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    SimulatedLink link;

    // The bare round trip: the same command and lock, nobody else on the link.
    auto idleLock = std::make_shared<PauseLock>();
    for (int i = 0; i < 200; ++i) // warm-up
        timedRead(link.port, idleLock, 1e6);
    QVector<double> bare;
    for (int i = 0; i < 2000; ++i)
        bare.append(timedRead(link.port, idleLock, 1e6));

    auto polling = std::make_unique<PollingWorker>(link.port);
    QThread::msleep(100);
    const std::shared_ptr<PauseLock> lock = polling->worker->sharedPauseLock();
    QVector<double> millis;
    QRandomGenerator random(7);
    for (int i = 0; i < 400; ++i) {
        // Arrive at a random point of the worker's cycle, as a click does.
        QThread::usleep(random.bounded(200u, 30000u));
        millis.append(timedRead(link.port, lock, 1e3));
    }
    polling.reset();

    bench("command_latency_p50_ms", percentile(millis, 0.5), "ms");
    bench("command_latency_p99_ms", percentile(millis, 0.99), "ms");
    bench("command_latency_max_ms", percentile(millis, 1.0), "ms");
    bench("command_latency_bare_us", percentile(bare, 0.5), "us");
    return 0;
}
