// The measurement history on the real SQLite: schema and migration, the open list, failures that
// keep rows, two programs writing one file, and the command line's CSV.
#include "historydatabase.h"
#include "historystore.h"
#include "historytestsupport.h"
#include "historywindow.h"

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QtTest>

using namespace history;

namespace {
QByteArray fileHash(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

QString copyFixture(const QString& name, const QString& to) {
    QFile::remove(to);
    if (!QFile::copy(QStringLiteral(VELORIN_HISTORY_DATA "/") + name, to))
        return {};
    QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner);
    return to;
}

// Statements on the file as another program would run them: no migration, no checks.
bool run(const QString& file, const QStringList& statements) {
    bool ok = true;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        db.setDatabaseName(file);
        ok = db.open();
        for (const QString& sql : statements)
            ok = ok && QSqlQuery(db).exec(sql);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));
    return ok;
}

int rowCount(HistoryDatabase& db, const QString& sql) {
    QSqlQuery query(db.connection());
    if (!query.exec(sql) || !query.next())
        return -1;
    return query.value(0).toInt();
}
} // namespace

class TestHistory : public QObject {
    Q_OBJECT

  private slots:
    void init() { QVERIFY(m_dir.isValid()); }

    void parsesUrls_data();
    void parsesUrls();
    void storesNumbersAndFilters();
    void restoresOpenListExactly();
    void migratesVersionOneFixture();
    void migratesVersionTwoFixture();
    void migratesVersionThreeFixture();
    void lostSchemaVersion_data();
    void lostSchemaVersion();
    void refusesNewerSchemaUntouched();
    void reimportAndRejudgeUpdateOneRow();
    void countsAndPagesAgreeWithTheRows();
    void refusedWriteIsKeptUntilTheFaultIsGone();
    void logStaysBoundedWithoutAPause();
    void rejudgingSurvivesKill();
    void corruptFileTurnsOffAndKeepsRows();
    void lockedFileKeepsRowsUntilNextWrite();
    void twoProgramsWriteOneFile();
    void killedWriterLosesNoShownRow();
    void cliPrintsFilteredCsv();
    void windowFiltersCountsAndAsks();
    void windowKeepsAFewPagesOfManyRows();

  private:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

void TestHistory::parsesUrls_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("location"); // path, or user|host|port|database
    QTest::newRow("sqlite") << "sqlite:/tmp/h.sqlite" << int(HistoryUrl::Kind::Sqlite)
                            << "/tmp/h.sqlite";
    QTest::newRow("sqlite relative")
        << "sqlite:h.sqlite" << int(HistoryUrl::Kind::Sqlite) << "h.sqlite";
    QTest::newRow("tcp") << "postgresql://lab@db.local:5433/quality"
                         << int(HistoryUrl::Kind::Postgresql) << "lab|db.local|5433|quality";
    QTest::newRow("socket") << "postgresql:///quality?host=/run/postgresql"
                            << int(HistoryUrl::Kind::Postgresql) << "|/run/postgresql|-1|quality";
    QTest::newRow("socket port") << "postgresql:///quality?host=/run/pg&port=5433"
                                 << int(HistoryUrl::Kind::Postgresql) << "|/run/pg|5433|quality";
    QTest::newRow("password refused")
        << "postgresql://lab:secret@db/quality" << int(HistoryUrl::Kind::Invalid) << "";
    QTest::newRow("no database") << "postgresql://db/" << int(HistoryUrl::Kind::Invalid) << "";
    QTest::newRow("unknown scheme") << "mysql://db/q" << int(HistoryUrl::Kind::Invalid) << "";
}

void TestHistory::parsesUrls() {
    QFETCH(QString, text);
    QFETCH(int, kind);
    QFETCH(QString, location);
    const HistoryUrl url = HistoryUrl::parse(text);
    QCOMPARE(int(url.kind), kind);
    if (url.kind == HistoryUrl::Kind::Sqlite)
        QCOMPARE(url.path, location);
    else if (url.kind == HistoryUrl::Kind::Postgresql) {
        QCOMPARE(QStringList({url.user, url.host, QString::number(url.port), url.database})
                     .join(QLatin1Char('|')),
                 location);
        QCOMPARE(HistoryUrl::parse(url.toString()).toString(), url.toString());
    } else
        QVERIFY(!url.error.isEmpty());
}

