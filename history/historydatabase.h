#pragma once

#include "historyrecords.h"
#include "historyurl.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariantList>

#include <map>
#include <optional>

struct sqlite3_stmt;

namespace history {

// The schema this program writes. Older files are migrated forward; a newer one is refused.
inline constexpr int kSchemaVersion = 2;

// What went wrong with a history database, and the sentence the user reads.
struct HistoryFailure {
    enum class Kind {
        None,
        DriverMissing,
        CannotOpen,
        Locked,
        ReadOnly,
        Corrupt,
        NewerSchema,
        DiskFull,
        Other
    };
    Kind kind = Kind::None;
    QString message;
};

// What the history window and the command line look for. Empty members do not filter.
struct HistoryFilter {
    QString serial;
    QString nameContains;
    QDateTime from, to; // measured_at >= from and < to
    std::optional<bool> pass;
    bool includeDeleted = false;
};

// An entry of the local queue of rows still to be copied to the lab database.
struct OutboxEntry {
    qint64 seq = 0;
    bool spectrum = false;
    QString id;
};

// One connection to a history database (SQLite or PostgreSQL), used by one thread. It knows the
// schema, its migrations and every statement; transactions are the caller's.
class HistoryDatabase {
    Q_DECLARE_TR_FUNCTIONS(HistoryDatabase)

  public:
    HistoryDatabase();
    ~HistoryDatabase();
    HistoryDatabase(const HistoryDatabase&) = delete;
    HistoryDatabase& operator=(const HistoryDatabase&) = delete;

    // Opens the database, creating a SQLite file and its folder on first use, and brings the
    // schema to kSchemaVersion. A schema newer than that is refused and left as it is.
    bool open(const HistoryUrl& url, int busyTimeoutMs = 5000);
    void close();
    bool isOpen() const;
    bool isPostgresql() const { return m_postgresql; }
    const HistoryFailure& failure() const { return m_failure; }
    void clearFailure() { m_failure = {}; }
    QSqlDatabase connection() const;
    // The schema version found in the database (0 for an empty one), or -2 when it cannot be read.
    int schemaVersion();

    // SQLite starts its write lock at once, so two writers wait on each other instead of failing.
    bool begin();
    // Moves the write-ahead log into the file (SQLite); the store does it when idle, so a
    // measurement's write never waits for it.
    bool checkpoint();
    bool setAutoCheckpoint(bool on);
    bool commit();
    void rollback();

    // On an id already stored: keep the stored row; take the new name and deleted flag (the lab
    // copy); or take the new judging and list the row again (a record imported again).
    enum class Conflict { Keep, UpdateNameAndDeleted, Relist };
    bool insertComparison(const HistoryComparison& row, Conflict conflict = Conflict::Keep);
    bool insertSpectrum(const HistorySpectrum& row, Conflict conflict = Conflict::Keep);
    bool setDeleted(bool spectrum, const QString& id);
    // The settings a comparison was judged with and the outcome, for a row judged again.
    bool updateJudging(const HistoryComparison& row);
    bool rename(bool spectrum, const QString& id, const QString& name);
    std::optional<HistoryComparison> comparison(const QString& id);
    std::optional<HistorySpectrum> spectrum(const QString& id);
    QVector<HistoryComparison> comparisons(const HistoryFilter& filter);

    // The workspace's open list (local databases only).
    bool appendOpenRow(const QString& id, double sequence);
    bool removeOpenRow(const QString& id);
    bool clearOpenList();
    bool setStandard(const std::optional<HistoryStandard>& standard);
    bool setLocalState(const QString& key, const QString& value);
    std::optional<QString> localState(const QString& key);
    std::optional<OpenList> openList();

    // The queue of rows for the lab database (local databases only).
    bool enqueue(bool spectrum, const QString& id);
    bool enqueueAll();
    QVector<OutboxEntry> outbox(int limit);
    bool dequeue(qint64 lastSeq);
    int outboxSize();

    // The select of table `comparisons` with `filter`, newest first, and its bound values.
    static QString selectSql(const HistoryFilter& filter, QVariantList& values,
                             const QString& columns = QString());
    static QString whereSql(const HistoryFilter& filter, QVariantList& values);
    static const QStringList& comparisonColumns();
    static HistoryComparison comparisonFrom(const QSqlQuery& query, int firstColumn = 0);
    // A CSV cell of a query value: numbers as numbers, NULL empty, texts quoted when needed.
    static QString csvField(const QVariant& value);

  private:
    bool exec(QSqlQuery& query);
    bool exec(const QString& sql);
    bool fail(const QSqlError& error);
    bool migrate(int from);
    QString real() const;
    // Statements run per row are prepared once per connection.
    QSqlQuery* prepared(const QString& sql);

    QString m_name;
    bool m_postgresql = false;
    HistoryFailure m_failure;
    std::map<QString, QSqlQuery> m_prepared;
    // The insert of a comparison on SQLite, bound without Qt's per-value overhead: an import
    // writes tens of thousands of rows of 43 values.
    sqlite3_stmt* m_sqliteInsert = nullptr;
    bool insertSqlite(const QVariantList& values, const QString& sql);
};

} // namespace history
