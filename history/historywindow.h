#pragma once

#include "historydatabase.h"

#include <QSqlQueryModel>
#include <QThread>
#include <QWidget>

#include <memory>

class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTimer;

namespace history {

// The history as the table shows it: times in local time, verdicts in the user's language,
// differences with two decimals. The numbers stay numbers underneath (EditRole).
class HistoryQueryModel : public QSqlQueryModel {
    Q_OBJECT

  public:
    enum Column {
        Id,
        MeasuredAt,
        Name,
        Serial,
        Model,
        Station,
        Source,
        DisplayMode,
        DeltaHaze,
        DeltaT,
        DeltaE,
        Verdict,
        ColumnCount
    };
    using QSqlQueryModel::QSqlQueryModel;
    static QString columnsSql();
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
};

// Counts the rows and passes of a filter over its own connection in its own thread: over a
// million rows that takes longer than the window may stand still.
class HistoryCounter : public QObject {
    Q_OBJECT

  public:
    explicit HistoryCounter(const HistoryUrl& url) : m_url(url) {}

  public slots:
    void count(int generation, const history::HistoryFilter& filter);
    void stop() { m_db.reset(); }

  signals:
    void counted(int generation, int rows, int passes);

  private:
    HistoryUrl m_url;
    std::unique_ptr<HistoryDatabase> m_db;
};

// The history window: the comparisons of the history, filtered by date range, serial, name and
// verdict, with the count and pass rate of the filter, the database in use and its sync state.
// Export and report are asked for by signal; the workspace does them.
class HistoryWindow : public QWidget {
    Q_OBJECT

  public:
    explicit HistoryWindow(QWidget* parent = nullptr);
    ~HistoryWindow() override;

    // Reads the history at `url` over the window's own connection.
    bool setDatabase(const HistoryUrl& url);
    // The text of the database entry (the --database URL in force, or empty for the own file).
    void setDatabaseText(const QString& text);
    HistoryFilter filter() const;
    void setFilter(const HistoryFilter& filter);
    HistoryQueryModel* model() const { return m_model; }
    QTableView* view() const { return m_view; }
    int filteredCount() const { return m_count; }
    double passRate() const { return m_passRate; }
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

  private:
    void retranslate();
    void updateCounts();
    void showCounts(int generation, int rows, int passes);
    void stopCounter();

    HistoryDatabase m_db;
    HistoryQueryModel* m_model;
    QTableView* m_view;
    QCheckBox* m_fromOn;
    QCheckBox* m_toOn;
    QDateTimeEdit* m_from;
    QDateTimeEdit* m_to;
    QLineEdit* m_serial;
    QLineEdit* m_name;
    QComboBox* m_verdict;
    QLabel* m_serialLabel;
    QLabel* m_nameLabel;
    QLabel* m_verdictLabel;
    QLabel* m_counts;
    QLabel* m_state;
    QLabel* m_databaseLabel;
    QLineEdit* m_database;
    QPushButton* m_applyDatabase;
    QPushButton* m_export;
    QPushButton* m_report;
    QTimer* m_debounce;
    QThread m_countThread;
    HistoryCounter* m_counter = nullptr;
    int m_generation = 0;
    int m_count = 0;
    double m_passRate = 0;
    bool m_historyOn = true;
    QString m_historyMessage;
    bool m_hasSyncState = false;
    bool m_synced = false;
    int m_unsynced = 0;
};

} // namespace history
