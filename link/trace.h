#pragma once

#include <QByteArray>

// Traffic trace on the debug stream, enabled by VELORIN_TRACE=1: one line per frame written
// ("TX AB 20 ...") and per chunk read ("RX ..."). Only the link calls these.
namespace trace {
bool enabled();
void setEnabled(bool on); // for tests; the environment decides at start
void tx(const QByteArray& bytes);
void rx(const QByteArray& bytes);
void dropped(const QByteArray& bytes);   // read away before a request: nobody asked for them
QByteArray hex(const QByteArray& bytes); // "AB 20 05"
} // namespace trace
