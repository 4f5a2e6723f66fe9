// How the workspace lays itself out: the list beside the analysis on a splitter, stacked pages
// that claim only the shown page's height, and tighter spacing on short screens, so that the list
// takes all the height the panels leave, ten rows or more, with every control whole.
#include "firstpagefor510.h"

#include "ui_firstpagefor510.h"

#include "analysispanel.h"
#include "comparisonlistviews.h"
#include "comparisonpanel.h"
#include "screenfit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QTableView>
#include <QWindow>

namespace {

const char kAnalysisShownKey[] = "workspace/analysisShown";
const char kSplitterKey[] = "workspace/listSplitter";
const char kReadingsKey[] = "workspace/readingsPerMeasurement";

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

} // namespace

void FirstPageFor510::setUpScreenFit() {
    for (QStackedWidget* stack :
         {ui->stackedWidget_comparisonMeasurement, ui->stackedWidget, ui->stackedWidget_data})
        screenfit::sizeToShownPage(stack);
    // The panels above the buttons in one widget: their spacing is tightened together.
    upperGrid_ = screenfit::gatherRows(ui->gridLayout_firstPageFor510, 5, 5,
                                       QStringLiteral("widget_upperPanels"));
    screenfit::flowButtons(ui->widget_buttons);
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
    screenfit::tighten(upperGrid_->parentWidget(), upperGrid_, kCompactSheet);
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

void FirstPageFor510::setUpAnalysis() {
    // The list shares its row with the analysis: a splitter the user can move, its position
    // remembered, and the analysis can be hidden to give the list the whole width.
    QWidget* lists = ui->stackedWidget_data;
    ui->gridLayout_firstPageFor510->removeWidget(lists);
    listSplitter_ = new QSplitter(Qt::Horizontal, this);
    listSplitter_->setObjectName(QStringLiteral("splitter_list"));
    listSplitter_->addWidget(lists);
    analysis_ = new AnalysisPanel(listSplitter_);
    analysis_->setPrompter(&prompter_);
    analysis_->setSource([this] {
        return AnalysisPanel::Source{&session_->list().records(), session_->shownMeaning(),
                                     session_->judgingSettings(), isChinese_,
                                     session_->list().revision()};
    });
    listSplitter_->addWidget(analysis_);
    listSplitter_->setCollapsible(0, false);
    listSplitter_->setStretchFactor(0, 3);
    listSplitter_->setStretchFactor(1, 1);
    ui->gridLayout_firstPageFor510->addWidget(listSplitter_, 6, 0, 1, 5);
    setUpScreenFit();
    QSettings settings;
    const QByteArray saved = settings.value(QLatin1String(kSplitterKey)).toByteArray();
    if (!saved.isEmpty())
        listSplitter_->restoreState(saved);
    connect(listSplitter_, &QSplitter::splitterMoved, this, [this] {
        QSettings().setValue(QLatin1String(kSplitterKey), listSplitter_->saveState());
    });

    QSpinBox* readings = ui->spinBox_readingsPerMeasurement;
    readings->setMaximumWidth(readings->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 4 + 40);
    // Cancel sits in the verdict bar that says "Reading k of n": it comes and goes there without
    // moving any other button.
    for (QLabel* bar : {ui->label_result, ui->resultlab}) {
        auto* row = new QHBoxLayout(bar);
        row->setContentsMargins(4, 2, 4, 2);
        row->addStretch();
    }
    cancelSetButton_ = new QPushButton(ui->label_result);
    cancelSetButton_->setObjectName(QStringLiteral("pushButton_cancelReadingSet"));
    cancelSetButton_->hide();
    ui->label_result->layout()->addWidget(cancelSetButton_);
    relabel();

    connect(ui->pushButton_analysis, &QPushButton::toggled, this,
            &FirstPageFor510::setAnalysisShown);
    connect(readings, &QSpinBox::valueChanged, this, &FirstPageFor510::setReadingsPerMeasurement);
    connect(cancelSetButton_, &QPushButton::clicked, this, &FirstPageFor510::cancelReadingSet);
    connect(analysis_, &AnalysisPanel::rowClicked, this, [this](int row) {
        QTableView* view = lists_->shownView();
        if (row < 0 || row >= view->model()->rowCount())
            return;
        view->selectRow(row);
        view->scrollTo(view->model()->index(row, 0));
    });
    for (bool old : {false, true})
        connect(&session_->listModel(old), &ComparisonListModel::countersChanged, analysis_,
                &AnalysisPanel::scheduleRefresh);

    setAnalysisShown(settings.value(QLatin1String(kAnalysisShownKey), true).toBool());
    setReadingsPerMeasurement(settings.value(QLatin1String(kReadingsKey), 1).toInt());
}

void FirstPageFor510::setAnalysisShown(bool shown) {
    analysis_->setVisible(shown);
    // A panel hidden meanwhile catches up.
    if (shown)
        analysis_->scheduleRefresh();
    if (ui->pushButton_analysis->isChecked() != shown)
        ui->pushButton_analysis->setChecked(shown);
    QSettings().setValue(QLatin1String(kAnalysisShownKey), shown);
}

bool FirstPageFor510::analysisShown() const {
    return !analysis_->isHidden();
}
