#include "meterpagefor510.h"

#include "ui_meterpagefor510.h"

#include "chartexport.h"
#include "chartplan.h"
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
#include <QDir>
#include <QGuiApplication>
#include <QHeaderView>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QSplitter>
#include <QStyle>
#include <QTableView>
#include <QTableWidgetItem>
#include <QToolTip>
#include <QUuid>

#include <algorithm>

namespace {

constexpr int kColumns = 35;
constexpr int kFrozenColumns = 2; // number and name
const char* const kSplitterKey = "spectral/splitter";

QTableWidgetItem* centredItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    return item;
}

// Every value is a percentage in hundredths as the instrument sends it: two decimals show it
// whole, and the same two for every value keep the columns aligned.
QString shownValue(double value) {
    return QString::number(value, 'f', 2);
}

constexpr int kLegendGap = 8; // between the chart and its legend

} // namespace

MeterPageFor510::MeterPageFor510(MyThread* worker, FramePort* port, int uiIndex, QWidget* parent)
    : QDialog(parent), ui(new Ui::MeterPageFor510),
      pauseLock_(worker ? worker->sharedPauseLock() : nullptr), port_(port), uiIndex_(uiIndex),
      prompter_(Prompter::standard()), clock_([] { return QDateTime::currentDateTime(); }) {
    ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    // The chart is painted by the dialog itself, under this placeholder, which only watches the
    // mouse for the curve under it.
    ui->widget_chart->setAttribute(Qt::WA_TranslucentBackground);
    ui->widget_chart->setMouseTracking(true);
    ui->widget_chart->installEventFilter(this);
    ui->widget_chart->setMinimumHeight(200);
    // Its picture is the part of the dialog under the placeholder, as the user sees it.
    chartExport_ = new ChartExport(ui->widget_chart, QStringLiteral("spectra"), [this] {
        return grab(QRect(ui->widget_chart->mapTo(this, QPoint(0, 0)), ui->widget_chart->size()))
            .toImage();
    });

    // The list above, the chart below (the larger part), the boundary where the user left it.
    splitter_ = new QSplitter(Qt::Vertical, this);
    splitter_->setObjectName(QStringLiteral("splitter_meterPage"));
    ui->gridLayout_meterPage->removeWidget(ui->tableWidget_data);
    ui->gridLayout_meterPage->removeWidget(ui->widget_chart);
    splitter_->addWidget(ui->tableWidget_data);
    splitter_->addWidget(ui->widget_chart);
    splitter_->setChildrenCollapsible(false);
    splitter_->setStretchFactor(0, 2);
    splitter_->setStretchFactor(1, 3);
    ui->gridLayout_meterPage->addWidget(splitter_, 1, 0, 1, 5);
    ui->gridLayout_meterPage->setRowStretch(1, 1);
    const QByteArray saved = QSettings().value(QLatin1String(kSplitterKey)).toByteArray();
    if (saved.isEmpty() || !splitter_->restoreState(saved))
        splitter_->setSizes({2000, 3000});
    fitToScreen();

    QTableWidget* table = ui->tableWidget_data;
    table->setColumnCount(kColumns);
    table->verticalHeader()->hide();
    table->setFont(QFont(QStringLiteral("Microsoft Yahei"), 10));
    table->horizontalHeader()->setFont(table->font());
    table->installEventFilter(this);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the table; the arrows move inside it.
    table->setTabKeyNavigation(false);
    table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setColumnWidth(0, 35);
    table->setColumnWidth(1, 100);
    // Wide enough for the bold "700nm" caption and a value with two decimals.
    for (int c = 2; c <= 32; ++c)
        table->setColumnWidth(c, 60);
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
    // Room for the all-curves box and its caption in either language.
    table->setColumnWidth(kCurveColumn, std::max(60, allCurves_->sizeHint().width() + 8));
    connect(table, &QTableWidget::cellDoubleClicked, this,
            &MeterPageFor510::slot_cellDoubleClicked);
    connect(table, &QTableWidget::itemSelectionChanged, this, [this] {
        showHighlightInLegend();
        update();
    });
    // A renamed record is renamed in the legend too.
    connect(table, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        // Rows being added are not yet records: only an edit of a listed name is a rename.
        if (item->column() != 1 || item->row() < 1 || item->row() > records_.size())
            return;
        if (renamer_)
            renamer_(records_.at(item->row() - 1).id, item->text());
        for (int i = 0; i < legend_->count(); ++i)
            if (legend_->item(i)->data(Qt::UserRole).toInt() == item->row() - 1)
                legend_->item(i)->setText(item->text());
        update();
    });

    legend_ = new QListWidget(ui->widget_chart);
    legend_->setObjectName(QStringLiteral("listWidget_legend"));
    legend_->setAccessibleName(tr("Curves"));
    legend_->setSelectionMode(QAbstractItemView::SingleSelection);
    legend_->setTextElideMode(Qt::ElideRight);
    legend_->setIconSize(QSize(24, 12));
    legend_->setUniformItemSizes(true); // thousands of entries after an import
    legend_->hide();
    connect(legend_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item && !syncingLegend_)
            highlightRecord(item->data(Qt::UserRole).toInt());
    });
    setTabOrder(table, legend_);
    freezeNameColumns();
    connect(table->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int size) {
                if (column < kFrozenColumns) {
                    frozen_->setColumnWidth(column, size);
                    placeFrozenColumns();
                }
                placeAllCurvesBox();
            });
    connect(table->horizontalHeader(), &QHeaderView::geometriesChanged, this,
            &MeterPageFor510::placeAllCurvesBox);
    connect(table->horizontalScrollBar(), &QScrollBar::valueChanged, this,
            &MeterPageFor510::placeAllCurvesBox);
}

