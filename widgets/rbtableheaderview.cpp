#include "rbtableheaderview.h"

#include <QBrush>
#include <QColor>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionHeader>
#include <qdrawutil.h>

#include <algorithm>

// ---------------------------------------------------------------------------------------------
// RbTableHeaderCell

RbTableHeaderCell::RbTableHeaderCell(int row, int column, RbTableHeaderCell* parent)
    : row_(row), column_(column), parent_(parent) {}

RbTableHeaderCell::~RbTableHeaderCell() = default;

RbTableHeaderCell* RbTableHeaderCell::child(int row, int column) const {
    const auto it = children_.find({row, column});
    return it == children_.end() ? nullptr : it->second.get();
}

RbTableHeaderCell* RbTableHeaderCell::childAt(int row, int column) {
    std::unique_ptr<RbTableHeaderCell>& slot = children_[{row, column}];
    if (!slot)
        slot = std::make_unique<RbTableHeaderCell>(row, column, this);
    return slot.get();
}

// ---------------------------------------------------------------------------------------------
// RbTableHeaderModel

RbTableHeaderModel::RbTableHeaderModel(int rows, int columns, QObject* parent)
    : QAbstractTableModel(parent), rows_(std::max(rows, 0)), columns_(std::max(columns, 0)),
      root_(std::make_unique<RbTableHeaderCell>(0, 0)) {}

RbTableHeaderModel::~RbTableHeaderModel() = default;

QModelIndex RbTableHeaderModel::index(int row, int column, const QModelIndex& parent) const {
    // An index of another model carries a pointer this model must never follow.
    if (!hasIndex(row, column, parent) || (parent.isValid() && parent.model() != this))
        return QModelIndex();
    RbTableHeaderCell* owner = parent.isValid() ? cellOf(parent) : root_.get();
    return createIndex(row, column, owner->childAt(row, column));
}

int RbTableHeaderModel::rowCount(const QModelIndex&) const {
    return rows_;
}

int RbTableHeaderModel::columnCount(const QModelIndex&) const {
    return columns_;
}

RbTableHeaderCell* RbTableHeaderModel::cellOf(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this || index.row() >= rows_ ||
        index.column() >= columns_)
        return nullptr;
    return static_cast<RbTableHeaderCell*>(index.internalPointer());
}

QVariant RbTableHeaderModel::data(const QModelIndex& index, int role) const {
    const RbTableHeaderCell* cell = cellOf(index);
    return cell ? cell->data(role) : QVariant();
}

bool RbTableHeaderModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    RbTableHeaderCell* cell = cellOf(index);
    if (!cell)
        return false;
    if (role == ColumnSpanRole || role == RowSpanRole) {
        const int first = role == ColumnSpanRole ? index.column() : index.row();
        const int count = role == ColumnSpanRole ? columns_ : rows_;
        int n = value.toInt();
        if (n <= 0)
            return true;
        if (first + n - 1 >= count)
            n = count - first;
        cell->setData(role, n);
    } else {
        cell->setData(role, value);
    }
    // The header view repaints on this; nothing else in a header listens.
    emit dataChanged(index, index, {role});
    return true;
}

Qt::ItemFlags RbTableHeaderModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::ItemIsEnabled;
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

// ---------------------------------------------------------------------------------------------
// RbTableHeaderView

namespace {

constexpr int kColumnSpan = RbTableHeaderModel::ColumnSpanRole;
constexpr int kRowSpan = RbTableHeaderModel::RowSpanRole;

// Span values are only ever stored positive; anything else counts as no span.
int spanOf(const QModelIndex& cell, int role) {
    const QVariant v = cell.data(role);
    return v.isValid() ? v.toInt() : 0;
}

bool brushOf(const QVariant& v, QBrush& brush) {
    if (v.userType() == QMetaType::QBrush) {
        brush = v.value<QBrush>();
        return true;
    }
    if (v.userType() == QMetaType::QColor) {
        brush = QBrush(v.value<QColor>());
        return true;
    }
    return false;
}

} // namespace

