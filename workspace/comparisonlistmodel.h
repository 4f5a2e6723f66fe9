#pragma once

#include "comparisonrecord.h"

#include <QAbstractTableModel>
#include <QList>

#include <functional>
#include <optional>

// A comparison list: owns the records of one list (the current layout's 36 columns or the old
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
    // Each column's heading, in the interface's language: the group and the quantity joined
    // ("Standard L*"), as a screen reader announces it; the view draws them in two rows.
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    // The two rows of a column's heading: the group (or the column's own name) and the quantity
    // (empty where the name spans both rows).
    static std::pair<QString, QString> heading(Layout layout, int column);
    // Only the name column takes an edit: the row is renamed through the rename handler.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    // Who renames a row edited in a view (the session, which keeps the history in step).
    void setRenameHandler(std::function<bool(int row, const QString& name)> handler) {
        renameHandler_ = std::move(handler);
    }

    // Read-only access for reports, exports, statistics and charts.
    const QList<ComparisonRecord>& records() const { return records_; }
    const ComparisonRecord& record(int row) const { return records_.at(row); }
    // What every row shares; empty for an empty list.
    std::optional<ListMeaning> meaning() const;
    // Counts every change other than rows appended at the end: while it stays the same, the
    // rows seen before are the rows there now, and only new rows need reading.
    quint64 revision() const { return revision_; }

    void append(const QList<ComparisonRecord>& records);
    // False for a row that does not exist.
    bool remove(int row);
    void clear();
    bool rename(int row, const QString& name);
    // Rows judged again: each record replaces the row of its id.
    void update(const QList<ComparisonRecord>& records);

    int passCount() const { return totalCount() - failCount_; }
    int failCount() const { return failCount_; }
    int totalCount() const { return int(records_.size()); }

  signals:
    void countersChanged();

  private:
    Layout layout_;
    QList<ComparisonRecord> records_;
    int failCount_ = 0;
    quint64 revision_ = 0;
    std::function<bool(int, const QString&)> renameHandler_;
};