void TestHistory::storesNumbersAndFilters() {
    HistoryStore store;
    QVERIFY(store.open(path("h.sqlite")));
    const QDateTime march(QDate(2026, 3, 10), QTime(9, 30, 15, 250), Qt::UTC);
    HistoryComparison full = makeComparison(1, QStringLiteral("A1"), march);
    full.formula = 6;
    full.standard.bigY = 41.25;
    full.sample.x = 0.3127;
    full.spread = 0.05;
    full.readings = 3;
    full.name = QStringLiteral("Lot, \"7\"");
    QVERIFY(store.record(full));
    QVERIFY(store.record(makeComparison(3, QStringLiteral("A1"), march.addMonths(1)))); // NG
    QVERIFY(store.record(makeComparison(4, QStringLiteral("B2"), march.addDays(1))));
    HistorySpectrum spectrum;
    spectrum.id = HistoryStore::newId();
    spectrum.measuredAt = march;
    spectrum.values[30] = 88.5;
    QVERIFY(store.recordSpectrum(spectrum));

    HistoryDatabase db;
    QVERIFY(db.open(HistoryUrl::sqliteFile(path("h.sqlite"))));
    const auto back = db.comparison(full.id);
    QVERIFY(back);
    QCOMPARE(back->measuredAt, march);
    QCOMPARE(back->name, full.name);
    QCOMPARE(back->formula, std::optional<int>(6));
    QCOMPARE(back->standard.bigY, std::optional<double>(41.25));
    QCOMPARE(back->sample.x, std::optional<double>(0.3127));
    QVERIFY(!back->sample.y); // not measured in this mode: NULL, not 0
    QVERIFY(!back->standard.c);
    QCOMPARE(back->deltaE, full.deltaE);
    QCOMPARE(back->readings, 3);
    QCOMPARE(back->spread, std::optional<double>(0.05));
    QVERIFY(back->pass);
    QCOMPARE(db.spectrum(spectrum.id)->values[30], 88.5);

    HistoryFilter filter;
    filter.serial = QStringLiteral("A1");
    QCOMPARE(db.comparisons(filter).size(), 2);
    filter.from = march;
    filter.to = march.addDays(2);
    QCOMPARE(db.comparisons(filter).size(), 1);
    filter = {};
    filter.pass = false;
    QCOMPARE(db.comparisons(filter).size(), 1);
    filter = {};
    filter.nameContains = QStringLiteral("lot, \"");
    QCOMPARE(db.comparisons(filter).size(), 1);
    filter.nameContains = QStringLiteral("%");
    QCOMPARE(db.comparisons(filter).size(), 0); // a wildcard typed by the user is a plain character

    QVERIFY(store.markDeleted(full.id));
    QCOMPARE(db.comparisons({}).size(), 2);
    HistoryFilter all;
    all.includeDeleted = true;
    QCOMPARE(db.comparisons(all).size(), 3);
}

void TestHistory::restoresOpenListExactly() {
    const QDateTime t0(QDate(2026, 5, 1), QTime(8, 0), Qt::UTC);
    QVector<HistoryComparison> rows;
    OpenList expected;
    {
        HistoryStore store;
        QVERIFY(store.open(path("restore.sqlite")));
        HistoryStandard standard;
        standard.model = QStringLiteral("KV510");
        standard.serial = QStringLiteral("A1");
        standard.measuredAt = t0;
        standard.displayMode = 6;
        standard.values.haze = 1.25;
        standard.values.l = 50;
        QVERIFY(store.setStandard(standard));
        for (int i = 1; i <= 5; ++i) {
            rows << makeComparison(i, QStringLiteral("A1"), t0.addSecs(i));
            QVERIFY(store.record(rows.last(), i));
            QVERIFY(store.setComparisonSerial(i));
        }
        // Imported rows join the list in one transaction.
        QVector<OpenListRow> imported;
        for (int i = 6; i <= 7; ++i)
            imported << OpenListRow{makeComparison(i, QStringLiteral("A1"), t0.addSecs(i)),
                                    double(i)};
        QVERIFY(store.recordMany(imported, true));
        QVERIFY(store.markDeleted(rows[1].id));
        QVERIFY(store.rename(rows[3].id, QStringLiteral("Lot 9")));
        // A comparison written outside the list does not come back into it.
        QVERIFY(store.record(makeComparison(99, QStringLiteral("A1"), t0)));
        expected.standard = standard;
        for (int i : {0, 2, 3, 4})
            expected.rows << OpenListRow{rows[i], double(i + 1)};
        expected.rows[2].comparison.name = QStringLiteral("Lot 9");
        expected.rows << imported;
        expected.comparisonSerial = 5;
        // The store ends without a clear, as a crashed program does.
    }
    HistoryStore store;
    QVERIFY(store.open(path("restore.sqlite")));
    const OpenList restored = store.restore();
    QCOMPARE(restored.comparisonSerial, expected.comparisonSerial);
    QVERIFY(restored.standard);
    QCOMPARE(restored.standard->values.haze, expected.standard->values.haze);
    QCOMPARE(restored.standard->measuredAt, t0);
    QVERIFY(!restored.standard->values.t);
    QCOMPARE(restored.rows.size(), expected.rows.size());
    for (int i = 0; i < restored.rows.size(); ++i) {
        const HistoryComparison& got = restored.rows[i].comparison;
        const HistoryComparison& want = expected.rows[i].comparison;
        QCOMPARE(restored.rows[i].sequence, expected.rows[i].sequence);
        QCOMPARE(got.id, want.id);
        QCOMPARE(got.name, want.name);
        QCOMPARE(got.measuredAt, want.measuredAt);
        QCOMPARE(got.sample.haze, want.sample.haze);
        QCOMPARE(got.pass, want.pass);
    }

    QVERIFY(store.clearOpenList());
    QVERIFY(store.restore().isEmpty());
    HistoryDatabase db;
    QVERIFY(db.open(HistoryUrl::sqliteFile(path("restore.sqlite"))));
    QCOMPARE(rowCount(db, QStringLiteral("SELECT COUNT(*) FROM comparisons")), 8);
}

