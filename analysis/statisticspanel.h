#pragma once

#include "statistics.h"

#include <QWidget>

class QLabel;
class QTableWidget;

// The statistics of the list in a table: one row per quantity (n, mean, standard deviation,
// minimum, maximum, range), then the PASS/NG counts and the pass rate. It is fed numbers and
// recomputes on every call, which is cheap even for a full list.
class StatisticsPanel : public QWidget {
    Q_OBJECT

  public:
    explicit StatisticsPanel(QWidget* parent = nullptr);

    // Call after every new, deleted or re-judged row.
    void setData(const QVector<analysis::Column>& columns, const QVector<bool>& passes);

    const QVector<analysis::Summary>& summaries() const { return summaries_; }
    const analysis::VerdictCounts& verdicts() const { return verdicts_; }
    QTableWidget* table() const { return table_; }

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void fill();

    QTableWidget* table_;
    QVector<analysis::Column> columns_;
    QVector<analysis::Summary> summaries_;
    analysis::VerdictCounts verdicts_;
};
