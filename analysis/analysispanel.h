#pragma once

#include "capability.h"
#include "comparisonrecord.h"
#include "statistics.h"

#include <QTabWidget>

#include <array>
#include <functional>

class AbPlot;
class Prompter;
class StatisticsPanel;
class TrendChart;

// The analysis beside the comparison list: the statistics, the trend chart and the a*b* plot of
// the list's records, in the list's own display mode. It refreshes once per burst of changes,
// only the tab on show (another tab catches up when it is shown or asked for), and not at all
// while hidden (it catches up when shown).
class AnalysisPanel : public QTabWidget {
    Q_OBJECT
  public:
    // What the panel shows: the list's records and meaning, and the settings that draw the
    // trend's band when the list is empty.
    struct Source {
        const QList<ComparisonRecord>* records = nullptr;
        ListMeaning meaning;
        JudgingSettings inForce;
        bool chinese = false;
        // Changes to the records other than rows appended (ComparisonListModel::revision()).
        quint64 revision = 0;
    };

    explicit AnalysisPanel(QWidget* parent = nullptr);

    void setSource(std::function<Source()> source) { source_ = std::move(source); }
    void setPrompter(Prompter* prompter);
    void relabel();
    // Once in the event loop: a burst of new rows costs one pass, not one per row.
    void scheduleRefresh();
    void refresh();

    // The charts, brought up to date first if a refresh is still pending.
    StatisticsPanel* statistics();
    TrendChart* trend();
    AbPlot* abPlot();

  signals:
    void rowClicked(int row);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    // Brings tab `tab` up to date if it is behind the list.
    void bring(int tab);

    std::function<Source()> source_;
    StatisticsPanel* statistics_;
    TrendChart* trend_;
    AbPlot* abPlot_;
    bool pending_ = false;
    std::array<bool, 3> stale_{true, true, true};
    // The statistics' last columns and what they were made from: rows only appended since are
    // all that is read.
    QVector<analysis::Column> columns_;
    QVector<analysis::ToleranceColumn> toleranced_;
    struct Seen {
        const QList<ComparisonRecord>* records = nullptr;
        quint64 revision = 0;
        qsizetype rows = 0;
        ListMeaning meaning;
        bool chinese = false;
    } seen_;
};
