#include "listexport.h"

#include "comparisoncsv.h"
#include "comparisonsheet.h"
#include "liststatistics.h"
#include "sheetwriter.h"
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
    // Straight from the records into the file; the previous file stays until the new one is
    // complete.
    xlsx::SheetWriter writer(path);
    const bool opened = writer.open();
    constexpr int kList = 0;
    const int statistics = opened ? writer.sheet(analysis::statisticsSheetName()) : -1;
    const bool written =
        opened && statistics >= 0 &&
        (old ? comparisonsheet::writeOldLayout(writer, kList, chinese, records, progress)
             : comparisonsheet::writeNewLayout(writer, kList, mode, records, progress)) &&
        // A template whose first sheet bears the statistics' name keeps the list there.
        (statistics == kList ||
         analysis::writeSheetRows(writer, statistics,
                                  analysis::listStatisticsSheet(mode, old, chinese, records))) &&
        writer.save(kList);
    outcome.written = written;
    if (!written) {
        outcome.inUse = writer.lastError() == xlsx::SheetWriter::Error::ReplaceFailed;
        outcome.reason = writer.errorString();
    }
    return outcome;
}

} // namespace listexport
