// velorin-cli export-records: the comparisons stored in the instrument, imported as the
// workspace's "Read comparison records" imports them, then written as its Export writes them.
#include "clicommands.h"

#include "cliinstrument.h"
#include "comparisonsession.h"
#include "historyjournal.h"
#include "historystore.h"
#include "listexport.h"

#include <algorithm>
#include <cstdio>
#include <memory>

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

int fail(const QString& text) {
    std::fprintf(stderr, "velorin-cli export-records: %s\n", qPrintable(text));
    return 1;
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
    if (!instrument.open(simulateModel))
        return 1;
    ComparisonSession session(instrument.port);
    session.setModelTable(ModelTable::loadDefault());
    // A mode the instrument does not report now is still read from its own area.
    const SessionResult identified = session.identify();
    if (identified && !session.identity().versionRead)
        return fail(identified->text);
    const InstrumentProfile& profile = session.profile();
    if (profile.oldLayout != (mode < 0))
        return fail(profile.oldLayout
                        ? QStringLiteral("this instrument keeps its records in the old layout: "
                                         "use --mode old")
                        : QStringLiteral("--mode old: this instrument has no old-layout records"));
    // The settings that decide a verdict, read as the page reads them on connection.
    const bool parameter = profile.oldLayout || profile.parameterPage;
    if (const SessionResult r = parameter ? session.readParameter() : session.readTolerance())
        return fail(r->text);

    // Into the history first, in one transaction, as the workspace's import does; records
    // exported before are recognised and updated, not stored twice. Nothing is written that is
    // not stored.
    std::unique_ptr<HistoryJournal> journal;
    if (use == HistoryUse::Stored) {
        journal = std::make_unique<HistoryJournal>(store, session, nullptr, false);
        journal->setStrict(true);
    }
    ComparisonSession::ImportResult imported;
    // No stored records is no failure: the file gets the headings alone.
    if (const SessionResult r = session.importRecords({}, {}, &imported, {}, mode);
        r && !r->notice) {
        if (use == HistoryUse::Stored && store.state() == history::HistoryStore::State::Off)
            return fail(QStringLiteral("the records could not be stored in the history, so none "
                                       "is written: %1\n(--no-history exports without the "
                                       "history)")
                            .arg(store.lastMessage()));
        return fail(r->text);
    }

    const QList<ComparisonRecord>& rows = session.list().records();
    const listexport::Outcome written = listexport::write(
        path, {profile.oldLayout, std::max(mode, 0), session.modelName(), session.serialText()},
        rows, false);
    if (!written.written)
        return fail(
            QStringLiteral("%1 %2: %3")
                .arg(written.inUse
                         ? QStringLiteral("Can't overwrite this file, maybe the file is in use!")
                     : listexport::isCsvPath(path)
                         ? QStringLiteral("Failed to export data to CSV file")
                         : QStringLiteral("Failed to export data to excel file"),
                     path, written.reason));
    std::printf("%lld records written to %s\n", static_cast<long long>(rows.size()),
                qPrintable(path));
    return 0;
}
