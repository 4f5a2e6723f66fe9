#pragma once

#include "comparisonrecord.h"
#include "spectralrecord.h"

#include <QDateTime>
#include <QObject>
#include <QVector>

#include <functional>

class ComparisonSession;
class HistoryJournal;
class MeterPageFor510;
class Prompter;
class QLabel;
class QPushButton;
class QWidget;

namespace history {
class HistoryStore;
class HistoryWindow;
} // namespace history

// The workspace's side of the measurement history: the journal that keeps the list's twin, the
// History button and window, and the line that says what the history did (rows restored, a list
// moved there, history off, lab database not synced).
class WorkspaceHistory : public QObject {
    Q_OBJECT
  public:
    // page: the parent of messages and of the window.
    WorkspaceHistory(ComparisonSession& session, Prompter& prompter, QWidget* page);
    ~WorkspaceHistory() override;

    // The store (not owned; null for none): the journal is set up and the list of the last run
    // restored into the session. Returns the number of rows restored.
    int attach(history::HistoryStore* store);
    history::HistoryStore* store() const { return store_; }
    // The button the page places beside Clear and Export; the line it shows (the window's top
    // bar gives one, otherwise the page places this one).
    QPushButton* button() const { return button_; }
    void setLine(QLabel* line);
    QLabel* line() const { return line_; }
    QString lineText() const;
    history::HistoryWindow* window() const { return window_; }

    void setClock(std::function<QDateTime()> clock) { clock_ = std::move(clock); }
    void setChinese(bool chinese) { chinese_ = chinese; }
    void relabel();
    // What the line says of the list: rows restored, rows moved to the history; both are
    // forgotten once the list they spoke of is gone.
    void setRestored(int rows);
    void setMovedToHistory(int rows);
    void forgetListNotes();
    // Once the instrument is identified: a restored standard of another instrument is dropped.
    bool keepRestoredStandard();

    void openWindow();
    // The window's requests: the workbook of the rows' display mode, a row's report.
    bool exportRows(const QStringList& ids);
    void reportRow(const QString& id);
    // Writes the spectral page's spectra to the history; empty without one.
    std::function<void(const QVector<SpectralRecord>&, const QStringList&)> spectrumRecorder();
    // The spectral page's list kept in step with the history: new spectra, renames, deletes.
    void attachSpectra(MeterPageFor510& page);

  signals:
    void reportRequested(const ComparisonRecord& record);

  private:
    void showLine();
    void chooseDatabase(const QString& text);
    QList<ComparisonRecord> records(const QStringList& ids);

    ComparisonSession& session_;
    Prompter& prompter_;
    QWidget* page_;
    history::HistoryStore* store_ = nullptr;
    HistoryJournal* journal_ = nullptr;
    QPushButton* button_ = nullptr;
    QLabel* line_ = nullptr;
    history::HistoryWindow* window_ = nullptr;
    std::function<QDateTime()> clock_;
    bool chinese_ = false;
    int restored_ = 0;
    int moved_ = 0;
};
