#include "rowbuttondelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>

namespace {

// The button leaves a thin margin of the cell, as a small button placed in it would.
QRect buttonRect(const QRect& cell) {
    return cell.adjusted(2, 2, -2, -2);
}

} // namespace

RowButtonDelegate::RowButtonDelegate(const QString& text, QObject* parent)
    : QStyledItemDelegate(parent), text_(text) {}

void RowButtonDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    if (index.row() < firstRow_) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionButton button;
    button.rect = buttonRect(option.rect);
    button.text = text_;
    button.fontMetrics = option.fontMetrics;
    button.palette = option.palette;
    button.state = QStyle::State_Enabled | QStyle::State_Raised;
    if (pressed_.isValid() && pressed_ == index)
        button.state = QStyle::State_Enabled | QStyle::State_Sunken;
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_PushButton, &button, painter, widget);
}

QSize RowButtonDelegate::sizeHint(const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
    if (index.row() < firstRow_)
        return QStyledItemDelegate::sizeHint(option, index);
    const QSize text = option.fontMetrics.size(Qt::TextSingleLine, text_);
    return {text.width() + 16, text.height() + 6};
}

bool RowButtonDelegate::editorEvent(QEvent* event, QAbstractItemModel*,
                                    const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (index.row() < firstRow_)
        return false;
    auto* view = qobject_cast<QAbstractItemView*>(parent());
    auto repaint = [view](const QModelIndex& cell) {
        if (view && cell.isValid())
            view->update(cell);
    };
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton ||
            !buttonRect(option.rect).contains(mouse->position().toPoint()))
            return false;
        pressed_ = index;
        repaint(index);
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPersistentModelIndex wasPressed = pressed_;
        pressed_ = QPersistentModelIndex();
        repaint(wasPressed);
        if (mouse->button() != Qt::LeftButton || !wasPressed.isValid() || wasPressed != index ||
            !buttonRect(option.rect).contains(mouse->position().toPoint()))
            return false;
        emit clicked(index.row());
        return true;
    }
    default:
        return false;
    }
}
