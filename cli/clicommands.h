#pragma once

#include <QStringList>

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

namespace history {
class HistoryStore;
struct HistoryUrl;
} // namespace history
// The history URL of --database, VELORIN_DATABASE or the program's own file.
history::HistoryUrl historyUrl(const QString& databaseOption);
// Opens the history for a command that writes to it; false (with the reason on stderr) when the
// URL is wrong. A history that cannot be written now only warns: the command goes on.
bool openHistoryForWriting(history::HistoryStore& store, const QString& database);
