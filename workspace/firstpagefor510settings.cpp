// The page's settings, record import, export and the colour library writer.
#include "firstpagefor510.h"

#include "meterpagefor510.h"
#include "ui_firstpagefor510.h"

#include "analysispanel.h"
#include "comparisonlistviews.h"
#include "listtransfer.h"
#include "settingsfields.h"
#include "workspacehistory.h"

#include "decimalvalidator.h"
#include "frameport.h"
#include "mythread.h"
#include "pauselock.h"
#include "prompter.h"
#include "seteparameterpagefor670.h"

#include <QButtonGroup>
#include <QLineEdit>

#include <cmath>

namespace {

// Values are typed with at most two decimals; a product such as 0.29 * 100 comes out a hair
// below the integer meant, so truncation gets that nudge first.
int toInstrumentUnits(double value, int scale) {
    return static_cast<int>(std::trunc(value * scale + (value >= 0 ? 1e-7 : -1e-7)));
}

// A typed number as its field's validator reads it: in its locale, without group separators.
std::optional<double> typedNumber(const QLineEdit* edit) {
    if (const auto* validator = qobject_cast<const DecimalValidator*>(edit->validator()))
        return validator->number(edit->text());
    return std::nullopt;
}

} // namespace

// ---- Settings ---------------------------------------------------------------------------

int FirstPageFor510::on_pushButton_readTolerance_clicked() {
    if (!linkOpenOrComplain())
        return -1;
    if (!shown(session_->readTolerance()))
        return -1;
    settingsFields_->showInForce();
    // The chart's band shows the tolerances in force.
    analysis_->scheduleRefresh();
    prompter_.information(this, tr("Information"), tr("Read successful!"));
    return 1;
}

void FirstPageFor510::on_pushButton_setTolerance_clicked() {
    if (!linkOpenOrComplain())
        return;
    // An empty or unreadable field is refused like a value out of range: nothing is written.
    const std::optional<double> haze = typedNumber(ui->lineEdit_hazeTolerance);
    const std::optional<double> t = typedNumber(ui->lineEdit_tTolerance);
    const std::optional<double> threshold = typedNumber(ui->lineEdit_eThresholds);
    if (!haze || !(*haze >= 0 && *haze <= 100)) {
        prompter_.information(this, tr("information"), tr("Haze Tolerance must between 0-100!"));
        return;
    }
    if (!t || !(*t >= 0 && *t <= 100)) {
        prompter_.information(this, tr("information"),
                              tr("Transmittance  Tolerance must between 0-100!"));
        return;
    }
    if (!threshold || !(*threshold >= 0.1 && *threshold <= 50)) {
        prompter_.information(this, tr("information"), tr("Thresholds must between 0.1-50!"));
        return;
    }
    if (!shown(session_->setTolerance(toInstrumentUnits(*haze, 100), toInstrumentUnits(*t, 100),
                                      toInstrumentUnits(*threshold, 10))))
        return;
    rejudge();
    prompter_.information(this, tr("Information"), tr("Setup successfully!"));
}

void FirstPageFor510::on_pushButton_setDisplayParameter_clicked() {
    if (!linkOpenOrComplain())
        return;
    if (session_->list().totalCount() > 0 &&
        prompter_.warningQuestion(
            this, tr("Warn"),
            tr("The comparison measurement record list data will be cleared. Do you want to "
               "continue saving the parameter settings?"),
            QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    const int mode = displayGroup_->checkedId();
    if (mode < 0)
        return;
    // The list's rows keep their own mode: the session closes them into the history.
    if (!shown(session_->setDisplayMode(mode)))
        return;
    on_pushButton_clear_clicked();
    applyDisplayMode();
}

int FirstPageFor510::on_pushButton_readParameter_clicked() {
    if (!linkOpenOrComplain())
        return -1;
    if (!shown(session_->readParameter()))
        return -1;
    settingsFields_->showInForce();
    analysis_->scheduleRefresh();
    return 1;
}

void FirstPageFor510::on_pushButton_setParameter_clicked() {
    if (!linkOpenOrComplain())
        return;
    if (!session_->profile().formulaShown) {
        // Single precision, as the instrument's own dialog converts it: 4.1 must become 41.
        const std::optional<double> typed = typedNumber(ui->lineEdit_thresholds);
        const float threshold = typed ? float(*typed) : 0.0f;
        if (!typed || !(threshold >= 0.1f && threshold <= 50.0f)) {
            // These messages are fixed per language rather than taken from the translation files.
            if (isChinese_)
                prompter_.information(this, QStringLiteral("提示"),
                                      QStringLiteral("阀值必须介于0.1-50之间！"));
            else
                prompter_.information(this, QStringLiteral("information"),
                                      QStringLiteral("Thresholds must between 0.1—50!"));
            return;
        }
        if (session_->setThresholdOnly(static_cast<int>(threshold * 10.0f))) {
            if (isChinese_)
                prompter_.information(this, QStringLiteral("错误"),
                                      QStringLiteral("写入△E参数信息失败！"));
            else
                prompter_.information(this, QStringLiteral("Error"),
                                      QStringLiteral("Failed to write △E parameter information!"));
            return;
        }
    } else {
        PauseLocker locker(pauseLock());
        setEParameterPageFor670 dialog(session_->identity().firmwareVersion, session_->modelName(),
                                       &port_, isChinese_, this);
        dialog.setPrompter(&prompter_);
        const int result = dialogRunner_(dialog);
        locker.unlock();
        if (result != QDialog::Accepted)
            return;
    }
    on_pushButton_readParameter_clicked();
    rejudge();
}

void FirstPageFor510::on_pushButton_spectralTransmittance_clicked() {
    MeterPageFor510 page(worker(), &port_, session_->identity().uiIndex, this);
    page.setPrompter(&prompter_);
    history_->attachSpectra(page);
    dialogRunner_(page);
}

// ---- Record import and export ------------------------------------------------------------

// An import over a list asks first: export it, drop it, or do nothing (Cancel, Esc, closing).
bool FirstPageFor510::listMadeWayForImport() {
    if (session_->list().totalCount() == 0)
        return true;
    const QMessageBox::StandardButton answer = prompter_.question(
        this, tr("Colorimeter"), tr("Data import willempty the list, to save data first?"),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::No)
        on_pushButton_clear_clicked();
    else if (answer != QMessageBox::Yes || !on_pushButton_exportExcel_clicked())
        return false;
    // A list the user kept after all is not imported over.
    return session_->list().totalCount() == 0;
}

void FirstPageFor510::on_pushButton_readComparisonRecord_clicked() {
    if (session_->oldLayout()) {
        on_readcolordifrecordBtn_clicked();
        return;
    }
    if (!linkOpenOrComplain() || !listMadeWayForImport())
        return;
    transfer_->importRecords();
    applyDisplayMode();
}

void FirstPageFor510::on_readcolordifrecordBtn_clicked() {
    if (!linkOpenOrComplain() || !listMadeWayForImport())
        return;
    // The verdicts need the formula and threshold the instrument holds now.
    if (on_pushButton_readParameter_clicked() < 0)
        return;
    transfer_->importRecords();
    applyDisplayMode();
}

bool FirstPageFor510::on_pushButton_exportExcel_clicked() {
    const bool old = session_->shownMeaning().oldLayout;
    const QString path = transfer_->exportList();
    if (path.isEmpty())
        return false;
    on_pushButton_clear_clicked();
    transfer_->sayStored(path, old);
    return true;
}

void FirstPageFor510::on_pushButton_writeStandardColor_clicked() {
    if (linkOpenOrComplain())
        transfer_->writeLibrary(pauseLock());
}
