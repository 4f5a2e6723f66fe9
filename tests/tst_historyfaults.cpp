// Faults of the history that velorin-cli must not hide: a refused write, a failed commit, a full
// disk, a read-only or locked file, a lab server that never answers; and the one history file
// that the window and the command line share. The suite runs it as the user who runs it and,
// under root, again as an unprivileged user (history_unprivileged.sh).
#include "historydatabase.h"
#include "historystore.h"
#include "historytestsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

using namespace history;

namespace {

// The helpers' places: given by history_unprivileged.sh for a copy, else the build's.
QString tool(const char* variable, const char* built) {
    return qEnvironmentVariableIsSet(variable) ? qEnvironmentVariable(variable)
                                               : QString::fromLocal8Bit(built);
}
QString cliPath() {
    return tool("VELORIN_CLI", VELORIN_CLI);
}
QString shimPath() {
    return tool("VELORIN_WRITE_FAULT_SHIM", VELORIN_WRITE_FAULT_SHIM);
}

// The environment of a program that runs on the full-disk stand-in. Under AddressSanitizer the
// stand-in is loaded before the sanitizer's runtime, which the runtime must be told to accept.
QProcessEnvironment onFullDisk(QProcessEnvironment env, const QString& prefix, qint64 bytes) {
    env.insert(QStringLiteral("LD_PRELOAD"), shimPath());
    env.insert(QStringLiteral("VELORIN_WRITE_FAULT"),
               QStringLiteral("%1:%2").arg(prefix).arg(bytes));
    const QString asan = env.value(QStringLiteral("ASAN_OPTIONS"));
    env.insert(QStringLiteral("ASAN_OPTIONS"),
               (asan.isEmpty() ? QString() : asan + QLatin1Char(':')) +
                   QStringLiteral("verify_asan_link_order=0"));
    return env;
}

struct Outcome {
    int status = -1;
    QByteArray out, err;
    qint64 ms = 0;
    QStringList printed() const { // the comparisons' names on stdout, sorted
        QStringList names;
        for (const QByteArray& line : out.split('\n'))
            if (line.contains(",Comp"))
                names << QString::fromUtf8(line.split(',').value(3));
        names.sort();
        return names;
    }
};

Outcome run(const QString& program, const QStringList& args, const QProcessEnvironment& env,
            int timeoutMs = 120000) {
    QProcess process;
    process.setProcessEnvironment(env);
    QElapsedTimer clock;
    clock.start();
    process.start(program, args);
    process.waitForFinished(timeoutMs);
    Outcome o;
    o.ms = clock.elapsed();
    o.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    o.out = process.readAllStandardOutput();
    o.err = process.readAllStandardError();
    return o;
}

QStringList storedNames(const QString& file) {
    HistoryDatabase db;
    QStringList names;
    if (!db.open(HistoryUrl::sqliteFile(file)))
        return {QStringLiteral("cannot open: ") + db.failure().message};
    for (const HistoryComparison& c : db.comparisons({}))
        names << c.name;
    names.sort();
    return names;
}

bool sql(const QString& file, const QString& statement) {
    bool ok = false;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("faults"));
        db.setDatabaseName(file);
        ok = db.open() && QSqlQuery(db).exec(statement);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("faults"));
    return ok;
}

bool canUnshare() {
    QProcess p;
    p.start(QStringLiteral("unshare"),
            {QStringLiteral("-rm"), QStringLiteral("sh"), QStringLiteral("-c"),
             QStringLiteral("mount -t tmpfs -o size=64k tmpfs \"$0\""), QDir::tempPath()});
    return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

} // namespace

class TestHistoryFaults : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void refusedComparisonStopsCompare();
    void failedCommitStopsCompare();
    void fullDiskStopsCompare_data();
    void fullDiskStopsCompare();
    void readOnlyHistoryStopsCompare();
    void lockedHistoryStopsCompare();
    void failingDiskCostsNoMoreThanItsWrites();
    void muteLabServerCostsSecondsAtExit();
    void noHistoryRunsWithoutOne();
    void oneHistoryFileForWindowAndCommandLine();

  private:
    QString path(const QString& name) const { return dir_->filePath(name); }
    // A data folder of the test's own, so the default history is never the suite's.
    QProcessEnvironment environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), path(QStringLiteral("data")));
        return env;
    }
    Outcome compare(const QString& file, int samples, QProcessEnvironment env = {}) {
        if (env.isEmpty())
            env = environment();
        return run(cliPath(),
                   {QStringLiteral("--database"), QStringLiteral("sqlite:") + file,
                    QStringLiteral("--simulate"), QStringLiteral("KV510"),
                    QStringLiteral("compare"), QStringLiteral("--samples"),
                    QString::number(samples)},
                   env);
    }
    std::unique_ptr<QTemporaryDir> dir_;
};