RbTableHeaderView::RbTableHeaderView(Qt::Orientation orientation, int rows, int columns,
                                     QWidget* parent)
    : QHeaderView(orientation, parent), headerModel_(new RbTableHeaderModel(rows, columns, this)) {
    const QSize size = orientation == Qt::Horizontal ? QSize(defaultSectionSize(), 20)
                                                     : QSize(50, defaultSectionSize());
    for (int r = 0; r < headerModel_->rowCount(); ++r)
        for (int c = 0; c < headerModel_->columnCount(); ++c)
            headerModel_->setData(headerModel_->index(r, c), size, Qt::SizeHintRole);
    setModel(headerModel_);
    connect(this, qOverload<int, int, int>(&QHeaderView::sectionResized), this,
            &RbTableHeaderView::onSectionResized);
    // Texts, colours and spans set after the header is on screen show at once. Sizes are
    // repainted by whoever changes them, over the part that moved.
    connect(headerModel_, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex&, const QModelIndex&, const QList<int>& roles) {
                if (roles != QList<int>{Qt::SizeHintRole})
                    viewport()->update();
            });
}

RbTableHeaderView::~RbTableHeaderView() = default;

RbTableHeaderModel* RbTableHeaderView::cells() const {
    return model() == headerModel_ ? headerModel_ : nullptr;
}

int RbTableHeaderView::levelCount() const {
    const RbTableHeaderModel* m = cells();
    if (!m)
        return 0;
    return orientation() == Qt::Horizontal ? m->rowCount() : m->columnCount();
}

QModelIndex RbTableHeaderView::cellAt(int level, int section) const {
    const RbTableHeaderModel* m = cells();
    if (!m)
        return QModelIndex();
    return orientation() == Qt::Horizontal ? m->index(level, section) : m->index(section, level);
}

QSize RbTableHeaderView::cellSize(const QModelIndex& cell) const {
    // A cell without a usable size takes no room rather than a negative one.
    const QSize s = cell.data(Qt::SizeHintRole).toSize();
    return QSize(std::max(s.width(), 0), std::max(s.height(), 0));
}

void RbTableHeaderView::setCellSpan(int row, int column, int rowSpanCount, int columnSpanCount) {
    RbTableHeaderModel* m = headerModel_;
    const QModelIndex cell = m->index(row, column);
    if (!cell.isValid())
        return;
    if (rowSpanCount > 0)
        m->setData(cell, rowSpanCount, kRowSpan);
    if (columnSpanCount != 0)
        m->setData(cell, columnSpanCount, kColumnSpan);
}

void RbTableHeaderView::setHeaderRowHeight(int row, int height) {
    RbTableHeaderModel* m = headerModel_;
    if (row < 0 || row >= m->rowCount())
        return;
    for (int c = 0; c < m->columnCount(); ++c) {
        const QModelIndex cell = m->index(row, c);
        QSize size = cell.data(Qt::SizeHintRole).toSize();
        size.setHeight(height);
        m->setData(cell, size, Qt::SizeHintRole);
    }
    if (orientation() == Qt::Vertical) {
        resizeSection(row, height);
    } else if (count() > 0) {
        // The header's height is the sum of its levels: drop the cached size hint and let the
        // table lay itself out again.
        headerDataChanged(orientation(), 0, count() - 1);
        emit geometriesChanged();
    }
}

void RbTableHeaderView::setCellBackground(const QModelIndex& index, const QColor& colour) {
    if (index.model() == headerModel_)
        headerModel_->setData(index, colour, Qt::BackgroundRole);
}

void RbTableHeaderView::setCellText(int row, int column, const QString& text) {
    headerModel_->setData(headerModel_->index(row, column), text, Qt::DisplayRole);
}

void RbTableHeaderView::setCellBackground(int row, int column, const QColor& colour) {
    headerModel_->setData(headerModel_->index(row, column), colour, Qt::BackgroundRole);
}

void RbTableHeaderView::setCellForeground(int row, int column, const QColor& colour) {
    headerModel_->setData(headerModel_->index(row, column), colour, Qt::ForegroundRole);
}

QModelIndex RbTableHeaderView::columnSpanOwner(const QModelIndex& cell) const {
    const QAbstractItemModel* m = cell.model();
    if (!m)
        return QModelIndex();
    for (int c = cell.column(); c >= 0; --c) {
        const QModelIndex k = m->index(cell.row(), c);
        const int n = spanOf(k, kColumnSpan);
        if (n > 0 && c + n - 1 >= cell.column())
            return k;
    }
    return QModelIndex();
}

QModelIndex RbTableHeaderView::rowSpanOwner(const QModelIndex& cell) const {
    const QAbstractItemModel* m = cell.model();
    if (!m)
        return QModelIndex();
    for (int r = cell.row(); r >= 0; --r) {
        const QModelIndex k = m->index(r, cell.column());
        const int n = spanOf(k, kRowSpan);
        if (n > 0 && r + n - 1 >= cell.row())
            return k;
    }
    return QModelIndex();
}