void MeterPageFor510::fitToScreen() {
    QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // The window manager's frame goes around the dialog: measured on the shown window that
    // opens the page, or the style's title bar where there is none to measure.
    QMargins frame;
    if (owner && owner->isVisible()) {
        const QRect outer = owner->frameGeometry(), inner = owner->geometry();
        frame = QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    }
    if (frame.isNull())
        frame.setTop(style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this));
    setGeometry(screen->availableGeometry().marginsRemoved(frame));
}

void MeterPageFor510::freezeNameColumns() {
    // A second view of the same rows over the table's left edge, the way a spreadsheet freezes
    // panes: it scrolls up and down with the table, never sideways.
    QTableWidget* table = ui->tableWidget_data;
    frozen_ = new QTableView(table);
    frozen_->setObjectName(QStringLiteral("tableView_frozenNames"));
    frozen_->setModel(table->model());
    frozen_->setSelectionModel(table->selectionModel());
    frozen_->setSelectionBehavior(QAbstractItemView::SelectRows);
    frozen_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    frozen_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    frozen_->setFocusPolicy(Qt::NoFocus);
    frozen_->setFont(table->font());
    frozen_->horizontalHeader()->setFont(table->font());
    frozen_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    frozen_->verticalHeader()->hide();
    frozen_->verticalHeader()->setDefaultSectionSize(table->verticalHeader()->defaultSectionSize());
    frozen_->setFrameShape(QFrame::NoFrame);
    frozen_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setVerticalScrollMode(table->verticalScrollMode());
    for (int c = 0; c < kColumns; ++c) {
        if (c < kFrozenColumns)
            frozen_->setColumnWidth(c, table->columnWidth(c));
        else
            frozen_->setColumnHidden(c, true);
    }
    frozen_->setRowHidden(0, true);
    connect(frozen_->verticalScrollBar(), &QScrollBar::valueChanged, table->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(table->verticalScrollBar(), &QScrollBar::valueChanged, frozen_->verticalScrollBar(),
            &QScrollBar::setValue);
    // Its range follows rows added in bulk later than the table's: catch up then.
    connect(frozen_->verticalScrollBar(), &QScrollBar::rangeChanged, this, [this] {
        frozen_->verticalScrollBar()->setValue(ui->tableWidget_data->verticalScrollBar()->value());
    });
    connect(frozen_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.column() == 1 && index.row() >= 1)
            frozen_->edit(index);
    });
    placeFrozenColumns();
    frozen_->show();
}

