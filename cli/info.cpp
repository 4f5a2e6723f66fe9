#include "clicommands.h"

#include "cliinstrument.h"

#include <cstdio>

namespace {

const char* displayModeName(int mode) {
    static const char* const names[] = {"Haze and T",        "Haze", "T", "L*a*b*", "LCh", "Yxy",
                                        "Haze, T and L*a*b*"};
    return mode >= 0 && mode < 7 ? names[mode] : "unknown";
}

void line(const char* label, const QString& value) {
    std::printf("%-20s %s\n", label, qPrintable(value));
}

} // namespace

int runInfo(const QString& simulateModel, const QStringList& args) {
    if (!args.isEmpty()) {
        std::fprintf(stderr, "Usage: velorin-cli [--simulate MODEL] info\n");
        return 2;
    }
    CliInstrument instrument;
    if (!instrument.open(simulateModel))
        return simulateModel.isEmpty() || sim::VirtualInstrument::fromPreset(simulateModel) ? 1 : 2;
    if (!instrument.identify())
        return 1;
    FramePort& port = instrument.port;
    const KeyInfo& key = instrument.key;
    const int version = instrument.softwareVersion;
    line("Serial number:", QString::number(key.serialNumber));
    line("Model code:", QString::number(key.meterNumber));
    line("Model:", instrument.modelName());
    line("Production date:", key.productionDate.isValid() ? key.productionDate.toString(Qt::ISODate)
                                                          : QStringLiteral("invalid"));
    line("Software version:", QString::number(version / 100.0, 'f', 2));

    if (!models::usesOldLayout(instrument.modelName(), version)) {
        int mode = 0;
        if (ReadDisplayParam(port, mode) < 0) {
            std::fprintf(stderr, "Failed to read DisplayParam!\n");
            return 1;
        }
        line("Display mode:",
             QStringLiteral("%1 (%2)").arg(mode).arg(QLatin1String(displayModeName(mode))));
    }
    if (!instrument.model) {
        std::fprintf(stderr, "Model code %u is not in the model table; settings not read.\n",
                     key.meterNumber);
        return 0;
    }
    if (instrument.uiIndex() == 1 || instrument.uiIndex() == 2) {
        int formula = 0, threshold = 0;
        if (ReadDeltaEParam(port, formula, threshold) < 0) {
            std::fprintf(stderr, "Failed to read \u25B3E parameter information!\n");
            return 1;
        }
        line("dE formula index:", QString::number(formula));
        line("dE threshold:", QString::number(threshold / 10.0, 'f', 1));
    } else {
        int haze = 0, t = 0, threshold = 0;
        if (ReadTolerance(port, haze, t, threshold) < 0) {
            std::fprintf(stderr, "Failed to Read Tolerance information!\n");
            return 1;
        }
        line("Haze tolerance:", QString::number(haze / 100.0, 'f', 2) + QLatin1String(" %"));
        line("T tolerance:", QString::number(t / 100.0, 'f', 2) + QLatin1String(" %"));
        line("dE threshold:", QString::number(threshold / 10.0, 'f', 1));
    }
    return 0;
}
