#include "meterpagefor510.h"

#include "ui_meterpagefor510.h"

#include "chartplan.h"
#include "excelengine.h"
#include "frameport.h"
#include "instrumenttext.h"
#include "measurementcommands.h"
#include "mythread.h"
#include "pauselock.h"
#include "prompter.h"
#include "records.h"
#include "rowbuttondelegate.h"
#include "spectralsheet.h"
#include "transferprogress.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QTableWidgetItem>

namespace {

constexpr int kColumns = 35;

QTableWidgetItem* centredItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    return item;
}

} // namespace

MeterPageFor510::MeterPageFor510(MyThread* worker, FramePort* port, int uiIndex, QWidget* parent)
    : QDialog(parent), ui(new Ui::MeterPageFor510),
      pauseLock_(worker ? worker->sharedPauseLock() : nullptr), port_(port), uiIndex_(uiIndex),
      prompter_(Prompter::standard()), clock_([] { return QDateTime::currentDateTime(); }) {
    ui->setupUi(this);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        resize(screen->availableGeometry().size());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    // The chart is painted by the dialog itself, under this placeholder.
    ui->widget_chart->setAttribute(Qt::WA_TranslucentBackground);
    ui->widget_chart->setAttribute(Qt::WA_TransparentForMouseEvents);

    QTableWidget* table = ui->tableWidget_data;
    table->setColumnCount(kColumns);
    table->horizontalHeader()->hide();
    table->verticalHeader()->hide();
    table->setFont(QFont(QStringLiteral("Microsoft Yahei"), 10));
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setColumnWidth(0, 35);
    table->setColumnWidth(1, 100);
    for (int c = 2; c <= 32; ++c)
        table->setColumnWidth(c, 53);
    table->setColumnWidth(kCurveColumn, 60);
    table->setColumnWidth(kDeleteColumn, 100);
    table->horizontalHeader()->setStretchLastSection(true);
    // Thousands of stored spectra can arrive at once: the per-row "Delete" buttons are painted
    // rather than made of one widget each.
    deleteButtons_ = new RowButtonDelegate(tr("Delete"), table);
    deleteButtons_->setFirstButtonRow(1);
    table->setItemDelegateForColumn(kDeleteColumn, deleteButtons_);
    connect(deleteButtons_, &RowButtonDelegate::clicked, this, &MeterPageFor510::slot_updateTable);
    buildCaptionRow();
    connect(table, &QTableWidget::cellDoubleClicked, this,
            &MeterPageFor510::slot_cellDoubleClicked);
}

MeterPageFor510::~MeterPageFor510() {
    delete ui;
}

void MeterPageFor510::setPrompter(Prompter* prompter) {
    prompter_ = prompter ? prompter : Prompter::standard();
}

void MeterPageFor510::setClock(std::function<QDateTime()> clock) {
    if (clock)
        clock_ = std::move(clock);
}

void MeterPageFor510::information(const QString& title, const QString& text) {
    prompter_->information(this, title, text);
}

void MeterPageFor510::buildCaptionRow() {
    QTableWidget* table = ui->tableWidget_data;
    table->setRowCount(1);
    const QStringList captions = spectralsheet::captions();
    for (int c = 0; c < captions.size(); ++c)
        table->setItem(0, c, centredItem(captions.at(c)));
    auto* all = new QCheckBox(tr("Curve"));
    all->setChecked(true);
    connect(all, &QCheckBox::clicked, this, &MeterPageFor510::slot_updateChart);
    table->setCellWidget(0, kCurveColumn, all);
    table->setItem(0, kDeleteColumn, centredItem(tr("Operation")));
}

void MeterPageFor510::setActionButtonsEnabled(bool enabled) {
    for (QPushButton* b : {ui->pushButton_spectralHistory, ui->pushButton_spectralMeasurement,
                           ui->pushButton_clearData, ui->pushButton_exportExcel})
        b->setEnabled(enabled);
}

void MeterPageFor510::addRecordRow(const SpectralRecord& record, const QString& name) {
    QTableWidget* table = ui->tableWidget_data;
    const int r = table->rowCount();
    table->insertRow(r);
    QString shown = name;
    if (shown.isEmpty())
        shown = QStringLiteral("spec%1").arg(nameCounter_++);
    const QStringList texts = spectralsheet::rowTexts(r, shown, record);
    for (int c = 0; c < texts.size(); ++c) {
        QTableWidgetItem* item = centredItem(texts.at(c));
        if (c == 1)
            item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        table->setItem(r, c, item);
    }
    auto* box = new QCheckBox;
    box->setChecked(record.showCurve);
    connect(box, &QCheckBox::clicked, this, &MeterPageFor510::slot_updateChart);
    table->setCellWidget(r, kCurveColumn, box);
    if (!bulk_) {
        update();
        table->scrollToBottom();
    }
}