void MeterPageFor510::placeFrozenColumns() {
    QTableWidget* table = ui->tableWidget_data;
    const int width = table->columnWidth(0) + table->columnWidth(1);
    const int header = table->horizontalHeader()->height();
    frozen_->horizontalHeader()->setFixedHeight(header);
    frozen_->setGeometry(table->frameWidth(), table->frameWidth(), width,
                         table->viewport()->height() + header);
}

void MeterPageFor510::placeAllCurvesBox() {
    if (!allCurves_)
        return;
    QHeaderView* header = ui->tableWidget_data->horizontalHeader();
    allCurves_->setGeometry(header->sectionViewportPosition(kCurveColumn) + 4, 0,
                            header->sectionSize(kCurveColumn) - 4, header->height());
}

QRectF MeterPageFor510::chartArea() const {
    QRect area(ui->widget_chart->mapTo(this, QPoint(0, 0)), ui->widget_chart->size());
    // The legend takes the right-hand side; the chart keeps the rest.
    if (legend_ && !legend_->isHidden())
        area.setRight(area.left() + legend_->x() - kLegendGap - 1);
    return QRectF(area);
}

void MeterPageFor510::placeLegend() {
    const QWidget* chart = ui->widget_chart;
    const int width = std::min(std::max(160, legend_->fontMetrics().averageCharWidth() * 20 + 40),
                               chart->width() / 4);
    const int margin = chart->height() / 10;
    legend_->setGeometry(chart->width() - width, margin, width,
                         std::max(0, chart->height() - 2 * margin));
}

void MeterPageFor510::appendLegendItem(int index) {
    const SpectralRecord& record = records_.at(index);
    if (!record.showCurve)
        return;
    QPixmap swatch(legend_->iconSize());
    swatch.fill(chart::curveColour(index));
    auto* item = new QListWidgetItem(QIcon(swatch), recordName(index));
    item->setData(Qt::UserRole, index);
    item->setToolTip(recordName(index));
    legend_->addItem(item);
    if (legend_->isHidden()) {
        placeLegend();
        legend_->show();
    }
}

void MeterPageFor510::rebuildLegend() {
    {
        const QSignalBlocker quiet(legend_);
        legend_->clear();
    }
    for (int i = 0; i < records_.size(); ++i)
        appendLegendItem(i);
    if (legend_->count() == 0)
        legend_->hide();
    showHighlightInLegend();
}

void MeterPageFor510::showHighlightInLegend() {
    const int highlighted = highlightedRecord();
    QListWidgetItem* shown = nullptr;
    for (int i = 0; i < legend_->count() && !shown && highlighted >= 0; ++i)
        if (legend_->item(i)->data(Qt::UserRole).toInt() == highlighted)
            shown = legend_->item(i);
    // No current entry when nothing is highlighted: a click on any entry then highlights it.
    syncingLegend_ = true;
    legend_->setCurrentItem(shown);
    if (shown)
        legend_->scrollToItem(shown);
    else
        legend_->clearSelection();
    syncingLegend_ = false;
}

void MeterPageFor510::highlightRecord(int index) {
    QTableWidget* table = ui->tableWidget_data;
    if (index < 0 || index >= records_.size() || index + 1 >= table->rowCount())
        return;
    table->selectRow(index + 1);
    table->scrollToItem(table->item(index + 1, 0));
}

int MeterPageFor510::highlightedRecord() const {
    const QTableWidget* table = ui->tableWidget_data;
    const int row = table->currentRow();
    if (row < 1 || row > records_.size() || !table->selectionModel()->isRowSelected(row, {}))
        return -1;
    return row - 1;
}

QString MeterPageFor510::recordName(int index) const {
    const QTableWidgetItem* item = ui->tableWidget_data->item(index + 1, 1);
    return item ? item->text() : QString();
}

void MeterPageFor510::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    placeFrozenColumns();
    placeAllCurvesBox();
}

void MeterPageFor510::done(int result) {
    QSettings().setValue(QLatin1String(kSplitterKey), splitter_->saveState());
    QDialog::done(result);
}

