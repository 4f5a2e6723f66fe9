#pragma once

#include "capability.h"
#include "statistics.h"

#include <QStringList>
#include <QWidget>

class QLabel;
class QTableWidget;

// The statistics of the list in a table: one row per quantity (n, mean, standard deviation,
// minimum, maximum, range), then the PASS/NG counts and the pass rate. It is fed numbers and
// recomputes on every call; the table's items are kept and only changed texts are set, and its
// columns are sized from the font when a column's widest text changes, so a new row of a full
// list costs the panel a fraction of a millisecond.
class StatisticsPanel : public QWidget {
    Q_OBJECT

  public:
    explicit StatisticsPanel(QWidget* parent = nullptr);

    // Call after every new, deleted or re-judged row.
    void setData(const QVector<analysis::Column>& columns, const QVector<bool>& passes);

    // Cp and Cpk of the toleranced quantities, in a table below; n always, figures from n = 2.
    void setCapability(const QVector<analysis::ToleranceColumn>& columns,
                       const QVector<analysis::Capability>& capabilities);
    const QVector<analysis::Capability>& capabilities() const { return capabilities_; }
    QTableWidget* capabilityTable() const { return capabilityTable_; }

    const QVector<analysis::Summary>& summaries() const { return summaries_; }
    const analysis::VerdictCounts& verdicts() const { return verdicts_; }
    QTableWidget* table() const { return table_; }

  protected:
    void changeEvent(QEvent* event) override;

  private:
    // relabel: the headings and labels are read again (another language, a first fill).
    void fill(bool relabel);
    void put(int row, int column, const QString& text);
    void fitColumns(bool all);

    QTableWidget* table_;
    QTableWidget* capabilityTable_;
    QVector<analysis::Capability> capabilities_;
    QVector<analysis::Column> columns_;
    QVector<analysis::Summary> summaries_;
    analysis::VerdictCounts verdicts_;
    // What the table shows, row by row, so that unchanged texts are not set again.
    QStringList texts_;
    QStringList headings_;
    // Per column the longest text shown when its width was last set (-1: not set).
    QVector<int> fittedLength_;
};
