#include "flowlayout.h"

#include <QWidget>

#include <algorithm>

FlowLayout::FlowLayout(QWidget* parent, int spacing) : QLayout(parent) {
    setSpacing(spacing);
    setContentsMargins(0, 0, 0, 0);
}

FlowLayout::~FlowLayout() {
    while (QLayoutItem* item = takeAt(0))
        delete item;
}

void FlowLayout::addItem(QLayoutItem* item) {
    items_.append(item);
}

QLayoutItem* FlowLayout::takeAt(int index) {
    return index >= 0 && index < items_.size() ? items_.takeAt(index) : nullptr;
}

QSize FlowLayout::minimumSize() const {
    QSize size;
    for (const QLayoutItem* item : items_)
        size = size.expandedTo(item->minimumSize());
    const QMargins m = contentsMargins();
    return size + QSize(m.left() + m.right(), m.top() + m.bottom());
}

QSize FlowLayout::sizeHint() const {
    // One row, as wide as the items want.
    int width = 0, height = 0;
    for (const QLayoutItem* item : items_) {
        if (item->isEmpty())
            continue;
        width += item->sizeHint().width() + (width > 0 ? spacing() : 0);
        height = std::max(height, item->sizeHint().height());
    }
    const QMargins m = contentsMargins();
    return {width + m.left() + m.right(), height + m.top() + m.bottom()};
}

void FlowLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    arrange(rect, true);
}

int FlowLayout::arrange(const QRect& rect, bool place) const {
    const QRect area = rect.marginsRemoved(contentsMargins());
    // Items share each row's spare width, as a box layout would share it.
    QList<QList<QLayoutItem*>> rows(1);
    int used = 0;
    for (QLayoutItem* item : items_) {
        if (item->isEmpty())
            continue;
        const int width = item->sizeHint().width();
        if (!rows.last().isEmpty() && used + spacing() + width > area.width()) {
            rows.append(QList<QLayoutItem*>());
            used = 0;
        }
        used += (rows.last().isEmpty() ? 0 : spacing()) + width;
        rows.last().append(item);
    }
    int y = area.top();
    for (const QList<QLayoutItem*>& row : rows) {
        if (row.isEmpty())
            continue;
        int natural = 0, height = 0;
        for (const QLayoutItem* item : row) {
            natural += item->sizeHint().width();
            height = std::max(height, item->sizeHint().height());
        }
        const int spare = std::max(0, area.width() - natural - spacing() * int(row.size() - 1));
        int x = area.left();
        for (int i = 0; i < row.size(); ++i) {
            QLayoutItem* item = row.at(i);
            const int extra = spare / int(row.size()) + (i < spare % int(row.size()) ? 1 : 0);
            const int width = item->sizeHint().width() + extra;
            if (place)
                item->setGeometry(QRect(x, y, width, height));
            x += width + spacing();
        }
        y += height + spacing();
    }
    return y - spacing() - area.top() + contentsMargins().top() + contentsMargins().bottom();
}
