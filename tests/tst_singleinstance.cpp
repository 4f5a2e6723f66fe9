// The single-instance guard keeps its lock and socket where only the user can write.
#include "singleinstance.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QLockFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

#include <sys/stat.h>
#include <unistd.h>

class TestSingleInstance : public QObject {
    Q_OBJECT
  private slots:
    // Without a runtime directory, a lock someone else planted in the shared temporary folder
    // (under the name the guard would have used) and a per-user folder they created first keep
    // nothing from starting.
    void plantedFilesAreNotTrusted() {
        QTemporaryDir shared, home;
        qunsetenv("XDG_RUNTIME_DIR");
        qunsetenv("USER");
        qputenv("TMPDIR", QFile::encodeName(shared.path()));
        qputenv("HOME", QFile::encodeName(home.path()));
        qunsetenv("XDG_CACHE_HOME");
        const QString key = QUuid::createUuid().toString();

        const QString oldName = QString::fromLatin1(
            QCryptographicHash::hash(QByteArray("|") + key.toUtf8(), QCryptographicHash::Sha1)
                .toHex()
                .left(16));
        QLockFile planted(shared.filePath(QStringLiteral("velorin-") + oldName + ".lock"));
        QVERIFY(planted.tryLock(0));
        const QString theirs = shared.filePath(QStringLiteral("velorin-%1").arg(::geteuid()));
        QVERIFY(QDir().mkdir(theirs));
        ::chmod(QFile::encodeName(theirs).constData(), 0777);
        if (::geteuid() == 0)
            QCOMPARE(::chown(QFile::encodeName(theirs).constData(), 65534, 65534), 0);

        SingleInstance first(key);
        QVERIFY(!first.isRunning());
        QVERIFY(!first.serverName().startsWith(theirs));
        QVERIFY(first.serverName().startsWith(home.path()));
        SingleInstance second(key);
        QVERIFY(second.isRunning());
        QVERIFY(second.sendMessage(QStringLiteral("hello")));
    }
};

QTEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
