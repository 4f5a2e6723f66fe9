// The page's analysis beside the list (statistics, trend, a*b* plot) and the averaged readings.
#include "firstpagefor510.h"

#include "ui_firstpagefor510.h"

#include "analysispanel.h"
#include "comparisonlistviews.h"
#include "comparisonpanel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>

namespace {

const char kAnalysisShownKey[] = "workspace/analysisShown";
const char kSplitterKey[] = "workspace/listSplitter";
const char kReadingsKey[] = "workspace/readingsPerMeasurement";

} // namespace

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
                                     session_->judgingSettings(), isChinese_};
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

    analysisButton_ = new QPushButton(ui->widget_buttons);
    analysisButton_->setObjectName(QStringLiteral("pushButton_analysis"));
    analysisButton_->setCheckable(true);
    analysisButton_->setMinimumHeight(30);
    readingsLabel_ = new QLabel(ui->widget_buttons);
    readingsLabel_->setObjectName(QStringLiteral("label_readingsPerMeasurement"));
    readingsBox_ = new QSpinBox(ui->widget_buttons);
    readingsBox_->setObjectName(QStringLiteral("spinBox_readingsPerMeasurement"));
    readingsBox_->setRange(1, 10);
    readingsBox_->setMinimumHeight(30);
    readingsBox_->setMaximumWidth(
        readingsBox_->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 4 + 40);
    readingsLabel_->setBuddy(readingsBox_);
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
    ui->layout_buttons->addWidget(analysisButton_);
    ui->layout_buttons->addWidget(readingsLabel_);
    ui->layout_buttons->addWidget(readingsBox_);
    relabel();

    connect(analysisButton_, &QPushButton::toggled, this, &FirstPageFor510::setAnalysisShown);
    connect(readingsBox_, &QSpinBox::valueChanged, this,
            &FirstPageFor510::setReadingsPerMeasurement);
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
    if (analysisButton_->isChecked() != shown)
        analysisButton_->setChecked(shown);
    QSettings().setValue(QLatin1String(kAnalysisShownKey), shown);
}

bool FirstPageFor510::analysisShown() const {
    return !analysis_->isHidden();
}

// ---- Averaged readings -------------------------------------------------------------------

void FirstPageFor510::setReadingsPerMeasurement(int n) {
    n = std::clamp(n, 1, 10);
    const bool wasCollecting = session_->collectedReadings() > 0;
    session_->setReadingsPerMeasurement(n);
    if (readingsBox_->value() != n)
        readingsBox_->setValue(n);
    QSettings().setValue(QLatin1String(kReadingsKey), n);
    if (wasCollecting)
        showCollecting();
}

void FirstPageFor510::cancelReadingSet() {
    if (session_->collectedReadings() == 0)
        return;
    session_->cancelCollection();
    showCollecting();
}

// "Reading k of n" while a set is collected; a set dropped puts back what was shown before it.
void FirstPageFor510::showCollecting() {
    const int k = session_->collectedReadings();
    QLabel* bar = session_->oldLayout() ? ui->resultlab : ui->label_result;
    if (k > 0 && cancelSetButton_->parentWidget() != bar)
        bar->layout()->addWidget(cancelSetButton_);
    cancelSetButton_->setVisible(k > 0);
    panel_->showCollecting(k, session_->readingsPerMeasurement());
}

void FirstPageFor510::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && session_->collectedReadings() > 0) {
        cancelReadingSet();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}
