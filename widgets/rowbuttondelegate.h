#pragma once

#include <QPersistentModelIndex>
#include <QStyledItemDelegate>

// Draws a push button in every cell of one list column and reports clicks on it. Whole
// instrument memories are imported into the list, and a real button widget per row does not
// scale to that; a painted one costs nothing until it is drawn.
class RowButtonDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    explicit RowButtonDelegate(const QString& text, QObject* parent = nullptr);

    QString text() const { return text_; }
    // Rows above this one (a caption row, say) show their item as usual and have no button.
    void setFirstButtonRow(int row) { firstRow_ = row; }
    // The caller repaints the view (the language changed).
    void setText(const QString& text) { text_ = text; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

  signals:
    // A press and a release of the left button on the same row's button.
    void clicked(int row);

  private:
    QString text_;
    QPersistentModelIndex pressed_;
    int firstRow_ = 0;
};
