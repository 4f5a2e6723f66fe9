#include "clicommands.h"

#include "deviceinfocommands.h"
#include "frameport.h"
#include "messagesink.h"
#include "modeltable.h"
#include "virtualinstrument.h"

#include <cstdio>
#include <memory>

namespace {

class StderrSink : public MessageSink {
public:
    void showMessage(const QString& title, const QString& text) override
    {
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
    }
};

const char* displayModeName(int mode)
{
    static const char* const names[] = {"Haze and T", "Haze", "T", "L*a*b*", "LCh", "Yxy", "Haze, T and L*a*b*"};
    return mode >= 0 && mode < 7 ? names[mode] : "unknown";
}

void line(const char* label, const QString& value)
{
    std::printf("%-20s %s\n", label, qPrintable(value));
}

} // namespace

int runInfo(const QString& simulateModel, const QStringList& args)
{
    if (!args.isEmpty()) {
        std::fprintf(stderr, "Usage: velorin-cli [--simulate MODEL] info\n");
        return 2;
    }
    LinkFramePort port;
    std::shared_ptr<sim::VirtualInstrument> instrument;
    if (!simulateModel.isEmpty()) {
        instrument = sim::VirtualInstrument::fromPreset(simulateModel);
        if (!instrument) {
            std::fprintf(stderr, "velorin-cli: no virtual instrument for model %s (known: %s)\n",
                         qPrintable(simulateModel),
                         qPrintable(sim::VirtualInstrument::presetModels().join(QLatin1String(", "))));
            return 2;
        }
        port.setTransportFactory([instrument] { return instrument->createTransport(); });
    }
    if (!port.openLink()) {
        std::fprintf(stderr, "No instrument found. Connect the instrument by USB (vendor 2047, product 0301) "
                             "and check that you may access it, or use --simulate MODEL.\n");
        return 1;
    }

    StderrSink sink;
    KeyInfo key;
    CommandStatus status = ReadKeyInfo(port, key);
    if (status == Status::ErrorReply)
        status = ReadProductionInfo(port, key, &sink);
    if (status < 0) {
        std::fprintf(stderr, "Failed to read device information! (status %d)\n", status);
        return 1;
    }
    int version = 0;
    if (ReadSoftwareVersion(port, version, &sink) < 0)
        return 1;

    const std::optional<ModelRow> row = ModelTable::loadDefault().find(key.meterNumber);
    const QString model = row ? row->model : QStringLiteral("unknown");
    line("Serial number:", QString::number(key.serialNumber));
    line("Model code:", QString::number(key.meterNumber));
    line("Model:", model);
    line("Production date:", key.productionDate.isValid() ? key.productionDate.toString(Qt::ISODate)
                                                          : QStringLiteral("invalid"));
    line("Software version:", QString::number(version / 100.0, 'f', 2));

    if (!models::usesOldLayout(model, version)) {
        int mode = 0;
        if (ReadDisplayParam(port, mode) < 0) {
            std::fprintf(stderr, "Failed to read DisplayParam!\n");
            return 1;
        }
        line("Display mode:", QStringLiteral("%1 (%2)").arg(mode).arg(QLatin1String(displayModeName(mode))));
    }
    if (!row) {
        std::fprintf(stderr, "Model code %u is not in the model table; settings not read.\n", key.meterNumber);
        return 0;
    }
    if (row->uiIndex == 1 || row->uiIndex == 2) {
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
