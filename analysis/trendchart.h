#pragma once

#include "trendplan.h"

#include <QWidget>

class ChartExport;
class Prompter;

// The trend chart widget: draws the plan of the series it was given and says which list row
// was clicked. It keeps no numbers of its own beyond what it was last handed.
class TrendChart : public QWidget {
    Q_OBJECT

  public:
    explicit TrendChart(QWidget* parent = nullptr);

    // Everything the chart shows; call again after every new, deleted or re-judged row.
    void setSeries(const QVector<trend::Series>& series, const QVector<bool>& passes);
    // The plan of what was last handed, worked out now if it is not yet.
    const trend::Plan& currentPlan() const;

    // Where saving the picture asks for a file and reports errors.
    void setPrompter(Prompter* prompter);
    ChartExport* exporter() const { return export_; }

    QSize sizeHint() const override { return {480, 240}; }

  signals:
    void rowClicked(int row);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void invalidate();

    QVector<trend::Series> series_;
    QVector<bool> passes_;
    // Planned when it is looked at (painted, clicked, asked for): a chart behind another tab
    // costs a new row nothing.
    mutable trend::Plan plan_;
    mutable bool planned_ = false;
    ChartExport* export_;
};
