#include "clicommands.h"

#include "cliinstrument.h"
#include "colour.h"
#include "comparisoncsv.h"
#include "comparisonrows.h"
#include "comparisonsheet.h"
#include "excelengine.h"
#include "historyjournal.h"
#include "historystore.h"
#include "measurementcommands.h"
#include "records.h"

#include <QDateTime>

#include <cstdio>

namespace {

constexpr char kUsage[] =
    "Usage: velorin-cli [--database URL|--no-history] [--simulate MODEL] export-records\n"
    "         --mode 0..6|old --out FILE.xlsx|FILE.csv\n";

// "--mode M --out FILE" in either order; mode -1 stands for the old-layout area.
bool parseArgs(const QStringList& args, int& mode, QString& path) {
    bool haveMode = false;
    for (int i = 0; i + 1 < args.size(); i += 2) {
        const QString& key = args.at(i);
        const QString& value = args.at(i + 1);
        if (key == QLatin1String("--out") && !value.isEmpty()) {
            path = value;
        } else if (key == QLatin1String("--mode")) {
            bool ok = false;
            mode = value == QLatin1String("old") ? -1 : value.toInt(&ok);
            haveMode = value == QLatin1String("old") || (ok && mode >= 0 && mode <= 6);
            if (!haveMode)
                return false;
        } else {
            return false;
        }
    }
    return args.size() == 4 && haveMode && !path.isEmpty();
}

} // namespace

int runExportRecords(const QString& simulateModel, const QString& database,
                     const QStringList& args) {
    int mode = 0;
    QString path;
    if (!parseArgs(args, mode, path)) {
        std::fprintf(stderr, "%s", kUsage);
        return 2;
    }
    history::HistoryStore store;
    const HistoryUse use = openHistoryForWriting(store, database);
    if (use == HistoryUse::BadUrl || use == HistoryUse::Failed)
        return use == HistoryUse::BadUrl ? 2 : 1;
    const HistoryCloser closer{store};
    CliInstrument instrument;
    if (!instrument.open(simulateModel) || !instrument.identify())
        return 1;
    const bool old = mode < 0;

    // The same judging as the workspace after connecting: tolerances for haze meters, the
    // colour-difference parameter for colorimeters and for the old layout's formula.
    JudgingSettings judging;
    judging.oldLayout = old;
    judging.displayMode = old ? 0 : mode;
    const int uiIndex = instrument.uiIndex();
    if (old || uiIndex == 1 || uiIndex == 2) {
        int formula = 0, threshold = 0;
        if (ReadDeltaEParam(instrument.port, formula, threshold) < 0) {
            std::fprintf(stderr, "Failed to read △E parameter information!\n");
            return 1;
        }
        if (old && formula > 5)
            formula = 0;
        // Only the old layout and colorimeters with a selectable formula judge with it.
        judging.formula = (old || uiIndex == 1) ? formula : -1;
        judging.threshold = threshold;
    }
    if (!old && (uiIndex == 0 || uiIndex == 3)) {
        int haze = 0, t = 0, threshold = 0;
        if (ReadTolerance(instrument.port, haze, t, threshold) < 0) {
            std::fprintf(stderr, "Failed to Read Tolerance information!\n");
            return 1;
        }
        judging.hazeTolerance = haze;
        judging.tTolerance = t;
        judging.threshold = threshold;
    }

    int count = 0;
    const CommandStatus counted = old ? ReadColorDiffRecordCount(instrument.port, count)
                                      : ReadModeRecordCount(instrument.port, mode, uiIndex, count);
    if (counted < 0) {
        std::fprintf(stderr, "%s\n",
                     counted == Status::BadChecksum
                         ? "Color difference history data error, unable to export!"
                         : "Failed to read the number of color difference records!");
        return 1;
    }
    const records::ModeArea area =
        old ? records::ModeArea{records::kOldLayoutData, records::kOldLayoutNames,
                                records::kOldLayoutRecord}
            : records::modeArea(mode);
    const int nameSlot = old ? records::kOldLayoutNameSlot : records::kNameSlot;
    QByteArray data, names;
    if (records::readArea(instrument.port, area.data, count * area.recordSize, data) < 0) {
        std::fprintf(stderr, "Reading color difference recording lab data failed!\n");
        return 1;
    }
    if (records::readArea(instrument.port, area.names, count * nameSlot, names) < 0) {
        std::fprintf(stderr, "Failed to read color difference record name data!\n");
        return 1;
    }

    const QDateTime time = QDateTime::currentDateTimeUtc();
    QList<ComparisonRecord> rows;
    const QList<records::Comparison> stored =
        old ? records::decodeOldLayoutRecords(data, names, count)
            : records::decodeModeRecords(mode, data, names, count);
    for (const records::Comparison& one : stored) {
        ComparisonRecord record = comparisonrows::fromStored(one, judging);
        record.sequence = int(rows.size()) + 1;
        record.time = time;
        record.model = instrument.modelName();
        record.serialNumber = QString::number(instrument.key.serialNumber);
        rows.append(record);
    }

    // Into the history first, in one transaction, as the workspace's import does; records
    // exported before are updated, not stored twice. Nothing is written that is not stored.
    QVector<history::OpenListRow> historyRows;
    const QString station = history::HistoryStore::stationName();
    for (const ComparisonRecord& record : rows)
        historyRows.append({historymapping::toHistory(record, station), double(record.sequence)});
    if (use == HistoryUse::Stored && !rows.isEmpty() &&
        !store.recordMany(historyRows, false, history::HistoryDatabase::Conflict::Relist)) {
        std::fprintf(stderr,
                     "velorin-cli: the records could not be stored in the history, so none is "
                     "written: %s\n(--no-history exports without the history)\n",
                     qPrintable(store.lastMessage()));
        return 1;
    }

    if (path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive)) {
        QString reason;
        if (!comparisoncsv::write(path, old, mode, false, rows, &reason)) {
            std::fprintf(stderr, "Failed to export data to CSV file %s: %s\n", qPrintable(path),
                         qPrintable(reason));
            return 1;
        }
        std::printf("%lld records written to %s\n", static_cast<long long>(rows.size()),
                    qPrintable(path));
        return 0;
    }
    // The previous file stays until the new one is complete: the engine replaces it on save.
    ExcelEngine engine(path);
    const bool written =
        engine.open(1, ExcelEngine::OpenMode::Replace) &&
        (old ? engine.writeAllData(comparisonsheet::oldLayoutBlock(false, rows)) && engine.save()
             : engine.writeTable(comparisonsheet::newLayoutTable(mode, rows)));
    if (!written) {
        std::fprintf(stderr, "%s %s: %s\n",
                     engine.lastError() == ExcelEngine::Error::ReplaceFailed
                         ? "Can't overwrite this file, maybe the file is in use!"
                         : "Failed to export data to excel file",
                     qPrintable(path), qPrintable(engine.errorString()));
        return 1;
    }
    engine.close();
    std::printf("%lld records written to %s\n", static_cast<long long>(rows.size()),
                qPrintable(path));
    return 0;
}
