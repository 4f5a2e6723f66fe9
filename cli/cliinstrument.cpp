#include "cliinstrument.h"

#include "readingsfile.h"

#include <cstdio>

namespace {
// One command line, one process: the faults it names hold for the one instrument it opens.
QList<sim::FaultSpec>& armedFaults() {
    static QList<sim::FaultSpec> faults;
    return faults;
}
} // namespace

void CliInstrument::setFaults(const QList<sim::FaultSpec>& faults) {
    armedFaults() = faults;
}

void CliInstrument::StderrSink::showMessage(const QString& title, const QString& text) {
    std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
}

bool CliInstrument::open(const QString& simulateModel) {
    if (!simulateModel.isEmpty()) {
        simulated_ = sim::VirtualInstrument::fromPreset(simulateModel);
        if (!simulated_) {
            std::fprintf(
                stderr, "velorin-cli: no virtual instrument for model %s (known: %s)\n",
                qPrintable(simulateModel),
                qPrintable(sim::VirtualInstrument::presetModels().join(QLatin1String(", "))));
            return false;
        }
        if (!readingsFile_.isEmpty()) {
            QList<sim::Measurement> readings;
            QString error;
            if (!sim::loadReadings(readingsFile_, readings, error)) {
                std::fprintf(stderr, "velorin-cli: --readings %s\n", qPrintable(error));
                return false;
            }
            simulated_->setReadings(readings);
        }
        for (const sim::FaultSpec& fault : armedFaults())
            sim::applyFault(*simulated_, fault);
        port.setTransportFactory(
            [instrument = simulated_] { return instrument->createTransport(); });
    } else if (!readingsFile_.isEmpty()) {
        std::fprintf(stderr, "velorin-cli: --readings needs --simulate MODEL\n");
        return false;
    }
    if (!port.openLink()) {
        std::fprintf(
            stderr,
            "No instrument found. Connect the instrument by USB (vendor 2047, product 0301) "
            "and check that you may access it, or use --simulate MODEL.\n");
        return false;
    }
    return true;
}

bool CliInstrument::identify() {
    CommandStatus status = ReadKeyInfo(port, key);
    if (status == Status::ErrorReply)
        status = ReadProductionInfo(port, key, &sink_);
    if (status < 0) {
        std::fprintf(stderr, "Failed to read device information! (status %d)\n", status);
        return false;
    }
    if (ReadSoftwareVersion(port, softwareVersion, &sink_) < 0)
        return false;
    model = ModelTable::loadDefault().find(key.meterNumber);
    return true;
}
