#include "clicommands.h"
#include "comparisonrows.h"
#include "comparisonsheet.h"
#include "csvtable.h"
#include "excelengine.h"
#include "historydatabase.h"
#include "historyjournal.h"
#include "historystore.h"
#include "safefile.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <utility>

using namespace history;

namespace {

int usage(const char* why) {
    std::fprintf(stderr,
                 "velorin-cli history: %s\n"
                 "usage: velorin-cli [--database URL] history [--serial SN] [--from DATE] "
                 "[--to DATE] [--verdict PASS|NG] [--product NAME] [--lot TEXT]\n"
                 "         [--station NAME] [--out FILE.csv|FILE.xlsx]\n",
                 why);
    return 2;
}

// A day (yyyy-MM-dd, local time) or a moment (ISO 8601). `end` turns a day into the start of the
// next one, so --to includes the whole day.
QDateTime parseWhen(const QString& text, bool end) {
    const QDate day = QDate::fromString(text, Qt::ISODate);
    if (day.isValid() && text.size() == 10)
        return QDateTime(end ? day.addDays(1) : day, QTime(0, 0));
    return QDateTime::fromString(text, Qt::ISODateWithMs);
}

// One field of the history's CSV: numbers as the history gives them, texts through the
// spreadsheet-safe CSV field (a name such as "=HYPERLINK(...)" stays a text).
QByteArray historyField(const QVariant& value) {
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::Double:
        return QString::number(value.toDouble(), 'g', 15).toUtf8();
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return value.toString().toUtf8();
    default:
        return csv::field(value.toString());
    }
}

// The comparisons of the filter as the comparison workbook of their display mode.
int writeWorkbook(HistoryDatabase& db, const HistoryFilter& filter, const QString& path) {
    const QVector<HistoryComparison> found = db.comparisons(filter);
    QList<ComparisonRecord> records;
    QList<QStringList> listRows;
    records.reserve(found.size());
    listRows.reserve(found.size());
    // Oldest first, numbered as a list would number them.
    for (auto it = found.crbegin(); it != found.crend(); ++it) {
        const ComparisonRecord record = historymapping::fromHistory(*it, int(records.size()) + 1);
        QStringList texts = record.settings.oldLayout ? comparisonrows::oldListRowTexts(record)
                                                      : comparisonrows::listRowTexts(record);
        // As the history's CSV writes numbers.
        for (const auto& [column, value] : historymapping::unfitValues(*it, record))
            if (column < texts.size())
                texts[column] = QString::fromUtf8(historyField(value));
        records.append(record);
        listRows.append(texts);
    }
    const bool old = !records.isEmpty() && records.first().settings.oldLayout;
    const int mode = records.isEmpty() ? 0 : records.first().settings.displayMode;
    for (const ComparisonRecord& r : records) {
        if (r.settings.oldLayout != old || (!old && r.settings.displayMode != mode)) {
            std::fprintf(stderr, "velorin-cli: the comparisons found were measured in several "
                                 "display modes; one workbook holds one (narrow the filter)\n");
            return 1;
        }
    }
    // The previous file stays until the new one is complete: the engine replaces it on save.
    ExcelEngine engine(path);
    const bool written =
        engine.open(1, ExcelEngine::OpenMode::Replace) &&
        (old ? engine.writeAllData(comparisonsheet::oldLayoutBlock(false, listRows)) &&
                   engine.save()
             : engine.writeTable(comparisonsheet::newLayoutTable(mode, listRows)));
    if (!written) {
        std::fprintf(stderr, "velorin-cli: cannot write %s: %s\n", qPrintable(path),
                     qPrintable(engine.errorString()));
        return 1;
    }
    engine.close();
    std::fprintf(stderr, "%lld comparisons written to %s\n", static_cast<long long>(records.size()),
                 qPrintable(path));
    return 0;
}

bool historyOff = false;

} // namespace

void setHistoryOff(bool off) {
    historyOff = off;
}

HistoryUse openHistoryForWriting(HistoryStore& store, const QString& database) {
    if (historyOff) {
        std::fprintf(stderr, "velorin-cli: --no-history: the comparisons are not stored in the "
                             "history\n");
        return HistoryUse::Off;
    }
    const HistoryUrl url = historyUrl(database);
    if (!url.isValid()) {
        std::fprintf(stderr, "velorin-cli: %s\n", qPrintable(url.error));
        return HistoryUse::BadUrl;
    }
    // A comparison the history does not take is not shown, and not written later either.
    store.setKeepRefused(false);
    QObject::connect(&store, &HistoryStore::labFailed, [](const QString& message) {
        std::fprintf(stderr, "velorin-cli: %s\n", qPrintable(message));
    });
    if (!store.openUrl(url)) {
        std::fprintf(stderr,
                     "velorin-cli: the history cannot be written: %s\n(--no-history measures "
                     "without it)\n",
                     qPrintable(store.lastMessage()));
        return HistoryUse::Failed;
    }
    return HistoryUse::Stored;
}

