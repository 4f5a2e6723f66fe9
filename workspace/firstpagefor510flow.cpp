// The page's measurement flow, comparison table, list rows and re-judging.
#include "firstpagefor510.h"

#include "ui_firstpagefor510.h"

#include "comparisonrows.h"
#include "judging.h"
#include "prompter.h"
#include "quantities.h"
#include "reportpagefor510.h"
#include "reportpagefor620.h"
#include "rowbuttondelegate.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QLocale>
#include <QTimer>

#include <cmath>

using namespace comparisonrows;

namespace {

const QString kPlaceholder = QStringLiteral("-----");
const QString kGreySwatch = QStringLiteral("background-color: rgb(180, 180, 180);");
const QString kBlueButton =
    QStringLiteral("color: rgb(0, 0, 255); background-color: rgb(255, 255, 255);");
const QString kBlackButton =
    QStringLiteral("color: rgb(0, 0, 0);background-color: rgb(255, 255, 255);");
const QString kBlueEdit = QStringLiteral("color: rgb(0, 0, 255);");
const QString kBlackEdit = QStringLiteral("color: rgb(0, 0, 0);");
// Before the first comparison and after clearing the bar says nothing: no green that reads as PASS.
const QString kNeutralResult = QStringLiteral("QLabel{background-color: rgb(220, 220, 220);}");
constexpr int kValueRows = ComparisonRecord::kValueCount;
constexpr int kDeltaERow = 12;
constexpr int kOldValueRows = ComparisonRecord::kOldValueCount;
constexpr int kOldDeltaERow = 6;

const colour::DeviationAxis kAxes[] = {colour::DeviationAxis::Lightness,
                                       colour::DeviationAxis::RedGreen,
                                       colour::DeviationAxis::YellowBlue};

QString colorimeterText(const char* source) {
    return QCoreApplication::translate(colour::kFormulaContext, source);
}

} // namespace

// ---- Measurement flow -------------------------------------------------------------------

void FirstPageFor510::prepareTarget(int target) {
    const bool old = session_->oldLayout();
    QTableWidget* table = old ? ui->tbColorDiff : ui->tableWidget_colorDiff;
    const int column = target == 1 ? 1 : 2;
    const int other = target == 1 ? 2 : 1;
    table->item(0, column)->setForeground(Qt::blue);
    table->item(0, other)->setForeground(Qt::black);
    const int rows = old ? kOldValueRows : kValueRows;
    for (int row = 1; row <= rows; ++row) {
        if (!old && column == 1) {
            auto* edit = static_cast<QLineEdit*>(table->cellWidget(row, 1));
            edit->setText(kPlaceholder);
            edit->setStyleSheet(kBlueEdit);
            table->item(row, 2)->setForeground(Qt::black);
        } else {
            table->item(row, column)->setText(kPlaceholder);
            table->item(row, column)->setForeground(Qt::blue);
            if (!old && other == 1)
                static_cast<QLineEdit*>(table->cellWidget(row, 1))->setStyleSheet(kBlackEdit);
            else
                table->item(row, other)->setForeground(Qt::black);
        }
    }
    QPushButton* standard = old ? ui->stdmeasurementBtn : ui->pushButton_standardMeasurement;
    QPushButton* sample = old ? ui->samplemeasurementBtn : ui->pushButton_sampleMeasurement;
    (target == 1 ? standard : sample)->setStyleSheet(kBlueButton);
    (target == 1 ? sample : standard)->setStyleSheet(kBlackButton);
    session_->setNextTarget(target);
    // The reset is shown before the exchange blocks this thread.
    table->repaint();
}

void FirstPageFor510::measureButtonPressed(int target, bool oldLayoutButton) {
    if (!linkOpenOrComplain())
        return;
    prepareTarget(target);
    const bool standard = target == 1;
    if (oldLayoutButton || session_->profile().pull != InstrumentProfile::Pull::ColourBlock)
        standard ? readstdmeasurement() : readsamplemeasurement();
    else
        standard ? standardValueMeasurement() : sampleValueMeasurement();
}