void TestHistory::migratesVersionOneFixture() {
    const QString file = path("v1.sqlite");
    QVERIFY(QFile::copy(QStringLiteral(VELORIN_HISTORY_DATA "/history-v1.sqlite"), file));
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
    HistoryStore store;
    QVERIFY(store.open(file));
    HistoryDatabase db;
    QVERIFY(db.open(HistoryUrl::sqliteFile(file)));
    QCOMPARE(db.schemaVersion(), kSchemaVersion);
    const auto old = db.comparison(QStringLiteral("0b6f3d1e-7c1a-4b8e-9a51-3f2d8c9e1a02"));
    QVERIFY(old);
    QCOMPARE(old->name, QStringLiteral("Lot 7"));
    QCOMPARE(old->layout, Layout::Old);
    QCOMPARE(old->source, Source::Imported);
    QCOMPARE(old->formula, std::optional<int>(2));
    QCOMPARE(old->deltaE, std::optional<double>(2.0));
    QVERIFY(old->deleted && !old->pass);
    QCOMPARE(old->readings, 1);
    QVERIFY(!old->spread);
    QCOMPARE(old->measuredAt, QDateTime(QDate(2025, 3, 4), QTime(8, 16, 30, 500), Qt::UTC));
    QCOMPARE(db.spectrum(QStringLiteral("5d0c1c7e-2f7b-4a43-8c0e-6f3a9b2d4e01"))->values[1], 80.5);
    QCOMPARE(store.restore().rows.size(), 1);
    QVERIFY(store.record(makeComparison(1, QStringLiteral("X"), QDateTime::currentDateTimeUtc())));
    QCOMPARE(rowCount(db, QStringLiteral("SELECT COUNT(*) FROM comparisons")), 3);
}

void TestHistory::migratesVersionTwoFixture() {
    const QString file = copyFixture(QStringLiteral("history-v2.sqlite"), path("v2.sqlite"));
    QVERIFY(!file.isEmpty());
    HistoryStore store;
    QVERIFY2(store.open(file), qPrintable(store.lastMessage()));
    HistoryDatabase db;
    QVERIFY(db.open(HistoryUrl::sqliteFile(file)));
    QCOMPARE(db.schemaVersion(), kSchemaVersion);
    const auto averaged = db.comparison(QStringLiteral("0b6f3d1e-7c1a-4b8e-9a51-3f2d8c9e1a03"));
    QVERIFY(averaged);
    QCOMPARE(averaged->readings, 3);
    QCOMPARE(averaged->spread, std::optional<double>(0.05));
    QVERIFY(!averaged->instrumentKind); // not known before
    // The rows counted before the migration are in the tally: two not deleted, both PASS.
    const auto counts = db.counts({});
    QVERIFY(counts);
    QCOMPARE(counts->rows, 2);
    QCOMPARE(counts->passes, 2);
    QCOMPARE(store.restore().rows.size(), 2);
    QCOMPARE(db.outboxSize(), 1);
    // The name index no query used is gone; the time index orders by id too.
    QCOMPARE(rowCount(db, QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE name = "
                                         "'comparisons_name'")),
             0);
    QCOMPARE(rowCount(db, QStringLiteral("SELECT COUNT(*) FROM pragma_index_info("
                                         "'comparisons_serial_time')")),
             3);
    HistoryComparison kind = makeComparison(7, QStringLiteral("510A7"), averaged->measuredAt);
    kind.instrumentKind = 3;
    QVERIFY(store.record(kind));
    QCOMPARE(db.comparison(kind.id)->instrumentKind, std::optional<int>(3));
    HistoryFilter serial;
    serial.serial = QStringLiteral("510A7");
    QCOMPARE(db.counts(serial)->rows, 2);
}

void TestHistory::migratesVersionThreeFixture() {
    const QString file = copyFixture(QStringLiteral("history-v3.sqlite"), path("v3.sqlite"));
    QVERIFY(!file.isEmpty());
    HistoryStore store;
    QVERIFY2(store.open(file), qPrintable(store.lastMessage()));
    HistoryDatabase db;
    QVERIFY(db.open(HistoryUrl::sqliteFile(file)));
    QCOMPARE(db.schemaVersion(), kSchemaVersion);
    // Rows of before belong to no product and no lot; the list, its standard and the tally stay.
    const QVector<HistoryComparison> rows = db.comparisons({});
    QCOMPARE(rows.size(), 2);
    QVERIFY(rows[0].productId.isEmpty() && rows[0].lot.isEmpty());
    QCOMPARE(rows[1].instrumentKind, std::optional<int>(0));
    const OpenList open = store.restore();
    QCOMPARE(open.rows.size(), 1);
    QCOMPARE(open.comparisonSerial, 2);
    QVERIFY(open.standard && open.productInUse.isEmpty());
    QCOMPARE(db.counts({})->passes, 1);

    HistoryProduct product;
    product.name = QStringLiteral("Film");
    product.model = QStringLiteral("KV510");
    product.standard.haze = 1.25;
    product.hazeTolerance = 0.5;
    const ProductOutcome added = store.addProduct(product);
    QVERIFY2(added.done(), qPrintable(added.message));
    QCOMPARE(store.addProduct(product).kind, ProductOutcome::Kind::Refused);
    HistoryComparison row = makeComparison(2, QStringLiteral("510V3"), rows[0].measuredAt);
    row.productId = added.product.id;
    row.lot = QStringLiteral("B-7");
    QVERIFY(store.record(row));
    HistoryFilter filter;
    filter.productName = QStringLiteral("Film");
    filter.lot = QStringLiteral("B-7");
    QCOMPARE(db.counts(filter)->rows, 1);
    QCOMPARE(db.comparisons(filter).value(0).id, row.id);
    filter.lot = QStringLiteral("B-8");
    QCOMPARE(db.counts(filter)->rows, 0);
    // Comparisons of a product are found by its index.
    QCOMPARE(rowCount(db, QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE name = "
                                         "'comparisons_product_time'")),
             1);
}

