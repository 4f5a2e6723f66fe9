#pragma once

#include <QStringList>

// Subcommands of velorin-cli. Each takes the arguments after its name and returns the exit status.
int runInfo(const QString& simulateModel, const QStringList& args);
int runDeltaE(const QStringList& args);
int runSpectral(const QString& simulateModel, const QStringList& args);
int runSpectralHistory(const QString& simulateModel, const QStringList& args);
int runExportRecords(const QString& simulateModel, const QStringList& args);
int runCompare(const QString& simulateModel, const QStringList& args);
int runWriteStdColor(const QString& simulateModel, const QStringList& args);
int runMakeStdColor(const QStringList& args);
// `database` is the --database URL; empty means VELORIN_DATABASE or the program's own file.
int runHistory(const QString& database, const QStringList& args);
