// The lab database on a real PostgreSQL server (started by history_pg.sh): each row copied once by
// its id, renames and deletes following, retries while the server cannot be reached, and two
// stations writing at once.
#include "historydatabase.h"
#include "historystore.h"
#include "historytestsupport.h"
#include "historywindow.h"
#include "labsync.h"

#include <QComboBox>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using namespace history;

class TestHistoryLab : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void copiesEachRowOnceWithItsChanges();
    void refusalIsReportedOnceInTheServersWords();
    void retriesUntilTheServerIsReachable();
    void twoStationsWriteOneDatabase();
    void windowShowsOneStationOfTheLab();
    void productsKeepTheNewerEditOnEveryStation();
    void cliReadsTheLabDatabase();
    void refusesNewerServerSchema();

  private:
    HistoryUrl labUrl(const QString& socketDir) const {
        return HistoryUrl::parse(QStringLiteral("postgresql://velorin@/velorin_history?host=") +
                                 socketDir);
    }
    int count(const QString& sql) {
        QSqlQuery query(m_server.connection());
        if (!query.exec(sql) || !query.next())
            return -1;
        return query.value(0).toInt();
    }
    static bool waitSynced(HistoryStore& store) {
        return QTest::qWaitFor([&] { return store.isSynced() && store.unsyncedCount() == 0; },
                               30000);
    }
    QString m_socketDir;
    HistoryDatabase m_server;
    QTemporaryDir m_dir;
};

void TestHistoryLab::initTestCase() {
    QFile socket(QStringLiteral(VELORIN_PG_SOCKET_FILE));
    QVERIFY2(socket.open(QIODevice::ReadOnly),
             "the PostgreSQL fixture (history_pg_start) did not run");
    m_socketDir = QString::fromLocal8Bit(socket.readAll()).trimmed();
    QVERIFY2(m_server.open(labUrl(m_socketDir)), qPrintable(m_server.failure().message));
    QCOMPARE(m_server.schemaVersion(), kSchemaVersion);
}

void TestHistoryLab::copiesEachRowOnceWithItsChanges() {
    // Rows written before the lab database was named are copied too.
    const QString local = m_dir.filePath(QStringLiteral("station1.sqlite"));
    const QDateTime t(QDate(2026, 6, 1), QTime(10, 0), Qt::UTC);
    QVector<HistoryComparison> rows;
    for (int i = 0; i < 3; ++i)
        rows << makeComparison(i, QStringLiteral("LAB1"), t.addSecs(i), QStringLiteral("station1"));
    {
        HistoryStore store;
        QVERIFY(store.open(local));
        QVERIFY(store.record(rows[0]));
    }
    HistoryStore store;
    QVERIFY(store.open(local, labUrl(m_socketDir)));
    QVERIFY(store.record(rows[1]));
    QVERIFY(store.record(rows[2]));
    HistorySpectrum spectrum;
    spectrum.id = HistoryStore::newId();
    spectrum.station = QStringLiteral("station1");
    spectrum.values[0] = 12.5;
    QVERIFY(store.recordSpectrum(spectrum));
    HistorySpectrum second = spectrum;
    second.id = HistoryStore::newId();
    QVERIFY(store.recordSpectrum(second));
    QVERIFY(waitSynced(store));
    // Changed after their copy: renamed, deleted, re-judged.
    QVERIFY(store.rename(rows[1].id, QStringLiteral("Lot 12")));
    QVERIFY(store.markDeleted(rows[2].id));
    QVERIFY(store.rename(spectrum.id, QStringLiteral("film 3"), true));
    QVERIFY(store.markDeleted(second.id, true));
    HistoryComparison rejudged = rows[0];
    rejudged.hazeTolerance = 0.05;
    rejudged.pass = false;
    rejudged.instrumentKind = 0;
    QVERIFY(store.updateJudging({rejudged}));
    QTRY_COMPARE(m_server.comparison(rows[0].id)->hazeTolerance, std::optional<double>(0.05));
    QCOMPARE(m_server.spectrum(spectrum.id)->name, QStringLiteral("film 3"));
    QVERIFY(m_server.spectrum(second.id)->deleted);
    const auto judged = m_server.comparison(rows[0].id);
    QVERIFY(!judged->pass);
    QCOMPARE(judged->instrumentKind, std::optional<int>(0));
    QTRY_COMPARE(count(QStringLiteral("SELECT COUNT(*) FROM comparisons WHERE station = 'station1' "
                                      "AND (name = 'Lot 12' OR deleted = 1)")),
                 2);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM comparisons WHERE station = 'station1'")),
             3);
    const auto copied = m_server.comparison(rows[0].id);
    QVERIFY(copied);
    QCOMPARE(copied->measuredAt, t);
    QCOMPARE(copied->sample.haze, rows[0].sample.haze);
    QVERIFY(!copied->sample.y);
    QCOMPARE(m_server.spectrum(spectrum.id)->values[0], 12.5);
}

