#include "singleinstance.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>
#include <QStandardPaths>
#include <QWidget>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

QString defaultKey() {
    return QCoreApplication::applicationFilePath();
}

QString userName() {
#ifdef Q_OS_UNIX
    // The account itself, not what the environment claims (it may be unset or shared).
    return QString::number(::geteuid());
#else
    QString user = qEnvironmentVariable("USERNAME");
    return user;
#endif
}

#ifdef Q_OS_UNIX
// A directory only this user can write: ours, a real directory (no link), writable by nobody
// else. Anything in a directory someone else could write might have been planted there.
bool isPrivate(const QString& dir) {
    struct stat st;
    if (::lstat(QFile::encodeName(dir).constData(), &st) != 0)
        return false;
    return S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & 022) == 0;
}

bool makePrivate(const QString& dir) {
    if (::mkdir(QFile::encodeName(dir).constData(), 0700) != 0 && errno != EEXIST)
        return false;
    return isPrivate(dir);
}
#endif

// Where the lock and the socket live: the runtime directory when it is private, else a 0700
// directory of our own in the temporary folder, else one in the user's cache. Empty when none
// can be trusted; the program then runs without the single-instance guard rather than let
// someone else's file keep it from starting.
QString lockDirectory() {
#ifdef Q_OS_UNIX
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && isPrivate(runtime))
        return runtime;
    const QString own = QDir::tempPath() + QStringLiteral("/velorin-") + userName();
    if (makePrivate(own))
        return own;
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (!cache.isEmpty() && QDir().mkpath(cache)) {
        const QString inCache = cache + QStringLiteral("/velorin-instance");
        if (makePrivate(inCache))
            return inCache;
    }
    return {};
#else
    return QDir::tempPath();
#endif
}

} // namespace

SingleInstance::SingleInstance(const QString& key, QObject* parent) : QObject(parent) {
    const QByteArray id =
        (userName() + QLatin1Char('|') + (key.isEmpty() ? defaultKey() : key)).toUtf8();
    const QString hash = QString::fromLatin1(
        QCryptographicHash::hash(id, QCryptographicHash::Sha1).toHex().left(16));
    serverName_ = QStringLiteral("velorin-") + hash;

    const QString lockDir = lockDirectory();
    if (lockDir.isEmpty()) {
        primary_ = true;
        return;
    }
#ifdef Q_OS_UNIX
    // A full path keeps the socket in the private directory too (a bare name would go to /tmp).
    serverName_ = QDir(lockDir).filePath(serverName_ + QStringLiteral(".socket"));
#endif
    lock_ = std::make_unique<QLockFile>(
        QDir(lockDir).filePath(QStringLiteral("velorin-") + hash + QStringLiteral(".lock")));
    // Age never makes a lock stale: only a lock whose owner process has died is taken over.
    lock_->setStaleLockTime(0);
    primary_ = lock_->tryLock(0);
    if (!primary_)
        return;

    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // We hold the lock, so a socket of that name is left over from a crashed instance.
    QLocalServer::removeServer(serverName_);
    server_->listen(serverName_);
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::acceptConnection);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::sendMessage(const QString& message, int timeoutMs) {
    if (primary_)
        return false;
    QLocalSocket socket;
    socket.connectToServer(serverName_);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(message.toUtf8());
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(timeoutMs);
    return true;
}

void SingleInstance::acceptConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // The sender writes one message and hangs up; take it whole once it has.
        auto deliver = [this, socket] {
            const QByteArray bytes = socket->readAll();
            if (bytes.isEmpty())
                return;
            activateWindow();
            emit messageReceived(QString::fromUtf8(bytes));
        };
        connect(socket, &QLocalSocket::readChannelFinished, this, deliver);
        if (socket->state() != QLocalSocket::ConnectedState)
            deliver();
    }
}

void SingleInstance::activateWindow() {
    if (!activationWindow_)
        return;
    // Keep it maximised if it was; only undo the minimising.
    activationWindow_->setWindowState(activationWindow_->windowState() & ~Qt::WindowMinimized);
    activationWindow_->show();
    activationWindow_->raise();
    activationWindow_->activateWindow();
}
