#pragma once

#include "historyrecords.h"

#include <QStringList>

#include <optional>

// Subcommands of velorin-cli. Each takes the arguments after its name and returns the exit status.
int runInfo(const QString& simulateModel, const QStringList& args);
int runDeltaE(const QStringList& args);
int runSpectral(const QString& simulateModel, const QStringList& args);
int runSpectralHistory(const QString& simulateModel, const QStringList& args);
// `database`: as for runHistory; the comparisons are written to that history.
int runExportRecords(const QString& simulateModel, const QString& database,
                     const QStringList& args);
int runCompare(const QString& simulateModel, const QString& database, const QStringList& args);
int runWriteStdColor(const QString& simulateModel, const QStringList& args);
int runMakeStdColor(const QStringList& args);
// `database` is the --database URL; empty means VELORIN_DATABASE or the program's own file.
int runHistory(const QString& database, const QStringList& args);
// products add|list|remove; `database` as for runHistory.
int runProducts(const QString& simulateModel, const QString& database, const QStringList& args);

namespace history {
class HistoryStore;
struct HistoryUrl;
} // namespace history
// The product of the model by that name, not retired: from the history, or else from its lab
// database (then kept in the history too).
std::optional<history::HistoryProduct> findProduct(history::HistoryStore& store,
                                                   const QString& model, const QString& name);
// The history URL of --database, VELORIN_DATABASE or the program's own file.
history::HistoryUrl historyUrl(const QString& databaseOption);
// --no-history: commands that write comparisons run without the history.
void setHistoryOff(bool off);
enum class HistoryUse {
    Stored, // open; a comparison it does not take stops the command
    Off,    // --no-history, said on stderr
    Failed, // cannot be written now (the reason on stderr): exit status 1
    BadUrl  // the URL is wrong (the reason on stderr): exit status 2
};
// Opens the history for a command that writes comparisons. Strict: a change the file does not
// take now is dropped, so nothing is stored later that the command did not show.
HistoryUse openHistoryForWriting(history::HistoryStore& store, const QString& database);
// Closes it, saying what waits for the lab database (kept for the next start).
void closeHistory(history::HistoryStore& store);
// Closes the history when a command ends, whichever way it ends.
struct HistoryCloser {
    history::HistoryStore& store;
    ~HistoryCloser() { closeHistory(store); }
};