void TestHistoryFaults::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    // An unprivileged user must reach the folder too (the read-only case as root).
    QFile::setPermissions(dir_->path(), QFileDevice::Permissions(0x7755));
}

void TestHistoryFaults::refusedComparisonStopsCompare() {
    const QString file = path(QStringLiteral("refused.sqlite"));
    QVERIFY(HistoryStore().open(file));
    QVERIFY(sql(file, QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON comparisons WHEN "
                                     "NEW.name = 'Comp3' BEGIN SELECT RAISE(ABORT, 'refused by "
                                     "the test'); END")));
    const Outcome o = compare(file, 6);
    QCOMPARE(o.status, 1);
    QVERIFY2(o.err.contains("refused by the test"), o.err.constData());
    QVERIFY(!o.out.contains("TOTAL"));
    QCOMPARE(o.printed(), (QStringList{QStringLiteral("Comp1"), QStringLiteral("Comp2")}));
    QCOMPARE(storedNames(file), o.printed());

    // The instrument's records: none exported that is not stored.
    QVERIFY(sql(file, QStringLiteral("CREATE TRIGGER refuse_imports BEFORE INSERT ON comparisons "
                                     "WHEN NEW.source = 'imported' BEGIN SELECT RAISE(ABORT, "
                                     "'refused by the test'); END")));
    const QString exported = path(QStringLiteral("records.csv"));
    const Outcome e = run(cliPath(),
                          {QStringLiteral("--database"), QStringLiteral("sqlite:") + file,
                           QStringLiteral("--simulate"), QStringLiteral("KV510"),
                           QStringLiteral("export-records"), QStringLiteral("--mode"),
                           QStringLiteral("0"), QStringLiteral("--out"), exported},
                          environment());
    QCOMPARE(e.status, 1);
    QVERIFY2(e.err.contains("refused by the test"), e.err.constData());
    QVERIFY(!QFileInfo::exists(exported));
}

void TestHistoryFaults::failedCommitStopsCompare() {
    // In WAL mode nothing reaches the disk before COMMIT: a disk that fills up fails it there.
    const QString file = path(QStringLiteral("commit.sqlite"));
    const Outcome o = compare(file, 200, onFullDisk(environment(), file, 400000));
    QCOMPARE(o.status, 1);
    QVERIFY2(o.err.contains("full"), o.err.constData());
    QVERIFY2(!o.printed().isEmpty() && o.printed().size() < 200, o.out.constData());
    QCOMPARE(storedNames(file), o.printed());
}

void TestHistoryFaults::fullDiskStopsCompare_data() {
    QTest::addColumn<int>("kilobytes");
    QTest::newRow("nearly full") << 512;
    QTest::newRow("full from the start") << 40;
}

void TestHistoryFaults::fullDiskStopsCompare() {
    QFETCH(int, kilobytes);
    // A small file system of its own where the user may mount one (a user namespace);
    // otherwise the preloaded stand-in fills up at the same size.
    const QString mount = path(QStringLiteral("small"));
    const QString kept = path(QStringLiteral("kept"));
    QVERIFY(QDir().mkpath(mount) && QDir().mkpath(kept));
    const bool tmpfs = canUnshare();
    Outcome o;
    if (tmpfs) {
        o = run(QStringLiteral("unshare"),
                {QStringLiteral("-rm"), QStringLiteral("sh"), QStringLiteral("-c"),
                 QStringLiteral("mount -t tmpfs -o size=%1k tmpfs \"$1\" || exit 9; "
                                "\"$2\" --database \"sqlite:$1/h.sqlite\" --simulate KV510 compare "
                                "--samples 500; rc=$?; cp \"$1\"/h.sqlite* \"$3\"/ 2>/dev/null; "
                                "exit $rc")
                     .arg(kilobytes),
                 QStringLiteral("sh"), mount, cliPath(), kept},
                environment());
    } else {
        const QProcessEnvironment env =
            onFullDisk(environment(), kept + QStringLiteral("/h.sqlite"), kilobytes * 1024);
        o = run(cliPath(),
                {QStringLiteral("--database"), QStringLiteral("sqlite:") + kept + "/h.sqlite",
                 QStringLiteral("--simulate"), QStringLiteral("KV510"), QStringLiteral("compare"),
                 QStringLiteral("--samples"), QStringLiteral("500")},
                env);
    }
    QCOMPARE(o.status, 1);
    QVERIFY2(o.err.contains("full") || o.err.contains("cannot be"), o.err.constData());
    const QString file = kept + QStringLiteral("/h.sqlite");
    const QStringList stored = QFile::exists(file) ? storedNames(file) : QStringList{};
    QCOMPARE(stored, o.printed());
    qInfo("full disk (%s, %d KB): %lld ms, %lld printed, %lld stored, exit %d",
          tmpfs ? "tmpfs" : "preloaded", kilobytes, o.ms, qlonglong(o.printed().size()),
          qlonglong(stored.size()), o.status);
    QVERIFY(o.ms < 60000);
}