void TestHistoryLab::refusalIsReportedOnceInTheServersWords() {
    // A station whose role may read the tables but not write them.
    const QString role = QStringLiteral("station_ro_%1").arg(QCoreApplication::applicationPid());
    QVERIFY(
        QSqlQuery(m_server.connection()).exec(QStringLiteral("CREATE ROLE %1 LOGIN").arg(role)));
    QVERIFY(
        QSqlQuery(m_server.connection())
            .exec(QStringLiteral("GRANT SELECT ON ALL TABLES IN SCHEMA public TO %1").arg(role)));
    HistoryStore store;
    QSignalSpy refused(&store, &HistoryStore::labFailed);
    QVERIFY(store.open(
        m_dir.filePath(QStringLiteral("refused.sqlite")),
        HistoryUrl::parse(
            QStringLiteral("postgresql://%1@/velorin_history?host=%2").arg(role, m_socketDir))));
    QMetaObject::invokeMethod(store.labSync(),
                              [sync = store.labSync()] { sync->setRetryInterval(50); });
    const HistoryComparison row = makeComparison(
        1, QStringLiteral("RO"), QDateTime::currentDateTimeUtc(), QStringLiteral("station-ro"));
    QVERIFY(store.record(row)); // the station's own file takes it
    QTRY_COMPARE(refused.size(), 1);
    const QString message = refused.value(0).value(0).toString();
    QVERIFY2(message.contains(QLatin1String("permission denied")), qPrintable(message));
    QTest::qWait(500); // retried meanwhile, not said again
    QCOMPARE(refused.size(), 1);
    QVERIFY(!store.isSynced());
    QVERIFY(QSqlQuery(m_server.connection())
                .exec(QStringLiteral("GRANT INSERT, UPDATE ON ALL TABLES IN SCHEMA public TO %1")
                          .arg(role)));
    QVERIFY(waitSynced(store));
    QVERIFY(m_server.comparison(row.id));
}

void TestHistoryLab::retriesUntilTheServerIsReachable() {
    // The server's folder is reached through a link that points nowhere until the "network" is
    // back.
    const QString link = m_dir.filePath(QStringLiteral("lab-link"));
    QVERIFY(QFile::link(m_dir.filePath(QStringLiteral("nowhere")), link));
    const QString local = m_dir.filePath(QStringLiteral("station2.sqlite"));
    HistoryStore store;
    QSignalSpy sync(&store, &HistoryStore::syncStateChanged);
    QVERIFY(store.open(local, labUrl(link)));
    QMetaObject::invokeMethod(store.labSync(),
                              [sync = store.labSync()] { sync->setRetryInterval(100); });
    const QDateTime t = QDateTime::currentDateTimeUtc();
    QVector<HistoryComparison> rows;
    for (int i = 0; i < 4; ++i) {
        rows << makeComparison(i, QStringLiteral("LAB2"), t, QStringLiteral("station2"));
        QVERIFY(store.record(rows.last())); // the local history is written all the same
    }
    QTRY_VERIFY(!store.isSynced() && store.unsyncedCount() == 4);
    QVERIFY(!store.syncMessage().isEmpty());
    QVERIFY(QFile::remove(link));
    QVERIFY(QFile::link(m_socketDir, link));
    QVERIFY(waitSynced(store));
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM comparisons WHERE station = 'station2'")),
             4);
}