void TestHistory::lostSchemaVersion_data() {
    QTest::addColumn<QStringList>("damage");
    QTest::addColumn<bool>("recovered");
    QTest::newRow("empty") << QStringList{QStringLiteral("DELETE FROM schema_version")} << true;
    QTest::newRow("not a number") << QStringList{QStringLiteral(
                                         "UPDATE schema_version SET version = 'three'")}
                                  << true;
    QTest::newRow("no table") << QStringList{QStringLiteral("DROP TABLE schema_version")} << true;
    QTest::newRow("tables of no version")
        << QStringList{QStringLiteral("DELETE FROM schema_version"),
                       QStringLiteral("DROP TABLE spectra")}
        << false;
}

void TestHistory::lostSchemaVersion() {
    QFETCH(QStringList, damage);
    QFETCH(bool, recovered);
    const QString file = copyFixture(QStringLiteral("history-v2.sqlite"), path("lost.sqlite"));
    QVERIFY(run(file, QStringList{QStringLiteral("UPDATE schema_version SET version = 2")} +
                          damage + QStringList{QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)")}));
    const QByteArray before = fileHash(file);
    HistoryDatabase db;
    const bool opened = db.open(HistoryUrl::sqliteFile(file));
    QCOMPARE(opened, recovered);
    if (!recovered) {
        QCOMPARE(db.failure().kind, HistoryFailure::Kind::Corrupt);
        QVERIFY2(db.failure().message.contains(QLatin1String("damaged")),
                 qPrintable(db.failure().message));
        db.close();
        QCOMPARE(fileHash(file), before);
        return;
    }
    // The tables tell version 2: written down, then migrated on as usual.
    QVERIFY2(db.notice().contains(QLatin1String("version 2")), qPrintable(db.notice()));
    QCOMPARE(db.schemaVersion(), kSchemaVersion);
    QCOMPARE(db.comparisons({}).size(), 2);
    HistoryDatabase again;
    QVERIFY(again.open(HistoryUrl::sqliteFile(file)));
    QVERIFY(again.notice().isEmpty());
}

void TestHistory::reimportAndRejudgeUpdateOneRow() {
    HistoryStore store;
    QVERIFY(store.open(path("relist.sqlite")));
    HistoryStandard standard;
    standard.serial = QStringLiteral("R1");
    QVERIFY(store.setStandard(standard));
    QVERIFY(store.setComparisonSerial(4));
    const QDateTime t(QDate(2026, 1, 5), QTime(7, 0), Qt::UTC);
    QVector<OpenListRow> imported;
    for (int i = 1; i <= 3; ++i) {
        HistoryComparison c = makeComparison(i, QStringLiteral("R1"), t.addSecs(i));
        c.source = Source::Imported;
        c.instrumentKind = 0;
        imported << OpenListRow{c, double(i)};
    }
    QVERIFY(store.recordMany(imported, true, HistoryDatabase::Conflict::Relist));
    QVERIFY(store.rename(imported[0].comparison.id, QStringLiteral("kept name")));
    QVERIFY(store.markDeleted(imported[1].comparison.id));
    // The same records again, judged otherwise and without a known instrument kind.
    QVector<OpenListRow> again = imported;
    for (OpenListRow& row : again) {
        row.comparison.hazeTolerance = 0.05;
        row.comparison.pass = false;
        row.comparison.name = QStringLiteral("new name");
        row.comparison.measuredAt = t.addDays(1);
        row.comparison.instrumentKind.reset();
    }
    QVERIFY(store.recordMany(again, true, HistoryDatabase::Conflict::Relist));
    HistoryDatabase db;
    QVERIFY(db.open(HistoryUrl::sqliteFile(path("relist.sqlite"))));
    HistoryFilter all;
    all.includeDeleted = true;
    const QVector<HistoryComparison> rows = db.comparisons(all);
    QCOMPARE(rows.size(), 3);
    const auto first = db.comparison(imported[0].comparison.id);
    QCOMPARE(first->name, QStringLiteral("kept name"));
    QCOMPARE(first->measuredAt, t.addSecs(1));
    QCOMPARE(first->hazeTolerance, std::optional<double>(0.05));
    QVERIFY(!first->pass);
    QCOMPARE(first->instrumentKind, std::optional<int>(0));
    QVERIFY(!db.comparison(imported[1].comparison.id)->deleted); // listed again
    QCOMPARE(store.restore().rows.size(), 3);
    QCOMPARE(db.counts({})->passes, 0);

    // Re-judged with other settings: the verdict and settings follow, in one transaction.
    QVector<HistoryComparison> rejudged;
    for (const OpenListRow& row : again) {
        HistoryComparison c = row.comparison;
        c.hazeTolerance = 2;
        c.deltaEThreshold = 3;
        c.formula = 4;
        c.pass = true;
        c.instrumentKind = 3;
        rejudged << c;
    }
    QVERIFY(store.updateJudging(rejudged));
    const auto judged = db.comparison(imported[2].comparison.id);
    QCOMPARE(judged->hazeTolerance, std::optional<double>(2));
    QCOMPARE(judged->deltaEThreshold, std::optional<double>(3));
    QCOMPARE(judged->formula, std::optional<int>(4));
    QCOMPARE(judged->instrumentKind, std::optional<int>(3));
    QCOMPARE(judged->name, imported[2].comparison.name);
    QCOMPARE(db.counts({})->passes, 3);

    // The list closed under a change of mode: its rows stay in the history, not listed.
    QVERIFY(store.closeOpenList());
    const OpenList closed = store.restore();
    QVERIFY(closed.rows.isEmpty());
    QVERIFY(closed.standard);
    QCOMPARE(closed.comparisonSerial, 4);
    QCOMPARE(db.comparisons({}).size(), 3);
}

void TestHistory::countsAndPagesAgreeWithTheRows() {
    // Rows over five days around midnight UTC, three serials, several in one millisecond, some
    // deleted and some re-judged after they were counted.
    HistoryStore store;
    QVERIFY(store.open(path("counts.sqlite")));
    const QDateTime t0(QDate(2026, 3, 1), QTime(21, 0), Qt::UTC);
    QVector<HistoryComparison> rows;
    QVector<OpenListRow> batch;
    for (int i = 0; i < 400; ++i) {
        HistoryComparison c = makeComparison(i, QStringLiteral("S%1").arg(i % 3),
                                             t0.addSecs(i % 50 == 0 ? 0 : i * 977));
        c.name = QStringLiteral("Comp%1").arg(i);
        rows << c;
        batch << OpenListRow{c, double(i)};
    }
    QVERIFY(store.recordMany(batch, false));
    for (int i = 0; i < 400; i += 13)
        QVERIFY(store.markDeleted(rows[i].id));
    QVector<HistoryComparison> flipped;
    for (int i = 1; i < 400; i += 17) {
        rows[i].pass = !rows[i].pass;
        flipped << rows[i];
    }
    QVERIFY(store.updateJudging(flipped));

    HistoryDatabase db;
    QVERIFY(db.open(HistoryUrl::sqliteFile(path("counts.sqlite"))));
    const QDateTime midnight(QDate(2026, 3, 2), QTime(0, 0), Qt::UTC);
    QVector<HistoryFilter> filters(12);
    filters[1].serial = QStringLiteral("S1");
    filters[2].pass = false;
    filters[3].from = midnight;                   // whole days from
    filters[4].from = midnight.addSecs(3600 * 5); // part of a day, then whole days
    filters[4].to = midnight.addDays(2).addSecs(77);
    filters[5].to = midnight.addDays(1); // whole days up to
    filters[6].from = t0.addSecs(1);     // within one day
    filters[6].to = t0.addSecs(7000);
    filters[7] = filters[4];
    filters[7].serial = QStringLiteral("S2");
    filters[7].pass = true;
    filters[8].includeDeleted = true;
    filters[8].from = t0.toTimeZone(QTimeZone(3600 * 8)).addSecs(4000); // any time zone
    filters[9].nameContains = QStringLiteral("comp1");
    filters[10].from = midnight.addDays(1).addMSecs(1);
    filters[10].to = midnight.addDays(1).addMSecs(2);
    filters[11].to = t0; // nothing
    for (int f = 0; f < filters.size(); ++f) {
        const QVector<HistoryComparison> found = db.comparisons(filters[f]);
        const auto counted = db.counts(filters[f]);
        QVERIFY(counted);
        int passes = 0;
        for (const HistoryComparison& c : found)
            passes += c.pass;
        QCOMPARE(qMakePair(f, counted->rows), qMakePair(f, int(found.size())));
        QCOMPARE(qMakePair(f, counted->passes), qMakePair(f, passes));
        // The window's pages, newest first, end to end: every row once, in order.
        QStringList paged;
        std::optional<HistoryKey> after;
        for (;;) {
            const QVector<HistoryComparison> page = db.page(filters[f], after, 7);
            for (const HistoryComparison& c : page)
                paged.prepend(c.id);
            if (page.size() < 7)
                break;
            after = HistoryKey::of(page.last());
        }
        QStringList all;
        for (const HistoryComparison& c : found)
            all << c.id;
        // Ties in time are ordered by id in both directions.
        QCOMPARE(paged, all);
    }
}

void TestHistory::refusedWriteIsKeptUntilTheFaultIsGone() {
    const QString file = path("refused.sqlite");
    QVERIFY(HistoryStore().open(file));
    QVERIFY(run(file, {QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON comparisons BEGIN "
                                      "SELECT RAISE(ABORT, 'refused by the test'); END")}));
    const QDateTime now = QDateTime::currentDateTimeUtc();
    // The workspace's store keeps what it could not write and writes it once it can.
    HistoryStore store;
    QVERIFY(store.open(file));
    QSignalSpy failed(&store, &HistoryStore::failed);
    const HistoryComparison kept = makeComparison(1, QStringLiteral("K"), now);
    QVERIFY(!store.record(kept, 1));
    QCOMPARE(store.state(), HistoryStore::State::Off);
    QVERIFY2(store.lastMessage().contains(QLatin1String("refused by the test")),
             qPrintable(store.lastMessage()));
    QCOMPARE(store.pendingCount(), 1);
    QVERIFY(run(file, {QStringLiteral("DROP TRIGGER refuse")}));
    QVERIFY(store.retry());
    QCOMPARE(failed.size(), 1);
    HistoryDatabase db;
    QVERIFY(db.open(HistoryUrl::sqliteFile(file)));
    QCOMPARE(db.comparisons({}).size(), 1);
    QCOMPARE(store.restore().rows.size(), 1);

    // The command line's store drops it: what it never showed is never written later.
    QVERIFY(run(file, {QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON comparisons BEGIN "
                                      "SELECT RAISE(ABORT, 'refused by the test'); END")}));
    HistoryStore strict;
    strict.setKeepRefused(false);
    QVERIFY(strict.open(file));
    QVERIFY(!strict.record(makeComparison(2, QStringLiteral("K"), now)));
    QCOMPARE(strict.pendingCount(), 0);
    QVERIFY(run(file, {QStringLiteral("DROP TRIGGER refuse")}));
    QVERIFY(strict.record(makeComparison(3, QStringLiteral("K"), now)));
    QCOMPARE(db.comparisons({}).size(), 2);
}

