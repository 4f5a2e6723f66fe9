#include "comparisonlistviews.h"

#include "colour.h"
#include "comparisonlistmodel.h"
#include "comparisonrows.h"
#include "quantities.h"
#include "rbtableheaderview.h"
#include "rowbuttondelegate.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>

#include <algorithm>

using namespace comparisonrows;

namespace {

QString pageText(const char* source) {
    return QCoreApplication::translate("FirstPageFor510", source);
}

// Centres every cell of a list without storing an alignment in each of its many items.
class CentredDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

  protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->displayAlignment = Qt::AlignCenter;
    }
};

// The widest text a column of a quantity can hold (values of the instrument's range).
QString widestValue(int index) {
    if (quantities::isPercent(index))
        return QStringLiteral("100.00%");
    if (index == quantities::X || index == quantities::Y)
        return QStringLiteral("0.0000");
    if (index == quantities::H)
        return QStringLiteral("359.9");
    return QStringLiteral("-100.00");
}

} // namespace

ComparisonListViews::ComparisonListViews(QTableView* current, ComparisonListModel& currentModel,
                                         QTableView* old, ComparisonListModel& oldModel,
                                         QObject* parent)
    : QObject(parent), current_(current), old_(old) {
    current_->setModel(&currentModel);
    currentHeader_ = new RbTableHeaderView(Qt::Horizontal, 2, ListColumns, current_);
    current_->setHorizontalHeader(currentHeader_);
    old_->setModel(&oldModel);
    oldHeader_ = new RbTableHeaderView(Qt::Horizontal, 2, OldListColumns, old_);
    old_->setHorizontalHeader(oldHeader_);
    setUp(current_, currentHeader_, ListColumns, ColSample);
    setUp(old_, oldHeader_, OldListColumns, OldColSample);
    for (bool isOld : {false, true}) {
        QTableView* v = view(isOld);
        for (int kind = 0; kind < 2; ++kind) {
            auto* buttons = new RowButtonDelegate(QString(), v);
            buttons_[isOld][kind] = buttons;
            v->setItemDelegateForColumn(isOld ? int(kind ? OldColReport : OldColDelete)
                                              : int(kind ? ColReport : ColDelete),
                                        buttons);
            connect(buttons, &RowButtonDelegate::clicked, this, [this, isOld, kind](int row) {
                if (kind)
                    emit reportClicked(isOld, row);
                else
                    emit deleteClicked(row);
            });
        }
    }
    for (int column = ColHazeTolerance; column < ListColumns; ++column)
        current_->setColumnHidden(column, true);
    for (int column = OldColFormula; column < OldListColumns; ++column)
        old_->setColumnHidden(column, true);
    relabel();
    setRowLines();
}

void ComparisonListViews::setUp(QTableView* v, RbTableHeaderView* header, int columns, int sample) {
    const int values = sample - ColStandard;
    for (int column = 0; column < columns; ++column) {
        if (column < ColStandard || column >= sample + values)
            header->setCellSpan(0, column, 2, 1);
        for (int row = 0; row < 2; ++row) {
            header->setCellBackground(row, column, QColor(0x444444));
            header->setCellForeground(row, column, Qt::white);
        }
    }
    header->setCellSpan(0, ColStandard, 1, values);
    header->setCellSpan(0, sample, 1, values);
    header->setSectionsClickable(true);
    v->verticalHeader()->hide();
    // Rows of one height: the view never measures contents, which keeps big lists quick.
    v->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    v->setItemDelegate(new CentredDelegate(v));
    // Widths follow the view: the pane, the analysis splitter, the window.
    v->viewport()->installEventFilter(this);
    const bool isOld = v == old_;
    connect(v->model(), &QAbstractItemModel::rowsInserted, this,
            [this, isOld](const QModelIndex&, int first, int last) {
                measureNames(isOld, first, last);
                scheduleFit();
            });
    connect(v->model(), &QAbstractItemModel::dataChanged, this,
            [this, isOld](const QModelIndex& from, const QModelIndex& to) {
                if (from.column() <= ColName && to.column() >= ColName)
                    measureNames(isOld, from.row(), to.row());
                scheduleFit();
            });
    connect(v->model(), &QAbstractItemModel::modelReset, this, [this, isOld] {
        nameWidth_[isOld] = 0;
        scheduleFit();
    });
}

void ComparisonListViews::relabel() {
    for (bool isOld : {false, true}) {
        RbTableHeaderView* header = isOld ? oldHeader_ : currentHeader_;
        const auto layout =
            isOld ? ComparisonListModel::Layout::Old : ComparisonListModel::Layout::Current;
        const int sample = isOld ? int(OldColSample) : int(ColSample);
        for (int c = 0; c < header->count(); ++c) {
            const auto [group, name] = ComparisonListModel::heading(layout, c);
            // A value column's group spans its quantities: its text sits on the first of them.
            if (c < ColStandard || c == ColStandard || c == sample ||
                c >= sample + (sample - ColStandard))
                header->setCellText(0, c, group);
            if (!name.isEmpty())
                header->setCellText(1, c, name);
        }
        buttons_[isOld][0]->setText(pageText(QT_TRANSLATE_NOOP("FirstPageFor510", "Delete")));
        buttons_[isOld][1]->setText(pageText(QT_TRANSLATE_NOOP("FirstPageFor510", "Report")));
        header->viewport()->update();
        view(isOld)->viewport()->update();
        fitColumns(view(isOld));
    }
}

