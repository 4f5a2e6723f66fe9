#include "firstpagefor510.h"

#include "ui_firstpagefor510.h"

#include "analysispanel.h"
#include "burst.h"
#include "colour.h"
#include "comparisonlistviews.h"
#include "comparisonpanel.h"
#include "deviceinfocommands.h"
#include "frameport.h"
#include "listtransfer.h"
#include "mythread.h"
#include "pauselock.h"
#include "productcontrols.h"
#include "prompter.h"
#include "receivethread.h"
#include "settingsfields.h"
#include "workspacehistory.h"
#include "workspacekeys.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>

namespace {

constexpr int kModeCount = 7;

} // namespace

FirstPageFor510::FirstPageFor510(FramePort& port, Prompter& prompter, QWidget* parent)
    : QWidget(parent), port_(port), prompter_(prompter),
      session_(new ComparisonSession(port, this)), ui(new Ui::FirstPageFor510),
      dialogRunner_([](QDialog& dialog) { return dialog.exec(); }) {
    ui->setupUi(this);
    receiver_ = new ReceiveThread(this);
    connect(receiver_, &ReceiveThread::received, this, &FirstPageFor510::SaveData);
    session_->setPauseLockSource([this] { return pauseLock(); });
    session_->setModelTable(ModelTable::loadDefault());
    arrivalClock_.start();

    settingsFields_ = new SettingsFields(this, *session_);

    displayGroup_ = new QButtonGroup(this);
    const QList<QRadioButton*> radios = {
        ui->radioButton_hazeT, ui->radioButton_haze, ui->radioButton_t,       ui->radioButton_Lab,
        ui->radioButton_LCh,   ui->radioButton_Yxy,  ui->radioButton_hazeTLab};
    for (int id = 0; id < radios.size(); ++id)
        displayGroup_->addButton(radios[id], id);
    connect(displayGroup_, &QButtonGroup::idClicked, this, &FirstPageFor510::onButtonClicked);

    blinkTimer_ = new QTimer(this);
    blinkTimer_->setSingleShot(true);
    connect(blinkTimer_, &QTimer::timeout, this, &FirstPageFor510::showNextPush);

    panel_ =
        new ComparisonPanel({ui->tableWidget_colorDiff, ui->pushButton_standardMeasurement,
                             ui->pushButton_sampleMeasurement, ui->groupBox_standardMeasurement,
                             ui->groupBox_sampleMeasurement, ui->label_result},
                            {ui->tbColorDiff, ui->stdmeasurementBtn, ui->samplemeasurementBtn,
                             ui->stdBtnGroubox, ui->sampBtnGroubox, ui->resultlab},
                            this);
    connect(panel_, &ComparisonPanel::standardTyped, session_,
            &ComparisonSession::setStandardValue);
    connect(panel_, &ComparisonPanel::standardRefused, this,
            [this](const QString& typed, const QString& inUse) {
                prompter_.information(
                    this, tr("Error"),
                    tr("\"%1\" is not a number. The standard keeps %2.").arg(typed, inUse));
            });
    lists_ = new ComparisonListViews(ui->tableWidget_data, session_->listModel(false), ui->tbData,
                                     session_->listModel(true), this);
    connect(lists_, &ComparisonListViews::deleteClicked, session_, &ComparisonSession::removeRow);
    connect(lists_, &ComparisonListViews::reportClicked, this, [this](bool old, int row) {
        old ? on_ReportBtn_clicked_old(row) : on_ReportBtn_clicked(row);
    });
    connect(ui->tableWidget_data, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { doubleClickedSlot(index.row(), index.column()); });
    connect(ui->tbData, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        doubleClickedSlot_old(index.row(), index.column());
    });
    history_ = new WorkspaceHistory(*session_, prompter_, this);
    transfer_ = new ListTransfer(*session_, prompter_, port_, this);
    products_ = new ProductControls(*session_, prompter_, this, ui->widget_buttons->layout(),
                                    [this](QDialog& d) { return dialogRunner_(d); });
    connect(products_, &ProductControls::productUsed, this, [this] {
        settingsFields_->showInForce();
        showModeInForce();
    });
    // The History button sits beside Clear and Export.
    auto* row = qobject_cast<QHBoxLayout*>(ui->widget_buttons->layout());
    if (const int at = row ? row->indexOf(ui->pushButton_exportExcel) : -1; at >= 0)
        row->insertWidget(at + 1, history_->button());
    connect(history_, &WorkspaceHistory::reportRequested, this, &FirstPageFor510::openReportOf);
    setUpAnalysis();
    // A standard the session dropped (a failed measurement, another instrument) is not shown.
    connect(session_, &ComparisonSession::standardChanged, this, [this] {
        if (!session_->hasStandard())
            panel_->blankSide(1);
    });
    auto* counters = new Burst(this, [this] { refreshCounters(); });
    for (bool old : {false, true})
        connect(&session_->listModel(old), &ComparisonListModel::countersChanged, counters,
                &Burst::request);
    connect(session_, &ComparisonSession::listClosed, this, &FirstPageFor510::showListClosed);
    connect(session_, &ComparisonSession::comparisonAdded, lists_,
            &ComparisonListViews::scrollToNewest);

    ui->stackedWidget_comparisonMeasurement->setCurrentWidget(ui->page_newComparisonMeasurement);
    ui->stackedWidget_data->setCurrentWidget(ui->page_newData);
    ui->stackedWidget->setCurrentWidget(ui->page_tolerance);
    showToleranceRows(true, true, false);
    ui->companyinfoLab->hide();
    ui->companywetLab->hide();
    applyDisplayMode();
    workspacekeys::install(this, [this](int row) { session_->removeRow(row); });
}

