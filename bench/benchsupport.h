#pragma once

#include "frameport.h"
#include "mythread.h"
#include "virtualinstrument.h"

#include <QFile>
#include <QThread>
#include <QVector>

#include <algorithm>
#include <cstdio>
#include <memory>

// A frame port wired to a virtual instrument, as the program wires it under --simulate.
struct SimulatedLink {
    std::shared_ptr<sim::VirtualInstrument> instrument;
    LinkFramePort port;

    explicit SimulatedLink(const char* model = "KV510")
        : instrument(sim::VirtualInstrument::fromPreset(QString::fromLatin1(model))) {
        port.setTransportFactory([i = instrument] { return i->createTransport(); });
        if (!port.openLink()) {
            std::fprintf(stderr, "cannot open the virtual instrument\n");
            std::exit(1);
        }
    }
};

// The background worker polling a link in its own thread, as the program runs it.
struct PollingWorker {
    QThread thread;
    MyThread* worker;

    explicit PollingWorker(FramePort& port) : worker(new MyThread(&port)) {
        worker->moveToThread(&thread);
        QObject::connect(&thread, &QThread::finished, worker, &QObject::deleteLater);
        QObject::connect(&thread, &QThread::started, worker, &MyThread::startThreadSlot);
        thread.start();
    }
    ~PollingWorker() {
        worker->requestStop();
        thread.quit();
        thread.wait();
    }
};

inline double percentile(QVector<double> values, double p) {
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto index = static_cast<qsizetype>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values.at(std::clamp<qsizetype>(index, 0, values.size() - 1));
}

inline void bench(const char* name, double value, const char* unit) {
    std::printf("BENCH %s %.3f %s\n", name, value, unit);
    std::fflush(stdout);
}

// The process's resident memory in MiB, 0 where /proc does not tell.
inline double residentMegabytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}
