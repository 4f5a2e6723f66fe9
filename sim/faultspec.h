#pragma once
// Faults of the virtual instrument as the command lines name them (--fault KIND[:ARG]), so that
// a field problem can be rehearsed with the program itself.

#include <QString>
#include <QStringList>

#include <optional>

namespace sim {

class VirtualInstrument;

struct FaultSpec {
    enum class Kind { Silent, Delay, Drop, BadCrc, BadBlockCrc, Stray, SplitPush, UnplugAfter };
    Kind kind = Kind::Silent;
    int number = 0;   // delay:MS, drop:N, split-push:N, unplug-after:N
    QByteArray bytes; // stray:HEX
};

// Reads one KIND[:ARG]; nullopt with the reason in *error when it is not one.
std::optional<FaultSpec> parseFault(const QString& text, QString* error = nullptr);
// Arms the fault on the instrument.
void applyFault(VirtualInstrument& instrument, const FaultSpec& fault);
// The lines that describe the kinds, for --help.
QString faultHelp();

} // namespace sim
