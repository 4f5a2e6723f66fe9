#include "simulatorwindow.h"
#include "ui_simulatorwindow.h"

#include "virtualinstrument.h"

#include <QEvent>
#include <QRandomGenerator>

#include <algorithm>

namespace {

double jitter(double value, double spread, double low, double high) {
    const double offset = (QRandomGenerator::global()->generateDouble() * 2.0 - 1.0) * spread;
    return std::clamp(value + offset, low, high);
}

} // namespace

SimulatorWindow::SimulatorWindow(std::shared_ptr<sim::VirtualInstrument> instrument,
                                 QWidget* parent)
    : QWidget(parent, Qt::Tool), ui(new Ui::SimulatorWindow), instrument_(std::move(instrument)) {
    ui->setupUi(this);
    const sim::Measurement m = instrument_->measurement();
    haze_ = m.haze / 100.0;
    transmittance_ = m.transmittance / 100.0;
    lStar_ = m.lStar / 100.0;
    aStar_ = m.aStar / 100.0;
    bStar_ = m.bStar / 100.0;
    relabel();
}

SimulatorWindow::~SimulatorWindow() {
    delete ui;
}

void SimulatorWindow::on_pushButton_measure_clicked() {
    // Hand-held measurements of one sample scatter a little from one to the next.
    const sim::Measurement m =
        sim::measurementFromLab(jitter(haze_, 0.3, 0, 100), jitter(transmittance_, 0.3, 0, 100),
                                jitter(lStar_, 0.5, 0, 100), jitter(aStar_, 0.4, -128, 127),
                                jitter(bStar_, 0.4, -128, 127));
    instrument_->setMeasurement(m);
    instrument_->pushMeasurement();
}

void SimulatorWindow::on_pushButton_plug_clicked() {
    if (instrument_->isPlugged())
        instrument_->unplug();
    else
        instrument_->plug();
    relabel();
}

void SimulatorWindow::on_pushButton_fillRecords_clicked() {
    instrument_->fillRecords(ui->spinBox_records->value());
    ui->label_state->setText(tr("%n record(s) in memory", nullptr, ui->spinBox_records->value()));
}

void SimulatorWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        relabel();
    }
    QWidget::changeEvent(event);
}

void SimulatorWindow::relabel() {
    const bool plugged = instrument_->isPlugged();
    ui->label_identity->setText(
        tr("%1, serial number %2").arg(instrument_->modelName()).arg(instrument_->serialNumber()));
    ui->label_state->setText(plugged ? tr("Plugged in") : tr("Unplugged"));
    ui->pushButton_plug->setText(plugged ? tr("Unplug") : tr("Plug in"));
    ui->pushButton_measure->setEnabled(plugged);
}
