#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLockFile;
class QWidget;

// Keeps one copy of the program per user and program path: the first start holds a lock file
// and listens on a local socket; a later start finds the lock held and sends its message there.
class SingleInstance : public QObject {
    Q_OBJECT
  public:
    static constexpr char kActivationMessage[] = "active!!!!!";
    static constexpr int kActivationTimeoutMs = 5000;

    // key: what identifies "the same program"; empty derives it from the executable's path.
    explicit SingleInstance(const QString& key = QString(), QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when another instance holds the lock. Decided at construction.
    bool isRunning() const { return !primary_; }
    // From a second instance: hands message to the running one. False when it could not be
    // delivered within timeoutMs.
    bool sendMessage(const QString& message, int timeoutMs = kActivationTimeoutMs);
    // The window raised on every message.
    void setActivationWindow(QWidget* window) { activationWindow_ = window; }
    QString serverName() const { return serverName_; }

  signals:
    void messageReceived(const QString& message);

  private:
    void acceptConnection();
    void activateWindow();

    QString serverName_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
    QWidget* activationWindow_ = nullptr;
    bool primary_ = false;
};
