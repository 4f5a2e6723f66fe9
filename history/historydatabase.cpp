#include "historydatabase.h"

#include "safefile.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>

#include <sqlite3.h>

namespace history {

namespace {

QAtomicInteger<quint64> connectionCounter;

// The columns of table `comparisons`, in the order of the CSV and of comparisonFrom().
const char* const kComparisonColumns[] = {"id",
                                          "station",
                                          "model",
                                          "serial",
                                          "name",
                                          "measured_at",
                                          "source",
                                          "layout",
                                          "display_mode",
                                          "std_haze",
                                          "std_t",
                                          "std_l",
                                          "std_a",
                                          "std_b",
                                          "std_c",
                                          "std_h",
                                          "std_tristimulus_y",
                                          "std_x",
                                          "std_y",
                                          "sam_haze",
                                          "sam_t",
                                          "sam_l",
                                          "sam_a",
                                          "sam_b",
                                          "sam_c",
                                          "sam_h",
                                          "sam_tristimulus_y",
                                          "sam_x",
                                          "sam_y",
                                          "haze_tolerance",
                                          "t_tolerance",
                                          "delta_e_threshold",
                                          "formula",
                                          "delta_haze",
                                          "delta_t",
                                          "delta_l",
                                          "delta_a",
                                          "delta_b",
                                          "delta_e",
                                          "verdict",
                                          "deleted",
                                          "readings",
                                          "spread"};
constexpr int kQuantityCount = 10;
constexpr int kFirstStandard = 9;
constexpr int kFirstSample = kFirstStandard + kQuantityCount;
constexpr int kFirstTolerance = kFirstSample + kQuantityCount;

QString spectrumColumns() {
    QStringList names{QStringLiteral("id"),    QStringLiteral("station"),
                      QStringLiteral("model"), QStringLiteral("serial"),
                      QStringLiteral("name"),  QStringLiteral("measured_at"),
                      QStringLiteral("kind")};
    for (int i = 0; i < HistorySpectrum::kPoints; ++i)
        names << QStringLiteral("v%1").arg(400 + 10 * i);
    names << QStringLiteral("deleted");
    return names.join(QLatin1String(", "));
}

// Null texts would be stored as NULL; the columns hold empty texts instead.
QString text(const QString& value) {
    return value.isNull() ? QStringLiteral("") : value;
}

QVariant number(const std::optional<double>& value) {
    return value ? QVariant(*value) : QVariant(QMetaType::fromType<double>());
}
QVariant integer(const std::optional<int>& value) {
    return value ? QVariant(*value) : QVariant(QMetaType::fromType<int>());
}
std::optional<double> optionalNumber(const QVariant& value) {
    if (value.isNull())
        return std::nullopt;
    return value.toDouble();
}

void appendQuantities(QVariantList& values, const Quantities& q) {
    for (const auto* member : {&q.haze, &q.t, &q.l, &q.a, &q.b, &q.c, &q.h, &q.bigY, &q.x, &q.y})
        values << number(*member);
}
Quantities quantitiesFrom(const QSqlQuery& query, int first) {
    Quantities q;
    int i = first;
    for (auto* member : {&q.haze, &q.t, &q.l, &q.a, &q.b, &q.c, &q.h, &q.bigY, &q.x, &q.y})
        *member = optionalNumber(query.value(i++));
    return q;
}

QVariantList comparisonValues(const HistoryComparison& row) {
    QVariantList values{
        row.id,         text(row.station),      text(row.model),        text(row.serial),
        text(row.name), isoUtc(row.measuredAt), sourceName(row.source), layoutName(row.layout),
        row.displayMode};
    appendQuantities(values, row.standard);
    appendQuantities(values, row.sample);
    values << number(row.hazeTolerance) << number(row.tTolerance) << number(row.deltaEThreshold)
           << integer(row.formula) << number(row.deltaHaze) << number(row.deltaT)
           << number(row.deltaL) << number(row.deltaA) << number(row.deltaB) << number(row.deltaE)
           << QString(row.pass ? QStringLiteral("PASS") : QStringLiteral("NG")) << int(row.deleted)
           << row.readings << number(row.spread);
    return values;
}

// The columns a judgement sets, assigned from the row offered.
const char* const kJudgingColumns[] = {
    "haze_tolerance", "t_tolerance", "delta_e_threshold", "formula", "delta_haze", "delta_t",
    "delta_l",        "delta_a",     "delta_b",           "delta_e", "verdict"};

QString judgingAssignments() {
    QStringList set;
    for (const char* column : kJudgingColumns)
        set << QStringLiteral("%1 = excluded.%1").arg(QLatin1String(column));
    return set.join(QLatin1String(", "));
}

QString placeholders(int count) {
    QStringList marks;
    for (int i = 0; i < count; ++i)
        marks << QStringLiteral("?");
    return marks.join(QLatin1String(", "));
}

QString quantityColumns(const QString& prefix, const QString& real) {
    QStringList names{QStringLiteral("haze"), QStringLiteral("t"),
                      QStringLiteral("l"),    QStringLiteral("a"),
                      QStringLiteral("b"),    QStringLiteral("c"),
                      QStringLiteral("h"),    QStringLiteral("tristimulus_y"),
                      QStringLiteral("x"),    QStringLiteral("y")};
    QStringList columns;
    for (const QString& name : names)
        columns << prefix + name + QLatin1Char(' ') + real;
    return columns.join(QLatin1String(", "));
}

} // namespace

HistoryDatabase::HistoryDatabase()
    : m_name(QStringLiteral("velorin-history-%1").arg(connectionCounter.fetchAndAddRelaxed(1))) {}

HistoryDatabase::~HistoryDatabase() {
    close();
}

QSqlDatabase HistoryDatabase::connection() const {
    return QSqlDatabase::database(m_name, false);
}

bool HistoryDatabase::isOpen() const {
    return QSqlDatabase::contains(m_name) && connection().isOpen();
}

void HistoryDatabase::close() {
    m_prepared.clear();
    if (m_sqliteInsert) {
        sqlite3_finalize(m_sqliteInsert);
        m_sqliteInsert = nullptr;
    }
    if (!QSqlDatabase::contains(m_name))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

QString HistoryDatabase::real() const {
    return m_postgresql ? QStringLiteral("DOUBLE PRECISION") : QStringLiteral("REAL");
}

bool HistoryDatabase::fail(const QSqlError& error) {
    const QString location = connection().databaseName();
    const QString detail = error.text();
    const int code = error.nativeErrorCode().toInt() & 0xff;
    if (m_postgresql) {
        m_failure = {HistoryFailure::Kind::Other,
                     tr("The lab database %1 failed: %2").arg(location, detail)};
        return false;
    }
    switch (code) {
    case 5: // SQLITE_BUSY
    case 6: // SQLITE_LOCKED
        m_failure = {HistoryFailure::Kind::Locked,
                     tr("The history database %1 is locked by another program.").arg(location)};
        break;
    case 8: // SQLITE_READONLY
        m_failure = {
            HistoryFailure::Kind::ReadOnly,
            tr("The history database %1 cannot be written: it is read-only.").arg(location)};
        break;
    case 11: // SQLITE_CORRUPT
    case 26: // SQLITE_NOTADB
        m_failure = {HistoryFailure::Kind::Corrupt,
                     tr("The history database %1 is damaged.").arg(location)};
        break;
    case 13: // SQLITE_FULL
        m_failure = {HistoryFailure::Kind::DiskFull,
                     tr("The disk of the history database %1 is full.").arg(location)};
        break;
    case 14: // SQLITE_CANTOPEN
        m_failure = {HistoryFailure::Kind::CannotOpen,
                     tr("The history database %1 cannot be opened: %2").arg(location, detail)};
        break;
    default:
        m_failure = {HistoryFailure::Kind::Other,
                     tr("The history database %1 failed: %2").arg(location, detail)};
    }
    return false;
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

bool HistoryDatabase::open(const HistoryUrl& url, int busyTimeoutMs) {
    close();
    m_failure = {};
    m_postgresql = url.isPostgresql();
    const QString driver = m_postgresql ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE");
    if (!url.isValid()) {
        m_failure = {HistoryFailure::Kind::CannotOpen, url.error};
        return false;
    }
    if (!QSqlDatabase::isDriverAvailable(driver)) {
        m_failure = {HistoryFailure::Kind::DriverMissing,
                     tr("The database driver %1 is not installed.").arg(driver)};
        return false;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(driver, m_name);
    if (m_postgresql) {
        db.setDatabaseName(url.database);
        if (!url.host.isEmpty())
            db.setHostName(url.host);
        if (!url.user.isEmpty())
            db.setUserName(url.user);
        if (url.port >= 0)
            db.setPort(url.port);
        db.setConnectOptions(QStringLiteral("connect_timeout=5"));
    } else {
        const QFileInfo file(url.path);
        QDir().mkpath(file.absolutePath());
        db.setDatabaseName(url.path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs));
    }
    if (!db.open()) {
        const QSqlError error = db.lastError();
        m_failure = {
            HistoryFailure::Kind::CannotOpen,
            m_postgresql
                ? tr("The lab database %1 cannot be reached: %2").arg(url.toString(), error.text())
                : tr("The history database %1 cannot be opened: %2").arg(url.path, error.text())};
        return false;
    }
    SafeFile::protect(url.path, SafeFile::Role::HistoryDatabase); // never an export's target
    if (!begin())
        return false;
    if (m_postgresql && !exec(QStringLiteral("SELECT pg_advisory_xact_lock(7413001)"))) {
        rollback();
        return false;
    }
    const int version = schemaVersion();
    if (version < 0) {
        rollback();
        return false;
    }
    if (version > kSchemaVersion) {
        rollback();
        m_failure = {HistoryFailure::Kind::NewerSchema,
                     tr("The history database %1 was written by a newer version of the program "
                        "(schema %2; this one knows %3). It is left untouched.")
                         .arg(url.isPostgresql() ? url.toString() : url.path)
                         .arg(version)
                         .arg(kSchemaVersion)};
        return false;
    }
    if (version < kSchemaVersion && !migrate(std::max(version, 0))) {
        rollback();
        return false;
    }
    if (!commit())
        return false;
    // WAL lets the window read while a measurement is written; set only once the schema is known
    // to be ours, as it rewrites the file header.
    // With WAL, NORMAL still survives the program being killed at any moment; a commit then
    // costs no flush to the disk, which a live measurement cannot wait for.
    if (!m_postgresql && (!exec(QStringLiteral("PRAGMA journal_mode=WAL")) ||
                          !exec(QStringLiteral("PRAGMA synchronous=NORMAL"))))
        return false;
    return true;
}

bool HistoryDatabase::checkpoint() {
    return m_postgresql || exec(QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)"));
}

bool HistoryDatabase::setAutoCheckpoint(bool on) {
    return m_postgresql || exec(on ? QStringLiteral("PRAGMA wal_autocheckpoint=1000")
                                   : QStringLiteral("PRAGMA wal_autocheckpoint=0"));
    return true;
}

int HistoryDatabase::schemaVersion() {
    QSqlQuery query(connection());
    const QString exists =
        m_postgresql ? QStringLiteral("SELECT 1 FROM pg_tables WHERE schemaname = current_schema() "
                                      "AND tablename = 'schema_version'")
                     : QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' "
                                      "AND name = 'schema_version'");
    if (!query.exec(exists)) {
        fail(query.lastError());
        return -2;
    }
    if (!query.next())
        return 0;
    if (!query.exec(QStringLiteral("SELECT MAX(version) FROM schema_version"))) {
        fail(query.lastError());
        return -2;
    }
    return query.next() ? query.value(0).toInt() : 0;
}

bool HistoryDatabase::migrate(int from) {
    const QString r = real();
    if (from < 1) {
        const QStringList v1{
            QStringLiteral("CREATE TABLE schema_version (version INTEGER NOT NULL)"),
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
            QStringLiteral(
                "CREATE INDEX comparisons_serial_time ON comparisons (serial, measured_at)"),
            QStringLiteral("CREATE INDEX comparisons_time ON comparisons (measured_at)"),
            QStringLiteral(
                "CREATE INDEX comparisons_verdict ON comparisons (verdict, measured_at)"),
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
            QStringLiteral("CREATE INDEX spectra_serial_time ON spectra (serial, measured_at)"),
        };
        for (const QString& sql : v1)
            if (!exec(sql))
                return false;
        if (!m_postgresql) {
            // Only the station's own file keeps the list on show and the queue for the lab.
            const QStringList local{
                QStringLiteral("CREATE TABLE open_list (position INTEGER PRIMARY KEY, "
                               "comparison_id TEXT NOT NULL, sequence REAL NOT NULL)"),
                QStringLiteral(
                    "CREATE TABLE open_standard (slot INTEGER PRIMARY KEY CHECK (slot = 1), "
                    "model TEXT, serial TEXT, name TEXT, measured_at TEXT, layout TEXT, "
                    "display_mode INTEGER, %1)")
                    .arg(quantityColumns(QString(), r)),
                QStringLiteral("CREATE TABLE local_state (key TEXT PRIMARY KEY, value TEXT)"),
                QStringLiteral("CREATE TABLE lab_outbox (seq INTEGER PRIMARY KEY AUTOINCREMENT, "
                               "kind TEXT NOT NULL, id TEXT NOT NULL)"),
            };
            for (const QString& sql : local)
                if (!exec(sql))
                    return false;
        }
        if (!exec(QStringLiteral("UPDATE schema_version SET version = 1")))
            return false;
    }
    if (from < 2) {
        // Averaged readings: how many went into the sample and their spread.
        const QStringList v2{
            QStringLiteral(
                "ALTER TABLE comparisons ADD COLUMN readings INTEGER NOT NULL DEFAULT 1"),
            QStringLiteral("ALTER TABLE comparisons ADD COLUMN spread %1").arg(r),
            QStringLiteral("CREATE INDEX comparisons_name ON comparisons (name)"),
            QStringLiteral("UPDATE schema_version SET version = 2"),
        };
        for (const QString& sql : v2)
            if (!exec(sql))
                return false;
    }
    return true;
}

bool HistoryDatabase::begin() {
    return exec(m_postgresql ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE"));
}

bool HistoryDatabase::commit() {
    return exec(QStringLiteral("COMMIT"));
}

void HistoryDatabase::rollback() {
    QSqlQuery query(connection());
    query.exec(QStringLiteral("ROLLBACK"));
}

QSqlQuery* HistoryDatabase::prepared(const QString& sql) {
    auto it = m_prepared.find(sql);
    if (it != m_prepared.end())
        return &it->second;
    QSqlQuery query(connection());
    if (!query.prepare(sql)) {
        fail(query.lastError());
        return nullptr;
    }
    return &m_prepared.emplace(sql, std::move(query)).first->second;
}

bool HistoryDatabase::insertComparison(const HistoryComparison& row, Conflict conflict) {
    static const QString columns = comparisonColumns().join(QLatin1String(", "));
    const QString sql =
        QStringLiteral("INSERT INTO comparisons (%1) VALUES (%2) ON CONFLICT (id) DO %3")
            .arg(columns, placeholders(comparisonColumns().size()),
                 conflict == Conflict::Keep ? QStringLiteral("NOTHING")
                 : conflict == Conflict::Relist
                     ? QStringLiteral("UPDATE SET %1, deleted = 0").arg(judgingAssignments())
                     : QStringLiteral(
                           "UPDATE SET name = excluded.name, deleted = excluded.deleted"));
    const QVariantList values = comparisonValues(row);
    if (!m_postgresql && conflict == Conflict::Keep)
        return insertSqlite(values, sql);
    QSqlQuery* query = prepared(sql);
    if (!query)
        return false;
    for (int i = 0; i < values.size(); ++i)
        query->bindValue(i, values.at(i));
    return exec(*query);
}

bool HistoryDatabase::insertSqlite(const QVariantList& values, const QString& sql) {
    const QVariant handleVariant = connection().driver()->handle();
    sqlite3* handle = handleVariant.isValid()
                          ? *static_cast<sqlite3* const*>(handleVariant.constData())
                          : nullptr;
    const auto failed = [this, handle](int code) {
        return fail(QSqlError(QString(), QString::fromUtf8(sqlite3_errmsg(handle)),
                              QSqlError::StatementError, QString::number(code)));
    };
    if (!handle)
        return fail(QSqlError(QString(), tr("not open"), QSqlError::ConnectionError));
    if (!m_sqliteInsert) {
        const QByteArray text = sql.toUtf8();
        const int rc = sqlite3_prepare_v2(handle, text.constData(), int(text.size()),
                                          &m_sqliteInsert, nullptr);
        if (rc != SQLITE_OK)
            return failed(rc);
    }
    for (int i = 0; i < values.size(); ++i) {
        const QVariant& value = values.at(i);
        int rc = SQLITE_OK;
        if (value.isNull()) {
            rc = sqlite3_bind_null(m_sqliteInsert, i + 1);
        } else if (value.typeId() == QMetaType::Double) {
            rc = sqlite3_bind_double(m_sqliteInsert, i + 1, value.toDouble());
        } else if (value.typeId() == QMetaType::Int) {
            rc = sqlite3_bind_int(m_sqliteInsert, i + 1, value.toInt());
        } else {
            const QByteArray text = value.toString().toUtf8();
            rc = sqlite3_bind_text(m_sqliteInsert, i + 1, text.constData(), int(text.size()),
                                   SQLITE_TRANSIENT);
        }
        if (rc != SQLITE_OK) {
            sqlite3_reset(m_sqliteInsert);
            return failed(rc);
        }
    }
    const int rc = sqlite3_step(m_sqliteInsert);
    sqlite3_reset(m_sqliteInsert);
    return rc == SQLITE_DONE || failed(rc);
}

bool HistoryDatabase::insertSpectrum(const HistorySpectrum& row, Conflict conflict) {
    const QString sql =
        QStringLiteral("INSERT INTO spectra (%1) VALUES (%2) ON CONFLICT (id) DO %3")
            .arg(spectrumColumns(), placeholders(8 + HistorySpectrum::kPoints),
                 conflict == Conflict::Keep
                     ? QStringLiteral("NOTHING")
                     : QStringLiteral(
                           "UPDATE SET name = excluded.name, deleted = excluded.deleted"));
    QSqlQuery query(connection());
    if (!query.prepare(sql))
        return fail(query.lastError());
    QVariantList values{
        row.id,         text(row.station),      text(row.model),           text(row.serial),
        text(row.name), isoUtc(row.measuredAt), spectrumKindName(row.kind)};
    for (double v : row.values)
        values << v;
    values << int(row.deleted);
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values.at(i));
    return exec(query);
}

bool HistoryDatabase::setDeleted(bool spectrum, const QString& id) {
    QSqlQuery query(connection());
    query.prepare(QStringLiteral("UPDATE %1 SET deleted = 1 WHERE id = ?")
                      .arg(spectrum ? QStringLiteral("spectra") : QStringLiteral("comparisons")));
    query.bindValue(0, id);
    return exec(query);
}

bool HistoryDatabase::updateJudging(const HistoryComparison& row) {
    QStringList set;
    for (const char* column : kJudgingColumns)
        set << QStringLiteral("%1 = ?").arg(QLatin1String(column));
    QSqlQuery* query = prepared(QStringLiteral("UPDATE comparisons SET %1 WHERE id = ?")
                                    .arg(set.join(QLatin1String(", "))));
    if (!query)
        return false;
    // The values in the order of the judging columns, as the insert lays them out.
    const QVariantList values = comparisonValues(row);
    const int first = int(comparisonColumns().indexOf(QStringLiteral("haze_tolerance")));
    int i = 0;
    for (; i < int(std::size(kJudgingColumns)); ++i)
        query->bindValue(i, values.at(first + i));
    query->bindValue(i, row.id);
    return exec(*query);
}

bool HistoryDatabase::rename(bool spectrum, const QString& id, const QString& name) {
    QSqlQuery query(connection());
    query.prepare(QStringLiteral("UPDATE %1 SET name = ? WHERE id = ?")
                      .arg(spectrum ? QStringLiteral("spectra") : QStringLiteral("comparisons")));
    query.bindValue(0, name);
    query.bindValue(1, id);
    return exec(query);
}

const QStringList& HistoryDatabase::comparisonColumns() {
    static const QStringList columns = [] {
        QStringList list;
        for (const char* name : kComparisonColumns)
            list << QLatin1String(name);
        return list;
    }();
    return columns;
}

HistoryComparison HistoryDatabase::comparisonFrom(const QSqlQuery& q, int f) {
    HistoryComparison row;
    row.id = q.value(f + 0).toString();
    row.station = q.value(f + 1).toString();
    row.model = q.value(f + 2).toString();
    row.serial = q.value(f + 3).toString();
    row.name = q.value(f + 4).toString();
    row.measuredAt = fromIsoUtc(q.value(f + 5).toString());
    row.source = sourceFromName(q.value(f + 6).toString()).value_or(Source::Live);
    row.layout = layoutFromName(q.value(f + 7).toString()).value_or(Layout::New);
    row.displayMode = q.value(f + 8).toInt();
    row.standard = quantitiesFrom(q, f + kFirstStandard);
    row.sample = quantitiesFrom(q, f + kFirstSample);
    int i = f + kFirstTolerance;
    row.hazeTolerance = optionalNumber(q.value(i++));
    row.tTolerance = optionalNumber(q.value(i++));
    row.deltaEThreshold = optionalNumber(q.value(i++));
    const QVariant formula = q.value(i++);
    if (!formula.isNull())
        row.formula = formula.toInt();
    for (auto* delta :
         {&row.deltaHaze, &row.deltaT, &row.deltaL, &row.deltaA, &row.deltaB, &row.deltaE})
        *delta = optionalNumber(q.value(i++));
    row.pass = q.value(i++).toString() == QLatin1String("PASS");
    row.deleted = q.value(i++).toInt() != 0;
    row.readings = q.value(i++).toInt();
    row.spread = optionalNumber(q.value(i++));
    return row;
}

std::optional<HistoryComparison> HistoryDatabase::comparison(const QString& id) {
    QSqlQuery query(connection());
    query.prepare(QStringLiteral("SELECT %1 FROM comparisons WHERE id = ?")
                      .arg(comparisonColumns().join(QLatin1String(", "))));
    query.bindValue(0, id);
    if (!exec(query) || !query.next())
        return std::nullopt;
    return comparisonFrom(query);
}

std::optional<HistorySpectrum> HistoryDatabase::spectrum(const QString& id) {
    QSqlQuery query(connection());
    query.prepare(QStringLiteral("SELECT %1 FROM spectra WHERE id = ?").arg(spectrumColumns()));
    query.bindValue(0, id);
    if (!exec(query) || !query.next())
        return std::nullopt;
    HistorySpectrum row;
    row.id = query.value(0).toString();
    row.station = query.value(1).toString();
    row.model = query.value(2).toString();
    row.serial = query.value(3).toString();
    row.name = query.value(4).toString();
    row.measuredAt = fromIsoUtc(query.value(5).toString());
    row.kind =
        spectrumKindFromName(query.value(6).toString()).value_or(SpectrumKind::Transmittance);
    for (int i = 0; i < HistorySpectrum::kPoints; ++i)
        row.values[std::size_t(i)] = query.value(7 + i).toDouble();
    row.deleted = query.value(7 + HistorySpectrum::kPoints).toInt() != 0;
    return row;
}

QString HistoryDatabase::whereSql(const HistoryFilter& filter, QVariantList& values) {
    QStringList terms;
    if (!filter.includeDeleted)
        terms << QStringLiteral("deleted = 0");
    if (!filter.serial.isEmpty()) {
        terms << QStringLiteral("serial = ?");
        values << filter.serial;
    }
    if (!filter.nameContains.isEmpty()) {
        QString pattern = filter.nameContains;
        pattern.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
            .replace(QLatin1Char('%'), QLatin1String("\\%"))
            .replace(QLatin1Char('_'), QLatin1String("\\_"));
        terms << QStringLiteral("LOWER(name) LIKE LOWER(?) ESCAPE '\\'");
        values << QString(QLatin1Char('%') + pattern + QLatin1Char('%'));
    }
    if (filter.from.isValid()) {
        terms << QStringLiteral("measured_at >= ?");
        values << isoUtc(filter.from);
    }
    if (filter.to.isValid()) {
        terms << QStringLiteral("measured_at < ?");
        values << isoUtc(filter.to);
    }
    if (filter.pass) {
        terms << QStringLiteral("verdict = ?");
        values << QString(*filter.pass ? QStringLiteral("PASS") : QStringLiteral("NG"));
    }
    return terms.isEmpty() ? QString()
                           : QLatin1String(" WHERE ") + terms.join(QLatin1String(" AND "));
}

QString HistoryDatabase::selectSql(const HistoryFilter& filter, QVariantList& values,
                                   const QString& columns) {
    return QStringLiteral("SELECT %1 FROM comparisons%2 ORDER BY measured_at")
        .arg(columns.isEmpty() ? comparisonColumns().join(QLatin1String(", ")) : columns,
             whereSql(filter, values));
}

QVector<HistoryComparison> HistoryDatabase::comparisons(const HistoryFilter& filter) {
    QVariantList values;
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    query.prepare(selectSql(filter, values));
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values.at(i));
    QVector<HistoryComparison> rows;
    if (!exec(query))
        return rows;
    while (query.next())
        rows << comparisonFrom(query);
    return rows;
}

QString HistoryDatabase::csvField(const QVariant& value) {
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::Double:
        return QString::number(value.toDouble(), 'g', 15);
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return value.toString();
    default:
        break;
    }
    QString text = value.toString();
    if (text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) ||
        text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'))) {
        text.replace(QLatin1Char('"'), QLatin1String("\"\""));
        text = QLatin1Char('"') + text + QLatin1Char('"');
    }
    return text;
}

