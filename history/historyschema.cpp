// The schema: the version a database is at, the steps that bring it forward, and what is done
// when the version itself is lost.
#include "historydatabase.h"

#include "historycolumns.h"

#include <QSqlError>
#include <QSqlRecord>

namespace history {

namespace {
const QStringList kLocalTables{QStringLiteral("open_list"), QStringLiteral("open_standard"),
                               QStringLiteral("local_state"), QStringLiteral("lab_outbox")};
} // namespace

int HistoryDatabase::schemaVersion() {
    QSqlQuery query(connection());
    const QString exists =
        postgresql_ ? QStringLiteral("SELECT 1 FROM pg_tables WHERE schemaname = current_schema() "
                                     "AND tablename = 'schema_version'")
                    : QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' "
                                     "AND name = 'schema_version'");
    if (!query.exec(exists)) {
        fail(query.lastError());
        return -2;
    }
    if (!query.next()) {
        // No version at all: an empty database, or tables whose version was lost.
        const int probed = probeVersion();
        return probed == 0 ? 0 : -1;
    }
    if (!query.exec(QStringLiteral("SELECT version FROM schema_version"))) {
        fail(query.lastError());
        return -2;
    }
    int version = -1;
    while (query.next()) {
        bool number = false;
        const int value = query.value(0).toString().trimmed().toInt(&number);
        if (!number)
            return -1;
        version = std::max(version, value);
    }
    return version; // -1 when the table is empty
}

int HistoryDatabase::probeVersion() {
    const QStringList tables = connection().tables();
    const bool comparisons = tables.contains(QLatin1String("comparisons"));
    const bool spectra = tables.contains(QLatin1String("spectra"));
    bool anyLocal = false, allLocal = true;
    for (const QString& table : kLocalTables) {
        anyLocal = anyLocal || tables.contains(table);
        allLocal = allLocal && tables.contains(table);
    }
    if (!comparisons && !spectra)
        return anyLocal ? -2 : 0;
    if (!comparisons || !spectra || (!postgresql_ && !allLocal))
        return -2;
    const QSqlRecord record = connection().record(QStringLiteral("comparisons"));
    if (record.contains(QStringLiteral("product_id")) && tables.contains(QLatin1String("products")))
        return postgresql_ || tables.contains(QLatin1String("comparison_tally")) ? 4 : -2;
    if (record.contains(QStringLiteral("instrument_kind")))
        return postgresql_ || tables.contains(QLatin1String("comparison_tally")) ? 3 : -2;
    if (record.contains(QStringLiteral("readings")) && record.contains(QStringLiteral("spread")))
        return 2;
    return 1;
}

bool HistoryDatabase::repairVersion(const QString& location) {
    const int probed = probeVersion();
    if (probed < 0) {
        failure_ = {HistoryFailure::Kind::Corrupt,
                    tr("The history database %1 is damaged: its schema version is missing or not "
                       "a number, and its tables are not those of any version of the program. "
                       "It is left untouched.")
                        .arg(location)};
        return false;
    }
    if (!exec(QStringLiteral("CREATE TABLE IF NOT EXISTS schema_version "
                             "(version INTEGER NOT NULL)")) ||
        !exec(QStringLiteral("DELETE FROM schema_version")) ||
        !exec(QStringLiteral("INSERT INTO schema_version (version) VALUES (%1)").arg(probed)))
        return false;
    notice_ = tr("The history database %1 had lost its schema version; its tables are those of "
                 "version %2, which is written down again.")
                  .arg(location)
                  .arg(probed);
    return true;
}

