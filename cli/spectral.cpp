#include "clicommands.h"

#include "cliinstrument.h"
#include "instrumenttext.h"
#include "measurementcommands.h"
#include "records.h"
#include "spectralsheet.h"

#include <cstdio>

namespace {

// "--out FILE.xlsx" is the only argument: a workbook is all these commands write, so another
// suffix (s.txt) would name a file that is not what it says.
bool outPath(const char* command, const QStringList& args, QString& path) {
    if (args.size() == 2 && args.at(0) == QLatin1String("--out") &&
        args.at(1).endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive) && args.at(1).size() > 5) {
        path = args.at(1);
        return true;
    }
    std::fprintf(stderr, "Usage: velorin-cli [--simulate MODEL] %s --out FILE.xlsx\n", command);
    return false;
}

// Writes the same sheet as the spectral page's export.
int writeSheet(const QString& path, const QList<spectralsheet::Row>& rows) {
    const spectralsheet::Outcome outcome = spectralsheet::write(path, rows);
    if (!outcome.written) {
        std::fprintf(stderr, "Failed to export data to excel file %s: %s\n", qPrintable(path),
                     qPrintable(outcome.reason));
        return 1;
    }
    std::printf("%lld spectra written to %s\n", static_cast<long long>(rows.size()),
                qPrintable(path));
    return 0;
}

} // namespace

int runSpectral(const QString& simulateModel, const QStringList& args) {
    QString path;
    if (!outPath("spectral", args, path))
        return 2;
    CliInstrument instrument;
    if (!instrument.open(simulateModel))
        return 1;
    std::array<int, 31> raw{};
    if (ReadSpectralMeasurement(instrument.port, raw) < 0) {
        std::fprintf(stderr, "Failed to read data information!\n");
        return 1;
    }
    SpectralRecord record;
    for (size_t k = 0; k < raw.size(); ++k)
        record.values[k] = raw[k] / 100.0;
    return writeSheet(path, {{1, QStringLiteral("spec1"), record}});
}

int runSpectralHistory(const QString& simulateModel, const QStringList& args) {
    QString path;
    if (!outPath("spectral-history", args, path))
        return 2;
    CliInstrument instrument;
    if (!instrument.open(simulateModel) || !instrument.identify())
        return 1;
    const int uiIndex = instrument.uiIndex();
    int count = 0;
    const CommandStatus counted = ReadSpectralRecordCount(instrument.port, uiIndex, count);
    if (counted < 0) {
        std::fprintf(stderr, "%s\n",
                     counted == Status::BadChecksum
                         ? "Spectral history data error, unable to export!"
                         : "Failed to read the number of spectral records!");
        return 1;
    }
    QByteArray values, names;
    if (records::readArea(instrument.port, records::spectralValues(uiIndex),
                          records::kSpectralRequested * count, values) < 0 ||
        records::readArea(instrument.port, records::spectralNames(uiIndex),
                          records::kSpectralNameSlot * count, names) < 0) {
        std::fprintf(stderr, "Reading spectral recording data failed!\n");
        return 1;
    }
    QList<spectralsheet::Row> rows;
    int unnamed = 1;
    for (const records::Spectrum& s : records::decodeSpectra(values, names, count)) {
        SpectralRecord record;
        record.values = s.values;
        QString name = decodeInstrumentText(s.name);
        if (name.isEmpty())
            name = QStringLiteral("spec%1").arg(unnamed++);
        rows.append({static_cast<int>(rows.size()) + 1, name, record});
    }
    return writeSheet(path, rows);
}
