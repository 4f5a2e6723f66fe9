#pragma once

#include <QString>

namespace history {

// Where a history lives: `sqlite:PATH`, `postgresql://[user@]host[:port]/dbname` or
// `postgresql:///dbname?host=/socket/dir`. A password in the URL is refused: libpq's .pgpass
// and service files keep passwords, the program never does.
struct HistoryUrl {
    enum class Kind { Invalid, Sqlite, Postgresql };
    Kind kind = Kind::Invalid;
    QString path; // SQLite file
    QString user, host, database;
    int port = -1;
    QString error; // why the text is Invalid

    static HistoryUrl parse(const QString& text);
    static HistoryUrl sqliteFile(const QString& path);
    bool isValid() const { return kind != Kind::Invalid; }
    bool isPostgresql() const { return kind == Kind::Postgresql; }
    // The URL again, without anything secret (there is nothing secret to leave out).
    QString toString() const;
};

// The user's own history: history.sqlite in the application's data folder.
QString defaultHistoryPath();

} // namespace history