void TestHistoryFaults::readOnlyHistoryStopsCompare() {
    const QString folder = path(QStringLiteral("readonly"));
    const QString file = folder + QStringLiteral("/h.sqlite");
    QVERIFY(QDir().mkpath(folder));
    {
        HistoryStore store;
        QVERIFY(store.open(file));
        QVERIFY(
            store.record(makeComparison(1, QStringLiteral("R"), QDateTime::currentDateTimeUtc())));
    }
    const QByteArray before = storedNames(file).join(QLatin1Char(',')).toUtf8();
    QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    QFile::setPermissions(folder, QFileDevice::Permissions(0x5555));
    Outcome o;
    if (geteuid() == 0) {
        // Root writes any file: the command runs as an unprivileged user, from a copy it can
        // reach.
        const QString bin = path(QStringLiteral("bin"));
        QVERIFY(QDir().mkpath(bin));
        QVERIFY(QFile::copy(cliPath(), bin + QStringLiteral("/velorin-cli")));
        QFile::copy(QFileInfo(cliPath()).absolutePath() + QStringLiteral("/meterno"),
                    bin + QStringLiteral("/meterno"));
        QFile::setPermissions(bin + QStringLiteral("/velorin-cli"),
                              QFileDevice::Permissions(0x7555));
        QFile::setPermissions(bin + QStringLiteral("/meterno"), QFileDevice::Permissions(0x4444));
        QFile::setPermissions(bin, QFileDevice::Permissions(0x5555));
        QProcessEnvironment env = environment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), QStringLiteral("/nonexistent"));
        o = run(QStringLiteral("setpriv"),
                {QStringLiteral("--reuid=nobody"), QStringLiteral("--regid=nogroup"),
                 QStringLiteral("--clear-groups"), QStringLiteral("--"),
                 bin + QStringLiteral("/velorin-cli"), QStringLiteral("--database"),
                 QStringLiteral("sqlite:") + file, QStringLiteral("--simulate"),
                 QStringLiteral("KV510"), QStringLiteral("compare"), QStringLiteral("--samples"),
                 QStringLiteral("3")},
                env);
    } else {
        o = compare(file, 3);
    }
    QFile::setPermissions(folder, QFileDevice::Permissions(0x7755));
    QCOMPARE(o.status, 1);
    QVERIFY2(o.err.contains("history"), o.err.constData());
    QVERIFY(o.printed().isEmpty());
    QCOMPARE(storedNames(file).join(QLatin1Char(',')).toUtf8(), before);
}

void TestHistoryFaults::lockedHistoryStopsCompare() {
    const QString file = path(QStringLiteral("locked.sqlite"));
    HistoryDatabase other;
    QVERIFY(other.open(HistoryUrl::sqliteFile(file)));
    QVERIFY(QSqlQuery(other.connection()).exec(QStringLiteral("BEGIN EXCLUSIVE")));
    const Outcome o = compare(file, 3);
    other.rollback();
    QCOMPARE(o.status, 1);
    QVERIFY2(o.err.contains("locked"), o.err.constData());
    QVERIFY(o.printed().isEmpty());
    // One wait for the lock, not one per comparison.
    QVERIFY2(o.ms < 20000, qPrintable(QString::number(o.ms)));
}

void TestHistoryFaults::failingDiskCostsNoMoreThanItsWrites() {
    // The workspace keeps what the disk refuses; each write must not try the whole backlog
    // again, or 5,000 measurements cost minutes.
    const QString file = path(QStringLiteral("backlog.sqlite"));
    const QProcessEnvironment env = onFullDisk(environment(), file, 300000);
    const Outcome o = run(tool("VELORIN_HISTORY_WRITER", VELORIN_HISTORY_WRITER),
                          {file, QStringLiteral("5000"), QStringLiteral("b")}, env, 240000);
    qInfo("5,000 writes on a full disk: %lld ms", o.ms);
    QCOMPARE(o.status, 1); // the rows are kept, not written
    QVERIFY2(o.err.contains("full") || o.err.contains("cannot be written"), o.err.constData());
    QVERIFY2(o.ms < 30000, qPrintable(QString::number(o.ms)));
}