void TestHistory::logStaysBoundedWithoutAPause() {
    // A long command-line run writes without a pause and without an event loop: the log is
    // moved into the file as it grows, not only when writing stops.
    const QString file = path("wal.sqlite");
    HistoryStore store;
    QVERIFY(store.open(file));
    const QDateTime now = QDateTime::currentDateTimeUtc();
    qint64 largest = 0;
    for (int i = 0; i < 3000; ++i) {
        QVERIFY(store.record(makeComparison(i, QStringLiteral("W"), now.addMSecs(i))));
        if (i % 100 == 0)
            largest = std::max(largest, QFileInfo(file + QLatin1String("-wal")).size());
    }
    largest = std::max(largest, QFileInfo(file + QLatin1String("-wal")).size());
    // Without checkpoints 3,000 commits leave about 80 MB of log.
    QVERIFY2(largest < 24 * 1024 * 1024, qPrintable(QString::number(largest)));
}

void TestHistory::rejudgingSurvivesKill() {
    const QString file = path("rejudged.sqlite");
    QProcess writer;
    writer.start(QStringLiteral(VELORIN_HISTORY_WRITER),
                 {file, QStringLiteral("10"), QStringLiteral("j"), QStringLiteral("--rejudge")});
    QVERIFY(writer.waitForStarted());
    QByteArray out;
    const int stopAfter = 20 + int(QRandomGenerator::global()->bounded(300));
    while (out.count('\n') < stopAfter && writer.waitForReadyRead(10000))
        out += writer.readAllStandardOutput();
    writer.kill(); // SIGKILL
    QVERIFY(writer.waitForFinished());
    out += writer.readAllStandardOutput();
    QMap<QString, int> lastShown;
    for (const QByteArray& line : out.split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() == 2 && parts[1].size() == 36)
            lastShown[QString::fromLatin1(parts[1])] = parts[0].toInt();
    }
    QCOMPARE(lastShown.size(), 10);
    HistoryStore fresh;
    QVERIFY(fresh.open(file));
    HistoryDatabase db;
    QVERIFY(db.open(HistoryUrl::sqliteFile(file)));
    for (auto it = lastShown.cbegin(); it != lastShown.cend(); ++it) {
        const auto row = db.comparison(it.key());
        QVERIFY(row && row->hazeTolerance);
        // What was reported done is there (or a later re-judging that was not reported yet).
        const int stored = int(*row->hazeTolerance);
        QVERIFY2(stored >= it.value(), qPrintable(it.key()));
        QCOMPARE(row->pass, stored % 2 == 0);
    }
}

