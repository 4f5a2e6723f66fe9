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

// The user's own history: velorin/history.sqlite in the user's data folder
// (~/.local/share/velorin/history.sqlite), for the window and the command line alike. A file
// left by an earlier version in velorin/velorin/ is moved there, or used where it is while
// another program has it open.
QString defaultHistoryPath();

} // namespace history
