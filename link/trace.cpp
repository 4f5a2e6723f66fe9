#include "trace.h"

#include <QDebug>

#include <atomic>

namespace {
std::atomic<bool>& flag() {
    static std::atomic<bool> on{qEnvironmentVariableIntValue("VELORIN_TRACE") == 1};
    return on;
}
} // namespace

namespace trace {

bool enabled() {
    return flag().load(std::memory_order_relaxed);
}

void setEnabled(bool on) {
    flag().store(on);
}

QByteArray hex(const QByteArray& bytes) {
    return bytes.toHex(' ').toUpper();
}

void tx(const QByteArray& bytes) {
    if (enabled())
        qDebug().noquote() << "TX" << QString::fromLatin1(hex(bytes));
}

void rx(const QByteArray& bytes) {
    if (enabled())
        qDebug().noquote() << "RX" << QString::fromLatin1(hex(bytes));
}

void dropped(const QByteArray& bytes) {
    if (enabled())
        qDebug().noquote() << "DROPPED" << QString::fromLatin1(hex(bytes));
}

} // namespace trace