void TestHistory::refusesNewerSchemaUntouched() {
    const QString file = path("newer.sqlite");
    {
        HistoryStore store;
        QVERIFY(store.open(file));
        QVERIFY(
            store.record(makeComparison(1, QStringLiteral("A"), QDateTime::currentDateTimeUtc())));
        HistoryDatabase db;
        QVERIFY(db.open(HistoryUrl::sqliteFile(file)));
        QVERIFY(QSqlQuery(db.connection())
                    .exec(QStringLiteral("UPDATE schema_version SET version = 99")));
        QVERIFY(QSqlQuery(db.connection()).exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)")));
    }
    const QByteArray before = fileHash(file);
    HistoryStore store;
    QSignalSpy failed(&store, &HistoryStore::failed);
    QVERIFY(!store.open(file));
    QCOMPARE(store.state(), HistoryStore::State::Off);
    QCOMPARE(failed.size(), 1);
    QVERIFY2(store.lastMessage().contains(QLatin1String("newer")), qPrintable(store.lastMessage()));
    QVERIFY(!store.record(makeComparison(2, QStringLiteral("A"), QDateTime::currentDateTimeUtc())));
    QCOMPARE(store.pendingCount(), 1);
    QCOMPARE(failed.size(), 1); // said once
    store.close();
    QCOMPARE(fileHash(file), before);
}

void TestHistory::corruptFileTurnsOffAndKeepsRows() {
    const QString file = path("corrupt.sqlite");
    {
        QFile garbage(file);
        QVERIFY(garbage.open(QIODevice::WriteOnly));
        garbage.write(QByteArray(8192, '\x5a'));
    }
    HistoryStore store;
    QSignalSpy failed(&store, &HistoryStore::failed);
    QVERIFY(!store.open(file));
    QCOMPARE(store.state(), HistoryStore::State::Off);
    QVERIFY2(store.lastMessage().contains(QLatin1String("damaged")),
             qPrintable(store.lastMessage()));
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const HistoryComparison first = makeComparison(1, QStringLiteral("A"), now);
    QVERIFY(!store.record(first, 1));
    QVERIFY(!store.rename(first.id, QStringLiteral("renamed while off")));
    QCOMPARE(store.pendingCount(), 2);
    QCOMPARE(failed.size(), 1);
    QVERIFY(QFile::remove(file)); // the user moves the damaged file away
    // Kept without a try: within a second of the last one, the queue not yet doubled.
    QVERIFY(!store.record(makeComparison(2, QStringLiteral("A"), now), 2));
    QCOMPARE(store.pendingCount(), 3);
    QVERIFY(store.retry());
    QCOMPARE(store.state(), HistoryStore::State::On);
    QCOMPARE(store.pendingCount(), 0);
    const OpenList list = store.restore();
    QCOMPARE(list.rows.size(), 2);
    QCOMPARE(list.rows[0].comparison.name, QStringLiteral("renamed while off"));
}