int MeterPageFor510::rowOf(const QWidget* cellWidget) const {
    const QTableWidget* table = ui->tableWidget_data;
    for (int r = 0; r < table->rowCount(); ++r)
        if (table->cellWidget(r, kCurveColumn) == cellWidget)
            return r;
    return -1;
}

QCheckBox* MeterPageFor510::curveBox(int row) const {
    return qobject_cast<QCheckBox*>(ui->tableWidget_data->cellWidget(row, kCurveColumn));
}

void MeterPageFor510::slot_cellDoubleClicked(int row, int column) {
    if (column == 1 && row >= 1)
        ui->tableWidget_data->editItem(ui->tableWidget_data->item(row, column));
}

void MeterPageFor510::slot_updateChart(bool ticked) {
    const int row = rowOf(qobject_cast<QWidget*>(sender()));
    if (row == 0) {
        for (int i = 0; i < records_.size(); ++i) {
            records_[i].showCurve = ticked;
            if (QCheckBox* box = curveBox(i + 1))
                box->setChecked(ticked);
        }
    } else if (row >= 1 && row <= records_.size()) {
        records_[row - 1].showCurve = ticked;
        // The all-curves box is never ticked again by itself.
        if (!ticked)
            if (QCheckBox* all = curveBox(0))
                all->setChecked(false);
    }
    update();
}

void MeterPageFor510::slot_updateTable(int row) {
    if (row >= 1 && row <= records_.size()) {
        records_.remove(row - 1);
        ui->tableWidget_data->removeRow(row);
    }
    update();
}

void MeterPageFor510::on_pushButton_spectralMeasurement_clicked() {
    if (records_.size() >= kMaxMeasured) {
        information(tr("Error"),
                    tr("Measurement exceeds the maximum quantity, please save the excel file "
                       "before measuring!"));
        return;
    }
    setActionButtonsEnabled(false);
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);

    PauseLocker locker(pauseLock_);
    std::array<int, 31> raw{};
    const CommandStatus status = port_ ? ReadSpectralMeasurement(*port_, raw) : Status::NotSent;
    if (status < 0) {
        information(tr("Error"), tr("Failed to read data information!"));
        locker.unlock();
        setActionButtonsEnabled(true);
        return;
    }
    locker.unlock();
    SpectralRecord record;
    for (int k = 0; k < SpectralRecord::kPoints; ++k)
        record.values[size_t(k)] = raw[size_t(k)] / 100.0;
    addRecordRow(record, QString());
    records_.append(record);
    setActionButtonsEnabled(true);
}

void MeterPageFor510::on_pushButton_spectralHistory_clicked() {
    if (!port_ || !port_->isLinkOpen()) {
        information(tr("Error"), tr("Please connect the device first!"));
        return;
    }
    setActionButtonsEnabled(false);
    if (ui->tableWidget_data->rowCount() >= 2) {
        const auto answer = prompter_->question(
            this, tr("Colorimeter"), tr("Data import willempty the list, to save data first?"),
            QMessageBox::Yes | QMessageBox::No);
        if (answer == QMessageBox::Yes) {
            if (!on_pushButton_exportExcel_clicked()) {
                setActionButtonsEnabled(true);
                return;
            }
        } else {
            on_pushButton_clearData_clicked();
        }
        setActionButtonsEnabled(false);
    }

    PauseLocker locker(pauseLock_);
    int count = 0;
    const CommandStatus counted = ReadSpectralRecordCount(*port_, uiIndex_, count);
    if (counted < 0) {
        locker.unlock();
        information(tr("Error"), counted == Status::BadChecksum
                                     ? tr("Spectral history data error, unable to export!")
                                     : tr("Failed to read the number of spectral records!"));
        setActionButtonsEnabled(true);
        return;
    }
    if (count < 1) {
        locker.unlock();
        information(tr("Info"), tr("No spectral history!"));
        setActionButtonsEnabled(true);
        return;
    }

    const int valueBytes = records::kSpectralRequested * count;
    const int nameBytes = records::kSpectralNameSlot * count;
    const int valueChunks = records::chunkCount(valueBytes);
    auto progress = showTransferProgress(this, valueChunks + records::chunkCount(nameBytes),
                                         tr("Storing data,please wait..."), tr("cancel"));
    QByteArray values, names;
    auto fail = [&](const QString& text) {
        progress->hide();
        locker.unlock();
        information(tr("Error"), text);
        setActionButtonsEnabled(true);
    };
    if (records::readArea(*port_, records::spectralValues(uiIndex_), valueBytes, values,
                          [&progress](int i) { progress->setValue(i); }) < 0) {
        fail(tr("Reading spectral recording data failed!"));
        return;
    }
    if (records::readArea(
            *port_, records::spectralNames(uiIndex_), nameBytes, names,
            [&progress, valueChunks](int i) { progress->setValue(valueChunks + i); }) < 0) {
        fail(tr("Failed to read spectral record name data!"));
        return;
    }
    // Many rows at once: lay the table out and repaint once at the end, not once per row.
    ui->tableWidget_data->setUpdatesEnabled(false);
    bulk_ = true;
    for (const records::Spectrum& s : records::decodeSpectra(values, names, count)) {
        SpectralRecord record;
        record.values = s.values;
        addRecordRow(record, decodeInstrumentText(s.name));
        records_.append(record);
    }
    bulk_ = false;
    ui->tableWidget_data->setUpdatesEnabled(true);
    ui->tableWidget_data->scrollToBottom();
    update();
    locker.unlock();
    setActionButtonsEnabled(true);
    progress->close();
}

