#pragma once

#include "comparisonsession.h"
#include "reportsnapshot.h"

#include <QElapsedTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class AnalysisPanel;
class ComparisonListViews;
class ComparisonPanel;
class FramePort;
class ListTransfer;
class MyThread;
class PauseLock;
class ProductControls;
class Prompter;
class QButtonGroup;
class QDialog;
class QGridLayout;
class QLabel;
class QPushButton;
class QSplitter;
class QThread;
class ReceiveThread;
class SettingsFields;
class QTimer;
class WorkspaceHistory;

namespace Ui {
class FirstPageFor510;
}
namespace history {
class HistoryStore;
}

// The comparison workspace page: a view over its ComparisonSession. It keeps the form, the slots
// the form's buttons reach by name (which forward to the session), styles and messages; what it
// shows is drawn by its comparison panel, list views, analysis panel and history.
class FirstPageFor510 : public QWidget {
    Q_OBJECT
  public:
    // port: where commands go and whether the link is open; prompter: how messages are shown.
    FirstPageFor510(FramePort& port, Prompter& prompter, QWidget* parent = nullptr);
    ~FirstPageFor510() override;

    ComparisonSession& session() { return *session_; }
    // The model table read at construction from the file beside the program.
    void setModelTable(const ModelTable& table);
    // Where the comparison time comes from.
    void setClock(std::function<QDateTime()> clock);
    // How long a pushed measurement's column stays blank before the values appear.
    void setBlinkDelay(int ms) { blinkDelayMs_ = ms; }
    // Runs a modal dialog and returns its result; tests answer without an event loop.
    void setDialogRunner(std::function<int(QDialog&)> runner) { dialogRunner_ = std::move(runner); }
    void setChinese(bool chinese);
    bool isChinese() const { return isChinese_; }

    // Identifies the instrument, configures the page for it and reads the settings that decide a
    // verdict. The list and the standard stay when the link goes, until the user clears them.
    void onDeviceConnected();
    void onDeviceDisconnected();
    // Re-translates the page after the main window installed another translation.
    void retranslate();

    MyThread* worker() const;
    QThread* workerThread() const;
    // The pause lock of the current worker; null while there is none.
    std::shared_ptr<PauseLock> pauseLock() const;

    // Opens a report page for the snapshot (old: the old-layout page); the default shows a new,
    // non-modal report page each time. reportSnapshot() is what the last report showed.
    using ReportOpener = std::function<void(const ReportSnapshot&, bool oldLayout)>;
    void setReportOpener(ReportOpener opener) { reportOpener_ = std::move(opener); }
    const ReportSnapshot& reportSnapshot() const { return reportSnapshot_; }

    // The measurement history (not owned): every change of the list is written there before the
    // list shows it, and the list of the last run comes back. Returns the rows restored. The
    // window gives the line for the history's words (in its top bar) before this.
    int setHistory(history::HistoryStore* store);
    void setHistoryLine(QLabel* line);
    WorkspaceHistory& history() const { return *history_; }

    // The analysis beside the list, shown or hidden (remembered).
    AnalysisPanel& analysis() const { return *analysis_; }
    void setAnalysisShown(bool shown);
    bool analysisShown() const;
    // Readings averaged into one standard or sample (remembered).
    void setReadingsPerMeasurement(int n);

  public slots:
    void openThreadSlot();
    void closeThreadSlot();
    // Takes bytes the instrument sent on its own.
    void SaveData(QByteArray data);
    // Empties the results without asking (the link went away for good).
    void clear();

  signals:
    // The instrument has been asked who it is (model and serial number known, or not).
    void instrumentIdentified();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private slots:
    // The form's buttons, by object name. The reads return 1 on success, -1 on failure.
    int on_pushButton_readTolerance_clicked();
    int on_pushButton_readParameter_clicked();
    void on_pushButton_setTolerance_clicked();
    void on_pushButton_setDisplayParameter_clicked();
    void on_pushButton_setParameter_clicked();
    void on_pushButton_standardMeasurement_clicked();
    void on_pushButton_sampleMeasurement_clicked();
    void on_stdmeasurementBtn_clicked();
    void on_samplemeasurementBtn_clicked();
    void on_pushButton_clear_clicked();
    void on_pushButton_readComparisonRecord_clicked();
    // True when a file was written.
    bool on_pushButton_exportExcel_clicked();
    void on_pushButton_writeStandardColor_clicked();
    void on_pushButton_spectralTransmittance_clicked();
    // The old layout's import: the current layout's button hands over to it.
    void on_readcolordifrecordBtn_clicked();
    // The per-row buttons and a double click on a row's name.
    void on_DeleteBtn_clicked(int row);
    void on_ReportBtn_clicked(int row);
    void on_DeleteBtn_clicked_old(int row);
    void on_ReportBtn_clicked_old(int row);
    void doubleClickedSlot(int row, int column);
    void doubleClickedSlot_old(int row, int column);
    void onButtonClicked(int id);

  private:
    struct PendingPush {
        int target = 1;
        Reading reading;
    };

    bool linkOpenOrComplain();
    // Shows a session step's problem; true when there was none.
    bool shown(const SessionResult& result);
    bool initForDevice();
    void configureForKind();
    // The display mode in force on the radio buttons, and the list's and table's columns.
    void showModeInForce();
    void relabel();
    void relabelSpectralButton();
    void placeSettingsStack(bool oldLayout);
    void showToleranceRows(bool haze, bool t, bool threshold);
    // The list's own columns and the comparison table's rows of the mode in force.
    void applyDisplayMode();
    void refreshCounters();
    void showListClosed(int count);
    // An import over a list: export it, drop it, or stop (false).
    bool listMadeWayForImport();
    void clearResults();

    // Measurement flow.
    void measureButtonPressed(int target);
    void pull(int target, InstrumentProfile::Pull command);
    void takeReading(int target, const Reading& reading, ComparisonSource source);
    void showTaken(int target, const std::optional<ComparisonRecord>& compared);
    void startPendingPushes();
    void showNextPush();
    void showCollecting();
    void cancelReadingSet();
    void rejudge();
    void openReportOf(const ComparisonRecord& record);

    void setUpAnalysis();
    void setUpScreenFit();
    // Tighter spacing when the window's screen is short; once tightened, the page stays so.
    void fitToScreen();

    FramePort& port_;
    Prompter& prompter_;
    ComparisonSession* session_;
    Ui::FirstPageFor510* ui;
    ComparisonPanel* panel_ = nullptr;
    ComparisonListViews* lists_ = nullptr;
    AnalysisPanel* analysis_ = nullptr;
    WorkspaceHistory* history_ = nullptr;
    ListTransfer* transfer_ = nullptr;
    SettingsFields* settingsFields_ = nullptr;
    ProductControls* products_ = nullptr;
    ReceiveThread* receiver_ = nullptr;
    QButtonGroup* displayGroup_ = nullptr;
    QElapsedTimer arrivalClock_;
    QList<PendingPush> pendingPushes_;
    QTimer* blinkTimer_ = nullptr;
    int blinkDelayMs_ = 500;
    bool isChinese_ = false;
    bool compact_ = false;
    std::function<int(QDialog&)> dialogRunner_;
    ReportSnapshot reportSnapshot_;
    // Company, tester and auditor carried from one report to the next.
    std::shared_ptr<ReportPeople> reportPeople_;
    ReportOpener reportOpener_;
    QSplitter* listSplitter_ = nullptr;
    QPushButton* cancelSetButton_ = nullptr;
    QGridLayout* upperGrid_ = nullptr;
};