bool MeterPageFor510::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->tableWidget_data && event->type() == QEvent::Resize) {
        placeFrozenColumns();
        placeAllCurvesBox();
    } else if (watched == ui->widget_chart && event->type() == QEvent::Resize) {
        placeLegend();
    } else if (watched == ui->widget_chart &&
               (event->type() == QEvent::MouseMove || event->type() == QEvent::MouseButtonPress)) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPointF at = QPointF(ui->widget_chart->mapTo(this, QPoint(0, 0))) + mouse->position();
        const int index = chart::curveAt(chart::plan(chartArea(), records_, uiIndex_), at);
        if (event->type() == QEvent::MouseMove) {
            if (index >= 0)
                QToolTip::showText(mouse->globalPosition().toPoint(), recordName(index),
                                   ui->widget_chart);
            else
                QToolTip::hideText();
        } else if (index >= 0) {
            highlightRecord(index);
        }
    }
    return QDialog::eventFilter(watched, event);
}

MeterPageFor510::~MeterPageFor510() {
    // The children outlive this part of the page: nothing of theirs may call back into it.
    QTableWidget* table = ui->tableWidget_data;
    table->removeEventFilter(this);
    ui->widget_chart->removeEventFilter(this);
    table->disconnect(this);
    legend_->disconnect(this);
    table->horizontalHeader()->disconnect(this);
    table->horizontalScrollBar()->disconnect(this);
    frozen_->verticalScrollBar()->disconnect(this);
    delete ui;
}

void MeterPageFor510::setPrompter(Prompter* prompter) {
    prompter_ = prompter ? prompter : Prompter::standard();
    chartExport_->setPrompter(prompter_);
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
    // The caption row stays in the table for the export, but the user sees its texts in the
    // header, which does not scroll away.
    table->setRowHidden(0, true);
    QStringList header = captions;
    header << QString() << tr("Operation");
    table->setHorizontalHeaderLabels(header);
    table->setItem(0, kDeleteColumn, centredItem(tr("Operation")));
    allCurves_ = new QCheckBox(tr("Curve"), table->horizontalHeader()->viewport());
    allCurves_->setObjectName(QStringLiteral("checkBox_allCurves"));
    allCurves_->setChecked(true);
    connect(allCurves_, &QCheckBox::clicked, this, &MeterPageFor510::slot_updateChart);
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
    QStringList texts{QString::number(r), shown};
    for (double v : record.values)
        texts.append(shownValue(v));
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
    if (cellWidget && cellWidget == allCurves_)
        return 0;
    const QTableWidget* table = ui->tableWidget_data;
    for (int r = 0; r < table->rowCount(); ++r)
        if (table->cellWidget(r, kCurveColumn) == cellWidget)
            return r;
    return -1;
}

QCheckBox* MeterPageFor510::curveBox(int row) const {
    if (row == 0)
        return allCurves_;
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
    rebuildLegend();
    update();
}