void ComparisonListViews::show(const ListMeaning& meaning) {
    shownOld_ = meaning.oldLayout;
    shownMode_ = meaning.displayMode;
    if (!meaning.oldLayout) {
        const int mode = std::clamp(meaning.displayMode, 0, 6);
        for (int i = 0; i < quantities::Count; ++i) {
            current_->setColumnHidden(ColStandard + i, !quantities::measures(mode, i));
            current_->setColumnHidden(ColSample + i, !quantities::measures(mode, i));
        }
        const bool haze = quantities::measures(mode, quantities::Haze);
        const bool t = quantities::measures(mode, quantities::T);
        current_->setColumnHidden(ColDeltaHaze, !haze);
        current_->setColumnHidden(ColDeltaT, !t);
        current_->setColumnHidden(ColDeltaE, mode <= 2);
    }
    fitColumns(shownView());
}

void ComparisonListViews::setCompact(bool compact) {
    compact_ = compact;
    setRowLines();
}

void ComparisonListViews::setRowLines() {
    for (bool isOld : {false, true}) {
        QTableView* v = view(isOld);
        RbTableHeaderView* header = isOld ? oldHeader_ : currentHeader_;
        // Rows as high as the text needs: on a short screen every pixel goes to list rows.
        const int line = v->fontMetrics().height() + (compact_ ? 2 : 8);
        header->setHeaderRowHeight(0, line);
        header->setHeaderRowHeight(1, line);
        // The header's own floor (text plus the style's margins) would otherwise win.
        v->verticalHeader()->setMinimumSectionSize(line);
        v->verticalHeader()->setDefaultSectionSize(line);
    }
}

void ComparisonListViews::measureNames(bool isOld, int first, int last) {
    const auto* model = static_cast<const ComparisonListModel*>(view(isOld)->model());
    const QFontMetrics text = view(isOld)->fontMetrics();
    for (int row = std::max(first, last - 199); row <= last && row < model->totalCount(); ++row)
        nameWidth_[isOld] =
            std::max(nameWidth_[isOld], text.horizontalAdvance(model->record(row).name));
}

void ComparisonListViews::scheduleFit() {
    if (fitPending_)
        return;
    fitPending_ = true;
    QTimer::singleShot(0, this, [this] {
        fitPending_ = false;
        fitColumns(shownView());
    });
}

void ComparisonListViews::fitColumns(QTableView* v) {
    if (v != shownView())
        return;
    const bool isOld = v == old_;
    const QFontMetrics text = v->fontMetrics();
    const QFontMetrics head = v->horizontalHeader()->fontMetrics();
    const int pad = text.horizontalAdvance(QLatin1Char('0')) * 2;
    const auto model = static_cast<const ComparisonListModel*>(v->model());
    const int nameWidth =
        std::max(nameWidth_[isOld], text.horizontalAdvance(QStringLiteral("Comp0000")));
    const int rows = model->totalCount();
    const QString buttonText = buttons_[isOld][0]->text().size() > buttons_[isOld][1]->text().size()
                                   ? buttons_[isOld][0]->text()
                                   : buttons_[isOld][1]->text();
    const int sample = isOld ? int(OldColSample) : int(ColSample);
    const int values = sample - ColStandard;
    const int columns = isOld ? int(OldListColumns) : int(ListColumns);
    int total = 0;
    for (int c = 0; c < columns; ++c) {
        if (v->isColumnHidden(c))
            continue;
        QString widest;
        if (c == ColNo)
            widest = QString::number(std::max(rows, 999));
        else if (c == ColTime)
            widest = timeText(QDateTime(QDate(2026, 12, 30), QTime(23, 59)));
        else if (c >= ColStandard && c < sample + values)
            widest = isOld ? QStringLiteral("-100.00") : widestValue((c - ColStandard) % values);
        else if (c == (isOld ? int(OldColVerdict) : int(ColVerdict)))
            widest = colour::verdictText(false).size() > colour::verdictText(true).size()
                         ? colour::verdictText(false)
                         : colour::verdictText(true);
        else if (c == (isOld ? int(OldColDelete) : int(ColDelete)) ||
                 c == (isOld ? int(OldColReport) : int(ColReport)))
            widest = buttonText + QStringLiteral("00");
        else
            widest = QStringLiteral("-100.00%");
        int width = c == ColName ? nameWidth : text.horizontalAdvance(widest);
        // Each column's own heading row is whole too; a group's spans its quantities.
        const auto [group, name] = ComparisonListModel::heading(
            isOld ? ComparisonListModel::Layout::Old : ComparisonListModel::Layout::Current, c);
        width = std::max(width, head.horizontalAdvance(name.isEmpty() ? group : name));
        v->setColumnWidth(c, width + pad);
        total += width + pad;
    }
    // What the view has left goes to the name: the list fills its pane and scrolls only when
    // the texts need more than the pane has.
    const int room = v->viewport()->width() - total;
    if (room > 0 && !v->isColumnHidden(ColName))
        v->setColumnWidth(ColName, v->columnWidth(ColName) + room);
}

bool ComparisonListViews::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize) {
        for (bool isOld : {false, true})
            if (watched == view(isOld)->viewport())
                fitColumns(view(isOld));
    }
    return QObject::eventFilter(watched, event);
}

void ComparisonListViews::scrollToNewest() {
    // After the layout settled (the horizontal scroll bar may have just appeared), once for a
    // burst of rows.
    if (scrollPending_)
        return;
    scrollPending_ = true;
    QTimer::singleShot(0, this, [this] {
        scrollPending_ = false;
        shownView()->scrollToBottom();
    });
}

void ComparisonListViews::editName(bool isOld, int row) {
    QTableView* v = view(isOld);
    if (row >= 0 && row < v->model()->rowCount())
        v->edit(v->model()->index(row, ColName));
}
