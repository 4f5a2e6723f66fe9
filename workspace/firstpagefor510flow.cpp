// The page's measurement flow, pushed measurements, list rows, reports and clearing.
#include "firstpagefor510.h"

#include "ui_firstpagefor510.h"

#include "analysispanel.h"
#include "comparisonlistviews.h"
#include "comparisonpanel.h"
#include "comparisonrows.h"
#include "judging.h"
#include "prompter.h"
#include "quantities.h"
#include "reportpagefor510.h"
#include "reportpagefor620.h"
#include "settingsfields.h"
#include "workspacehistory.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTimer>

namespace {

const char kReadingsKey[] = "workspace/readingsPerMeasurement";

} // namespace

// ---- Measurement flow -------------------------------------------------------------------

// A standard (1) or sample (2) button: check the link, prepare the column, pull with the
// profile's command (the old layout's buttons always pull the old command).
void FirstPageFor510::measureButtonPressed(int target) {
    if (!linkOpenOrComplain())
        return;
    panel_->prepare(target);
    session_->setNextTarget(target);
    pull(target, session_->profile().pull);
}

void FirstPageFor510::on_pushButton_standardMeasurement_clicked() {
    measureButtonPressed(1);
}
void FirstPageFor510::on_pushButton_sampleMeasurement_clicked() {
    measureButtonPressed(2);
}
void FirstPageFor510::on_stdmeasurementBtn_clicked() {
    measureButtonPressed(1);
}
void FirstPageFor510::on_samplemeasurementBtn_clicked() {
    measureButtonPressed(2);
}

void FirstPageFor510::pull(int target, InstrumentProfile::Pull command) {
    std::optional<ComparisonRecord> compared;
    const int before = session_->collectedReadings();
    const SessionResult result = session_->measure(target, command, &compared);
    if (before > 0 && session_->collectedReadings() == 0 && result)
        showCollecting(); // the failed pull discarded the set
    if (!shown(result))
        return;
    if (session_->collectedReadings() > 0) {
        showCollecting();
        return;
    }
    showTaken(target, compared);
}

// A standard or sample taken whole: its column, then a new standard's blank sample side or the
// sample's comparison.
void FirstPageFor510::showTaken(int target, const std::optional<ComparisonRecord>& compared) {
    cancelSetButton_->hide();
    const std::optional<Reading>& reading =
        target == 1 ? session_->standard() : session_->lastSample();
    if (reading)
        panel_->showSide(target, *reading);
    if (target == 1)
        panel_->afterStandard();
    else if (compared)
        panel_->showComparison(*compared);
}

void FirstPageFor510::takeReading(int target, const Reading& reading, ComparisonSource source) {
    bool complete = false;
    const std::optional<ComparisonRecord> compared =
        session_->collect(target, reading, source, &complete);
    if (!complete) {
        showCollecting();
        return;
    }
    showTaken(target, compared);
}

void FirstPageFor510::SaveData(QByteArray data) {
    // The session's scanner keeps a frame cut across deliveries until its rest arrives.
    for (const Reading& reading : session_->feedPushed(data, arrivalClock_.elapsed()))
        pendingPushes_.append({session_->nextTarget(), reading});
    startPendingPushes();
}

void FirstPageFor510::startPendingPushes() {
    if (blinkTimer_->isActive() || pendingPushes_.isEmpty())
        return;
    panel_->blankSide(pendingPushes_.first().target);
    if (blinkDelayMs_ > 0)
        blinkTimer_->start(blinkDelayMs_);
    else
        showNextPush();
}

// The column of a pushed measurement stays blank for a moment so the user sees it change,
// even when the same values arrive again.
void FirstPageFor510::showNextPush() {
    while (!pendingPushes_.isEmpty()) {
        const PendingPush push = pendingPushes_.takeFirst();
        takeReading(push.target, push.reading, ComparisonSource::Pushed);
        if (pendingPushes_.isEmpty())
            return;
        panel_->blankSide(pendingPushes_.first().target);
        if (blinkDelayMs_ > 0) {
            blinkTimer_->start(blinkDelayMs_);
            return;
        }
    }
}

