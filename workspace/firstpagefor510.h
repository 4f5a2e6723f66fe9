#pragma once

#include "colour.h"
#include "comparisonrecord.h"
#include "comparisonsession.h"
#include "modeltable.h"
#include "reportsnapshot.h"
#include "spectralrecord.h"

#include <QByteArray>
#include <QDateTime>
#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class FramePort;
class HistoryJournal;
class MyThread;
class PauseLock;
class PauseLocker;
class Prompter;
class QButtonGroup;
class QDialog;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QSplitter;
class QTabWidget;
class StatisticsPanel;
class TrendChart;
class QTableWidget;
class QTableView;
class QTableWidgetItem;
class QThread;
class QTimer;
class RbTableHeaderView;
class RowButtonDelegate;

namespace Ui {
class FirstPageFor510;
}
namespace history {
class HistoryStore;
class HistoryWindow;
} // namespace history

// The comparison workspace page: the form, its slots (which forward to the session), styles and
// messages. The numbers, the lists and the instrument work belong to its ComparisonSession.
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

    // Runs the device-up routine, then reads the settings that decide a verdict.
    void onDeviceConnected();
    // Identifies the instrument and configures the page. False when a step failed (its message
    // has been shown).
    bool initForDevice();
    // The link went away: the lists, counters and standard stay until the user clears them.
    void onDeviceDisconnected();

    // Re-translates the page after the main window installed another translation: re-labels it,
    // then rewrites texts already shown.
    virtual void retranslate();
    // Re-labels the fixed texts.
    virtual void relabel();

    void setChinese(bool chinese) { isChinese_ = chinese; }
    bool isChinese() const { return isChinese_; }

    MyThread* worker() const { return worker_; }
    QThread* workerThread() const { return workerThread_; }
    // The pause lock of the current worker; null while there is none.
    std::shared_ptr<PauseLock> pauseLock() const;
    FramePort& framePort() const { return port_; }

    // Appends comparisons to the list of their layout, through the session.
    void appendComparisonRow(const ComparisonRecord& record);
    void appendComparisonRows(const QList<ComparisonRecord>& records);

    // The per-row buttons of the lists.
    void on_DeleteBtn_clicked(int row);
    void on_ReportBtn_clicked(int row);
    void on_DeleteBtn_clicked_old(int row);
    void on_ReportBtn_clicked_old(int row);
    // Clears the old layout without asking.
    void on_ClearBtn_clicked();
    // The old layout's record import and export. The form has no buttons of their own: the
    // current layout's buttons hand over to them.
    void on_readcolordifrecordBtn_clicked();
    void on_ExportExcelBtn_clicked();

    // Re-judge after a settings change.
    void rejudgeComparison();
    void rejudgeList();
    void applyDisplayMode();

    // The analysis beside the list: statistics and trend chart, shown or hidden (remembered).
    void setAnalysisShown(bool shown);
    bool analysisShown() const;
    // The analysis widgets, brought up to date first if a refresh is still pending.
    StatisticsPanel* statisticsPanel();
    TrendChart* trendChart();
    // Readings averaged into one standard or sample (remembered).
    void setReadingsPerMeasurement(int n);
    // Discards a set of readings half collected (Esc or the Cancel button).
    void cancelReadingSet();

    // What the last Report button copied from its row.
    const ReportSnapshot& reportSnapshot() const { return reportSnapshot_; }
    // Opens a report page for the snapshot (old: the old-layout page); the default shows a new,
    // non-modal report page each time.
    using ReportOpener = std::function<void(const ReportSnapshot&, bool oldLayout)>;
    void setReportOpener(ReportOpener opener) { reportOpener_ = std::move(opener); }

    // The measurement history (not owned): every comparison is written there before the list
    // shows it, the list of the last run comes back, and a History button opens the window over
    // it. Returns the number of rows restored.
    int setHistory(history::HistoryStore* store);
    int restoredRows() const { return restoredRows_; }
    // The history's line: rows restored, history off, lab database not synced. The window gives
    // the label (in its top bar) before `setHistory`; without one the page puts it under the list.
    void setHistoryLine(QLabel* line);
    QString historyLineText() const;
    QPushButton* historyButton() const { return historyButton_; }
    history::HistoryWindow* historyWindow() const { return historyWindow_; }
    void openHistoryWindow();
    // The history window's requests: the workbook of the rows' display mode, a row's report.
    bool exportHistoryRows(const QStringList& ids);
    void reportHistoryRow(const QString& id);
    // Writes the spectral page's spectra to the history; empty without one.
    std::function<void(const QVector<SpectralRecord>&, const QStringList&)> spectrumRecorder();

  public slots:
    void openThreadSlot();
    void closeThreadSlot();
    // Takes bytes the instrument sent on its own.
    void SaveData(QByteArray data);
    void SaveData_old(QByteArray data);
    void onButtonClicked(int id);

    // 1 on success, -1 on failure.
    int on_pushButton_readTolerance_clicked();
    int on_pushButton_readParameter_clicked();
    void on_pushButton_setTolerance_clicked();
    void on_pushButton_setDisplayParameter_clicked();
    void on_pushButton_setParameter_clicked();

    void on_pushButton_standardMeasurement_clicked();
    void on_pushButton_sampleMeasurement_clicked();
    void on_stdmeasurementBtn_clicked();
    void on_samplemeasurementBtn_clicked();
    void standardValueMeasurement();
    void sampleValueMeasurement();
    void readstdmeasurement();
    void readsamplemeasurement();
    void readstdmeasurement_old();
    void readsamplemeasurement_old();

    void on_pushButton_clear_clicked();
    // Appends the comparisons stored in the instrument for the display mode in force.
    void on_pushButton_readComparisonRecord_clicked();
    // True when a file was written (or the old layout's export ran instead).
    bool on_pushButton_exportExcel_clicked();
    // Writes a standard colour library from StdColor.xlsx into the instrument.
    void on_pushButton_writeStandardColor_clicked();
    // Opens the spectral page for the connected instrument, modally.
    void on_pushButton_spectralTransmittance_clicked();
    // Empty the results without asking (the link went away).
    void clear();
    void clear_old();

    void doubleClickedSlot(int row, int column);
    void doubleClickedSlot_old(int row, int column);

  signals:
    // The instrument has been asked who it is (model and serial number known, or not).
    void instrumentIdentified();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    struct PendingPush {
        int target = 1;
        Reading reading;
    };

    bool linkOpenOrComplain();
    // Shows a session step's problem; true when there was none.
    bool shown(const SessionResult& result);
    // Reads the instrument's stored records into the list with a progress dialog, then shows the
    // list's end in `list`.
    void importIntoList(QTableView* list);
    void showToleranceRows(bool haze, bool t, bool threshold);
    void configureForKind();
    void relabelSpectralButton();
    void relabelListHeaders();
    void placeSettingsStack(bool oldLayout);

    void setUpAnalysis();
    void relabelAnalysis();
    // Recomputes the statistics and the chart from the current list (when shown).
    void refreshAnalysis();
    // Refreshes once in the event loop: a burst of new rows costs one pass, not one per row.
    void scheduleAnalysisRefresh();
    // Stacks sized to their shown page, the upper panels gathered in one widget.
    void setUpScreenFit();
    void gatherUpperPanels();
    // Tighter spacing when the window's screen is short; once tightened, the page stays so.
    void fitToScreen();
    void setListLine(QTableView* list, RbTableHeaderView* header);
    // "Reading k of n" in the verdict bar while a set is collected.
    void showCollecting();
    // An import over a list: export it, drop it, or stop (false).
    bool listMadeWayForImport();
    // The list's rows were closed into the history (another mode or instrument came in).
    void showListClosed(int count);
    // The list shows the old layout's columns.
    bool listShownOld() const;
    void setUpComparisonTables();
    // The comparison table gives up height to the list, but never so much that a shown row goes.
    void keepRowsInView(QTableWidget* table);
    void setUpLists();
    void resetComparisonTable();
    void resetComparisonTable_old();
    void clearResults(bool oldLayout);
    void refreshCounters();
    QTableView* currentListView() const;

    // Measurement flow.
    void prepareTarget(int target);
    // A standard (1) or sample (2) button: check the link, prepare the column, pull.
    void measureButtonPressed(int target, bool oldLayoutButton);
    void pull(int target, InstrumentProfile::Pull command);
    void showSide(int target, const Reading& reading);
    void blankSide(int target);
    void afterStandard();
    // Takes a reading into the session and shows what it did.
    void takeReading(int target, const Reading& reading, ComparisonSource source);
    void startPendingPushes();
    void showNextPush();
    void setSwatch(int target, const Reading& reading);
    void standardEdited(int index, const QString& text);
    void standardEditFinished(int index, QLineEdit* edit);
    static std::optional<int> typedStandardValue(int index, const QString& text);

    void showComparison(const ComparisonRecord& record);
    void showVerdict(bool pass);
    void rewriteShownTexts();
    void openReport(const ReportSnapshot& snapshot, bool oldLayout);
    void openReportOf(const ComparisonRecord& record);
    QList<ComparisonRecord> historyRecords(const QStringList& ids);
    void showHistoryLine();
    void relabelHistory();
    // The standard of the last run, once the instrument it was measured on is back.
    void showRestoredStandard();
    // The history window's database entry: used now and at the next start.
    void chooseHistoryDatabase(const QString& text);
    // Shows the library writer's reason for stopping, as a warning where it is one.
    void showProblem(const QString& title, const QString& text, bool warning);
    bool sendThresholdOnly(float threshold);
    // A typed number in its validator's locale; nullopt when empty or unreadable.
    static std::optional<double> typedNumber(const QLineEdit* edit);

    FramePort& port_;
    Prompter& prompter_;
    ComparisonSession* session_ = nullptr;
    QThread* workerThread_ = nullptr;
    MyThread* worker_ = nullptr;
    int workerGeneration_ = 0;
    QButtonGroup* displayGroup_ = nullptr;
    Ui::FirstPageFor510* ui;
    QElapsedTimer arrivalClock_;
    QList<PendingPush> pendingPushes_;
    QTimer* blinkTimer_ = nullptr;
    int blinkDelayMs_ = 500;
    bool scrollPending_ = false;
    bool isChinese_ = false;
    bool compact_ = false;
    // The last comparison shown in the comparison table, for re-judging and re-translation.
    std::optional<ComparisonRecord> shownComparison_;
    RbTableHeaderView* newHeaderView_ = nullptr;
    RbTableHeaderView* oldHeaderView_ = nullptr;
    RowButtonDelegate* deleteButtons_ = nullptr;
    RowButtonDelegate* reportButtons_ = nullptr;
    RowButtonDelegate* deleteButtonsOld_ = nullptr;
    RowButtonDelegate* reportButtonsOld_ = nullptr;
    std::function<QDateTime()> clock_;
    std::function<int(QDialog&)> dialogRunner_;
    ReportSnapshot reportSnapshot_;
    // Company, tester and auditor carried from one report to the next.
    std::shared_ptr<ReportPeople> reportPeople_;
    ReportOpener reportOpener_;
    history::HistoryStore* history_ = nullptr;
    HistoryJournal* journal_ = nullptr;
    QPushButton* historyButton_ = nullptr;
    QLabel* historyLine_ = nullptr;
    history::HistoryWindow* historyWindow_ = nullptr;
    int restoredRows_ = 0;
    int listClosedCount_ = 0;
    QSplitter* listSplitter_ = nullptr;
    QTabWidget* analysisTabs_ = nullptr;
    StatisticsPanel* statistics_ = nullptr;
    TrendChart* trend_ = nullptr;
    QPushButton* analysisButton_ = nullptr;
    QLabel* readingsLabel_ = nullptr;
    QSpinBox* readingsBox_ = nullptr;
    bool analysisPending_ = false;
    QGridLayout* upperGrid_ = nullptr;
    QPushButton* cancelSetButton_ = nullptr;
};