bool HistoryDatabase::appendOpenRow(const QString& id, double sequence) {
    QSqlQuery* query =
        prepared(QStringLiteral("INSERT INTO open_list (comparison_id, sequence) VALUES (?, ?)"));
    if (!query)
        return false;
    query->bindValue(0, id);
    query->bindValue(1, sequence);
    return exec(*query);
}

bool HistoryDatabase::removeOpenRow(const QString& id) {
    QSqlQuery query(connection());
    query.prepare(QStringLiteral("DELETE FROM open_list WHERE comparison_id = ?"));
    query.bindValue(0, id);
    return exec(query);
}

bool HistoryDatabase::clearOpenList() {
    return exec(QStringLiteral("DELETE FROM open_list")) &&
           exec(QStringLiteral("DELETE FROM open_standard")) &&
           exec(QStringLiteral("DELETE FROM local_state WHERE key = 'comparison_serial'"));
}

bool HistoryDatabase::setStandard(const std::optional<HistoryStandard>& standard) {
    if (!exec(QStringLiteral("DELETE FROM open_standard")))
        return false;
    if (!standard)
        return true;
    QSqlQuery query(connection());
    query.prepare(QStringLiteral("INSERT INTO open_standard VALUES (1, ?, ?, ?, ?, ?, ?, %1)")
                      .arg(placeholders(kQuantityCount)));
    QVariantList values{standard->model,
                        standard->serial,
                        standard->name,
                        isoUtc(standard->measuredAt),
                        layoutName(standard->layout),
                        standard->displayMode};
    appendQuantities(values, standard->values);
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values.at(i));
    return exec(query);
}