void FirstPageFor510::on_pushButton_standardMeasurement_clicked() {
    measureButtonPressed(1, false);
}
void FirstPageFor510::on_pushButton_sampleMeasurement_clicked() {
    measureButtonPressed(2, false);
}
void FirstPageFor510::on_stdmeasurementBtn_clicked() {
    measureButtonPressed(1, true);
}
void FirstPageFor510::on_samplemeasurementBtn_clicked() {
    measureButtonPressed(2, true);
}
void FirstPageFor510::standardValueMeasurement() {
    pull(1, InstrumentProfile::Pull::ColourBlock);
}
void FirstPageFor510::sampleValueMeasurement() {
    pull(2, InstrumentProfile::Pull::ColourBlock);
}

void FirstPageFor510::readstdmeasurement() {
    if (session_->oldLayout())
        readstdmeasurement_old();
    else
        pull(1, InstrumentProfile::Pull::ModeResult);
}

void FirstPageFor510::readsamplemeasurement() {
    if (session_->oldLayout())
        readsamplemeasurement_old();
    else
        pull(2, InstrumentProfile::Pull::ModeResult);
}

void FirstPageFor510::readstdmeasurement_old() {
    pull(1, InstrumentProfile::Pull::Legacy);
}
void FirstPageFor510::readsamplemeasurement_old() {
    pull(2, InstrumentProfile::Pull::Legacy);
}

void FirstPageFor510::pull(int target, InstrumentProfile::Pull command) {
    if (!linkOpenOrComplain())
        return;
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
    cancelSetButton_->hide();
    const std::optional<Reading>& reading =
        target == 1 ? session_->standard() : session_->lastSample();
    if (reading)
        showSide(target, *reading);
    if (target == 1)
        afterStandard();
    else if (compared)
        showComparison(*compared);
}

void FirstPageFor510::setSwatch(int target, const Reading& reading) {
    const bool old = session_->oldLayout();
    QGroupBox* box = target == 1 ? (old ? ui->stdBtnGroubox : ui->groupBox_standardMeasurement)
                                 : (old ? ui->sampBtnGroubox : ui->groupBox_sampleMeasurement);
    box->setStyleSheet(QStringLiteral("background-color: rgb(%1, %2, %3);")
                           .arg(reading.red)
                           .arg(reading.green)
                           .arg(reading.blue));
}

void FirstPageFor510::showSide(int target, const Reading& reading) {
    const bool old = session_->oldLayout();
    QTableWidget* table = old ? ui->tbColorDiff : ui->tableWidget_colorDiff;
    const int column = target == 1 ? 1 : 2;
    const int rows = old ? kOldValueRows : kValueRows;
    for (int row = 1; row <= rows; ++row) {
        const int units = reading.values[size_t(row - 1)];
        // The old table shows h with the two decimals the instrument sends.
        const QString text =
            old ? QString::number(units / 100.0, 'f', 2) : quantities::valueText(row - 1, units);
        if (!old && column == 1)
            static_cast<QLineEdit*>(table->cellWidget(row, 1))->setText(text);
        else
            table->item(row, column)->setText(text);
    }
    setSwatch(target, reading);
}

void FirstPageFor510::blankSide(int target) {
    const bool old = session_->oldLayout();
    QTableWidget* table = old ? ui->tbColorDiff : ui->tableWidget_colorDiff;
    const int column = target == 1 ? 1 : 2;
    const int rows = old ? kOldValueRows : kValueRows;
    for (int row = 1; row <= rows; ++row) {
        if (!old && column == 1)
            static_cast<QLineEdit*>(table->cellWidget(row, 1))->setText(kPlaceholder);
        else
            table->item(row, column)->setText(kPlaceholder);
    }
    table->repaint();
}

// A value typed over the standard, in the interface's locale (the "%" of haze and T may stay);
// empty when it is not a number.
std::optional<int> FirstPageFor510::typedStandardValue(int index, const QString& text) {
    QString typed = text.trimmed();
    if (quantities::isPercent(index) && typed.endsWith(QLatin1Char('%')))
        typed.chop(1);
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = locale.toDouble(typed.trimmed(), &ok);
    if (!ok || !std::isfinite(value) || std::fabs(value) >= 1e6)
        return std::nullopt;
    return quantities::unitsOf(index, value);
}

