#pragma once

#include "abplotplan.h"

#include <QWidget>

class ChartExport;
class Prompter;

// The a*b* plot widget: draws the plan of the points it was given and says which list row was
// clicked. It keeps the tolerance worked out for the last input, so a resize only replans.
class AbPlot : public QWidget {
    Q_OBJECT

  public:
    explicit AbPlot(QWidget* parent = nullptr);

    // Everything the plot shows; call again after every new, deleted or re-judged row.
    void setInput(const abplot::Input& input);
    // The plan of what was last handed, worked out now if it is not yet.
    const abplot::Plan& currentPlan() const;
    const abplot::Tolerance& currentTolerance() const { return tolerance_; }

    // Where saving the picture asks for a file and reports errors.
    void setPrompter(Prompter* prompter);
    ChartExport* exporter() const { return export_; }

    QSize sizeHint() const override { return {480, 400}; }

  signals:
    void rowClicked(int row);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void replan();

    abplot::Input input_;
    abplot::Tolerance tolerance_;
    // Planned when it is looked at (painted, clicked, asked for): a plot behind another tab
    // costs a new row nothing.
    mutable abplot::Plan plan_;
    mutable bool planned_ = false;
    ChartExport* export_;
};