void TestHistoryLab::twoStationsWriteOneDatabase() {
    const QString url = labUrl(m_socketDir).toString();
    QProcess a, b;
    a.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    b.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    a.start(QStringLiteral(VELORIN_HISTORY_WRITER),
            {m_dir.filePath(QStringLiteral("a.sqlite")), QStringLiteral("1000"),
             QStringLiteral("pa"), url});
    b.start(QStringLiteral(VELORIN_HISTORY_WRITER),
            {m_dir.filePath(QStringLiteral("b.sqlite")), QStringLiteral("1000"),
             QStringLiteral("pb"), url});
    QVERIFY(a.waitForFinished(180000));
    QVERIFY(b.waitForFinished(180000));
    QCOMPARE(a.exitCode(), 0);
    QCOMPARE(b.exitCode(), 0);
    QCOMPARE(
        count(QStringLiteral("SELECT COUNT(*) FROM comparisons WHERE station IN ('pa', 'pb')")),
        2000);
    QCOMPARE(count(QStringLiteral(
                 "SELECT COUNT(DISTINCT id) FROM comparisons WHERE station IN ('pa', 'pb')")),
             2000);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM comparisons WHERE station = 'pa'")), 1000);
}

void TestHistoryLab::windowShowsOneStationOfTheLab() {
    const QString own = m_dir.filePath(QStringLiteral("own.sqlite"));
    {
        HistoryStore store;
        QVERIFY(store.open(own));
    }
    HistoryWindow window;
    window.setSources(HistoryUrl::sqliteFile(own), labUrl(m_socketDir));
    QTRY_COMPARE(window.filteredCount(), 0);
    auto* sources = window.findChild<QComboBox*>(QStringLiteral("comboBox_historySources"));
    QVERIFY(sources->isEnabled());
    sources->setCurrentIndex(1);
    QVERIFY(window.showsLab());
    HistoryFilter filter;
    filter.station = QStringLiteral("pa");
    window.setFilter(filter);
    QTRY_COMPARE(window.filteredCount(), 1000);
    QCOMPARE(window.model()->index(0, HistoryQueryModel::Station).data().toString(),
             QStringLiteral("pa"));
    // Without a lab there is only the station's own file to show.
    window.setSources(HistoryUrl::sqliteFile(own), HistoryUrl());
    QVERIFY(!window.showsLab() && !sources->isEnabled());
    QCOMPARE(window.shownUrl().toString(), HistoryUrl::sqliteFile(own).toString());
}

