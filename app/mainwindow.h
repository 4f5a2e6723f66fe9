#pragma once

#include "devicewatcher.h"
#include "frameport.h"
#include "translators.h"

#include <QDialog>
#include <QStringList>

#include <memory>

class FirstPageFor510;
class Prompter;

namespace Ui {
class MainWindow;
}
namespace history {
class HistoryStore;
}

// What the main window is built from; each empty member means the real thing.
struct MainWindowSetup {
    std::unique_ptr<DeviceWatcher> watcher;           // the platform's watcher
    LinkFramePort::TransportFactory transportFactory; // the HID transport
    Prompter* prompter = nullptr;                     // message boxes
    QStringList translationDirs;                      // MainWindow::defaultTranslationDirs()
    QString qtTranslationDir;                         // where the Qt in use keeps its own
    history::HistoryStore* history = nullptr;         // none: the workspace keeps no history
};

// The program's window: it owns the link to the instrument, opens it at start and whenever a
// device arrives, closes it when the instrument goes away, and switches the language.
class MainWindow : public QDialog {
    Q_OBJECT
  public:
    explicit MainWindow(MainWindowSetup setup = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The window the program runs (the first one constructed); null before it exists.
    static MainWindow* instance();

    bool isLinkOpen() const { return port_.isLinkOpen(); }
    int sendFrame(QByteArray& frame, int timeoutMs) { return port_.sendFrame(frame, timeoutMs); }
    int receiveFrame(QByteArray& out, int deadlineMs, int expectedLength, bool verify) {
        return port_.receiveFrame(out, deadlineMs, expectedLength, verify);
    }
    static uint16_t checksum16(const QByteArray& bytes, int count) {
        return FramePort::checksum16(bytes, count);
    }
    LinkFramePort& framePort() { return port_; }

    FirstPageFor510* page() const { return page_; }
    bool isLampOn() const { return lampOn_; }
    // The connection in words beside the lamp: model and serial number, or "No instrument".
    QString connectionText() const;

    // Where the translations are looked for: the current directory, the program's directory,
    // then the installed translation folder.
    static QStringList defaultTranslationDirs();

  public slots:
    void initForm();
    void initusbport();
    void on_btnLanguageEn_clicked();
    void on_btnLanguageZh_clicked();
    void handleAppMessage(const QString& message);
    bool OpenUSB();
    void CloseUSB();

    void onDeviceArrived();
    void onDeviceRemoved();

    // Quits, asking first only when something would be lost: results the history has not taken
    // yet (it is off), or a set of readings half collected. False when the user stays.
    bool quit();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    bool switchLanguage(const QString& fileName, bool chinese);
    void showLamp(bool on);
    void showConnection();

    Ui::MainWindow* ui;
    FirstPageFor510* page_ = nullptr;
    LinkFramePort port_;
    std::unique_ptr<DeviceWatcher> watcher_;
    Prompter* prompter_;
    Translators translators_;
    bool lampOn_ = false;
    bool topBarTight_ = false;
    bool quitting_ = false;
};