// A value typed over the standard is the one the next comparisons use. The page's own texts
// (the measured values and the placeholder) change nothing.
void FirstPageFor510::standardEdited(int index, const QString& text) {
    const std::optional<Reading>& standard = session_->standard();
    if (!standard || session_->oldLayout() || text == kPlaceholder ||
        text == quantities::valueText(index, standard->values[size_t(index)]))
        return;
    if (const std::optional<int> units = typedStandardValue(index, text))
        session_->setStandardValue(index, *units);
}

// A text that is not a number is refused when the cell is left: the cell shows the value in use.
void FirstPageFor510::standardEditFinished(int index, QLineEdit* edit) {
    const std::optional<Reading>& standard = session_->standard();
    if (!standard || session_->oldLayout() || edit->text() == kPlaceholder ||
        typedStandardValue(index, edit->text()))
        return;
    const QString inUse = quantities::valueText(index, standard->values[size_t(index)]);
    const QString typed = edit->text();
    edit->setText(inUse);
    prompter_.information(this, tr("Error"),
                          tr("\"%1\" is not a number. The standard keeps %2.").arg(typed, inUse));
}

// A new standard blanks the sample side; the list keeps its comparisons.
void FirstPageFor510::afterStandard() {
    shownComparison_.reset();
    const bool old = session_->oldLayout();
    QTableWidget* table = old ? ui->tbColorDiff : ui->tableWidget_colorDiff;
    const int deltaERow = old ? kOldDeltaERow : kDeltaERow;
    for (int row = 1; row <= deltaERow; ++row) {
        for (int column = 2; column <= 4; ++column) {
            QTableWidgetItem* item = table->item(row, column);
            const bool empty = (row == deltaERow && column != 3) ||
                               (column == 4 && (old ? row > 3 : (row == 7 || row == 8)));
            item->setText(empty ? QString() : kPlaceholder);
            item->setTextAlignment(Qt::AlignCenter);
            item->setForeground(Qt::black);
        }
    }
    table->item(deltaERow, 1)->setText(QString());
    QLabel* result = old ? ui->resultlab : ui->label_result;
    result->clear();
    result->setStyleSheet(kNeutralResult);
    (old ? ui->sampBtnGroubox : ui->groupBox_sampleMeasurement)->setStyleSheet(kGreySwatch);
    (old ? ui->samplemeasurementBtn : ui->pushButton_sampleMeasurement)
        ->setStyleSheet(kBlackButton);
}

void FirstPageFor510::takeReading(int target, const Reading& reading, ComparisonSource source) {
    bool complete = false;
    const std::optional<ComparisonRecord> compared =
        session_->collect(target, reading, source, &complete);
    if (!complete) {
        showCollecting();
        return;
    }
    cancelSetButton_->hide();
    const std::optional<Reading>& taken =
        target == 1 ? session_->standard() : session_->lastSample();
    showSide(target, taken ? *taken : reading);
    if (target == 1)
        afterStandard();
    else if (compared)
        showComparison(*compared);
}

void FirstPageFor510::SaveData(QByteArray data) {
    // The session's scanner keeps a frame cut across deliveries until its rest arrives.
    for (const Reading& reading : session_->feedPushed(data, arrivalClock_.elapsed()))
        pendingPushes_.append({session_->nextTarget(), reading});
    startPendingPushes();
}

void FirstPageFor510::SaveData_old(QByteArray data) {
    SaveData(data);
}

void FirstPageFor510::startPendingPushes() {
    if (blinkTimer_->isActive() || pendingPushes_.isEmpty())
        return;
    blankSide(pendingPushes_.first().target);
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
        blankSide(pendingPushes_.first().target);
        if (blinkDelayMs_ > 0) {
            blinkTimer_->start(blinkDelayMs_);
            return;
        }
    }
}

// ---- The comparison table ----------------------------------------------------------------

void FirstPageFor510::showVerdict(bool pass) {
    QLabel* label = session_->oldLayout() ? ui->resultlab : ui->label_result;
    label->setText(colour::verdictText(pass));
    label->setStyleSheet(colour::verdictLabelStyle(pass));
}

