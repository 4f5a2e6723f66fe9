#include "screenfit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QStackedWidget>

namespace screenfit {

void sizeToShownPage(QStackedWidget* stack) {
    const auto fit = [stack] {
        for (int i = 0; i < stack->count(); ++i) {
            const QSizePolicy::Policy policy =
                i == stack->currentIndex() ? QSizePolicy::Preferred : QSizePolicy::Ignored;
            stack->widget(i)->setSizePolicy(policy, policy);
        }
        stack->updateGeometry();
    };
    QObject::connect(stack, &QStackedWidget::currentChanged, stack, fit);
    fit();
}

QGridLayout* gatherRows(QGridLayout* grid, int rows, int columns, const QString& name) {
    auto* panels = new QWidget;
    panels->setObjectName(name);
    auto* inner = new QGridLayout(panels);
    inner->setContentsMargins(0, 0, 0, 0);
    inner->setHorizontalSpacing(grid->horizontalSpacing());
    inner->setVerticalSpacing(grid->verticalSpacing());
    for (int i = grid->count() - 1; i >= 0; --i) {
        int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
        if (row >= rows)
            continue;
        QLayoutItem* item = grid->takeAt(i);
        if (QWidget* w = item->widget()) {
            inner->addWidget(w, row, column, rowSpan, columnSpan);
            delete item;
        } else if (QLayout* l = item->layout()) {
            l->setParent(nullptr);
            inner->addLayout(l, row, column, rowSpan, columnSpan);
        } else {
            inner->addItem(item, row, column, rowSpan, columnSpan);
        }
    }
    for (int column = 0; column < columns; ++column)
        inner->setColumnStretch(column, 1);
    grid->addWidget(panels, 0, 0, rows, columns);
    return inner;
}

void tighten(QWidget* panels, QGridLayout* grid, const char* sheet) {
    panels->setStyleSheet(QLatin1String(sheet));
    for (QGroupBox* box : panels->findChildren<QGroupBox*>()) {
        if (!box->layout())
            continue;
        // Untitled boxes are frames around a button or two.
        if (box->title().isEmpty())
            box->layout()->setContentsMargins(3, 3, 3, 3);
        else
            box->layout()->setContentsMargins(6, 4, 6, 4);
        box->layout()->setSpacing(3);
    }
    grid->setSpacing(4);
}

} // namespace screenfit