void TestHistoryFaults::muteLabServerCostsSecondsAtExit() {
    // Accepts connections and never answers: the kernel completes them, nobody reads.
    QTcpServer mute;
    QVERIFY(mute.listen(QHostAddress::LocalHost));
    const QString url =
        QStringLiteral("postgresql://velorin@127.0.0.1:%1/velorin").arg(mute.serverPort());
    QProcess cli;
    cli.setProcessEnvironment(environment());
    QElapsedTimer clock;
    clock.start();
    cli.start(cliPath(), {QStringLiteral("--database"), url, QStringLiteral("--simulate"),
                          QStringLiteral("KV510"), QStringLiteral("compare"),
                          QStringLiteral("--samples"), QStringLiteral("20")});
    QByteArray out;
    qint64 listed = -1;
    while (listed < 0 && cli.waitForReadyRead(60000)) {
        out += cli.readAllStandardOutput();
        if (out.contains("TOTAL"))
            listed = clock.elapsed();
    }
    QVERIFY(cli.waitForFinished(60000));
    const qint64 exit = clock.elapsed() - listed;
    const QByteArray err = cli.readAllStandardError();
    qInfo("mute lab server: 20 comparisons in %lld ms, exit %lld ms after the last", listed, exit);
    QVERIFY(listed >= 0);
    QCOMPARE(cli.exitCode(), 0); // stored locally; the copy waits
    QVERIFY2(exit < 8000, qPrintable(QString::number(exit)));
    QVERIFY2(err.contains("not yet copied") && err.contains("next start"), err.constData());
    // The queue stays in the station's file for the next start.
    HistoryDatabase local;
    QVERIFY(
        local.open(HistoryUrl::sqliteFile(path(QStringLiteral("data/velorin/history.sqlite")))));
    QVERIFY(local.outboxSize() >= 20);
}

void TestHistoryFaults::noHistoryRunsWithoutOne() {
    const Outcome o =
        run(cliPath(),
            {QStringLiteral("--no-history"), QStringLiteral("--simulate"), QStringLiteral("KV510"),
             QStringLiteral("compare"), QStringLiteral("--samples"), QStringLiteral("2")},
            environment());
    QCOMPARE(o.status, 0);
    QVERIFY(o.err.startsWith("velorin-cli: --no-history"));
    QVERIFY(o.out.contains("TOTAL 2"));
    QVERIFY(!QFileInfo::exists(path(QStringLiteral("data/velorin"))));
}

void TestHistoryFaults::oneHistoryFileForWindowAndCommandLine() {
    // A user's home and nothing else: no --database, no data folder named.
    const QString home = path(QStringLiteral("home"));
    QVERIFY(QDir().mkpath(home));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("XDG_DATA_HOME"));
    env.remove(QStringLiteral("VELORIN_DATABASE"));
    env.insert(QStringLiteral("HOME"), home);
    const auto history = [&env] { return run(cliPath(), {QStringLiteral("history")}, env); };
    Outcome o = history();
    QCOMPARE(o.status, 1);
    QVERIFY2(o.err.contains("no history"), o.err.constData());
    QVERIFY(QDir(home).isEmpty()); // nothing created

    // A file an earlier version of the window left in velorin/velorin/ is found and moved.
    const QString share = home + QStringLiteral("/.local/share/velorin");
    QVERIFY(QDir().mkpath(share + QStringLiteral("/velorin")));
    QVERIFY(QFile::copy(tool("VELORIN_HISTORY_DATA", VELORIN_HISTORY_DATA) +
                            QStringLiteral("/history-v2.sqlite"),
                        share + QStringLiteral("/velorin/history.sqlite")));
    QFile::setPermissions(share + QStringLiteral("/velorin/history.sqlite"),
                          QFile::ReadOwner | QFile::WriteOwner);
    o = history();
    QCOMPARE(o.status, 0);
    QCOMPARE(o.out.count('\n'), 3); // heading and the two rows not deleted
    QVERIFY(!QFileInfo::exists(share + QStringLiteral("/velorin/history.sqlite")));
    QVERIFY(QFileInfo::exists(share + QStringLiteral("/history.sqlite")));
    o = run(cliPath(),
            {QStringLiteral("--simulate"), QStringLiteral("KV510"), QStringLiteral("compare"),
             QStringLiteral("--samples"), QStringLiteral("2")},
            env);
    QCOMPARE(o.status, 0);
    QCOMPARE(history().out.count('\n'), 5);

    // The window names itself with an organisation and reads the same file.
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(home + QStringLiteral("/.local/share")));
    QCoreApplication::setOrganizationName(QStringLiteral("velorin"));
    QCoreApplication::setApplicationName(QStringLiteral("velorin"));
    const QString windowPath = defaultHistoryPath();
    qputenv("XDG_DATA_HOME", saved);
    QCOMPARE(windowPath, share + QStringLiteral("/history.sqlite"));
}

QTEST_GUILESS_MAIN(TestHistoryFaults)
#include "tst_historyfaults.moc"