bool MeterPageFor510::on_pushButton_exportExcel_clicked() {
    QTableWidget* table = ui->tableWidget_data;
    if (table->rowCount() <= 1) {
        information(tr("error"), tr("No data for Storing to Excel!"));
        return false;
    }
    setActionButtonsEnabled(false);
    const QString path = prompter_->saveFileName(this, tr("Storing data to Excel"),
                                                 spectralsheet::defaultFileName(clock_()),
                                                 tr("excel file (*.xlsx)"));
    if (path.isEmpty()) {
        setActionButtonsEnabled(true);
        return false;
    }
    // The previous file stays until the new one is complete: the engine replaces it on save.
    ExcelEngine engine(path);
    if (!engine.open(1, ExcelEngine::OpenMode::Replace)) {
        information(tr("Error"), tr("Failed to store data, can't open file!"));
        setActionButtonsEnabled(true);
        return false;
    }
    QStringList captionRow;
    QList<QStringList> rows;
    for (int r = 0; r < table->rowCount(); ++r) {
        QStringList texts;
        for (int c = 0; c < spectralsheet::kColumns; ++c)
            texts.append(table->item(r, c) ? table->item(r, c)->text() : QString());
        if (r == 0)
            captionRow = texts;
        else
            rows.append(texts);
    }
    const int total = table->rowCount();
    auto progress =
        showTransferProgress(this, total + 1, tr("Storing data,please wait..."), tr("cancel"));
    const bool written =
        engine.writeTable(spectralsheet::table(captionRow, rows), [&progress](int done) {
            progress->setValue(done);
            return true;
        });
    progress->hide();
    if (!written) {
        const bool inUse = engine.lastError() == ExcelEngine::Error::ReplaceFailed;
        // The system's reason ("No space left on device") tells the user what to change.
        const QString why = engine.errorString();
        engine.close();
        information(tr("Error"), (inUse ? tr("Can't overwrite this file, maybe the file is in use!")
                                        : tr("Failed to export data to excel file")) +
                                     (why.isEmpty() ? QString() : QLatin1Char('\n') + why));
        setActionButtonsEnabled(true);
        return false;
    }
    engine.close();
    on_pushButton_clearData_clicked();
    information(tr("Storing data"), tr("Data stored to file Success"));
    setActionButtonsEnabled(true);
    return true;
}

void MeterPageFor510::on_pushButton_clearData_clicked() {
    setActionButtonsEnabled(false);
    const auto answer = prompter_->question(
        this, tr("Tip"),
        tr("Clearing data will clear all spectral records. Are you sure you want to clear it?"),
        QMessageBox::Yes | QMessageBox::No);
    if (answer == QMessageBox::Yes) {
        QTableWidget* table = ui->tableWidget_data;
        while (table->rowCount() > 1)
            table->removeRow(table->rowCount() - 1);
        records_.clear();
        update();
    }
    setActionButtonsEnabled(true);
}

void MeterPageFor510::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter painter(this);
    chart::draw(painter, chart::plan(QRectF(ui->widget_chart->geometry()), records_, uiIndex_));
}
