#pragma once

#include "historydatabase.h"

#include <QAbstractTableModel>
#include <QThread>
#include <QWidget>

#include <list>
#include <map>
#include <memory>

class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QHideEvent;
class QKeyEvent;
class QShowEvent;
class QTableView;
class QTimer;

namespace history {

// The rows of a filter as the table shows them, newest first: times in local time, sources,
// display modes and verdicts in the user's language, the differences the row was judged by with
// two decimals (the others empty); the numbers and fixed words stay underneath (EditRole). Rows
// come a page at a time as the view scrolls to them, and only the last few pages looked at are
// kept: a million rows scrolled through hold no more than those.
class HistoryQueryModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    enum Column {
        Id,
        MeasuredAt,
        Name,
        Serial,
        Model,
        Station,
        Lot,
        Source,
        DisplayMode,
        DeltaHaze,
        DeltaT,
        DeltaE,
        Verdict,
        ColumnCount
    };
    static constexpr int kPageRows = 256;
    static constexpr int kKeptPages = 8;

    using QAbstractTableModel::QAbstractTableModel;
    // Starts over with the rows of `filter` in `db` (not owned; none: no rows).
    void reset(HistoryDatabase* db, const HistoryFilter& filter);
    QString idAt(int row) const;
    // What the Source and Display mode columns show.
    static QString sourceText(history::Source source);
    static QString modeText(history::Layout layout, int displayMode);
    int keptPages() const { return int(pages_.size()); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

  private:
    // What a row of the table shows, and no more.
    struct Row {
        QString id, name, serial, model, station, lot;
        QDateTime measuredAt;
        history::Source source = history::Source::Live;
        history::Layout layout = history::Layout::New;
        int displayMode = 0;
        std::optional<double> deltaHaze, deltaT, deltaE;
        bool pass = false;
    };
    using Page = QVector<Row>;
    const Row* rowAt(int row) const;
    Page load(int page) const;
    void keep(int page, Page rows) const;

    HistoryDatabase* db_ = nullptr;
    HistoryFilter filter_;
    int rows_ = 0;
    bool atEnd_ = true;
    // Where each page fetched so far ends: a page dropped is read again from the end of the one
    // before it.
    QVector<HistoryKey> pageEnds_;
    mutable std::map<int, Page> pages_;
    mutable std::list<int> recent_; // most recently used first
};

// Counts the rows and passes of a filter over its own connection in its own thread, so the
// window never waits for it.
class HistoryCounter : public QObject {
    Q_OBJECT

  public:
    explicit HistoryCounter(const HistoryUrl& url) : url_(url) {}

  public slots:
    void count(int generation, const history::HistoryFilter& filter);
    void stop() { db_.reset(); }

  signals:
    void counted(int generation, int rows, int passes);

  private:
    HistoryUrl url_;
    std::unique_ptr<HistoryDatabase> db_;
};

// The history window: the comparisons of the history, filtered by date range, serial, name,
// verdict, product, lot and station, with the count and pass rate of the filter, the database in
// use and its sync state. It shows the station's own file or, where there is one, the lab's
// database with every station's comparisons.
// Export and report are asked for by signal; the workspace does them. It works from the keyboard
// alone: focus starts on the first filter, Tab goes once through each control (the table
// included), Enter in a filter applies it at once and Esc closes the window.
class HistoryWindow : public QWidget {
    Q_OBJECT

  public:
    explicit HistoryWindow(QWidget* parent = nullptr);
    ~HistoryWindow() override;

    // Reads the history at `url` over the window's own connection.
    bool setDatabase(const HistoryUrl& url);
    // The station's own file and the lab's database (none: invalid); shows the one chosen.
    void setSources(const HistoryUrl& own, const HistoryUrl& lab);
    // The database whose rows are on show.
    const HistoryUrl& shownUrl() const { return shown_; }
    bool showsLab() const;
    // The text of the database entry (the --database URL in force, or empty for the own file).
    void setDatabaseText(const QString& text);
    HistoryFilter filter() const;
    void setFilter(const HistoryFilter& filter);
    HistoryQueryModel* model() const { return model_; }
    QTableView* view() const { return view_; }
    int filteredCount() const { return count_; }
    double passRate() const { return passRate_; }
    QStringList selectedIds() const;

  public slots:
    void refresh();
    void setHistoryState(bool on, const QString& message);
    void setSyncState(bool synced, int unsynced);

  signals:
    void exportRequested(const QStringList& ids);
    void reportRequested(const QString& id);
    // The user named another database; empty for the program's own file.
    void databaseChosen(const QString& url);
    // The count and pass rate of the filter arrived.
    void countsChanged(int rows, double passRate);

  protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void retranslate();
    // Where the window was left, or most of the screen it opens on the first time.
    void place();
    void keepGeometry() const;
    // Columns as wide as their headings and the rows on show.
    void sizeColumns();
    // Widens the name column to the view's width, never below its contents.
    void fillWidth();
    QString countsText() const;
    bool isFilter(const QWidget* widget) const;
    void updateCounts();
    void showCounts(int generation, int rows, int passes);
    void stopCounter();

    HistoryDatabase db_;
    HistoryQueryModel* model_;
    QTableView* view_;
    QCheckBox* fromOn_;
    QCheckBox* toOn_;
    QDateTimeEdit* from_;
    QDateTimeEdit* to_;
    QLineEdit* serial_;
    QLineEdit* name_;
    QComboBox* verdict_;
    QLineEdit* product_;
    QLineEdit* lot_;
    QLineEdit* station_;
    QComboBox* sources_;
    QLabel* productLabel_;
    QLabel* lotLabel_;
    QLabel* stationLabel_;
    QLabel* sourcesLabel_;
    HistoryUrl own_, lab_, shown_;
    QLabel* serialLabel_;
    QLabel* nameLabel_;
    QLabel* verdictLabel_;
    QLabel* counts_;
    QLabel* state_;
    QLabel* databaseLabel_;
    QLineEdit* database_;
    QPushButton* applyDatabase_;
    QPushButton* export_;
    QPushButton* report_;
    QTimer* debounce_;
    QThread countThread_;
    HistoryCounter* counter_ = nullptr;
    int generation_ = 0;
    int count_ = 0;
    bool counted_ = false;
    bool placed_ = false;
    bool columnsSized_ = false;
    int nameWidth_ = 0; // the name column's width by its contents
    double passRate_ = 0;
    bool historyOn_ = true;
    QString historyMessage_;
    bool hasSyncState_ = false;
    bool synced_ = false;
    int unsynced_ = 0;
};

} // namespace history
