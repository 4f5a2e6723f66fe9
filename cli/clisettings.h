#pragma once
// The settings options of the commands that measure (compare, products add): read and written as
// the page reads them on connection and writes them from Setup or the dE parameter dialog.

#include "comparisonsession.h"

#include <QString>

#include <optional>

struct SettingOptions {
    std::optional<double> hazeTolerance, tTolerance, threshold;
    std::optional<int> formula;
    bool any() const { return hazeTolerance || tTolerance || threshold || formula; }
};

// Takes --haze-tol, --t-tol, --threshold or --formula with its number; false when `option` is
// none of them or the number does not suit it.
bool takeSettingOption(const QString& option, double value, SettingOptions& o);

// Reads the settings that decide a verdict, as the page reads them on connection.
SessionResult readSettings(ComparisonSession& session);

// Writes the settings given, the others as the instrument holds them; 0 when done, else the exit
// status, the reason printed after "velorin-cli COMMAND: ".
int writeSettings(ComparisonSession& session, const SettingOptions& o, const char* command);

// Prints "velorin-cli COMMAND: text" on stderr; returns 1.
int commandFailed(const char* command, const QString& text);