FirstPageFor510::~FirstPageFor510() {
    closeThreadSlot();
    // The journal lets go of the session, which is deleted with the page's children.
    delete history_;
    history_ = nullptr;
    delete ui;
}

void FirstPageFor510::setModelTable(const ModelTable& table) {
    session_->setModelTable(table);
}

void FirstPageFor510::setClock(std::function<QDateTime()> clock) {
    history_->setClock(clock);
    transfer_->setClock(clock);
    session_->setClock(std::move(clock));
}

void FirstPageFor510::setChinese(bool chinese) {
    isChinese_ = chinese;
    history_->setChinese(chinese);
    transfer_->setChinese(chinese);
}

std::shared_ptr<PauseLock> FirstPageFor510::pauseLock() const {
    return receiver_->pauseLock();
}

MyThread* FirstPageFor510::worker() const {
    return receiver_->worker();
}

QThread* FirstPageFor510::workerThread() const {
    return receiver_->thread();
}

void FirstPageFor510::refreshCounters() {
    const ComparisonListModel& list = session_->list();
    ui->lineEdit_unqualNum->setText(QString::number(list.failCount()));
    ui->lineEdit_qualNum->setText(QString::number(list.passCount()));
    ui->lineEdit_totalNum->setText(QString::number(list.totalCount()));
}

void FirstPageFor510::openThreadSlot() {
    receiver_->start(&port_);
}

void FirstPageFor510::closeThreadSlot() {
    receiver_->stop();
    // A frame cut off by the disconnection never gets its rest.
    session_->resetPushScanner();
}

bool FirstPageFor510::linkOpenOrComplain() {
    if (port_.isLinkOpen())
        return true;
    prompter_.information(this, tr("Error"), tr("Please connect the device first!"));
    return false;
}

bool FirstPageFor510::shown(const SessionResult& result) {
    if (!result)
        return true;
    prompter_.information(this, result->title, result->text);
    return false;
}

void FirstPageFor510::onDeviceConnected() {
    initForDevice();
    if (history_->keepRestoredStandard()) {
        panel_->setOldLayout(session_->oldLayout());
        panel_->showSide(1, *session_->standard());
        panel_->neutralStandardSwatch();
    }
    if (session_->profile().parameterPage)
        on_pushButton_readParameter_clicked();
    else
        on_pushButton_readTolerance_clicked();
}

void FirstPageFor510::onDeviceDisconnected() {
    history_->forgetListNotes(); // "rows restored" spoke of the start, not of what follows
    // A measurement waiting to be shown came from the instrument that went.
    pendingPushes_.clear();
    blinkTimer_->stop();
}

bool FirstPageFor510::initForDevice() {
    if (!port_.isLinkOpen())
        return false;
    const SessionResult result = session_->identify();
    emit instrumentIdentified();
    const ComparisonSession::Identity& id = session_->identity();
    if (id.keyRead)
        ui->lineEdit_serialNo->setText(session_->serialText());
    if (id.modelKnown)
        ui->stackedWidget->setCurrentWidget(
            isColorimeter(instrumentKind(id.uiIndex)) ? ui->page_eParameter : ui->page_tolerance);
    if (!id.versionRead)
        return shown(result);
    ui->lineEdit_firmwareVersion->setText(QString::number(id.firmwareVersion / 100.0, 'f', 2));
    configureForKind();
    const bool old = session_->oldLayout();
    panel_->setOldLayout(old);
    ui->groupBox_setDisplayParameter->setVisible(!old);
    ui->stackedWidget_comparisonMeasurement->setCurrentWidget(
        old ? ui->page_oldComparisonMeasurement : ui->page_newComparisonMeasurement);
    placeSettingsStack(old);
    showModeInForce();
    refreshCounters();
    return shown(result);
}

void FirstPageFor510::showModeInForce() {
    const int mode = session_->displayMode();
    // A mode the page cannot show leaves no mode chosen: nothing is measured until one is set.
    if (QAbstractButton* chosen = displayGroup_->checkedButton(); chosen && mode < 0) {
        displayGroup_->setExclusive(false);
        chosen->setChecked(false);
        displayGroup_->setExclusive(true);
    }
    if (!session_->oldLayout() && mode >= 0) {
        displayGroup_->button(mode)->setChecked(true);
        onButtonClicked(mode);
    }
    applyDisplayMode();
}

