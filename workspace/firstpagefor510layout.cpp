// How the workspace fills its screen: stacked pages that claim only the shown page's height, and
// tighter spacing on short screens, so that the list keeps ten rows in view under the upper
// panels with every control whole; the list takes all the height the panels leave.
#include "firstpagefor510.h"

#include "ui_firstpagefor510.h"

#include "comparisonlistviews.h"
#include "comparisonpanel.h"
#include "screenfit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTableView>
#include <QTableWidget>
#include <QWindow>

namespace {

// Set on the upper panels (not the page, whose dialogs would inherit them), these win over the
// skin's rules; they only take away padding. The frames around the measurement buttons have no
// title to leave room for.
const char kCompactSheet[] =
    "QGroupBox#groupBox_standardMeasurement,QGroupBox#groupBox_sampleMeasurement,"
    "QGroupBox#stdBtnGroubox,QGroupBox#sampBtnGroubox{margin-top:0px;padding-top:0px;}"
    "QLineEdit,QSpinBox{min-height:18px;padding:0px 4px;}"
    "QTableWidget QLineEdit{min-height:0px;padding:0px;}"
    "QPushButton{padding:2px 10px;}"
    "QPushButton#pushButton_standardMeasurement,QPushButton#pushButton_sampleMeasurement,"
    "QPushButton#stdmeasurementBtn,QPushButton#samplemeasurementBtn{min-height:26px;}"
    "QLabel#label_result,QLabel#resultlab{min-height:24px;font-size:14pt;}"
    "QGroupBox#groupBox_count QLabel{padding:0px 6px;}";

// A stacked widget is as tall as its tallest page unless the pages not shown claim nothing.
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

} // namespace

void FirstPageFor510::setUpScreenFit() {
    for (QStackedWidget* stack :
         {ui->stackedWidget_comparisonMeasurement, ui->stackedWidget, ui->stackedWidget_data})
        sizeToShownPage(stack);
    gatherUpperPanels();
}

void FirstPageFor510::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    fitToScreen();
    if (QWindow* handle = window()->windowHandle())
        connect(handle, &QWindow::screenChanged, this, &FirstPageFor510::fitToScreen,
                Qt::UniqueConnection);
}

void FirstPageFor510::fitToScreen() {
    // One way only: a page moved to a taller screen keeps the tighter spacing, which fits there.
    if (compact_ || !screenfit::onShortScreen(this))
        return;
    compact_ = true;
    layout()->setContentsMargins(4, 2, 4, 2);
    QWidget* upper = upperGrid_->parentWidget();
    upper->setStyleSheet(QLatin1String(kCompactSheet));
    for (QGroupBox* box : upper->findChildren<QGroupBox*>()) {
        if (!box->layout())
            continue;
        // Untitled boxes are the frames around the two measurement buttons.
        if (box->title().isEmpty())
            box->layout()->setContentsMargins(3, 3, 3, 3);
        else
            box->layout()->setContentsMargins(6, 4, 6, 4);
        box->layout()->setSpacing(3);
    }
    upperGrid_->setSpacing(4);
    static_cast<QGridLayout*>(layout())->setVerticalSpacing(3);
    // The display-mode button shares the last row of modes instead of taking a row of its own.
    QGridLayout* modes = ui->gridLayout_setDisplayParameter;
    modes->removeWidget(ui->radioButton_hazeTLab);
    modes->removeWidget(ui->pushButton_setDisplayParameter);
    modes->addWidget(ui->radioButton_hazeTLab, 2, 0, 1, 2);
    modes->addWidget(ui->pushButton_setDisplayParameter, 2, 2);
    lists_->setCompact(true);
    panel_->setCompact(true);
}

void FirstPageFor510::gatherUpperPanels() {
    // The panels above the buttons in one widget: their spacing is tightened together.
    QGridLayout* grid = ui->gridLayout_firstPageFor510;
    auto* upper = new QWidget;
    upper->setObjectName(QStringLiteral("widget_upperPanels"));
    upperGrid_ = new QGridLayout(upper);
    upperGrid_->setContentsMargins(0, 0, 0, 0);
    upperGrid_->setHorizontalSpacing(grid->horizontalSpacing());
    upperGrid_->setVerticalSpacing(grid->verticalSpacing());
    for (int i = grid->count() - 1; i >= 0; --i) {
        int row = 0, column = 0, rows = 0, columns = 0;
        grid->getItemPosition(i, &row, &column, &rows, &columns);
        if (row >= 5)
            continue;
        QLayoutItem* item = grid->takeAt(i);
        if (QWidget* w = item->widget()) {
            upperGrid_->addWidget(w, row, column, rows, columns);
            delete item;
        } else if (QLayout* l = item->layout()) {
            l->setParent(nullptr);
            upperGrid_->addLayout(l, row, column, rows, columns);
        } else {
            upperGrid_->addItem(item, row, column, rows, columns);
        }
    }
    for (int column = 0; column < 5; ++column)
        upperGrid_->setColumnStretch(column, 1);
    grid->addWidget(upper, 0, 0, 5, 5);
}