bool HistoryDatabase::migrate(int from) {
    const QString r = real();
    using columns::quantityColumns;
    const auto all = [this](const QStringList& statements) {
        for (const QString& sql : statements)
            if (!exec(sql))
                return false;
        return true;
    };
    if (from < 1) {
        const QStringList v1{
            QStringLiteral("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)"),
            QStringLiteral("DELETE FROM schema_version"),
            QStringLiteral("INSERT INTO schema_version (version) VALUES (0)"),
            QStringLiteral("CREATE TABLE comparisons (id TEXT PRIMARY KEY, station TEXT NOT NULL, "
                           "model TEXT NOT NULL, serial TEXT NOT NULL, name TEXT NOT NULL, "
                           "measured_at TEXT NOT NULL, source TEXT NOT NULL, layout TEXT NOT NULL, "
                           "display_mode INTEGER NOT NULL, %1, %2, haze_tolerance %3, "
                           "t_tolerance %3, delta_e_threshold %3, formula INTEGER, delta_haze %3, "
                           "delta_t %3, delta_l %3, delta_a %3, delta_b %3, delta_e %3, "
                           "verdict TEXT NOT NULL, deleted INTEGER NOT NULL DEFAULT 0)")
                .arg(quantityColumns(QStringLiteral("std_"), r),
                     quantityColumns(QStringLiteral("sam_"), r), r),
            QStringLiteral("CREATE TABLE spectra (id TEXT PRIMARY KEY, station TEXT NOT NULL, "
                           "model TEXT NOT NULL, serial TEXT NOT NULL, name TEXT NOT NULL, "
                           "measured_at TEXT NOT NULL, kind TEXT NOT NULL, %1, "
                           "deleted INTEGER NOT NULL DEFAULT 0)")
                .arg([&r] {
                    QStringList points;
                    for (int i = 0; i < HistorySpectrum::kPoints; ++i)
                        points << QStringLiteral("v%1 %2 NOT NULL").arg(400 + 10 * i).arg(r);
                    return points.join(QLatin1String(", "));
                }()),
        };
        if (!all(v1))
            return false;
        // Only the station's own file keeps the list on show and the queue for the lab.
        const QStringList local{
            QStringLiteral("CREATE TABLE open_list (position INTEGER PRIMARY KEY, "
                           "comparison_id TEXT NOT NULL, sequence REAL NOT NULL)"),
            QStringLiteral("CREATE TABLE open_standard (slot INTEGER PRIMARY KEY CHECK (slot = 1), "
                           "model TEXT, serial TEXT, name TEXT, measured_at TEXT, layout TEXT, "
                           "display_mode INTEGER, %1)")
                .arg(quantityColumns(QString(), r)),
            QStringLiteral("CREATE TABLE local_state (key TEXT PRIMARY KEY, value TEXT)"),
            QStringLiteral("CREATE TABLE lab_outbox (seq INTEGER PRIMARY KEY AUTOINCREMENT, "
                           "kind TEXT NOT NULL, id TEXT NOT NULL)"),
        };
        if ((!postgresql_ && !all(local)) ||
            !exec(QStringLiteral("UPDATE schema_version SET version = 1")))
            return false;
    }
    if (from < 2) {
        // Averaged readings: how many went into the sample and their spread.
        const QStringList v2{
            QStringLiteral(
                "ALTER TABLE comparisons ADD COLUMN readings INTEGER NOT NULL DEFAULT 1"),
            QStringLiteral("ALTER TABLE comparisons ADD COLUMN spread %1").arg(r),
            QStringLiteral("UPDATE schema_version SET version = 2"),
        };
        if (!all(v2))
            return false;
    }
    if (from < 3) {
        // The instrument's kind; indexes for the window's pages (time, then id, newest first)
        // under each filter it offers, none for what no query asks.
        const QStringList v3{
            QStringLiteral("ALTER TABLE comparisons ADD COLUMN instrument_kind INTEGER"),
            QStringLiteral("DROP INDEX IF EXISTS comparisons_name"),
            QStringLiteral("DROP INDEX IF EXISTS comparisons_time"),
            QStringLiteral("DROP INDEX IF EXISTS comparisons_serial_time"),
            QStringLiteral("DROP INDEX IF EXISTS comparisons_verdict"),
            QStringLiteral("DROP INDEX IF EXISTS spectra_serial_time"),
            QStringLiteral("CREATE INDEX comparisons_time ON comparisons (measured_at, id)"),
            QStringLiteral(
                "CREATE INDEX comparisons_serial_time ON comparisons (serial, measured_at, id)"),
            QStringLiteral(
                "CREATE INDEX comparisons_verdict_time ON comparisons (verdict, measured_at, id)"),
        };
        if (!all(v3))
            return false;
        // Counting a million rows takes longer than a window may wait: the station's file keeps
        // the rows per day, serial, verdict and deleted flag, so a count adds up days. Inserts
        // are counted by insertComparison, changes and deletes by trigger.
        const QStringList tally{
            QStringLiteral("CREATE TABLE comparison_tally (day TEXT NOT NULL, serial TEXT NOT "
                           "NULL, verdict TEXT NOT NULL, deleted INTEGER NOT NULL, n_rows INTEGER "
                           "NOT NULL, PRIMARY KEY (day, serial, verdict, deleted)) WITHOUT ROWID"),
            QStringLiteral(
                "CREATE TRIGGER comparison_tally_delete AFTER DELETE ON comparisons BEGIN "
                "UPDATE comparison_tally SET n_rows = n_rows - 1 WHERE day = "
                "substr(OLD.measured_at, "
                "1, 10) AND serial = OLD.serial AND verdict = OLD.verdict AND deleted = "
                "OLD.deleted; END"),
            QStringLiteral(
                "CREATE TRIGGER comparison_tally_update AFTER UPDATE OF measured_at, serial, "
                "verdict, deleted ON comparisons BEGIN "
                "UPDATE comparison_tally SET n_rows = n_rows - 1 WHERE day = "
                "substr(OLD.measured_at, "
                "1, 10) AND serial = OLD.serial AND verdict = OLD.verdict AND deleted = "
                "OLD.deleted; "
                "INSERT INTO comparison_tally VALUES (substr(NEW.measured_at, 1, 10), NEW.serial, "
                "NEW.verdict, NEW.deleted, 1) ON CONFLICT (day, serial, verdict, deleted) DO "
                "UPDATE SET n_rows = n_rows + 1; END"),
        };
        if ((!postgresql_ && (!all(tally) || !recount())) ||
            !exec(QStringLiteral("UPDATE schema_version SET version = 3")))
            return false;
    }
    if (from < 4) {
        // Products (stored standards with their settings) and the product and lot of each
        // comparison. Only comparisons of a product are indexed by it: the others cost nothing.
        // lab_changed_at is the station's own: which version it last exchanged with the lab.
        const QStringList v4{
            QStringLiteral("ALTER TABLE comparisons ADD COLUMN product_id TEXT"),
            QStringLiteral("ALTER TABLE comparisons ADD COLUMN lot TEXT NOT NULL DEFAULT ''"),
            QStringLiteral("CREATE INDEX comparisons_product_time ON comparisons (product_id, "
                           "measured_at, id) WHERE product_id IS NOT NULL"),
            QStringLiteral("CREATE TABLE products (id TEXT PRIMARY KEY, name TEXT NOT NULL, "
                           "model TEXT NOT NULL, layout TEXT NOT NULL, display_mode INTEGER NOT "
                           "NULL, %1, haze_tolerance %2, t_tolerance %2, delta_e_threshold %2, "
                           "formula INTEGER, instrument_kind INTEGER, retired INTEGER NOT NULL "
                           "DEFAULT 0, changed_at TEXT NOT NULL, station TEXT NOT NULL, "
                           "based_on TEXT, lab_changed_at TEXT)")
                .arg(quantityColumns(QStringLiteral("std_"), r), r),
            QStringLiteral("UPDATE schema_version SET version = 4"),
        };
        if (!all(v4))
            return false;
    }
    return true;
}

} // namespace history