void FirstPageFor510::showComparison(const ComparisonRecord& r) {
    shownComparison_ = r;
    const bool old = r.settings.oldLayout;
    QTableWidget* table = old ? ui->tbColorDiff : ui->tableWidget_colorDiff;
    const int rows = old ? kOldValueRows : kValueRows;
    for (int i = 0; i < rows; ++i) {
        const int difference = r.sample[size_t(i)] - r.standard[size_t(i)];
        const double number = old ? difference / 100.0 : quantities::valueNumber(i, difference);
        QString text = QString::number(number, 'g', 6);
        if (!old && i < 2)
            text += QLatin1Char('%');
        table->item(i + 1, 3)->setText(text);
    }
    const int firstWord = old ? 0 : 2;
    for (int k = 0; k < 3; ++k) {
        const int i = firstWord + k;
        table->item(i + 1, 4)->setText(
            colour::deviationWordHundredths(kAxes[k], r.sample[size_t(i)] - r.standard[size_t(i)]));
    }
    const int deltaERow = old ? kOldDeltaERow : kDeltaERow;
    table->item(deltaERow, 3)->setText(hundredthsText(r.deltaE));
    for (int row = 1; row <= deltaERow; ++row) {
        for (int column = 3; column <= 4; ++column) {
            table->item(row, column)->setTextAlignment(Qt::AlignCenter);
            table->item(row, column)->setForeground(Qt::black);
        }
    }
    showVerdict(r.pass);
}

void FirstPageFor510::rejudgeComparison() {
    const std::optional<ListMeaning> inForce = session_->meaningInForce();
    if (!shownComparison_ || !inForce || !judging::appliesTo(*inForce, *shownComparison_))
        return;
    ComparisonRecord r = *shownComparison_;
    // The values on show, a typed-over standard included.
    if (session_->standard())
        r.standard = session_->standard()->values;
    r.settings = session_->judgingSettings();
    judging::judge(r);
    shownComparison_ = r;
    QTableWidget* table = session_->oldLayout() ? ui->tbColorDiff : ui->tableWidget_colorDiff;
    table->item(session_->oldLayout() ? kOldDeltaERow : kDeltaERow, 3)
        ->setText(hundredthsText(r.deltaE));
    showVerdict(r.pass);
}

void FirstPageFor510::rejudgeList() {
    session_->rejudge();
    // The chart's band follows the settings even while the list is empty.
    refreshAnalysis();
}

void FirstPageFor510::showListClosed(int count) {
    listClosedCount_ = count;
    applyDisplayMode();
    showHistoryLine();
}

// ---- The list ---------------------------------------------------------------------------

void FirstPageFor510::appendComparisonRow(const ComparisonRecord& record) {
    appendComparisonRows({record});
}

void FirstPageFor510::appendComparisonRows(const QList<ComparisonRecord>& records) {
    if (!session_->append(records) || scrollPending_)
        return;
    // One scroll for a burst of rows: scrolling per row costs a layout pass each.
    scrollPending_ = true;
    QTimer::singleShot(0, this, [this] {
        scrollPending_ = false;
        currentListView()->scrollToBottom();
    });
}

void FirstPageFor510::on_DeleteBtn_clicked(int row) {
    session_->removeRow(row);
}

void FirstPageFor510::on_DeleteBtn_clicked_old(int row) {
    session_->removeRow(row);
}

void FirstPageFor510::doubleClickedSlot(int row, int column) {
    const ComparisonListModel& list = session_->listModel(false);
    if (column == ColName && row >= 0 && row < list.totalCount())
        ui->tableWidget_data->edit(list.index(row, column));
}

