#pragma once

#include "historyrecords.h"
#include "historyurl.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariantList>

#include <map>
#include <memory>
#include <optional>
#include <tuple>

struct sqlite3;
struct sqlite3_stmt;

namespace history {

// The schema this program writes. Older files are migrated forward; a newer one is refused.
inline constexpr int kSchemaVersion = 4;

// What went wrong with a history database, and the sentence the user reads.
struct HistoryFailure {
    enum class Kind {
        None,
        DriverMissing,
        CannotOpen,
        // The lab database cannot be reached now (network, server down): worth retrying.
        Unreachable,
        Locked,
        ReadOnly,
        Corrupt,
        NewerSchema,
        DiskFull,
        // The lab database answered and refused (rights, schema): retrying will not help.
        Refused,
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
    QString productId;   // comparisons with this product's standard
    QString productName; // ... with the standard of any product of this name
    QString lot;
    QString station; // the lab database's rows of one station
};

// Where a page of rows ends, newest first: the next page starts after it. Rows are ordered by
// time and then by id, so rows of the same millisecond never fall between two pages.
struct HistoryKey {
    QString measuredAt; // as stored (isoUtc)
    QString id;
    static HistoryKey of(const HistoryComparison& row) { return {isoUtc(row.measuredAt), row.id}; }
};

struct HistoryCounts {
    int rows = 0;
    int passes = 0;
};

// An entry of the local queue of rows still to be copied to the lab database.
struct OutboxEntry {
    enum class Kind { Comparison, Spectrum, Product };
    qint64 seq = 0;
    Kind kind = Kind::Comparison;
    QString id;
};

class HistoryDatabase;

// The rows of a filter, oldest first, read one at a time: output of any length without holding
// it all. Valid while its database stays open.
class ComparisonCursor {
  public:
    bool next();
    HistoryComparison row() const;
    // The row's columns as stored, in the order of HistoryDatabase::comparisonColumns().
    QVariant value(int column) const { return query_.value(column); }
    bool failed() const { return failed_; }

  private:
    friend class HistoryDatabase;
    QSqlQuery query_;
    bool failed_ = false;
};

// One connection to a history database (SQLite or PostgreSQL), used by one thread. It knows the
// schema, its migrations and every statement; transactions are the caller's. Its parts live in
// one file per concern: historyschema.cpp, historycomparisons.cpp, historyspectra.cpp,
// historyopenlist.cpp, historyoutbox.cpp and historyfailure.cpp.
class HistoryDatabase {
    Q_DECLARE_TR_FUNCTIONS(HistoryDatabase)

  public:
    HistoryDatabase();
    ~HistoryDatabase();
    HistoryDatabase(const HistoryDatabase&) = delete;
    HistoryDatabase& operator=(const HistoryDatabase&) = delete;

    // Opens the database, creating a SQLite file and its folder on first use, and brings the
    // schema to kSchemaVersion. A schema newer than that is refused and left as it is.
    // `connectTimeoutS` bounds a connection to a lab database.
    bool open(const HistoryUrl& url, int busyTimeoutMs = 5000, int connectTimeoutS = 5);
    void close();
    bool isOpen() const;
    bool isPostgresql() const { return postgresql_; }
    const HistoryFailure& failure() const { return failure_; }
    void clearFailure() { failure_ = {}; }
    // What open() repaired on the way (a lost schema version), for the log; empty mostly.
    QString notice() const { return notice_; }
    QSqlDatabase connection() const;
    // The schema version found in the database (0 for an empty one), or -2 when it cannot be
    // read or names no version and the tables tell none either.
    int schemaVersion();

    // SQLite starts its write lock at once, so two writers wait on each other instead of failing.
    bool begin();
    // Moves the write-ahead log into the file (SQLite).
    bool checkpoint();
    // SQLite moves the log into the file by itself once it holds `pages` pages (0: never).
    bool setAutoCheckpoint(int pages);
    // Writes the tally of the rows inserted in the transaction, then commits.
    bool commit();
    void rollback();

    // What an insert does with an id that is already stored.
    enum class Conflict {
        Keep,   // the stored row stays as it is
        Relist, // an import seen again: judged columns updated, undeleted; name and time kept
        Mirror  // the lab copy: every column that can change follows the station's row
    };
    bool insertComparison(const HistoryComparison& row, Conflict conflict = Conflict::Keep);
    // Re-judging: the judged columns of the stored row with this id (tolerances, formula,
    // differences, verdict, instrument kind; an unknown kind keeps the stored one).
    bool updateJudging(const HistoryComparison& row);
    bool insertSpectrum(const HistorySpectrum& row, Conflict conflict = Conflict::Keep);
    bool setDeleted(bool spectrum, const QString& id);
    bool rename(bool spectrum, const QString& id, const QString& name);
    std::optional<HistoryComparison> comparison(const QString& id);
    std::optional<HistorySpectrum> spectrum(const QString& id);

