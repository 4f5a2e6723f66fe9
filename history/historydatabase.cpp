// The connection: opening, transactions, the write-ahead log and the statements run per row.
#include "historydatabase.h"

#include "historycolumns.h"
#include "safefile.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>

#include <sqlite3.h>

namespace history {

namespace {
QAtomicInteger<quint64> connectionCounter;
} // namespace

HistoryDatabase::HistoryDatabase()
    : name_(QStringLiteral("velorin-history-%1").arg(connectionCounter.fetchAndAddRelaxed(1))) {}

HistoryDatabase::~HistoryDatabase() {
    close();
}

QSqlDatabase HistoryDatabase::connection() const {
    return QSqlDatabase::database(name_, false);
}

bool HistoryDatabase::isOpen() const {
    return QSqlDatabase::contains(name_) && connection().isOpen();
}

void HistoryDatabase::close() {
    inserted_.clear();
    sqlite_ = nullptr;
    prepared_.clear();
    for (auto& [sql, statement] : statements_)
        sqlite3_finalize(statement);
    statements_.clear();
    if (!QSqlDatabase::contains(name_))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(name_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name_);
}

QString HistoryDatabase::real() const {
    return postgresql_ ? QStringLiteral("DOUBLE PRECISION") : QStringLiteral("REAL");
}

bool HistoryDatabase::exec(QSqlQuery& query) {
    if (query.exec())
        return true;
    return fail(query.lastError());
}

bool HistoryDatabase::exec(const QString& sql) {
    QSqlQuery query(connection());
    if (query.exec(sql))
        return true;
    return fail(query.lastError());
}

bool HistoryDatabase::open(const HistoryUrl& url, int busyTimeoutMs, int connectTimeoutS) {
    close();
    failure_ = {};
    notice_.clear();
    postgresql_ = url.isPostgresql();
    const QString driver = postgresql_ ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE");
    if (!url.isValid()) {
        failure_ = {HistoryFailure::Kind::CannotOpen, url.error};
        return false;
    }
    if (!QSqlDatabase::isDriverAvailable(driver)) {
        failure_ = {HistoryFailure::Kind::DriverMissing,
                    tr("The database driver %1 is not installed.").arg(driver)};
        return false;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(driver, name_);
    if (postgresql_) {
        db.setDatabaseName(url.database);
        if (!url.host.isEmpty())
            db.setHostName(url.host);
        if (!url.user.isEmpty())
            db.setUserName(url.user);
        if (url.port >= 0)
            db.setPort(url.port);
        // libpq bounds the whole connection with it, a server that accepts and never answers too.
        db.setConnectOptions(QStringLiteral("connect_timeout=%1").arg(connectTimeoutS));
    } else {
        const QFileInfo file(url.path);
        QDir().mkpath(file.absolutePath());
        db.setDatabaseName(url.path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs));
    }
    const QString location = postgresql_ ? url.toString() : url.path;
    if (!db.open()) {
        const QSqlError error = db.lastError();
        failure_ = postgresql_ ? HistoryFailure{HistoryFailure::Kind::Unreachable,
                                                tr("The lab database %1 cannot be reached: %2")
                                                    .arg(location, error.text())}
                               : HistoryFailure{HistoryFailure::Kind::CannotOpen,
                                                tr("The history database %1 cannot be opened: %2")
                                                    .arg(location, error.text())};
        return false;
    }
    if (!postgresql_) {
        SafeFile::protect(url.path, SafeFile::Role::HistoryDatabase); // never an export's target
        const QVariant handle = db.driver()->handle();
        sqlite_ = handle.isValid() ? *static_cast<sqlite3* const*>(handle.constData()) : nullptr;
    }
    if (!begin())
        return false;
    if (postgresql_ && !exec(QStringLiteral("SELECT pg_advisory_xact_lock(7413001)"))) {
        rollback();
        return false;
    }
    int version = schemaVersion();
    if (version == -1) // a lost version that the tables tell: written down again
        version = repairVersion(location) ? schemaVersion() : -2;
    if (version < 0) {
        rollback();
        return false;
    }
    if (version > kSchemaVersion) {
        rollback();
        failure_ = {HistoryFailure::Kind::NewerSchema,
                    tr("The history database %1 was written by a newer version of the program "
                       "(schema %2; this one knows %3). It is left untouched.")
                        .arg(location)
                        .arg(version)
                        .arg(kSchemaVersion)};
        return false;
    }
    if (version < kSchemaVersion && !migrate(version)) {
        rollback();
        return false;
    }
    if (!commit())
        return false;
    // WAL lets the window read while a measurement is written; set only once the schema is known
    // to be ours, as it rewrites the file header.
    // With WAL, NORMAL still survives the program being killed at any moment; a commit then
    // costs no flush to the disk, which a live measurement cannot wait for.
    // A log emptied by a checkpoint is cut back, so one large import does not leave it large.
    if (!postgresql_ && (!exec(QStringLiteral("PRAGMA journal_mode=WAL")) ||
                         !exec(QStringLiteral("PRAGMA synchronous=NORMAL")) ||
                         !exec(QStringLiteral("PRAGMA journal_size_limit=16777216")) ||
                         !exec(QStringLiteral("PRAGMA temp_store=MEMORY"))))
        return false;
    return true;
}

bool HistoryDatabase::checkpoint() {
    return postgresql_ || exec(QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)"));
}

bool HistoryDatabase::setAutoCheckpoint(int pages) {
    return postgresql_ || exec(QStringLiteral("PRAGMA wal_autocheckpoint=%1").arg(pages));
}

bool HistoryDatabase::begin() {
    return exec(postgresql_ ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE"));
}

bool HistoryDatabase::commit() {
    return writeTally() && exec(QStringLiteral("COMMIT"));
}

void HistoryDatabase::rollback() {
    inserted_.clear();
    QSqlQuery query(connection());
    query.exec(QStringLiteral("ROLLBACK"));
}

QSqlQuery* HistoryDatabase::prepared(const QString& sql) {
    auto it = prepared_.find(sql);
    if (it != prepared_.end())
        return &it->second;
    QSqlQuery query(connection());
    if (!query.prepare(sql)) {
        fail(query.lastError());
        return nullptr;
    }
    return &prepared_.emplace(sql, std::move(query)).first->second;
}

bool HistoryDatabase::bind(QSqlQuery& query, const QVariantList& values) {
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values.at(i));
    return true;
}

bool HistoryDatabase::run(const QString& sql, const QVariantList& values) {
    if (postgresql_) {
        QSqlQuery* query = prepared(sql);
        return query && bind(*query, values) && exec(*query);
    }
    if (!sqlite_)
        return fail(QSqlError(QString(), tr("not open"), QSqlError::ConnectionError));
    const auto failed = [this](int code) {
        return failSqlite(code, QString::fromUtf8(sqlite3_errmsg(sqlite_)));
    };
    sqlite3_stmt*& statement = statements_[sql];
    if (!statement) {
        const QByteArray text = sql.toUtf8();
        const int rc =
            sqlite3_prepare_v2(sqlite_, text.constData(), int(text.size()), &statement, nullptr);
        if (rc != SQLITE_OK) {
            statements_.erase(sql);
            return failed(rc);
        }
    }
    for (int i = 0; i < values.size(); ++i) {
        const QVariant& value = values.at(i);
        int rc = SQLITE_OK;
        if (value.isNull()) {
            rc = sqlite3_bind_null(statement, i + 1);
        } else if (value.typeId() == QMetaType::Double) {
            rc = sqlite3_bind_double(statement, i + 1, value.toDouble());
        } else if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::LongLong) {
            rc = sqlite3_bind_int64(statement, i + 1, value.toLongLong());
        } else {
            const QByteArray text = value.toString().toUtf8();
            rc = sqlite3_bind_text(statement, i + 1, text.constData(), int(text.size()),
                                   SQLITE_TRANSIENT);
        }
        if (rc != SQLITE_OK) {
            sqlite3_reset(statement);
            return failed(rc);
        }
    }
    const int rc = sqlite3_step(statement);
    // The error of a failed step is reported by the reset, with its extended code.
    const int reset = sqlite3_reset(statement);
    if (rc == SQLITE_DONE || rc == SQLITE_ROW)
        return true;
    return failed(reset != SQLITE_OK ? reset : rc);
}

int HistoryDatabase::changes() const {
    return sqlite_ ? sqlite3_changes(sqlite_) : 0;
}

const QStringList& HistoryDatabase::comparisonColumns() {
    return columns::comparisonNames();
}

} // namespace history