int RbTableHeaderView::columnSpanWidth(int row, int firstColumn, int count) const {
    const RbTableHeaderModel* m = cells();
    int width = 0;
    for (int c = firstColumn; m && c < firstColumn + count; ++c)
        width += cellSize(m->index(row, c)).width();
    return width;
}

int RbTableHeaderView::rowSpanHeight(int column, int firstRow, int count) const {
    const RbTableHeaderModel* m = cells();
    int height = 0;
    for (int r = firstRow; m && r < firstRow + count; ++r)
        height += cellSize(m->index(r, column)).height();
    return height;
}

int RbTableHeaderView::sectionRangeOf(QModelIndex& cell, int& begin, int& end) const {
    const bool horizontal = orientation() == Qt::Horizontal;
    const QModelIndex cs = columnSpanOwner(cell);
    const QModelIndex rs = rowSpanOwner(cell);
    if (cs.isValid()) {
        const int n = spanOf(cs, kColumnSpan);
        if (horizontal) {
            begin = cs.column();
            end = begin + n - 1;
            cell = cs;
            return n;
        }
        if (const int m = spanOf(cs, kRowSpan); m > 0) {
            begin = cs.row();
            end = begin + m - 1;
            cell = cs;
            return m;
        }
    }
    if (rs.isValid()) {
        const int n = spanOf(rs, kRowSpan);
        if (!horizontal) {
            begin = rs.row();
            end = begin + n - 1;
            cell = rs;
            return n;
        }
        if (const int m = spanOf(rs, kColumnSpan); m > 0) {
            begin = rs.column();
            end = begin + m - 1;
            cell = rs;
            return m;
        }
    }
    return 0;
}

QModelIndex RbTableHeaderView::cellIndexAt(const QPoint& point) const {
    const int section = logicalIndexAt(point);
    if (section < 0)
        return QModelIndex();
    const bool horizontal = orientation() == Qt::Horizontal;
    const int along = horizontal ? point.y() : point.x();
    int total = 0;
    for (int i = 0; i < levelCount(); ++i) {
        const QModelIndex cell = cellAt(i, section);
        const QSize size = cellSize(cell);
        total += horizontal ? size.height() : size.width();
        if (along <= total)
            return cell;
    }
    return QModelIndex();
}

void RbTableHeaderView::mousePressEvent(QMouseEvent* event) {
    QHeaderView::mousePressEvent(event);

    QModelIndex cell = cellIndexAt(event->position().toPoint());
    if (!cell.isValid())
        return;
    int begin = -1;
    int end = -1;
    const bool horizontal = orientation() == Qt::Horizontal;
    const int section = horizontal ? cell.column() : cell.row();
    const int level = horizontal ? cell.row() : cell.column();
    if (sectionRangeOf(cell, begin, end) > 0) {
        emit sectionPressed(begin, end);
        return;
    }
    // The press may lie inside a block merged over sections and levels whose owner sits on
    // another level of this section.
    for (int i = 0; i < levelCount(); ++i) {
        QModelIndex k = cellAt(i, section);
        if (sectionRangeOf(k, begin, end) <= 0 || begin > section || section > end)
            continue;
        const int v = spanOf(k, horizontal ? kRowSpan : kColumnSpan);
        const int ownerLevel = horizontal ? k.row() : k.column();
        if (v > 0 && ownerLevel <= level && level <= ownerLevel + v - 1) {
            emit sectionPressed(begin, end);
            return;
        }
    }
}

