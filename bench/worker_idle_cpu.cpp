// Processor time the whole process uses while the background worker polls an idle
// instrument for 5 s, as a percentage of one core.
#include "benchsupport.h"
#include "mythread.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <sys/resource.h>

namespace {
double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}
} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    SimulatedLink link;
    auto polling = std::make_unique<PollingWorker>(link.port);
    QThread::msleep(200);

    QElapsedTimer wall;
    const double cpuStart = cpuSeconds();
    wall.start();
    QThread::sleep(5);
    const double cpu = cpuSeconds() - cpuStart;
    const double seconds = static_cast<double>(wall.nsecsElapsed()) / 1e9;

    polling.reset();
    bench("worker_idle_cpu", 100.0 * cpu / seconds, "%");
    return 0;
}
