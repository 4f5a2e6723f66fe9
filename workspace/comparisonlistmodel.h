#pragma once

#include "comparisonrecord.h"

#include <QAbstractTableModel>
#include <QList>

// The comparison list: owns the records of one list (the current layout's 36 columns or the old
// layout's 21) and the pass/NG counters derived from them. Views format the records' numbers.
class ComparisonListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum class Layout { Current, Old };

    explicit ComparisonListModel(Layout layout, QObject* parent = nullptr);

    Layout layout() const { return layout_; }
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Only the name column takes an edit: the row is renamed.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // Read-only access for reports, exports, statistics and charts.
    const QList<ComparisonRecord>& records() const { return records_; }
    const ComparisonRecord& record(int row) const { return records_.at(row); }

    void append(const QList<ComparisonRecord>& records);
    // False for a row that does not exist.
    bool remove(int row);
    void clear();
    bool rename(int row, const QString& name);
    // Every row judged again with these settings. Each row keeps the model and serial number of
    // the instrument it was measured with.
    void rejudge(const JudgingSettings& settings);

    int passCount() const { return totalCount() - failCount_; }
    int failCount() const { return failCount_; }
    int totalCount() const { return int(records_.size()); }

  signals:
    void renamed(const QUuid& id, const QString& name);
    void removed(const QUuid& id);
    void countersChanged();

  private:
    Layout layout_;
    QList<ComparisonRecord> records_;
    int failCount_ = 0;
};
