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
#include <QtTest>

#include <unistd.h>

using namespace history;

namespace {
QByteArray fileHash(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
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
    void refusesNewerSchemaUntouched();
    void corruptFileTurnsOffAndKeepsRows();
    void lockedFileKeepsRowsUntilNextWrite();
    void readOnlyFileKeepsRows();
    void twoProgramsWriteOneFile();
    void killedWriterLosesNoShownRow();
    void cliPrintsFilteredCsv();
    void windowFiltersCountsAndAsks();

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
    QVERIFY(store.record(makeComparison(2, QStringLiteral("A"), now), 2));
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
    QVERIFY(store.record(makeComparison(3, QStringLiteral("A"), now)));
    QCOMPARE(rowCount(other, QStringLiteral("SELECT COUNT(*) FROM comparisons")), 3);
}

void TestHistory::readOnlyFileKeepsRows() {
    if (geteuid() == 0)
        QSKIP("root writes read-only files");
    const QString file = path("readonly.sqlite");
    {
        HistoryStore store;
        QVERIFY(store.open(file));
    }
    QFile::remove(file + QLatin1String("-wal"));
    QFile::remove(file + QLatin1String("-shm"));
    QFile::setPermissions(file, QFile::ReadOwner);
    HistoryStore store;
    store.open(file);
    QVERIFY(!store.record(makeComparison(1, QStringLiteral("A"), QDateTime::currentDateTimeUtc())));
    QCOMPARE(store.state(), HistoryStore::State::Off);
    // SQLite gave the journal files the database's permissions: the user makes all writable.
    for (const char* suffix : {"", "-wal", "-shm"})
        QFile::setPermissions(file + QLatin1String(suffix), QFile::ReadOwner | QFile::WriteOwner);
    QVERIFY2(store.retry(), qPrintable(store.lastMessage()));
    QCOMPARE(store.pendingCount(), 0);
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

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