void closeHistory(HistoryStore& store) {
    const bool wasOpen = !store.localPath().isEmpty();
    store.close();
    if (wasOpen && store.hasLab() && store.unsyncedCount() > 0)
        std::fprintf(stderr,
                     "velorin-cli: %d row(s) not yet copied to the lab database %s%s; they stay "
                     "queued and are copied at the next start\n",
                     store.unsyncedCount(), qPrintable(store.labText()),
                     store.syncMessage().isEmpty()
                         ? ""
                         : qPrintable(QStringLiteral(" (%1)").arg(store.syncMessage())));
}

HistoryUrl historyUrl(const QString& databaseOption) {
    QString text = databaseOption;
    if (text.isEmpty())
        text = qEnvironmentVariable("VELORIN_DATABASE");
    if (!text.isEmpty())
        return HistoryUrl::parse(text);
    // The program's own file, where the window writes it.
    return HistoryUrl::sqliteFile(defaultHistoryPath());
}

int runHistory(const QString& database, const QStringList& arguments) {
    QStringList args = arguments;
    HistoryFilter filter;
    QString out;
    while (!args.isEmpty()) {
        const QString option = args.takeFirst();
        if (args.isEmpty())
            return usage("an option lacks its value");
        const QString value = args.takeFirst();
        if (option == QLatin1String("--serial")) {
            filter.serial = value;
        } else if (option == QLatin1String("--from") || option == QLatin1String("--to")) {
            const bool to = option == QLatin1String("--to");
            const QDateTime when = parseWhen(value, to);
            if (!when.isValid())
                return usage("a date is yyyy-MM-dd or an ISO 8601 time");
            (to ? filter.to : filter.from) = when;
        } else if (option == QLatin1String("--product")) {
            filter.productName = value;
        } else if (option == QLatin1String("--lot")) {
            filter.lot = value;
        } else if (option == QLatin1String("--station")) {
            filter.station = value;
        } else if (option == QLatin1String("--verdict")) {
            if (value != QLatin1String("PASS") && value != QLatin1String("NG"))
                return usage("the verdict is PASS or NG");
            filter.pass = value == QLatin1String("PASS");
        } else if (option == QLatin1String("--out")) {
            if (!value.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive) &&
                !value.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive))
                return usage("--out writes a .csv or .xlsx file");
            out = value;
        } else {
            return usage("unknown option");
        }
    }
    const HistoryUrl url = historyUrl(database);
    if (!url.isValid()) {
        std::fprintf(stderr, "velorin-cli: %s\n", qPrintable(url.error));
        return 2;
    }
    // Reading creates nothing: a history never written is said to be missing.
    if (url.kind == HistoryUrl::Kind::Sqlite && !QFileInfo::exists(url.path)) {
        std::fprintf(stderr,
                     "velorin-cli: there is no history at %s (nothing measured there yet)\n",
                     qPrintable(url.path));
        return 1;
    }
    HistoryDatabase db;
    if (!db.open(url)) {
        std::fprintf(stderr, "velorin-cli: %s\n", qPrintable(db.failure().message));
        return 1;
    }
    if (out.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive))
        return writeWorkbook(db, filter, out);
    ComparisonCursor query = db.select(filter);
    if (query.failed()) {
        std::fprintf(stderr, "velorin-cli: the history cannot be read: %s\n",
                     qPrintable(db.failure().message));
        return 1;
    }

    // To the terminal, or through the checked save path: the file replaces an old one only when
    // every write, the sync and the close succeeded.
    SafeFile file(out);
    if (!out.isEmpty() && !file.open()) {
        std::fprintf(stderr, "velorin-cli: cannot write %s: %s\n", qPrintable(out),
                     qPrintable(file.errorString()));
        return 1;
    }
    const auto put = [&](const QByteArray& line) {
        if (!out.isEmpty())
            return file.write(line);
        return std::fwrite(line.constData(), 1, size_t(line.size()), stdout) == size_t(line.size());
    };
    bool ok = put(HistoryDatabase::comparisonColumns().join(QLatin1Char(',')).toUtf8() + '\n');
    const int columns = int(HistoryDatabase::comparisonColumns().size());
    int rows = 0;
    while (ok && query.next()) {
        QByteArray line;
        for (int i = 0; i < columns; ++i) {
            if (i > 0)
                line += ',';
            line += historyField(query.value(i));
        }
        ok = put(line + '\n');
        ++rows;
    }
    if (query.failed()) {
        std::fprintf(stderr, "velorin-cli: the history could not be read to the end\n");
        return 1;
    }
    if (out.isEmpty()) {
        if (!ok || std::fflush(stdout) != 0 || std::ferror(stdout)) {
            std::fprintf(stderr, "velorin-cli: writing the history failed: %s\n",
                         std::strerror(errno));
            return 1;
        }
        return 0;
    }
    if (!ok || !file.commit()) {
        std::fprintf(stderr, "velorin-cli: cannot write %s: %s\n", qPrintable(out),
                     qPrintable(file.errorString()));
        return 1;
    }
    std::fprintf(stderr, "%d comparisons written to %s\n", rows, qPrintable(out));
    return 0;
}
