// The page's analysis beside the list (statistics, trend chart), the averaged readings and the
// exports' statistics sheet and numeric CSV.
#include "firstpagefor510.h"

#include "ui_firstpagefor510.h"

#include "liststatistics.h"
#include "prompter.h"
#include "statisticspanel.h"
#include "statisticssheet.h"
#include "trendchart.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSettings>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const char kAnalysisShownKey[] = "workspace/analysisShown";
const char kSplitterKey[] = "workspace/listSplitter";
const char kReadingsKey[] = "workspace/readingsPerMeasurement";
const QString kCollectingResult = QStringLiteral("QLabel{background-color: rgb(255, 235, 160);}");

} // namespace

void FirstPageFor510::setUpAnalysis() {
    // The list shares its row with the analysis: a splitter the user can move, its position
    // remembered, and the analysis can be hidden to give the list the whole width.
    QWidget* lists = ui->stackedWidget_data;
    ui->gridLayout_firstPageFor510->removeWidget(lists);
    listSplitter_ = new QSplitter(Qt::Horizontal, this);
    listSplitter_->setObjectName(QStringLiteral("splitter_list"));
    listSplitter_->addWidget(lists);
    analysisTabs_ = new QTabWidget(listSplitter_);
    analysisTabs_->setObjectName(QStringLiteral("tabWidget_analysis"));
    statistics_ = new StatisticsPanel(analysisTabs_);
    trend_ = new TrendChart(analysisTabs_);
    analysisTabs_->addTab(statistics_, QString());
    analysisTabs_->addTab(trend_, QString());
    listSplitter_->addWidget(analysisTabs_);
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
    cancelSetButton_ = new QPushButton(ui->widget_buttons);
    cancelSetButton_->setObjectName(QStringLiteral("pushButton_cancelReadingSet"));
    cancelSetButton_->setMinimumHeight(30);
    cancelSetButton_->hide();
    ui->layout_buttons->addWidget(analysisButton_);
    ui->layout_buttons->addWidget(readingsLabel_);
    ui->layout_buttons->addWidget(readingsBox_);
    ui->layout_buttons->addWidget(cancelSetButton_);
    relabelAnalysis();

    connect(analysisButton_, &QPushButton::toggled, this, &FirstPageFor510::setAnalysisShown);
    connect(readingsBox_, &QSpinBox::valueChanged, this,
            &FirstPageFor510::setReadingsPerMeasurement);
    connect(cancelSetButton_, &QPushButton::clicked, this, &FirstPageFor510::cancelReadingSet);
    connect(trend_, &TrendChart::rowClicked, this, [this](int row) {
        QTableView* view = currentListView();
        if (row < 0 || row >= view->model()->rowCount())
            return;
        view->selectRow(row);
        view->scrollTo(view->model()->index(row, 0));
    });
    for (bool old : {false, true})
        connect(&session_->listModel(old), &ComparisonListModel::countersChanged, this,
                &FirstPageFor510::scheduleAnalysisRefresh);

    setAnalysisShown(settings.value(QLatin1String(kAnalysisShownKey), true).toBool());
    setReadingsPerMeasurement(settings.value(QLatin1String(kReadingsKey), 1).toInt());
}

void FirstPageFor510::relabelAnalysis() {
    if (!analysisTabs_)
        return;
    analysisTabs_->setTabText(0, analysis::statisticsSheetName());
    analysisTabs_->setTabText(1, tr("Trend"));
    analysisButton_->setText(tr("Analysis"));
    readingsLabel_->setText(tr("Readings per measurement"));
    cancelSetButton_->setText(tr("Cancel"));
}

void FirstPageFor510::setAnalysisShown(bool shown) {
    analysisTabs_->setVisible(shown);
    if (analysisButton_->isChecked() != shown)
        analysisButton_->setChecked(shown);
    QSettings().setValue(QLatin1String(kAnalysisShownKey), shown);
    refreshAnalysis();
}

bool FirstPageFor510::analysisShown() const {
    return analysisTabs_ && !analysisTabs_->isHidden();
}

void FirstPageFor510::scheduleAnalysisRefresh() {
    if (analysisPending_)
        return;
    analysisPending_ = true;
    QTimer::singleShot(0, this, [this] {
        if (analysisPending_)
            refreshAnalysis();
    });
}

StatisticsPanel* FirstPageFor510::statisticsPanel() {
    if (analysisPending_)
        refreshAnalysis();
    return statistics_;
}

TrendChart* FirstPageFor510::trendChart() {
    if (analysisPending_)
        refreshAnalysis();
    return trend_;
}

void FirstPageFor510::refreshAnalysis() {
    analysisPending_ = false;
    // A hidden panel computes nothing; it catches up when shown again.
    if (!analysisShown())
        return;
    // The list's own meaning and, for the chart's band, the settings its last row was judged with.
    const ListMeaning meaning = session_->shownMeaning();
    const QList<ComparisonRecord>& records = session_->list().records();
    const JudgingSettings band =
        records.isEmpty() ? session_->judgingSettings() : records.last().settings;
    const QVector<bool> verdicts = analysis::listVerdicts(records);
    statistics_->setData(
        analysis::listColumns(meaning.displayMode, meaning.oldLayout, isChinese_, records),
        verdicts);
    trend_->setSeries(analysis::trendSeries(meaning.displayMode, meaning.oldLayout, band, records),
                      verdicts);
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

void FirstPageFor510::showCollecting() {
    QLabel* label = session_->oldLayout() ? ui->resultlab : ui->label_result;
    const int k = session_->collectedReadings();
    cancelSetButton_->setVisible(k > 0);
    if (k == 0) {
        // The bar shows what it showed before the set began.
        if (shownComparison_) {
            showVerdict(shownComparison_->pass);
        } else {
            label->clear();
            label->setStyleSheet(QStringLiteral("QLabel{background-color: rgb(220, 220, 220);}"));
        }
        return;
    }
    label->setText(tr("Reading %1 of %2").arg(k).arg(session_->readingsPerMeasurement()));
    label->setStyleSheet(kCollectingResult);
}

void FirstPageFor510::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && session_->collectedReadings() > 0) {
        cancelReadingSet();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}