bool HistoryDatabase::setLocalState(const QString& key, const QString& value) {
    QSqlQuery query(connection());
    query.prepare(QStringLiteral("INSERT INTO local_state (key, value) VALUES (?, ?) "
                                 "ON CONFLICT (key) DO UPDATE SET value = excluded.value"));
    query.bindValue(0, key);
    query.bindValue(1, value);
    return exec(query);
}

std::optional<QString> HistoryDatabase::localState(const QString& key) {
    QSqlQuery query(connection());
    query.prepare(QStringLiteral("SELECT value FROM local_state WHERE key = ?"));
    query.bindValue(0, key);
    if (!exec(query) || !query.next())
        return std::nullopt;
    return query.value(0).toString();
}

std::optional<OpenList> HistoryDatabase::openList() {
    OpenList list;
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    if (!query.exec(
            QStringLiteral("SELECT o.sequence, %1 FROM open_list o JOIN comparisons c ON "
                           "c.id = o.comparison_id ORDER BY o.position")
                .arg(QLatin1String("c.") + comparisonColumns().join(QLatin1String(", c."))))) {
        fail(query.lastError());
        return std::nullopt;
    }
    while (query.next())
        list.rows << OpenListRow{comparisonFrom(query, 1), query.value(0).toDouble()};
    if (!query.exec(QStringLiteral("SELECT * FROM open_standard"))) {
        fail(query.lastError());
        return std::nullopt;
    }
    if (query.next()) {
        HistoryStandard standard;
        standard.model = query.value(1).toString();
        standard.serial = query.value(2).toString();
        standard.name = query.value(3).toString();
        standard.measuredAt = fromIsoUtc(query.value(4).toString());
        standard.layout = layoutFromName(query.value(5).toString()).value_or(Layout::New);
        standard.displayMode = query.value(6).toInt();
        standard.values = quantitiesFrom(query, 7);
        list.standard = standard;
    }
    list.comparisonSerial =
        localState(QStringLiteral("comparison_serial")).value_or(QString()).toInt();
    return list;
}

