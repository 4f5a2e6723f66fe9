#pragma once

#include "modeltable.h"

#include <QByteArray>
#include <QString>
#include <QWidget>

#include <memory>

class FramePort;
class MyThread;
class PauseLock;
class PauseLocker;
class Prompter;
class QButtonGroup;
class QThread;

namespace Ui {
class FirstPageFor510;
}

// The comparison workspace. It starts and stops the background receive worker for each
// connection and configures itself for the instrument that connects.
class FirstPageFor510 : public QWidget {
    Q_OBJECT
public:
    // port: where commands go and whether the link is open; prompter: how messages are shown.
    FirstPageFor510(FramePort& port, Prompter& prompter, QWidget* parent = nullptr);
    ~FirstPageFor510() override;

    // The model table read at construction from the file beside the program.
    void setModelTable(const ModelTable& table) { meterList_ = table; }

    // Runs the device-up routine, then reads the settings that decide a verdict.
    void onDeviceConnected();
    // Identifies the instrument and configures the page. False when a step failed (its message
    // has been shown).
    bool initForDevice();
    // Empties the results without asking (the link went away).
    void clear();

    // Re-translates the page after the main window installed another translation: re-labels it,
    // then rewrites texts already shown.
    virtual void retranslate();
    // Re-labels the fixed texts.
    virtual void relabel();

    void setChinese(bool chinese) { isChinese_ = chinese; }
    bool isChinese() const { return isChinese_; }

    QString model() const { return model_; }
    int uiIndex() const { return uiIndex_; }
    int firmwareVersion() const { return firmwareVersion_; }
    int displayMode() const; // -1 before an instrument reported one
    double hazeTolerance() const { return hazeTolerance_; }
    double tTolerance() const { return tTolerance_; }
    double deltaEThreshold() const { return deltaEThreshold_; }
    int formulaIndex() const { return formulaIndex_; }
    MyThread* worker() const { return worker_; }
    QThread* workerThread() const { return workerThread_; }
    // The pause lock of the current worker; null while there is none.
    std::shared_ptr<PauseLock> pauseLock() const;
    const QByteArray& receiveBuffer() const { return receiveBuffer_; }
    FramePort& framePort() const { return port_; }

public slots:
    void openThreadSlot();
    void closeThreadSlot();
    // Collects bytes the instrument sent on its own.
    void SaveData(QByteArray data);
    void onButtonClicked(int id);

    // 1 on success, -1 on failure.
    int on_pushButton_readTolerance_clicked();
    int on_pushButton_readParameter_clicked();

private:
    bool usesOldLayout() const;
    bool linkOpenOrComplain();
    // Releases the lock before the message box, so the worker is not held up while it shows.
    void fail(PauseLocker& locker, const QString& title, const QString& text);
    void showToleranceRows(bool haze, bool t, bool threshold);
    void configureForKind();
    void relabelSpectralButton();
    void placeSettingsStack(bool oldLayout);

    FramePort& port_;
    Prompter& prompter_;
    QThread* workerThread_ = nullptr;
    MyThread* worker_ = nullptr;
    int workerGeneration_ = 0;
    int nextTarget_ = 1;
    bool standardPresent_ = false;
    int formulaIndex_ = -1;
    double parameterThreshold_ = -1;
    double hazeTolerance_ = -1;
    double tTolerance_ = -1;
    double deltaEThreshold_ = -1;
    int failCount_ = 0, passCount_ = 0, totalCount_ = 0;
    QButtonGroup* displayGroup_ = nullptr;
    Ui::FirstPageFor510* ui;
    QString model_;
    bool modelKnown_ = false;
    ModelTable meterList_;
    int uiIndex_ = 0;
    QByteArray receiveBuffer_;
    int comparisonSerial_ = 0;
    bool isChinese_ = false;
    int displayMode_ = 0; // the one mode flag in force, as its instrument number
    bool modeReported_ = false;
    int firmwareVersion_ = 0;
};