// ---- Re-judging, rows and reports ------------------------------------------------------------

// After a settings change: the list's rows of the instrument in force, then the comparison on
// show (only if it is of that instrument and mode), then the chart's band.
void FirstPageFor510::rejudge() {
    session_->rejudge();
    settingsFields_->recheck();
    const std::optional<ListMeaning> inForce = session_->meaningInForce();
    if (panel_->shown() && inForce && judging::appliesTo(*inForce, *panel_->shown()))
        panel_->rejudge(session_->standard(), session_->judgingSettings());
    analysis_->scheduleRefresh();
}

void FirstPageFor510::on_DeleteBtn_clicked(int row) {
    session_->removeRow(row);
}

void FirstPageFor510::on_DeleteBtn_clicked_old(int row) {
    session_->removeRow(row);
}

void FirstPageFor510::doubleClickedSlot(int row, int column) {
    if (column == comparisonrows::ColName)
        lists_->editName(false, row);
}

void FirstPageFor510::doubleClickedSlot_old(int row, int column) {
    if (column == comparisonrows::ColName)
        lists_->editName(true, row);
}

void FirstPageFor510::on_ReportBtn_clicked(int row) {
    const ComparisonListModel& list = session_->listModel(false);
    if (row >= 0 && row < list.totalCount())
        openReportOf(list.record(row));
}

void FirstPageFor510::on_ReportBtn_clicked_old(int row) {
    const ComparisonListModel& list = session_->listModel(true);
    if (row >= 0 && row < list.totalCount())
        openReportOf(list.record(row));
}

// A report is made from the record alone: its own mode, settings, instrument and verdict.
void FirstPageFor510::openReportOf(const ComparisonRecord& record) {
    reportSnapshot_ = report::snapshotOf(record, isChinese_);
    const bool old = record.settings.oldLayout;
    if (reportOpener_) {
        reportOpener_(reportSnapshot_, old);
        return;
    }
    if (!reportPeople_)
        reportPeople_ = std::make_shared<ReportPeople>();
    ReportPage* page = nullptr;
    if (old)
        page = new ReportPageFor620(reportSnapshot_, reportPeople_, this);
    else
        page = new ReportPageFor510(reportSnapshot_.uiIndex, reportSnapshot_, reportPeople_, this);
    // Several reports may be open at once; each goes when it is closed.
    page->setAttribute(Qt::WA_DeleteOnClose);
    page->setPrompter(&prompter_);
    page->show();
    page->raise();
    page->activateWindow();
}

// ---- Clearing ---------------------------------------------------------------------------

void FirstPageFor510::on_pushButton_clear_clicked() {
    // The old layout clears without asking, as its own page always did.
    if (!session_->oldLayout() && session_->list().totalCount() > 0 &&
        prompter_.question(this, tr("Tip"),
                           tr("Clearing data will clear all comparison records. Are you sure you "
                              "want to clear it?"),
                           QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    clearResults();
}

void FirstPageFor510::clear() {
    clearResults();
}

void FirstPageFor510::clearResults() {
    panel_->reset();
    // The history's line spoke of the list now gone.
    if (session_->list().totalCount() > 0)
        history_->forgetListNotes();
    session_->clearList();
    cancelSetButton_->hide();
    refreshCounters();
    // A measurement waiting to be shown belongs to what was just cleared.
    pendingPushes_.clear();
    blinkTimer_->stop();
    applyDisplayMode();
}

// ---- Averaged readings ---------------------------------------------------------------------

void FirstPageFor510::setReadingsPerMeasurement(int n) {
    n = std::clamp(n, 1, 10);
    const bool wasCollecting = session_->collectedReadings() > 0;
    session_->setReadingsPerMeasurement(n);
    if (ui->spinBox_readingsPerMeasurement->value() != n)
        ui->spinBox_readingsPerMeasurement->setValue(n);
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