void FirstPageFor510::doubleClickedSlot_old(int row, int column) {
    const ComparisonListModel& list = session_->listModel(true);
    if (column == ColName && row >= 0 && row < list.totalCount())
        ui->tbData->edit(list.index(row, column));
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

void FirstPageFor510::openReportOf(const ComparisonRecord& record) {
    reportSnapshot_ = report::snapshotOf(record, isChinese_);
    openReport(reportSnapshot_, record.settings.oldLayout);
}

void FirstPageFor510::openReport(const ReportSnapshot& snapshot, bool oldLayout) {
    if (reportOpener_) {
        reportOpener_(snapshot, oldLayout);
        return;
    }
    if (!reportPeople_)
        reportPeople_ = std::make_shared<ReportPeople>();
    ReportPage* page = nullptr;
    if (oldLayout)
        page = new ReportPageFor620(snapshot, reportPeople_, this);
    else
        page = new ReportPageFor510(snapshot.uiIndex, snapshot, reportPeople_, this);
    // Several reports may be open at once; each goes when it is closed.
    page->setAttribute(Qt::WA_DeleteOnClose);
    page->setPrompter(&prompter_);
    page->show();
    page->raise();
    page->activateWindow();
}

// ---- Clearing ---------------------------------------------------------------------------

void FirstPageFor510::on_pushButton_clear_clicked() {
    if (session_->oldLayout()) {
        on_ClearBtn_clicked();
        return;
    }
    if (session_->list().totalCount() > 0 &&
        prompter_.question(this, tr("Tip"),
                           tr("Clearing data will clear all comparison records. Are you sure you "
                              "want to clear it?"),
                           QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    clearResults(false);
    applyDisplayMode();
}

void FirstPageFor510::on_ClearBtn_clicked() {
    clear_old();
}

void FirstPageFor510::clear() {
    clearResults(false);
    clearResults(true);
}

void FirstPageFor510::clear_old() {
    clearResults(true);
}

void FirstPageFor510::clearResults(bool old) {
    if (old) {
        resetComparisonTable_old();
        ui->stdBtnGroubox->setStyleSheet(kGreySwatch);
        ui->sampBtnGroubox->setStyleSheet(kGreySwatch);
        ui->samplemeasurementBtn->setStyleSheet(kBlackButton);
        ui->stdmeasurementBtn->setStyleSheet(kBlueButton);
        ui->resultlab->clear();
        ui->resultlab->setStyleSheet(kNeutralResult);
    } else {
        resetComparisonTable();
        ui->groupBox_standardMeasurement->setStyleSheet(kGreySwatch);
        ui->groupBox_sampleMeasurement->setStyleSheet(kGreySwatch);
        ui->pushButton_sampleMeasurement->setStyleSheet(kBlackButton);
        ui->pushButton_standardMeasurement->setStyleSheet(kBlueButton);
        ui->label_result->clear();
        ui->label_result->setStyleSheet(kNeutralResult);
    }
    shownComparison_.reset();
    if (session_->list().totalCount() > 0) {
        // The history's line spoke of the list now gone.
        restoredRows_ = listClosedCount_ = 0;
        showHistoryLine();
    }
    session_->clearList();
    cancelSetButton_->hide();
    refreshCounters();
    // A measurement waiting to be shown belongs to what was just cleared.
    pendingPushes_.clear();
    blinkTimer_->stop();
}

// ---- Language ---------------------------------------------------------------------------

void FirstPageFor510::retranslate() {
    relabel();
    // retranslateUi put the construction texts back; texts that depend on data are recomputed.
    const int formula = session_->formulaIndex();
    if (formula >= 0 && formula <= 6) {
        const QString label = colour::formulaLabel(formula, session_->oldLayout());
        if (!label.isNull())
            ui->lineEdit_formula->setText(label);
    }
    rewriteShownTexts();
    // The statistics are headed by the export's headings, in the new language.
    refreshAnalysis();
    if (session_->collectedReadings() > 0)
        showCollecting();
}

void FirstPageFor510::rewriteShownTexts() {
    for (QTableWidget* table : {ui->tableWidget_colorDiff, ui->tbColorDiff}) {
        table->item(0, 1)->setText(QCoreApplication::translate("QObject", "Standard"));
        table->item(0, 2)->setText(QCoreApplication::translate("QObject", "Sample"));
        table->item(0, 3)->setText(colorimeterText("△"));
    }
    ui->tableWidget_colorDiff->item(1, 0)->setText(tr("Haze"));
    ui->tableWidget_colorDiff->item(2, 0)->setText(tr("Transmittance"));
    ui->tableWidget_colorDiff->item(kDeltaERow, 0)->setText(colorimeterText("△E"));
    ui->tbColorDiff->item(kOldDeltaERow, 0)->setText(colorimeterText("△E"));
    // Words and verdict from the numbers, in the new language.
    if (shownComparison_)
        showComparison(*shownComparison_);
    for (RowButtonDelegate* buttons : {deleteButtons_, deleteButtonsOld_})
        buttons->setText(tr("Delete"));
    for (RowButtonDelegate* buttons : {reportButtons_, reportButtonsOld_})
        buttons->setText(tr("Report"));
    ui->tableWidget_data->viewport()->update();
    ui->tbData->viewport()->update();
}
