#include "historyurl.h"

#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>
#include <QUrl>
#include <QUrlQuery>

#include <sqlite3.h>

namespace history {

HistoryUrl HistoryUrl::sqliteFile(const QString& path) {
    HistoryUrl url;
    url.kind = Kind::Sqlite;
    url.path = path;
    return url;
}

HistoryUrl HistoryUrl::parse(const QString& text) {
    HistoryUrl url;
    const QString trimmed = text.trimmed();
    if (trimmed.startsWith(QLatin1String("sqlite:"))) {
        QString path = trimmed.mid(7);
        // Accept sqlite:///abs/path too, as other tools write it.
        if (path.startsWith(QLatin1String("//")))
            path = path.mid(2);
        if (path.isEmpty()) {
            url.error = QCoreApplication::translate("HistoryUrl", "The SQLite URL names no file.");
            return url;
        }
        return sqliteFile(path);
    }
    if (!trimmed.startsWith(QLatin1String("postgresql://")) &&
        !trimmed.startsWith(QLatin1String("postgres://"))) {
        url.error = QCoreApplication::translate(
                        "HistoryUrl",
                        "Unknown database URL \"%1\": use sqlite:PATH or postgresql://host/dbname.")
                        .arg(trimmed);
        return url;
    }
    const QUrl parsed(trimmed, QUrl::StrictMode);
    if (!parsed.isValid()) {
        url.error = QCoreApplication::translate("HistoryUrl", "The database URL is not valid: %1")
                        .arg(parsed.errorString());
        return url;
    }
    if (!parsed.password().isEmpty()) {
        url.error = QCoreApplication::translate(
            "HistoryUrl", "The database URL holds a password; keep it in ~/.pgpass instead.");
        return url;
    }
    url.user = parsed.userName();
    url.host = parsed.host();
    url.port = parsed.port(-1);
    url.database = parsed.path().mid(1);
    const QUrlQuery query(parsed);
    if (query.hasQueryItem(QStringLiteral("host")))
        url.host = query.queryItemValue(QStringLiteral("host"), QUrl::FullyDecoded);
    if (query.hasQueryItem(QStringLiteral("user")))
        url.user = query.queryItemValue(QStringLiteral("user"), QUrl::FullyDecoded);
    if (query.hasQueryItem(QStringLiteral("port")))
        url.port = query.queryItemValue(QStringLiteral("port")).toInt();
    if (url.database.isEmpty() || url.database.contains(QLatin1Char('/'))) {
        url.error =
            QCoreApplication::translate("HistoryUrl", "The database URL names no database.");
        return url;
    }
    url.kind = Kind::Postgresql;
    return url;
}

QString HistoryUrl::toString() const {
    switch (kind) {
    case Kind::Sqlite:
        return QLatin1String("sqlite:") + path;
    case Kind::Postgresql: {
        QString text = QStringLiteral("postgresql://");
        const bool socket = host.startsWith(QLatin1Char('/'));
        if (!user.isEmpty())
            text += user + QLatin1Char('@');
        if (!socket)
            text += host;
        if (port >= 0 && !socket)
            text += QLatin1Char(':') + QString::number(port);
        text += QLatin1Char('/') + database;
        if (socket)
            text += QLatin1String("?host=") + host;
        if (socket && port >= 0)
            text += QLatin1String("&port=") + QString::number(port);
        return text;
    }
    case Kind::Invalid:
        break;
    }
    return {};
}

namespace {

// SQLite folds the log into the file when its last connection closes; a log still there after
// that belongs to a program that has the file open now.
bool foldLog(const QString& path) {
    sqlite3* db = nullptr;
    const QByteArray name = QFile::encodeName(path);
    const int rc = sqlite3_open_v2(name.constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc == SQLITE_OK)
        sqlite3_exec(db, "SELECT COUNT(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return rc == SQLITE_OK && !QFile::exists(path + QLatin1String("-wal"));
}

} // namespace

QString defaultHistoryPath() {
    // The same file whatever names the program gave itself: the window sets an organisation
    // name, the command line does not.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                           QLatin1String("/velorin");
    const QString path = folder + QLatin1String("/history.sqlite");
    if (QFile::exists(path))
        return path;
    // Earlier versions of the window wrote to velorin/velorin/. The file moves here once no
    // program has it open; until then it is used where it is. Never copied: one history.
    const QString earlier = folder + QLatin1String("/velorin/history.sqlite");
    if (!QFile::exists(earlier))
        return path;
    // Another program may be moving it at the same moment: whichever finds it moved uses it.
    if (foldLog(earlier) && QFile::rename(earlier, path))
        return path;
    return QFile::exists(path) ? path : earlier;
}

} // namespace history
