#include "listexport.h"

#include "comparisoncsv.h"
#include "comparisonsheet.h"
#include "excelengine.h"
#include "liststatistics.h"
#include "statisticssheet.h"

namespace listexport {

bool isCsvPath(const QString& path) {
    return path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive);
}

bool oneMeaning(const QList<ComparisonRecord>& records) {
    for (const ComparisonRecord& r : records)
        if (!ListMeaning::of(r).sameColumns(ListMeaning::of(records.first())))
            return false;
    return true;
}

Outcome write(const QString& path, const ListMeaning& meaning,
              const QList<ComparisonRecord>& records, bool chinese,
              const std::function<bool(int)>& progress) {
    Outcome outcome;
    const bool old = meaning.oldLayout;
    const int mode = std::max(meaning.displayMode, 0);
    if (isCsvPath(path)) {
        outcome.written = comparisoncsv::write(path, old, mode, chinese, records, &outcome.reason);
        return outcome;
    }
    // The previous file stays until the new one is complete: the engine replaces it on save.
    ExcelEngine engine(path);
    // The statistics go in first: the list's sheet is written last because writing it saves.
    const bool opened = engine.open(1, ExcelEngine::OpenMode::Replace);
    const int statistics = opened ? engine.addSheet(analysis::statisticsSheetName()) : 0;
    const bool written =
        statistics > 0 && engine.selectSheet(statistics) &&
        engine.writeAllData(analysis::listStatisticsSheet(mode, old, chinese, records)) &&
        engine.selectSheet(1) &&
        (old ? engine.writeAllData(comparisonsheet::oldLayoutBlock(chinese, records)) &&
                   engine.save()
             : engine.writeTable(comparisonsheet::newLayoutTable(mode, records), progress));
    outcome.written = written;
    if (!written) {
        outcome.inUse = engine.lastError() == ExcelEngine::Error::ReplaceFailed;
        outcome.reason = engine.errorString();
    }
    engine.close();
    return outcome;
}

} // namespace listexport