void TestHistoryLab::productsKeepTheNewerEditOnEveryStation() {
    // Station b reaches the lab through a link that can be cut like its network.
    const QString link = m_dir.filePath(QStringLiteral("products-link"));
    QVERIFY(QFile::link(m_socketDir, link));
    const QString fileB = m_dir.filePath(QStringLiteral("products-b.sqlite"));
    HistoryStore a, b;
    a.setStation(QStringLiteral("station-a"));
    b.setStation(QStringLiteral("station-b"));
    QSignalSpy conflictA(&a, &HistoryStore::productConflict);
    QSignalSpy conflictB(&b, &HistoryStore::productConflict);
    QVERIFY(a.open(m_dir.filePath(QStringLiteral("products-a.sqlite")), labUrl(m_socketDir)));
    QVERIFY(b.open(fileB, labUrl(link)));
    HistoryProduct film;
    film.name = QStringLiteral("Film %1").arg(QCoreApplication::applicationPid());
    film.model = QStringLiteral("KV510");
    film.standard.haze = 1.5;
    film.hazeTolerance = 0.5;
    const QString id = a.addProduct(film).product.id;
    QVERIFY(!id.isEmpty());
    // Shared: b fetches it once it reached the lab, and an edit made on top of it is no conflict.
    QTRY_VERIFY(m_server.product(id));
    b.pullProducts();
    QTRY_VERIFY(b.productNamed(QStringLiteral("KV510"), film.name));
    QVERIFY(b.setProductSettings(id, 0.6, 1.0, 1.5, std::nullopt).done());
    QTRY_COMPARE(m_server.product(id)->hazeTolerance, std::optional<double>(0.6));
    a.pullProducts();
    QTRY_COMPARE(a.product(id)->hazeTolerance, std::optional<double>(0.6));

    const auto offline = [&](bool cut) {
        b.close();
        QFile::remove(link);
        QFile::link(cut ? m_dir.filePath(QStringLiteral("nowhere")) : m_socketDir, link);
        const bool opened = b.open(fileB, labUrl(link));
        QMetaObject::invokeMethod(b.labSync(),
                                  [sync = b.labSync()] { sync->setRetryInterval(100); });
        return opened;
    };
    // a edits, then b edits while it cannot reach the lab: b's edit is the newer one, kept on
    // both stations, and both are told.
    QVERIFY(offline(true));
    QVERIFY(a.setProductSettings(id, 0.7, 1.0, 1.5, std::nullopt).done());
    QTRY_COMPARE(m_server.product(id)->hazeTolerance, std::optional<double>(0.7));
    QTest::qWait(5);
    QVERIFY(b.setProductSettings(id, 0.8, 1.0, 1.5, std::nullopt).done());
    QVERIFY(offline(false));
    QTRY_COMPARE(conflictB.size(), 1);
    QCOMPARE(conflictB.first().first().toString(),
             QStringLiteral("Product %1 was changed on station station-a; the newer edit is kept.")
                 .arg(film.name));
    QTRY_COMPARE(m_server.product(id)->hazeTolerance, std::optional<double>(0.8));
    a.pullProducts();
    QTRY_COMPARE(a.product(id)->hazeTolerance, std::optional<double>(0.8));
    QCOMPARE(conflictA.size(), 1);
    QVERIFY(conflictA.first().first().toString().contains(QLatin1String("station-b")));

    // b edits offline first, a renames later: a's edit is newer, b takes it.
    const QString renamed = film.name + QStringLiteral(" B");
    QVERIFY(offline(true));
    QVERIFY(b.setProductSettings(id, 0.9, 1.0, 1.5, std::nullopt).done());
    QTest::qWait(5);
    QVERIFY(a.renameProduct(id, renamed).done());
    QTRY_COMPARE(m_server.product(id)->name, renamed);
    QVERIFY(offline(false));
    QTRY_COMPARE(conflictB.size(), 2);
    QTRY_COMPARE(b.product(id)->name, renamed);
    QCOMPARE(b.product(id)->hazeTolerance, std::optional<double>(0.8));
    QCOMPARE(m_server.product(id)->name, renamed);
    QCOMPARE(conflictA.size(), 1);
    QCOMPARE(
        count(QStringLiteral("SELECT COUNT(*) FROM products WHERE name LIKE '%1%'").arg(film.name)),
        1);
}

void TestHistoryLab::cliReadsTheLabDatabase() {
    QProcess cli;
    cli.start(QStringLiteral(VELORIN_CLI),
              {QStringLiteral("--database"), labUrl(m_socketDir).toString(),
               QStringLiteral("history"), QStringLiteral("--serial"), QStringLiteral("LAB1"),
               QStringLiteral("--station"), QStringLiteral("station1")});
    QVERIFY(cli.waitForFinished(30000));
    QCOMPARE(cli.exitCode(), 0);
    const QStringList lines =
        QString::fromUtf8(cli.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3); // the heading and the two rows not deleted
    QCOMPARE(lines[0], HistoryDatabase::comparisonColumns().join(QLatin1Char(',')));
    QVERIFY(lines[2].contains(QLatin1String(",Lot 12,2026-06-01T10:00:01.000Z,")));
}

void TestHistoryLab::refusesNewerServerSchema() {
    QVERIFY(QSqlQuery(m_server.connection())
                .exec(QStringLiteral("UPDATE schema_version SET version = 99")));
    HistoryDatabase newer;
    const bool opened = newer.open(labUrl(m_socketDir));
    QVERIFY(
        QSqlQuery(m_server.connection())
            .exec(QStringLiteral("UPDATE schema_version SET version = %1").arg(kSchemaVersion)));
    QVERIFY(!opened);
    QCOMPARE(newer.failure().kind, HistoryFailure::Kind::NewerSchema);
}

QTEST_MAIN(TestHistoryLab)
#include "tst_historylab.moc"