void TestHistory::lockedFileKeepsRowsUntilNextWrite() {
    const QString file = path("locked.sqlite");
    HistoryStore store;
    store.setBusyTimeout(100);
    QVERIFY(store.open(file));
    HistoryDatabase other;
    QVERIFY(other.open(HistoryUrl::sqliteFile(file)));
    QVERIFY(QSqlQuery(other.connection()).exec(QStringLiteral("BEGIN EXCLUSIVE")));
    QSignalSpy failed(&store, &HistoryStore::failed);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    QVERIFY(!store.record(makeComparison(1, QStringLiteral("A"), now)));
    QVERIFY(!store.record(makeComparison(2, QStringLiteral("A"), now)));
    QCOMPARE(failed.size(), 1);
    QVERIFY2(store.lastMessage().contains(QLatin1String("locked")),
             qPrintable(store.lastMessage()));
    other.commit();
    store.record(makeComparison(3, QStringLiteral("A"), now));
    QVERIFY(store.retry());
    QCOMPARE(rowCount(other, QStringLiteral("SELECT COUNT(*) FROM comparisons")), 3);
}

void TestHistory::twoProgramsWriteOneFile() {
    const QString file = path("shared.sqlite");
    QProcess a, b;
    a.start(QStringLiteral(VELORIN_HISTORY_WRITER),
            {file, QStringLiteral("1000"), QStringLiteral("a")});
    b.start(QStringLiteral(VELORIN_HISTORY_WRITER),
            {file, QStringLiteral("1000"), QStringLiteral("b")});
    QVERIFY(a.waitForFinished(120000));
    QVERIFY(b.waitForFinished(120000));
    QCOMPARE(a.exitCode(), 0);
    QCOMPARE(b.exitCode(), 0);
    HistoryDatabase db;
    QVERIFY(db.open(HistoryUrl::sqliteFile(file)));
    QCOMPARE(rowCount(db, QStringLiteral("SELECT COUNT(DISTINCT id) FROM comparisons")), 2000);
    QCOMPARE(rowCount(db, QStringLiteral("SELECT COUNT(*) FROM comparisons WHERE station = 'a'")),
             1000);
    QCOMPARE(rowCount(db, QStringLiteral(
                              "SELECT COUNT(DISTINCT name) FROM comparisons WHERE station = 'b'")),
             1000);
}

void TestHistory::killedWriterLosesNoShownRow() {
    const QString file = path("killed.sqlite");
    QProcess writer;
    writer.start(QStringLiteral(VELORIN_HISTORY_WRITER),
                 {file, QStringLiteral("100000"), QStringLiteral("k"), QStringLiteral("--print")});
    QVERIFY(writer.waitForStarted());
    QByteArray shown;
    const int stopAfter = 50 + int(QRandomGenerator::global()->bounded(400));
    while (shown.count('\n') < stopAfter && writer.waitForReadyRead(10000))
        shown += writer.readAllStandardOutput();
    writer.kill(); // SIGKILL: no destructor, no close
    QVERIFY(writer.waitForFinished());
    shown += writer.readAllStandardOutput();
    const QList<QByteArray> ids = shown.split('\n');
    QVERIFY(ids.size() > stopAfter);
    HistoryDatabase db;
    QVERIFY(db.open(HistoryUrl::sqliteFile(file)));
    for (const QByteArray& id : ids) {
        if (id.size() == 36)
            QVERIFY2(db.comparison(QString::fromLatin1(id)), id.constData());
    }
}

