// How long a command waits for the pause lock while the worker polls.
#include "benchsupport.h"
#include "mythread.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QThread>

#include <chrono>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    SimulatedLink link;
    auto polling = std::make_unique<PollingWorker>(link.port);
    QThread::msleep(100);

    std::shared_ptr<PauseLock> lock = polling->worker->sharedPauseLock();
    QVector<double> millis;
    QRandomGenerator random(42);
    for (int i = 0; i < 300; ++i) {
        // Arrive at a random point of the worker's poll cycle.
        QThread::usleep(random.bounded(1000u, 90000u));
        const auto start = std::chrono::steady_clock::now();
        lock->lock();
        const auto end = std::chrono::steady_clock::now();
        QThread::usleep(500); // a short exchange
        lock->unlock();
        millis.append(std::chrono::duration<double, std::milli>(end - start).count());
    }
    polling.reset();
    bench("lock_latency_p50", percentile(millis, 0.5), "ms");
    bench("lock_latency_p99", percentile(millis, 0.99), "ms");
    bench("lock_latency_max", percentile(millis, 1.0), "ms");
    return 0;
}