void MeterPageFor510::slot_updateTable(int row) {
    if (row >= 1 && row <= records_.size()) {
        if (remover_)
            remover_(records_.at(row - 1).id);
        records_.remove(row - 1);
        ui->tableWidget_data->removeRow(row);
        // Later curves take the colours of their new places.
        rebuildLegend();
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
    record.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    for (int k = 0; k < SpectralRecord::kPoints; ++k)
        record.values[size_t(k)] = raw[size_t(k)] / 100.0;
    const QString name = QStringLiteral("spec%1").arg(nameCounter_++);
    if (recorder_)
        recorder_({record}, {name});
    addRecordRow(record, name);
    records_.append(record);
    appendLegendItem(int(records_.size()) - 1);
    setActionButtonsEnabled(true);
}

void MeterPageFor510::on_pushButton_spectralHistory_clicked() {
    if (!port_ || !port_->isLinkOpen()) {
        information(tr("Error"), tr("Please connect the device first!"));
        return;
    }
    setActionButtonsEnabled(false);
    if (ui->tableWidget_data->rowCount() >= 2) {
        // The import replaces the list, whatever the answer: the question is only whether to
        // save it first, or not to import.
        const auto answer = prompter_->question(
            this, tr("Import spectra"),
            tr("The imported spectra replace the list. Save the list to a workbook first?\n"
               "Yes: save, then import. No: import without saving. Cancel: keep the list and "
               "import nothing."),
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (answer != QMessageBox::Yes && answer != QMessageBox::No) {
            setActionButtonsEnabled(true);
            return;
        }
        // A save cancelled part way leaves rows that are nowhere else: they stay.
        QString path;
        bool whole = false;
        if (answer == QMessageBox::Yes) {
            if (!exportList(&path, &whole)) {
                setActionButtonsEnabled(true);
                return;
            }
            reportStored(path);
            if (!whole) {
                setActionButtonsEnabled(true);
                return;
            }
        }
        clearList();
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
    QVector<SpectralRecord> imported;
    QStringList importedNames;
    for (const records::Spectrum& s : records::decodeSpectra(values, names, count)) {
        SpectralRecord record;
        record.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
        record.values = s.values;
        imported.append(record);
        importedNames.append(decodeInstrumentText(s.name));
    }
    if (recorder_)
        recorder_(imported, importedNames);
    for (int i = 0; i < imported.size(); ++i) {
        addRecordRow(imported.at(i), importedNames.at(i));
        records_.append(imported.at(i));
    }
    rebuildLegend();
    bulk_ = false;
    ui->tableWidget_data->setUpdatesEnabled(true);
    ui->tableWidget_data->scrollToBottom();
    update();
    locker.unlock();
    setActionButtonsEnabled(true);
    progress->close();
}

bool MeterPageFor510::on_pushButton_exportExcel_clicked() {
    QString path;
    if (!exportList(&path))
        return false;
    on_pushButton_clearData_clicked();
    reportStored(path);
    return true;
}

void MeterPageFor510::reportStored(const QString& path) {
    information(tr("Storing data"), tr("Data stored to file Success") + QLatin1String("\n") +
                                        QDir::toNativeSeparators(path));
}

bool MeterPageFor510::exportList(QString* stored, bool* whole) {
    if (whole)
        *whole = false;
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
    // Straight from the spectra to the file, numbers and names as the list shows them (names
    // may have been edited there); the previous file stays unless the new one is complete.
    QList<spectralsheet::Row> rows;
    for (int r = 1; r < table->rowCount() && r <= records_.size(); ++r)
        rows.append({table->item(r, 0) ? table->item(r, 0)->text().toInt() : r,
                     table->item(r, 1) ? table->item(r, 1)->text() : QString(),
                     records_.at(r - 1)});
    const int total = table->rowCount();
    auto progress =
        showTransferProgress(this, total + 1, tr("Storing data,please wait..."), tr("cancel"));
    const spectralsheet::Outcome outcome = spectralsheet::write(path, rows, [&progress](int done) {
        progress->setValue(done);
        // Cancelling keeps the rows written so far; they are saved like a complete export.
        return !progress->wasCanceled();
    });
    progress->hide();
    if (!outcome.opened) {
        information(tr("Error"), tr("Failed to store data, can't open file!"));
        setActionButtonsEnabled(true);
        return false;
    }
    if (!outcome.written) {
        // The system's reason ("No space left on device") tells the user what to change.
        information(
            tr("Error"),
            (outcome.inUse ? tr("Can't overwrite this file, maybe the file is in use!")
                           : tr("Failed to export data to excel file")) +
                (outcome.reason.isEmpty() ? QString() : QLatin1Char('\n') + outcome.reason));
        setActionButtonsEnabled(true);
        return false;
    }
    if (whole)
        *whole = !progress->wasCanceled();
    *stored = path;
    setActionButtonsEnabled(true);
    return true;
}

void MeterPageFor510::on_pushButton_clearData_clicked() {
    setActionButtonsEnabled(false);
    const auto answer = prompter_->question(
        this, tr("Tip"),
        tr("Clearing data will clear all spectral records. Are you sure you want to clear it?"),
        QMessageBox::Yes | QMessageBox::No);
    if (answer == QMessageBox::Yes)
        clearList();
    setActionButtonsEnabled(true);
}

void MeterPageFor510::clearList() {
    QTableWidget* table = ui->tableWidget_data;
    while (table->rowCount() > 1)
        table->removeRow(table->rowCount() - 1);
    records_.clear();
    rebuildLegend();
    update();
}

void MeterPageFor510::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter painter(this);
    const int highlighted = highlightedRecord();
    chart::draw(painter, chart::plan(chartArea(), records_, uiIndex_, highlighted,
                                     highlighted >= 0 ? recordName(highlighted) : QString()));
}