void RbTableHeaderView::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    if (!cells()) {
        QHeaderView::paintSection(painter, rect, logicalIndex);
        return;
    }
    const bool horizontal = orientation() == Qt::Horizontal;
    const int levels = levelCount();
    for (int i = 0; i < levels; ++i) {
        const QModelIndex cell = cellAt(i, logicalIndex);
        QRect r = rect;
        if (horizontal)
            r.setTop(rowSpanHeight(logicalIndex, 0, i));
        else
            r.setLeft(columnSpanWidth(logicalIndex, 0, i));
        r.setSize(cellSize(cell));

        const QModelIndex cs = columnSpanOwner(cell);
        const QModelIndex rs = rowSpanOwner(cell);
        QModelIndex drawn = cell;
        // A merged cell is drawn whole, over its full rectangle, by every section it covers;
        // the levels it spans are then skipped.
        if (cs.isValid()) {
            const int f = cs.column();
            const int n = spanOf(cs, kColumnSpan);
            const int w = columnSpanWidth(cell.row(), f, n);
            if (horizontal) {
                r.setLeft(sectionViewportPosition(f));
            } else {
                r.setLeft(columnSpanWidth(logicalIndex, 0, f));
                i = std::max(i, f + n - 1);
            }
            r.setRight(r.left() + w - 1);
            if (const int m = spanOf(cs, kRowSpan); m > 0) {
                const int g = cs.row();
                const int h = rowSpanHeight(f, g, m);
                if (horizontal) {
                    r.setTop(rowSpanHeight(f, 0, g));
                    i = std::max(i, g + m - 1);
                } else {
                    r.setTop(sectionViewportPosition(g));
                }
                r.setBottom(r.top() + h - 1);
            }
            drawn = cs;
        }
        if (rs.isValid()) {
            const int g = rs.row();
            const int m = spanOf(rs, kRowSpan);
            const int h = rowSpanHeight(drawn.column(), g, m);
            if (horizontal) {
                r.setTop(rowSpanHeight(logicalIndex, 0, g));
                i = std::max(i, g + m - 1);
            } else {
                r.setTop(sectionViewportPosition(g));
            }
            r.setBottom(r.top() + h - 1);
            if (const int n = spanOf(rs, kColumnSpan); n > 0) {
                const int f = rs.column();
                const int w = columnSpanWidth(rs.row(), f, n);
                if (horizontal) {
                    r.setLeft(sectionViewportPosition(f));
                } else {
                    r.setLeft(columnSpanWidth(rs.row(), 0, f));
                    i = std::max(i, f + n - 1);
                }
                r.setRight(r.left() + w - 1);
            }
            drawn = rs;
        }

        QStyleOptionHeader opt;
        initStyleOption(&opt);
        opt.textAlignment = Qt::AlignHCenter | Qt::AlignVCenter;
        opt.iconAlignment = Qt::AlignVCenter;
        opt.section = logicalIndex;
        opt.text = drawn.data(Qt::DisplayRole).toString();
        opt.rect = r;
        QBrush brush;
        if (brushOf(drawn.data(Qt::BackgroundRole), brush)) {
            opt.palette.setBrush(QPalette::Button, brush);
            opt.palette.setBrush(QPalette::Window, brush);
        }
        if (brushOf(drawn.data(Qt::ForegroundRole), brush))
            opt.palette.setBrush(QPalette::ButtonText, brush);

        painter->save();
        const QBrush fill = opt.palette.brush(QPalette::Button);
        qDrawShadePanel(painter, opt.rect, opt.palette, false, 1, &fill);
        style()->drawControl(QStyle::CE_HeaderLabel, &opt, painter, this);
        painter->restore();
    }
}

QSize RbTableHeaderView::sectionSizeFromContents(int logicalIndex) const {
    const int levels = levelCount();
    if (levels == 0)
        return QHeaderView::sectionSizeFromContents(logicalIndex);
    // Across the levels the header needs all of them, whatever is merged; along the section
    // its own cells' size.
    if (orientation() == Qt::Horizontal)
        return QSize(cellSize(cellAt(levels - 1, logicalIndex)).width(),
                     rowSpanHeight(logicalIndex, 0, levels));
    return QSize(columnSpanWidth(logicalIndex, 0, levels),
                 cellSize(cellAt(logicalIndex, levels - 1)).height());
}

void RbTableHeaderView::onSectionResized(int logicalIdx, int, int newSize) {
    const bool horizontal = orientation() == Qt::Horizontal;
    const int p = sectionViewportPosition(logicalIdx);
    for (int i = 0; i < levelCount(); ++i) {
        const QModelIndex cell = cellAt(i, logicalIdx);
        QSize size = cell.data(Qt::SizeHintRole).toSize();
        int left = horizontal ? p : 0;
        int top = horizontal ? 0 : p;
        if (horizontal) {
            top = rowSpanHeight(logicalIdx, 0, i);
            size.setWidth(newSize);
        } else {
            left = columnSpanWidth(logicalIdx, 0, i);
            size.setHeight(newSize);
        }
        headerModel_->setData(cell, size, Qt::SizeHintRole);

        if (const QModelIndex cs = columnSpanOwner(cell); cs.isValid())
            left = horizontal ? sectionViewportPosition(cs.column())
                              : columnSpanWidth(logicalIdx, 0, cs.column());
        if (const QModelIndex rs = rowSpanOwner(cell); rs.isValid())
            top = horizontal ? rowSpanHeight(logicalIdx, 0, rs.row())
                             : sectionViewportPosition(rs.row());
        viewport()->update(
            QRect(left, top, viewport()->width() - left, viewport()->height() - top).normalized());
    }
}
