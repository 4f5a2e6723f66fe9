#pragma once

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QMap>
#include <QVariant>

#include <map>
#include <memory>
#include <utility>

class QColor;

// One cell of a header model: its place, its owner and whatever role data it was given.
class RbTableHeaderCell {
  public:
    RbTableHeaderCell(int row, int column, RbTableHeaderCell* parent = nullptr);
    ~RbTableHeaderCell();
    RbTableHeaderCell(const RbTableHeaderCell&) = delete;
    RbTableHeaderCell& operator=(const RbTableHeaderCell&) = delete;

    int row() const { return row_; }
    int column() const { return column_; }
    RbTableHeaderCell* parent() const { return parent_; }

    // Null when there is no child at (row, column) yet.
    RbTableHeaderCell* child(int row, int column) const;
    // The child at (row, column), created when missing.
    RbTableHeaderCell* childAt(int row, int column);
    int childCount() const { return static_cast<int>(children_.size()); }

    // Empty when the role has no value.
    QVariant data(int role) const { return roleData_.value(role); }
    void setData(int role, const QVariant& value) { roleData_.insert(role, value); }
    bool hasData(int role) const { return roleData_.contains(role); }

  private:
    int row_;
    int column_;
    RbTableHeaderCell* parent_;
    std::map<std::pair<int, int>, std::unique_ptr<RbTableHeaderCell>> children_;
    QMap<int, QVariant> roleData_;
};

// The cells of a multi-level header: a fixed grid of levels by sections whose cells keep any
// role data, including the spans that merge them.
class RbTableHeaderModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Role {
        // On the top-left cell of a merged block only: how many columns, rows it covers.
        ColumnSpanRole = Qt::UserRole + 1,
        RowSpanRole = Qt::UserRole + 2,
    };

    RbTableHeaderModel(int rows, int columns, QObject* parent = nullptr);
    ~RbTableHeaderModel() override;

    QModelIndex index(int row, int column,
                      const QModelIndex& parent = QModelIndex()) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // Spans are clamped to end inside the table; a span of 0 or less is ignored.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    RbTableHeaderCell* cellOf(const QModelIndex& index) const;

    int rows_;
    int columns_;
    // Cells come into being on first request through the const index().
    std::unique_ptr<RbTableHeaderCell> root_;
};

// A header with several levels of cells (rows above a horizontal header, columns beside a
// vertical one) that can be merged across sections and levels. Its cells live in its own
// RbTableHeaderModel; their size hints follow the section sizes.
class RbTableHeaderView : public QHeaderView {
    Q_OBJECT
  public:
    // rows x columns is the header model: for a horizontal header rows are the levels and
    // columns the sections, for a vertical header the other way round.
    RbTableHeaderView(Qt::Orientation orientation, int rows, int columns,
                      QWidget* parent = nullptr);
    ~RbTableHeaderView() override;

    // The header's own model, where cell texts and colours go. Owned by the view.
    RbTableHeaderModel* headerModel() const { return headerModel_; }

    // Merges rowSpanCount x columnSpanCount cells from (row, column); 0 leaves a direction as
    // it was.
    void setCellSpan(int row, int column, int rowSpanCount, int columnSpanCount);
    // The height of every cell of model row `row`; a vertical header also resizes that section.
    void setHeaderRowHeight(int row, int height);
    void setCellBackground(const QModelIndex& index, const QColor& colour);
    // Shorthands on the header model.
    void setCellText(int row, int column, const QString& text);
    void setCellBackground(int row, int column, const QColor& colour);
    void setCellForeground(int row, int column, const QColor& colour);

    // The header cell under point (viewport coordinates); invalid when there is none.
    virtual QModelIndex cellIndexAt(const QPoint& point) const;

  signals:
    // A press on a merged cell: the first and last section it covers.
    void sectionPressed(int from, int to);

  public slots:
    void onSectionResized(int logicalIdx, int oldSize, int newSize);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    QSize sectionSizeFromContents(int logicalIndex) const override;

  private:
    // The installed model when it is ours; a table may have replaced it with its own.
    RbTableHeaderModel* cells() const;
    int levelCount() const;
    QModelIndex cellAt(int level, int section) const;
    QSize cellSize(const QModelIndex& cell) const;

    QModelIndex columnSpanOwner(const QModelIndex& cell) const;
    QModelIndex rowSpanOwner(const QModelIndex& cell) const;
    int columnSpanWidth(int row, int firstColumn, int count) const;
    int rowSpanHeight(int column, int firstRow, int count) const;
    int sectionRangeOf(QModelIndex& cell, int& begin, int& end) const;

    RbTableHeaderModel* headerModel_;
};
