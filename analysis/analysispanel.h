#pragma once

#include "comparisonrecord.h"

#include <QTabWidget>

#include <functional>

class AbPlot;
class Prompter;
class StatisticsPanel;
class TrendChart;

// The analysis beside the comparison list: the statistics, the trend chart and the a*b* plot of
// the list's records, in the list's own display mode. It refreshes once per burst of changes,
// and not at all while hidden (it catches up when shown).
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
    std::function<Source()> source_;
    StatisticsPanel* statistics_;
    TrendChart* trend_;
    AbPlot* abPlot_;
    bool pending_ = false;
};