    // Readers' queries.
    // Rows and passes of a filter; empty when the database cannot be read.
    std::optional<HistoryCounts> counts(const HistoryFilter& filter);
    // Up to `limit` rows of the filter, newest first, those after `after` when given.
    QVector<HistoryComparison> page(const HistoryFilter& filter,
                                    const std::optional<HistoryKey>& after, int limit);
    // Every row of the filter, oldest first.
    QVector<HistoryComparison> comparisons(const HistoryFilter& filter);
    ComparisonCursor select(const HistoryFilter& filter);
    static const QStringList& comparisonColumns();

    // Table `products`. An upsert of every column the stations share; the station's own
    // bookkeeping (lab_changed_at) is left as it is.
    bool writeProduct(const HistoryProduct& row);
    // `forUpdate`: the lab database's row stays locked until the transaction ends, so two
    // stations settle one product one after the other.
    std::optional<HistoryProduct> product(const QString& id, bool forUpdate = false);
    // Sorted by name, then model.
    QVector<HistoryProduct> products(const ProductFilter& filter);
    // The product of `model` named `name` that is not retired, other than `except`.
    std::optional<HistoryProduct> productNamed(const QString& model, const QString& name,
                                               const QString& except = QString());
    // The station's copy of a product now equals the lab's version changed at `changedAt`:
    // only while the copy is still that version (an edit since waits for its own copy).
    bool markProductExchanged(const QString& id, const QDateTime& changedAt);
    // The lab's version replaces the station's copy, if that is still the one changed at
    // `localChangedAt` (none: there was no copy).
    bool takeLabProduct(const HistoryProduct& lab, const std::optional<QDateTime>& localChangedAt);

    // The workspace's open list (local databases only).
    bool appendOpenRow(const QString& id, double sequence);
    bool removeOpenRow(const QString& id);
    // Clear: rows, standard and name counter go.
    bool clearOpenList();
    // The rows leave the list (they stay in the history); standard and name counter stay.
    bool closeOpenList();
    bool setStandard(const std::optional<HistoryStandard>& standard);
    bool setLocalState(const QString& key, const QString& value);
    std::optional<QString> localState(const QString& key);
    std::optional<OpenList> openList();

    // The station's tally of rows per day, serial, verdict and deleted flag, counted again from
    // the rows: after rows were written by other means than this class.
    bool recount();

    // The queue of rows for the lab database (local databases only).
    bool enqueue(bool spectrum, const QString& id);
    bool enqueueProduct(const QString& id);
    bool enqueueAll();
    QVector<OutboxEntry> outbox(int limit);
    bool dequeue(qint64 lastSeq);
    int outboxSize();

  private:
    bool exec(QSqlQuery& query);
    bool exec(const QString& sql);
    bool fail(const QSqlError& error);
    bool failSqlite(int code, const QString& detail);
    // Runs a statement of fixed text with `values`: prepared once per connection, on SQLite
    // bound without Qt's per-value overhead (an import writes tens of thousands of rows).
    bool run(const QString& sql, const QVariantList& values);
    // Rows the last run() changed (SQLite).
    int changes() const;
    void countInserted(const HistoryComparison& row);
    bool writeTally();
    QSqlQuery* prepared(const QString& sql);
    bool bind(QSqlQuery& query, const QVariantList& values);
    int probeVersion();
    bool repairVersion(const QString& location);
    bool migrate(int from);
    QString real() const;
    QString whereSql(const HistoryFilter& filter, QVariantList& values) const;
    std::optional<HistoryCounts> countRows(const QString& sql, const QVariantList& values);

    QString name_;
    bool postgresql_ = false;
    HistoryFailure failure_;
    QString notice_;
    std::map<QString, QSqlQuery> prepared_;
    std::map<QString, sqlite3_stmt*> statements_;
    sqlite3* sqlite_ = nullptr;
    // Rows inserted in the open transaction, by day, serial, verdict and deleted flag: written
    // to the tally once at commit. Updates and deletes move the tally by trigger; inserts do it
    // here, as a trigger on every insert costs an import a fifth of its time.
    std::map<std::tuple<QString, QString, QString, int>, int> inserted_;
};

} // namespace history
