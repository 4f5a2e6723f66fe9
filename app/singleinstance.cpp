#include "singleinstance.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>
#include <QStandardPaths>
#include <QWidget>

namespace {

QString defaultKey() {
    return QCoreApplication::applicationFilePath();
}

QString userName() {
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = qEnvironmentVariable("USERNAME");
    return user;
}

} // namespace

SingleInstance::SingleInstance(const QString& key, QObject* parent) : QObject(parent) {
    const QByteArray id =
        (userName() + QLatin1Char('|') + (key.isEmpty() ? defaultKey() : key)).toUtf8();
    const QString hash = QString::fromLatin1(
        QCryptographicHash::hash(id, QCryptographicHash::Sha1).toHex().left(16));
    serverName_ = QStringLiteral("velorin-") + hash;

    // The user's runtime folder where there is one; the name carries the user anyway.
    QString lockDir = QDir::tempPath();
    if (qEnvironmentVariableIsSet("XDG_RUNTIME_DIR"))
        lockDir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    lock_ =
        std::make_unique<QLockFile>(QDir(lockDir).filePath(serverName_ + QStringLiteral(".lock")));
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