void FirstPageFor510::configureForKind() {
    const InstrumentProfile& profile = session_->profile();
    for (int id = 0; id < kModeCount; ++id)
        displayGroup_->button(id)->setVisible(profile.displayModes.contains(id));
    ui->pushButton_setDisplayParameter->setVisible(profile.formulaShown);
    ui->label_formula->setVisible(profile.formulaShown);
    ui->lineEdit_formula->setVisible(profile.formulaShown);
    ui->pushButton_spectralTransmittance->setVisible(profile.spectralShown);
    ui->pushButton_writeStandardColor->setVisible(profile.writeStdColorShown);
    relabelSpectralButton();
}

void FirstPageFor510::placeSettingsStack(bool oldLayout) {
    // The old layout has no display group, so the settings move up into its cell.
    QGridLayout* grid = upperGrid_ ? upperGrid_ : ui->gridLayout_firstPageFor510;
    grid->removeWidget(ui->stackedWidget);
    if (oldLayout)
        grid->addWidget(ui->stackedWidget, 0, 4, 1, 1);
    else
        grid->addWidget(ui->stackedWidget, 2, 4, 3, 1);
}

void FirstPageFor510::showToleranceRows(bool haze, bool t, bool threshold) {
    ui->label_hazeTolerance->setVisible(haze);
    ui->lineEdit_hazeTolerance->setVisible(haze);
    ui->label_hazeTolerancePercentage->setVisible(haze);
    ui->label_tTolerance->setVisible(t);
    ui->lineEdit_tTolerance->setVisible(t);
    ui->label_tTolerancePercentage->setVisible(t);
    ui->label_eThresholds->setVisible(threshold);
    ui->lineEdit_eThresholds->setVisible(threshold);
}

void FirstPageFor510::onButtonClicked(int id) {
    // The tolerance rows of the mode chosen: haze, T, and the threshold where colour is judged.
    showToleranceRows(id == DisplayHazeT || id == DisplayHaze || id == DisplayHazeTLab,
                      id == DisplayHazeT || id == DisplayT || id == DisplayHazeTLab,
                      id >= DisplayLab);
}

void FirstPageFor510::applyDisplayMode() {
    // The list shows its rows' own columns; the comparison table the mode in force.
    const ListMeaning shown = session_->shownMeaning();
    ui->stackedWidget_data->setCurrentWidget(shown.oldLayout ? ui->page_oldData : ui->page_newData);
    lists_->show(shown);
    const int inForce = session_->displayMode();
    panel_->showRowsOf(inForce >= 0 ? inForce : (shown.oldLayout ? 0 : shown.displayMode));
    analysis_->scheduleRefresh();
}

void FirstPageFor510::showListClosed(int count) {
    history_->setMovedToHistory(count);
    applyDisplayMode();
}

void FirstPageFor510::relabelSpectralButton() {
    const bool reflectance = session_->profile().reflectance;
    // These two texts are fixed per language rather than taken from the translation files.
    if (isChinese_)
        ui->pushButton_spectralTransmittance->setText(reflectance ? QStringLiteral("光谱反射率")
                                                                  : QStringLiteral("光谱透过率"));
    else
        ui->pushButton_spectralTransmittance->setText(reflectance ? tr("Spectral reflectance")
                                                                  : tr("Spectral transmittance"));
}

void FirstPageFor510::relabel() {
    ui->retranslateUi(this);
    relabelSpectralButton();
    lists_->relabel();
    history_->relabel();
    products_->relabel();
    workspacekeys::relabel(this);
    analysis_->relabel();
    cancelSetButton_->setText(tr("Cancel"));
}

void FirstPageFor510::retranslate() {
    relabel();
    // retranslateUi put the construction texts back; texts that depend on data are recomputed.
    const int formula = session_->formulaIndex();
    if (formula >= 0 && formula <= 6) {
        const QString label = colour::formulaLabel(formula, session_->oldLayout());
        if (!label.isNull())
            ui->lineEdit_formula->setText(label);
    }
    panel_->relabel();
    // The statistics are headed by the export's headings, in the new language.
    analysis_->scheduleRefresh();
    if (session_->collectedReadings() > 0)
        showCollecting();
}

int FirstPageFor510::setHistory(history::HistoryStore* store) {
    const int restored = history_->attach(store);
    products_->setStore(store);
    // Without a window to hold the history's line, it goes under the list.
    QLabel* line = history_->line();
    if (line && !line->parentWidget()->isWindow() && line->parentWidget() == this)
        if (auto* grid = qobject_cast<QGridLayout*>(layout()); grid && grid->indexOf(line) < 0)
            grid->addWidget(line, grid->rowCount(), 0, 1, grid->columnCount());
    // Restored rows show in their own layout and mode until an instrument is identified.
    applyDisplayMode();
    refreshCounters();
    return restored;
}

void FirstPageFor510::setHistoryLine(QLabel* line) {
    history_->setLine(line);
}
