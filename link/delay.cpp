#include "delay.h"

#include <QElapsedTimer>
#include <QThread>

void delayMs(int ms) {
    if (ms <= 0)
        return;
    QElapsedTimer timer;
    timer.start();
    // Sleeps can end early on some systems; top up until the time has really passed.
    for (qint64 left = ms; left > 0; left = ms - timer.elapsed())
        QThread::msleep(static_cast<unsigned long>(left));
}
