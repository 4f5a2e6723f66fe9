// Driver errors turned into what the user reads: the kind decides whether trying again can help.
#include "historydatabase.h"

#include <QSqlError>

namespace history {

namespace {

// SQLSTATE classes that mean the server could not be talked to, not that it said no.
bool connectionLost(const QString& sqlState) {
    return sqlState.isEmpty() || sqlState.startsWith(QLatin1String("08")) ||
           sqlState == QLatin1String("57P01") || sqlState == QLatin1String("57P02") ||
           sqlState == QLatin1String("57P03");
}

} // namespace

bool HistoryDatabase::fail(const QSqlError& error) {
    const QString location = connection().databaseName();
    if (postgresql_) {
        // The server's own words are kept: "permission denied for table comparisons" is the
        // one thing the lab's administrator needs to read.
        const QString state = error.nativeErrorCode();
        const QString detail =
            error.databaseText().isEmpty() ? error.text() : error.databaseText().trimmed();
        if (error.type() == QSqlError::ConnectionError || connectionLost(state))
            failure_ = {HistoryFailure::Kind::Unreachable,
                        tr("The lab database %1 cannot be reached: %2").arg(location, detail)};
        else
            failure_ = {HistoryFailure::Kind::Refused,
                        tr("The lab database %1 refused the copy: %2").arg(location, detail)};
        return false;
    }
    return failSqlite(error.nativeErrorCode().toInt(), error.text());
}

bool HistoryDatabase::failSqlite(int code, const QString& detail) {
    const QString location = connection().databaseName();
    switch (code & 0xff) {
    case 5: // SQLITE_BUSY
    case 6: // SQLITE_LOCKED
        failure_ = {HistoryFailure::Kind::Locked,
                    tr("The history database %1 is locked by another program.").arg(location)};
        break;
    case 8: // SQLITE_READONLY
        failure_ = {
            HistoryFailure::Kind::ReadOnly,
            tr("The history database %1 cannot be written: it is read-only.").arg(location)};
        break;
    case 11: // SQLITE_CORRUPT
    case 26: // SQLITE_NOTADB
        failure_ = {HistoryFailure::Kind::Corrupt,
                    tr("The history database %1 is damaged.").arg(location)};
        break;
    case 13: // SQLITE_FULL
        failure_ = {HistoryFailure::Kind::DiskFull,
                    tr("The disk of the history database %1 is full.").arg(location)};
        break;
    case 14: // SQLITE_CANTOPEN
        failure_ = {HistoryFailure::Kind::CannotOpen,
                    tr("The history database %1 cannot be opened: %2").arg(location, detail)};
        break;
    case 10: // SQLITE_IOERR: a full disk shows as a failed write too
        failure_ = {HistoryFailure::Kind::Other,
                    tr("The history database %1 cannot be written: %2").arg(location, detail)};
        break;
    default:
        failure_ = {HistoryFailure::Kind::Other,
                    tr("The history database %1 failed: %2").arg(location, detail)};
    }
    return false;
}

} // namespace history