bool HistoryDatabase::enqueue(bool spectrum, const QString& id) {
    QSqlQuery* query = prepared(QStringLiteral("INSERT INTO lab_outbox (kind, id) VALUES (?, ?)"));
    if (!query)
        return false;
    query->bindValue(0, spectrum ? QStringLiteral("spectrum") : QStringLiteral("comparison"));
    query->bindValue(1, id);
    return exec(*query);
}

bool HistoryDatabase::enqueueAll() {
    return exec(QStringLiteral("INSERT INTO lab_outbox (kind, id) SELECT 'comparison', id FROM "
                               "comparisons ORDER BY measured_at")) &&
           exec(QStringLiteral("INSERT INTO lab_outbox (kind, id) SELECT 'spectrum', id FROM "
                               "spectra ORDER BY measured_at"));
}

QVector<OutboxEntry> HistoryDatabase::outbox(int limit) {
    QVector<OutboxEntry> entries;
    QSqlQuery query(connection());
    query.prepare(QStringLiteral("SELECT seq, kind, id FROM lab_outbox ORDER BY seq LIMIT ?"));
    query.bindValue(0, limit);
    if (!exec(query))
        return entries;
    while (query.next())
        entries << OutboxEntry{query.value(0).toLongLong(),
                               query.value(1).toString() == QLatin1String("spectrum"),
                               query.value(2).toString()};
    return entries;
}

bool HistoryDatabase::dequeue(qint64 lastSeq) {
    QSqlQuery query(connection());
    query.prepare(QStringLiteral("DELETE FROM lab_outbox WHERE seq <= ?"));
    query.bindValue(0, lastSeq);
    return exec(query);
}

int HistoryDatabase::outboxSize() {
    QSqlQuery query(connection());
    if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM lab_outbox")) || !query.next()) {
        fail(query.lastError());
        return -1;
    }
    return query.value(0).toInt();
}

} // namespace history