void TestHistory::cliPrintsFilteredCsv() {
    const QString file = path("cli.sqlite");
    {
        HistoryStore store;
        QVERIFY(store.open(file));
        const QDateTime t(QDate(2026, 2, 10), QTime(12, 0), Qt::UTC);
        QVERIFY(store.record(makeComparison(1, QStringLiteral("S1"), t)));
        QVERIFY(store.record(makeComparison(3, QStringLiteral("S1"), t.addDays(1)))); // NG
        QVERIFY(store.record(makeComparison(4, QStringLiteral("S1"), t.addDays(40))));
        QVERIFY(store.record(makeComparison(5, QStringLiteral("S2"), t)));
    }
    const auto run = [](const QStringList& args, const QString& env = QString()) {
        QProcess cli;
        if (!env.isEmpty()) {
            QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
            e.insert(QStringLiteral("VELORIN_DATABASE"), env);
            cli.setProcessEnvironment(e);
        }
        cli.start(QStringLiteral(VELORIN_CLI), args);
        cli.waitForFinished(30000);
        return std::make_pair(cli.exitCode(), QString::fromUtf8(cli.readAllStandardOutput()));
    };
    auto [status, out] = run(
        {QStringLiteral("--database"), QLatin1String("sqlite:") + file, QStringLiteral("history"),
         QStringLiteral("--serial"), QStringLiteral("S1"), QStringLiteral("--from"),
         QStringLiteral("2026-02-01"), QStringLiteral("--to"), QStringLiteral("2026-02-28")});
    QCOMPARE(status, 0);
    QStringList lines = out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.value(0), HistoryDatabase::comparisonColumns().join(QLatin1Char(',')));
    QCOMPARE(lines.size(), 3);
    QVERIFY(
        lines[1].contains(QLatin1String(",Comp1,2026-02-10T12:00:00.000Z,live,new,6,1.25,90.5,")));
    QVERIFY(lines[1].contains(QLatin1String(",PASS,0,1,")));
    std::tie(status, out) =
        run({QStringLiteral("history"), QStringLiteral("--verdict"), QStringLiteral("NG")},
            QLatin1String("sqlite:") + file);
    lines = out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(status, 0);
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines[1].contains(QLatin1String(",Comp3,")));
    const QString csv = path("out.csv");
    std::tie(status, out) = run({QStringLiteral("--database"), QLatin1String("sqlite:") + file,
                                 QStringLiteral("history"), QStringLiteral("--out"), csv});
    QCOMPARE(status, 0);
    QFile written(csv);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll().count('\n'), 5);
    std::tie(status, out) =
        run({QStringLiteral("--database"), QLatin1String("sqlite:") + file,
             QStringLiteral("history"), QStringLiteral("--from"), QStringLiteral("yesterday")});
    QCOMPARE(status, 2);
}

void TestHistory::windowFiltersCountsAndAsks() {
    const QString file = path("window.sqlite");
    const QDateTime t(QDate(2026, 4, 2), QTime(9, 0), Qt::UTC);
    QStringList ids;
    {
        HistoryStore store;
        QVERIFY(store.open(file));
        for (int i = 1; i <= 6; ++i) { // i = 3 and 6 are NG
            const HistoryComparison c = makeComparison(
                i, i <= 4 ? QStringLiteral("W1") : QStringLiteral("W2"), t.addSecs(i));
            ids << c.id;
            QVERIFY(store.record(c));
        }
        QVERIFY(store.markDeleted(ids[0]));
    }
    HistoryWindow window;
    QVERIFY(window.setDatabase(HistoryUrl::sqliteFile(file)));
    QTRY_COMPARE(window.filteredCount(), 5);
    QCOMPARE(window.model()->rowCount(), 5);
    // Newest first; the verdict shows as a word and keeps its value underneath.
    QCOMPARE(window.model()->data(window.model()->index(0, HistoryQueryModel::Id)).toString(),
             ids[5]);
    QCOMPARE(window.model()
                 ->data(window.model()->index(0, HistoryQueryModel::Verdict), Qt::EditRole)
                 .toString(),
             QStringLiteral("NG"));
    HistoryFilter filter;
    filter.serial = QStringLiteral("W1");
    window.setFilter(filter);
    QTRY_COMPARE(window.filteredCount(), 3);
    QCOMPARE(qRound(window.passRate() * 10), 667);
    filter.pass = false;
    window.setFilter(filter);
    QTRY_COMPARE(window.filteredCount(), 1);
    QCOMPARE(window.filter().pass, std::optional<bool>(false));

    QSignalSpy exports(&window, &HistoryWindow::exportRequested);
    QSignalSpy reports(&window, &HistoryWindow::reportRequested);
    window.setFilter({});
    window.view()->selectRow(1);
    window.findChild<QPushButton*>(QStringLiteral("pushButton_historyExport"))->click();
    window.findChild<QPushButton*>(QStringLiteral("pushButton_historyReport"))->click();
    QCOMPARE(exports.value(0).value(0).toStringList(), QStringList{ids[4]});
    QCOMPARE(reports.value(0).value(0).toString(), ids[4]);
}

void TestHistory::windowKeepsAFewPagesOfManyRows() {
    const QString file = path("pages.sqlite");
    const QDateTime t(QDate(2026, 4, 2), QTime(9, 0), Qt::UTC);
    QVector<QPair<QDateTime, QString>> order;
    {
        HistoryStore store;
        QVERIFY(store.open(file));
        QVector<OpenListRow> rows;
        for (int i = 0; i < 5000; ++i) {
            rows << OpenListRow{makeComparison(i, QStringLiteral("P"), t.addSecs(i / 2)), 0};
            order << qMakePair(rows.last().comparison.measuredAt, rows.last().comparison.id);
        }
        QVERIFY(store.recordMany(rows, false));
    }
    // Newest first; rows of the same moment by id.
    std::sort(order.begin(), order.end(), [](const auto& a, const auto& b) { return a > b; });
    QStringList ids;
    for (const auto& entry : order)
        ids << entry.second;
    HistoryWindow window;
    QVERIFY(window.setDatabase(HistoryUrl::sqliteFile(file)));
    HistoryQueryModel* model = window.model();
    while (model->canFetchMore({}))
        model->fetchMore({});
    QCOMPARE(model->rowCount(), 5000);
    QVERIFY(model->keptPages() <= HistoryQueryModel::kKeptPages);
    // Rows of pages let go are read again where they were.
    for (int row : {0, 1, 255, 256, 2600, 4999, 3, 4998})
        QCOMPARE(model->idAt(row), ids[row]);
    QVERIFY(model->keptPages() <= HistoryQueryModel::kKeptPages);
    QTRY_COMPARE(window.filteredCount(), 5000);
}

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
