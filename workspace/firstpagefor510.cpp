#include "firstpagefor510.h"

#include "meterpagefor510.h"
#include "transferprogress.h"
#include "ui_firstpagefor510.h"

#include "comparisonrows.h"
#include "comparisonsheet.h"
#include "deviceinfocommands.h"
#include "excelengine.h"
#include "frameport.h"
#include "measurementcommands.h"
#include "mythread.h"
#include "pauselock.h"
#include "prompter.h"
#include "rbtableheaderview.h"
#include "records.h"
#include "reportpagefor510.h"
#include "reportpagefor620.h"
#include "rowbuttondelegate.h"
#include "seteparameterpagefor670.h"
#include "stdcolorlibrary.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QDebug>
#include <QDoubleValidator>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QProgressDialog>
#include <QScreen>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QThread>
#include <QTimer>

#include <cmath>

namespace {

constexpr int kModeCount = 7;
const QString kPlaceholder = QStringLiteral("-----");
const QString kGreySwatch = QStringLiteral("background-color: rgb(180, 180, 180);");
const QString kBlueButton =
    QStringLiteral("color: rgb(0, 0, 255); background-color: rgb(255, 255, 255);");
const QString kBlackButton =
    QStringLiteral("color: rgb(0, 0, 0);background-color: rgb(255, 255, 255);");
const QString kBlueEdit = QStringLiteral("color: rgb(0, 0, 255);");
const QString kBlackEdit = QStringLiteral("color: rgb(0, 0, 0);");
const QString kGreenResult = QStringLiteral("QLabel{background-color: rgb(0, 255, 0);}");
const QString kTimeFormat = QStringLiteral("yyyy/MM/dd  hh:mm");
const QString kRowButtonStyle = QStringLiteral("min-height:12px;padding:0px;");

// The comparison table of the current layout: rows 1..11 carry these quantities, row 12 dE.
constexpr int kValueRows = ComparisonRecord::kValueCount;
constexpr int kDeltaERow = 12;
constexpr int kDecimals[kValueRows] = {2, 2, 2, 2, 2, 2, 2, 1, 2, 4, 4};
constexpr double kScale[kValueRows] = {100, 100, 100, 100, 100, 100, 100, 10, 100, 10000, 10000};
// Old layout: L*, a*, b*, C*, h in rows 1..5 and dE in row 6; h there is in hundredths.
constexpr int kOldValueRows = OldComparisonRecord::kValueCount;
constexpr int kOldDeltaERow = 6;

// Columns of the current list.
enum ListColumn {
    ColNo = 0,
    ColName = 1,
    ColTime = 2,
    ColStandard = 3,
    ColSample = 14,
    ColDeltaHaze = 25,
    ColDeltaT = 26,
    ColDeltaE = 27,
    ColVerdict = 28,
    ColDelete = 29,
    ColReport = 30,
    ColHazeTolerance = 31,
    ColTTolerance = 32,
    ColThreshold = 33,
    ColModel = 34,
    ColSerial = 35,
    ListColumns = 36
};
// Columns of the old list.
enum OldListColumn {
    OldColStandard = 3,
    OldColSample = 8,
    OldColDeltaE = 13,
    OldColVerdict = 14,
    OldColDelete = 15,
    OldColReport = 16,
    OldColFormula = 17,
    OldColThreshold = 18,
    OldColModel = 19,
    OldColSerial = 20,
    OldListColumns = 21
};

// Display modes a user-interface kind can show; anything else read from the instrument is wrong.
bool modeSuitsKind(int mode, int kind) {
    switch (kind) {
    case 0:
        return mode >= 0 && mode <= 6;
    case 1:
        return mode == DisplayLab || mode == DisplayLCh;
    case 2:
        return mode == DisplayLab;
    case 3:
        return mode >= 0 && mode <= 2;
    default:
        return false;
    }
}

QString valueText(int index, double value) {
    QString text = QString::number(value, 'f', kDecimals[index]);
    if (index < 2)
        text += QLatin1Char('%');
    return text;
}

// The texts the page wrote itself; a placeholder reads as 0.
double number(QString text) {
    text.remove(QLatin1Char('%'));
    return text.toDouble();
}

QString colorimeterText(const char* source) {
    return QCoreApplication::translate(colour::kFormulaContext, source);
}

// Values are typed with at most two decimals; a product such as 0.29 * 100 comes out a hair
// below the integer meant, so truncation gets that nudge first.
int toInstrumentUnits(double value, int scale) {
    return static_cast<int>(std::trunc(value * scale + (value >= 0 ? 1e-7 : -1e-7)));
}

QTableWidgetItem* centredItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}

// Centres every cell of a list without storing an alignment in each of its many items.
class CentredDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

  protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->displayAlignment = Qt::AlignCenter;
    }
};

} // namespace

FirstPageFor510::FirstPageFor510(FramePort& port, Prompter& prompter, QWidget* parent)
    : QWidget(parent), port_(port), prompter_(prompter), ui(new Ui::FirstPageFor510),
      clock_([] { return QDateTime::currentDateTime(); }),
      dialogRunner_([](QDialog& dialog) { return dialog.exec(); }) {
    ui->setupUi(this);
    model_ = tr("UnKnow");
    arrivalClock_.start();

    auto* percent = new QDoubleValidator(0, 100, 2, this);
    percent->setNotation(QDoubleValidator::StandardNotation);
    ui->lineEdit_hazeTolerance->setValidator(percent);
    ui->lineEdit_tTolerance->setValidator(percent);
    auto* threshold = new QDoubleValidator(0, 50, 1, this);
    threshold->setNotation(QDoubleValidator::StandardNotation);
    ui->lineEdit_eThresholds->setValidator(threshold);

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

    setUpComparisonTables();
    setUpLists();

    meterList_ = ModelTable::loadDefault();

    ui->stackedWidget_comparisonMeasurement->setCurrentWidget(ui->page_newComparisonMeasurement);
    ui->stackedWidget_data->setCurrentWidget(ui->page_newData);
    ui->stackedWidget->setCurrentWidget(ui->page_tolerance);
    setModeFlags(DisplayHazeT);
    showToleranceRows(true, true, false);
    ui->companyinfoLab->hide();
    ui->companywetLab->hide();
    connect(ui->tableWidget_data, &QTableWidget::cellDoubleClicked, this,
            &FirstPageFor510::doubleClickedSlot);
    connect(ui->tbData, &QTableWidget::cellDoubleClicked, this,
            &FirstPageFor510::doubleClickedSlot_old);
    applyDisplayMode();
}

FirstPageFor510::~FirstPageFor510() {
    closeThreadSlot();
    delete ui;
}

void FirstPageFor510::setUpComparisonTables() {
    for (QTableWidget* table : {ui->tableWidget_colorDiff, ui->tbColorDiff}) {
        const bool old = table == ui->tbColorDiff;
        table->setRowCount(old ? 7 : 13);
        table->setColumnCount(5);
        table->setStyleSheet(QStringLiteral("background:#ffffff;"));
        table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
        table->verticalHeader()->setSectionResizeMode(QHeaderView::Stretch);
        table->horizontalHeader()->hide();
        table->verticalHeader()->hide();
        table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        table->setItem(0, 0, centredItem(QString()));
        table->setItem(0, 1, centredItem(QCoreApplication::translate("QObject", "Standard")));
        table->setItem(0, 2, centredItem(QCoreApplication::translate("QObject", "Sample")));
        table->setItem(0, 3, centredItem(colorimeterText(QT_TRANSLATE_NOOP("Colorimeter", "△"))));
        table->setItem(0, 4, centredItem(QString()));
    }
    const QStringList labels = {
        tr("Haze"),           tr("Transmittance"),
        QStringLiteral("L*"), QStringLiteral("a*"),
        QStringLiteral("b*"), QStringLiteral("L*"),
        QStringLiteral("C*"), QStringLiteral("h"),
        QStringLiteral("Y"),  QStringLiteral("x"),
        QStringLiteral("y"),  colorimeterText(QT_TRANSLATE_NOOP("Colorimeter", "△E"))};
    for (int row = 1; row <= kDeltaERow; ++row)
        ui->tableWidget_colorDiff->setItem(row, 0, centredItem(labels[row - 1]));
    const QStringList oldLabels = {
        QStringLiteral("L*"), QStringLiteral("a*"),
        QStringLiteral("b*"), QStringLiteral("C*"),
        QStringLiteral("h"),  colorimeterText(QT_TRANSLATE_NOOP("Colorimeter", "△E"))};
    for (int row = 1; row <= kOldDeltaERow; ++row)
        ui->tbColorDiff->setItem(row, 0, centredItem(oldLabels[row - 1]));
    resetComparisonTable();
    resetComparisonTable_old();
}

// Every value cell back to its placeholder, as after construction.
void FirstPageFor510::resetComparisonTable() {
    QTableWidget* table = ui->tableWidget_colorDiff;
    for (int row = 1; row <= kDeltaERow; ++row) {
        for (int column = 1; column <= 4; ++column) {
            const bool empty =
                (row == kDeltaERow && column != 3) || (column == 4 && (row == 7 || row == 8));
            table->setItem(row, column, centredItem(empty ? QString() : kPlaceholder));
        }
        if (row == kDeltaERow)
            continue;
        // The standard column is editable: a value typed over is the one the next comparisons use.
        auto* edit = new QLineEdit(kPlaceholder);
        edit->setAlignment(Qt::AlignCenter);
        edit->setFrame(false);
        edit->setStyleSheet(kBlueEdit);
        table->setCellWidget(row, 1, edit);
    }
    table->item(0, 1)->setForeground(Qt::black);
    table->item(0, 2)->setForeground(Qt::black);
}

void FirstPageFor510::resetComparisonTable_old() {
    QTableWidget* table = ui->tbColorDiff;
    for (int row = 1; row <= kOldDeltaERow; ++row) {
        for (int column = 1; column <= 4; ++column) {
            const bool empty = (row == kOldDeltaERow && column != 3) || (column == 4 && row > 3);
            table->setItem(row, column, centredItem(empty ? QString() : kPlaceholder));
        }
    }
    table->item(0, 1)->setForeground(Qt::black);
    table->item(0, 2)->setForeground(Qt::black);
}

void FirstPageFor510::setUpLists() {
    QTableWidget* list = ui->tableWidget_data;
    list->setColumnCount(ListColumns);
    newHeaderView_ = new RbTableHeaderView(Qt::Horizontal, 2, ListColumns, list);
    list->setHorizontalHeader(newHeaderView_);
    QTableWidget* old = ui->tbData;
    old->setColumnCount(OldListColumns);
    oldHeaderView_ = new RbTableHeaderView(Qt::Horizontal, 2, OldListColumns, old);
    old->setHorizontalHeader(oldHeaderView_);

    for (auto [table, header] : {std::pair{list, newHeaderView_}, std::pair{old, oldHeaderView_}}) {
        const int columns = table->columnCount();
        const int sample = header == newHeaderView_ ? int(ColSample) : int(OldColSample);
        const int values = sample - ColStandard;
        for (int column = 0; column < columns; ++column) {
            if (column < ColStandard || column >= sample + values)
                header->setCellSpan(0, column, 2, 1);
            for (int row = 0; row < 2; ++row) {
                header->setCellBackground(row, column, QColor(0x444444));
                header->setCellForeground(row, column, Qt::white);
            }
        }
        header->setCellSpan(0, ColStandard, 1, values);
        header->setCellSpan(0, sample, 1, values);
        header->setHeaderRowHeight(0, 30);
        header->setHeaderRowHeight(1, 30);
        header->setSectionsClickable(true);
        table->verticalHeader()->hide();
        // Rows of one height: the view never measures contents, which keeps big lists quick.
        table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        table->setItemDelegate(new CentredDelegate(table));
    }
    deleteButtons_ = new RowButtonDelegate(tr("Delete"), list);
    reportButtons_ = new RowButtonDelegate(tr("Report"), list);
    list->setItemDelegateForColumn(ColDelete, deleteButtons_);
    list->setItemDelegateForColumn(ColReport, reportButtons_);
    connect(deleteButtons_, &RowButtonDelegate::clicked, this,
            &FirstPageFor510::on_DeleteBtn_clicked);
    connect(reportButtons_, &RowButtonDelegate::clicked, this,
            &FirstPageFor510::on_ReportBtn_clicked);
    deleteButtonsOld_ = new RowButtonDelegate(tr("Delete"), old);
    reportButtonsOld_ = new RowButtonDelegate(tr("Report"), old);
    old->setItemDelegateForColumn(OldColDelete, deleteButtonsOld_);
    old->setItemDelegateForColumn(OldColReport, reportButtonsOld_);
    connect(deleteButtonsOld_, &RowButtonDelegate::clicked, this,
            &FirstPageFor510::on_DeleteBtn_clicked_old);
    connect(reportButtonsOld_, &RowButtonDelegate::clicked, this,
            &FirstPageFor510::on_ReportBtn_clicked_old);

    for (int column = ColHazeTolerance; column < ListColumns; ++column)
        list->setColumnHidden(column, true);
    for (int column = OldColFormula; column < OldListColumns; ++column)
        old->setColumnHidden(column, true);

    // The old list has fixed widths.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double v = (screen ? screen->availableGeometry().width() : 1280) / 19.0;
    for (int column = 0; column <= OldColReport; ++column)
        old->setColumnWidth(column, int(v - 5.6));
    old->setColumnWidth(0, int(v - 32));
    old->setColumnWidth(1, int(2 * v));
    old->setColumnWidth(2, int(2 * v + 15));
    old->setColumnWidth(OldColVerdict, int(v + 20));
    old->setColumnWidth(OldColDelete, int(v + 10));
    old->setColumnWidth(OldColReport, int(v + 15));

    relabelListHeaders();
    // Until the first language switch the transmittance headers carry the long word.
    for (int column : {ColStandard + 1, ColSample + 1})
        newHeaderView_->setCellText(1, column, tr("Transmittance"));
    newHeaderView_->setCellText(
        0, ColDeltaT, colorimeterText(QT_TRANSLATE_NOOP("Colorimeter", "△Transmittance")));
}

void FirstPageFor510::relabelListHeaders() {
    for (RbTableHeaderView* header : {newHeaderView_, oldHeaderView_}) {
        header->setCellText(0, ColNo, tr("NO"));
        header->setCellText(0, ColName, tr("Test Name"));
        header->setCellText(0, ColTime, tr("DateTime"));
        header->setCellText(0, ColStandard, tr("Standard"));
    }
    newHeaderView_->setCellText(0, ColSample, tr("Sample"));
    newHeaderView_->setCellText(0, ColDeltaHaze,
                                colorimeterText(QT_TRANSLATE_NOOP("Colorimeter", "△Haze")));
    newHeaderView_->setCellText(0, ColDeltaT,
                                colorimeterText(QT_TRANSLATE_NOOP("Colorimeter", "△T")));
    newHeaderView_->setCellText(0, ColDeltaE,
                                colorimeterText(QT_TRANSLATE_NOOP("Colorimeter", "△E")));
    newHeaderView_->setCellText(0, ColVerdict, tr("Pass or not"));
    const QStringList names = {tr("Haze"),           tr("T"),
                               QStringLiteral("L*"), QStringLiteral("a*"),
                               QStringLiteral("b*"), QStringLiteral("L*"),
                               QStringLiteral("C*"), QStringLiteral("h"),
                               QStringLiteral("Y"),  QStringLiteral("x"),
                               QStringLiteral("y")};
    for (int i = 0; i < kValueRows; ++i) {
        newHeaderView_->setCellText(1, ColStandard + i, names[i]);
        newHeaderView_->setCellText(1, ColSample + i, names[i]);
    }
    oldHeaderView_->setCellText(0, OldColSample, tr("Sample"));
    oldHeaderView_->setCellText(0, OldColDeltaE,
                                colorimeterText(QT_TRANSLATE_NOOP("Colorimeter", "△E")));
    oldHeaderView_->setCellText(0, OldColVerdict, tr("Pass or not"));
    const QStringList oldNames = {QStringLiteral("L*"), QStringLiteral("a*"), QStringLiteral("b*"),
                                  QStringLiteral("C*"), QStringLiteral("h")};
    for (int i = 0; i < kOldValueRows; ++i) {
        oldHeaderView_->setCellText(1, OldColStandard + i, oldNames[i]);
        oldHeaderView_->setCellText(1, OldColSample + i, oldNames[i]);
    }
    newHeaderView_->viewport()->update();
    oldHeaderView_->viewport()->update();
}

std::shared_ptr<PauseLock> FirstPageFor510::pauseLock() const {
    return worker_ ? worker_->sharedPauseLock() : nullptr;
}

int FirstPageFor510::displayMode() const {
    return modeReported_ ? displayMode_ : -1;
}

bool FirstPageFor510::usesOldLayout() const {
    return models::usesOldLayout(model_, firmwareVersion_);
}

bool FirstPageFor510::usesModeResultCommand() const {
    return models::usesModeResultCommand(model_, firmwareVersion_);
}

void FirstPageFor510::configureScanner() {
    if (usesOldLayout())
        scanner_.configure(PushFrameScanner::Kind::Legacy, 0);
    else if (usesModeResultCommand())
        scanner_.configure(PushFrameScanner::Kind::ModeResult, displayMode_);
    else
        scanner_.configure(PushFrameScanner::Kind::ColourBlock, 0);
}

void FirstPageFor510::openThreadSlot() {
    qDebug() << "openThreadSlot";
    // A worker still running from an earlier connection would poll a link it no longer owns.
    closeThreadSlot();
    workerThread_ = new QThread;
    worker_ = new MyThread(&port_);
    // Chunks still queued when a worker stops belong to the old connection and are dropped.
    const int generation = ++workerGeneration_;
    connect(worker_, &MyThread::senddata, this, [this, generation](const QByteArray& data) {
        if (generation == workerGeneration_)
            SaveData(data);
    });
    worker_->moveToThread(workerThread_);
    connect(workerThread_, &QThread::finished, workerThread_, &QObject::deleteLater);
    connect(workerThread_, &QThread::started, worker_, &MyThread::startThreadSlot);
    workerThread_->start();
    qDebug() << "mainWidget QThread::currentThreadId()==" << QThread::currentThreadId();
}

void FirstPageFor510::closeThreadSlot() {
    if (!workerThread_)
        return;
    qDebug() << "closeThreadSlot";
    // The worker notices the request within one bounded lock attempt, even while a command on
    // this thread holds the pause lock.
    worker_->requestStop();
    workerThread_->quit();
    workerThread_->wait();
    ++workerGeneration_;
    delete worker_; // its thread has ended, so nothing runs in it any more
    worker_ = nullptr;
    // Deleted now rather than by its pending deleteLater, which never runs once the event loop
    // has ended (the page is also stopped from the window's destructor).
    delete workerThread_;
    workerThread_ = nullptr;
    // A frame cut off by the disconnection never gets its rest.
    scanner_.reset();
}

bool FirstPageFor510::linkOpenOrComplain() {
    if (port_.isLinkOpen())
        return true;
    prompter_.information(this, tr("Error"), tr("Please connect the device first!"));
    return false;
}

void FirstPageFor510::fail(PauseLocker& locker, const QString& title, const QString& text) {
    locker.unlock();
    prompter_.information(this, title, text);
}

void FirstPageFor510::onDeviceConnected() {
    initForDevice();
    if (uiIndex_ == 0 || uiIndex_ == 3)
        on_pushButton_readTolerance_clicked();
    else
        on_pushButton_readParameter_clicked();
}

bool FirstPageFor510::initForDevice() {
    if (!port_.isLinkOpen())
        return false;
    PauseLocker locker(pauseLock());

    KeyInfo key;
    CommandStatus status = ReadKeyInfo(port_, key);
    if (status == Status::ErrorReply) {
        // Older firmware has no key-information command; it answers with its error frame.
        if (!succeeded(ReadProductionInfo(port_, key))) {
            fail(locker, tr("Error"), tr("Failed to read device information!"));
            return false;
        }
    } else if (!succeeded(status)) {
        fail(locker, tr("Warn"), tr("Read key infomation fail!"));
        return false;
    }
    ui->lineEdit_serialNo->setText(QString::number(key.serialNumber));
    model_ = tr("UnKnow");
    modelKnown_ = false;

    if (!meterList_.rows().isEmpty()) {
        const std::optional<ModelRow> row = meterList_.find(key.meterNumber);
        if (!row) {
            fail(locker, tr("Error"), tr("Read MeterNo Fail!"));
            return false;
        }
        model_ = row->model;
        modelKnown_ = true;
        uiIndex_ = row->uiIndex;
        ui->stackedWidget->setCurrentWidget(uiIndex_ == 1 || uiIndex_ == 2 ? ui->page_eParameter
                                                                           : ui->page_tolerance);
    }

    int version = 0;
    if (!succeeded(ReadSoftwareVersion(port_, version))) {
        fail(locker, tr("Error"), tr("Failed to read software version number!"));
        return false;
    }
    firmwareVersion_ = version;
    ui->lineEdit_firmwareVersion->setText(QString::number(version / 100.0, 'f', 2));

    configureForKind();

    const bool old = usesOldLayout();
    ui->groupBox_setDisplayParameter->setVisible(!old);
    ui->stackedWidget_comparisonMeasurement->setCurrentWidget(
        old ? ui->page_oldComparisonMeasurement : ui->page_newComparisonMeasurement);
    ui->stackedWidget_data->setCurrentWidget(old ? ui->page_oldData : ui->page_newData);
    placeSettingsStack(old);
    configureScanner();
    if (old)
        return true;

    int mode = -1;
    if (!succeeded(ReadDisplayParam(port_, mode)) || !modeSuitsKind(mode, uiIndex_)) {
        fail(locker, tr("Error"), tr("Failed to read DisplayParam!"));
        return false;
    }
    locker.unlock();

    if (version > 113 && model_ == QLatin1String("KV510"))
        ui->radioButton_hazeTLab->show();
    setModeFlags(mode);
    modeReported_ = true;
    displayGroup_->button(mode)->setChecked(true);
    onButtonClicked(mode);
    configureScanner();
    applyDisplayMode();
    return true;
}

void FirstPageFor510::configureForKind() {
    auto showModes = [this](std::initializer_list<int> shown) {
        for (int id = 0; id < kModeCount; ++id)
            displayGroup_->button(id)->setVisible(std::find(shown.begin(), shown.end(), id) !=
                                                  shown.end());
    };
    const bool old = usesOldLayout();
    switch (uiIndex_) {
    case 1:
        showModes({DisplayLab, DisplayLCh});
        break;
    case 2:
        showModes({DisplayLab});
        break;
    case 3:
        showModes({DisplayHazeT, DisplayHaze, DisplayT});
        break;
    default:
        showModes({DisplayHazeT, DisplayHaze, DisplayT, DisplayLab, DisplayLCh, DisplayYxy});
        break;
    }
    const bool formula = uiIndex_ != 2;
    ui->pushButton_setDisplayParameter->setVisible(formula);
    ui->label_formula->setVisible(formula);
    ui->lineEdit_formula->setVisible(formula);
    ui->pushButton_spectralTransmittance->setVisible(uiIndex_ != 3 && !(uiIndex_ == 1 && old));
    ui->pushButton_writeStandardColor->setVisible(uiIndex_ == 1);
    relabelSpectralButton();
}

void FirstPageFor510::placeSettingsStack(bool oldLayout) {
    // The old layout has no display group, so the settings move up into its cell.
    ui->gridLayout_firstPageFor510->removeWidget(ui->stackedWidget);
    if (oldLayout)
        ui->gridLayout_firstPageFor510->addWidget(ui->stackedWidget, 0, 4, 1, 1);
    else
        ui->gridLayout_firstPageFor510->addWidget(ui->stackedWidget, 2, 4, 3, 1);
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
    switch (id) {
    case DisplayHazeT:
        showToleranceRows(true, true, false);
        break;
    case DisplayHaze:
        showToleranceRows(true, false, false);
        break;
    case DisplayT:
        showToleranceRows(false, true, false);
        break;
    case DisplayLab:
    case DisplayLCh:
    case DisplayYxy:
        showToleranceRows(false, false, true);
        break;
    case DisplayHazeTLab:
        showToleranceRows(true, true, true);
        break;
    default:
        break;
    }
}

void FirstPageFor510::setModeFlags(int mode) {
    displayMode_ = mode;
}

std::array<bool, 7> FirstPageFor510::modeFlags() const {
    std::array<bool, 7> flags{};
    if (displayMode_ >= 0 && displayMode_ < kModeCount)
        flags[static_cast<size_t>(displayMode_)] = true;
    return flags;
}

colour::Tolerances FirstPageFor510::tolerances() const {
    return {hazeTolerance_, tTolerance_, deltaEThreshold_};
}

// ---- Measurement flow -------------------------------------------------------------------

namespace {

template <class Block>
QStringList currentTexts(const Block& b, int lchL, int lchC, int lchH, int y, int x, int yy) {
    const int raw[kValueRows] = {
        b.haze, b.transmittance, b.lStar, b.aStar, b.bStar, lchL, lchC, lchH, y, x, yy};
    QStringList texts;
    for (int i = 0; i < kValueRows; ++i)
        texts << valueText(i, raw[i] / kScale[i]);
    return texts;
}

} // namespace

void FirstPageFor510::prepareTarget(int target) {
    const bool old = usesOldLayout();
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
    nextTarget_ = target;
    // The reset is shown before the exchange blocks this thread.
    table->repaint();
}

void FirstPageFor510::measureButtonPressed(int target, bool oldLayoutButton) {
    if (!linkOpenOrComplain())
        return;
    prepareTarget(target);
    const bool standard = target == 1;
    if (oldLayoutButton || usesModeResultCommand())
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
    pull(1, Pull::ColourBlock);
}
void FirstPageFor510::sampleValueMeasurement() {
    pull(2, Pull::ColourBlock);
}

void FirstPageFor510::readstdmeasurement() {
    if (usesOldLayout())
        readstdmeasurement_old();
    else
        pull(1, Pull::ModeResult);
}

void FirstPageFor510::readsamplemeasurement() {
    if (usesOldLayout())
        readsamplemeasurement_old();
    else
        pull(2, Pull::ModeResult);
}

void FirstPageFor510::readstdmeasurement_old() {
    pull(1, Pull::Legacy);
}
void FirstPageFor510::readsamplemeasurement_old() {
    pull(2, Pull::Legacy);
}

namespace {

QStringList textsOf(const ColorMeasurementBlock& b) {
    return currentTexts(b, b.lchLightness, b.lchChroma, b.lchHue, b.yTristimulus, b.xChromaticity,
                        b.yChromaticity);
}

QStringList textsOf(const ModeResultBlock& b) {
    return currentTexts(b, b.lchLightness, b.lchChroma, b.lchHue, b.yTristimulus, b.xChromaticity,
                        b.yChromaticity);
}

QStringList textsOf(const LegacyMeasurement& m) {
    QStringList texts;
    for (int raw : {m.lStar, m.aStar, m.bStar, m.chroma, m.hue})
        texts << QString::number(raw / 100.0, 'f', 2);
    return texts;
}

} // namespace

void FirstPageFor510::pull(int target, Pull command) {
    if (!linkOpenOrComplain())
        return;
    PauseLocker locker(pauseLock());
    SideTexts side;
    CommandStatus status = Status::NotSent;
    if (command == Pull::ColourBlock) {
        ColorMeasurementBlock block;
        status = ReadColorMeasurement(port_, block);
        side = {textsOf(block), block.red, block.green, block.blue};
    } else if (command == Pull::ModeResult) {
        ModeResultBlock block;
        status = ReadModeResult(port_, displayMode_, block);
        side = {textsOf(block), block.red, block.green, block.blue};
    } else {
        LegacyMeasurement measurement;
        status = ReadMeasurementLegacy(port_, measurement);
        side = {textsOf(measurement), measurement.red, measurement.green, measurement.blue};
    }
    if (!succeeded(status)) {
        fail(locker, tr("Error"), tr("Failed to read measurement data!"));
        return;
    }
    locker.unlock();
    showSide(target, side);
    if (target == 1)
        afterStandard();
    else
        afterSample();
}

void FirstPageFor510::setSwatch(int target, const SideTexts& side) {
    const bool old = usesOldLayout();
    QGroupBox* box = target == 1 ? (old ? ui->stdBtnGroubox : ui->groupBox_standardMeasurement)
                                 : (old ? ui->sampBtnGroubox : ui->groupBox_sampleMeasurement);
    box->setStyleSheet(QStringLiteral("background-color: rgb(%1, %2, %3);")
                           .arg(side.red)
                           .arg(side.green)
                           .arg(side.blue));
}

void FirstPageFor510::showSide(int target, const SideTexts& side) {
    const bool old = usesOldLayout();
    QTableWidget* table = old ? ui->tbColorDiff : ui->tableWidget_colorDiff;
    const int column = target == 1 ? 1 : 2;
    for (int row = 1; row <= side.values.size(); ++row) {
        if (!old && column == 1)
            static_cast<QLineEdit*>(table->cellWidget(row, 1))->setText(side.values[row - 1]);
        else
            table->item(row, column)->setText(side.values[row - 1]);
    }
    setSwatch(target, side);
}

void FirstPageFor510::blankSide(int target) {
    const bool old = usesOldLayout();
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

// A new standard blanks the sample side; the list keeps its comparisons.
void FirstPageFor510::afterStandard() {
    standardPresent_ = true;
    const bool old = usesOldLayout();
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
    result->setStyleSheet(kGreenResult);
    (old ? ui->sampBtnGroubox : ui->groupBox_sampleMeasurement)->setStyleSheet(kGreySwatch);
    (old ? ui->samplemeasurementBtn : ui->pushButton_sampleMeasurement)
        ->setStyleSheet(kBlackButton);
}

void FirstPageFor510::afterSample() {
    if (!standardPresent_)
        return;
    if (usesOldLayout())
        compareWithStandard_old();
    else
        compareWithStandard();
}

void FirstPageFor510::SaveData(QByteArray data) {
    if (usesOldLayout()) {
        SaveData_old(data);
        return;
    }
    // The scanner keeps a frame cut across deliveries until its rest arrives.
    for (const PushFrameScanner::Measurement& m : scanner_.feed(data, arrivalClock_.elapsed())) {
        SideTexts side;
        if (m.kind == PushFrameScanner::Kind::ModeResult)
            side = {textsOf(m.mode), m.mode.red, m.mode.green, m.mode.blue};
        else if (m.kind == PushFrameScanner::Kind::ColourBlock)
            side = {textsOf(m.colour), m.colour.red, m.colour.green, m.colour.blue};
        else
            continue;
        pendingPushes_.append({nextTarget_, side});
    }
    startPendingPushes();
}

void FirstPageFor510::SaveData_old(QByteArray data) {
    for (const PushFrameScanner::Measurement& m : scanner_.feed(data, arrivalClock_.elapsed())) {
        if (m.kind != PushFrameScanner::Kind::Legacy)
            continue;
        pendingPushes_.append(
            {nextTarget_, {textsOf(m.legacy), m.legacy.red, m.legacy.green, m.legacy.blue}});
    }
    startPendingPushes();
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
        showSide(push.target, push.side);
        if (push.target == 1)
            afterStandard();
        else
            afterSample();
        if (pendingPushes_.isEmpty())
            return;
        blankSide(pendingPushes_.first().target);
        if (blinkDelayMs_ > 0) {
            blinkTimer_->start(blinkDelayMs_);
            return;
        }
    }
}

QString FirstPageFor510::standardText(int row) const {
    if (usesOldLayout())
        return ui->tbColorDiff->item(row, 1)->text();
    return static_cast<QLineEdit*>(ui->tableWidget_colorDiff->cellWidget(row, 1))->text();
}

QString FirstPageFor510::sampleText(int row) const {
    QTableWidget* table = usesOldLayout() ? ui->tbColorDiff : ui->tableWidget_colorDiff;
    return table->item(row, 2)->text();
}

// ---- Comparison and list ----------------------------------------------------------------

double FirstPageFor510::listDeltaE(const colour::Lab& s, const colour::Lab& p) const {
    // Only colorimeters with a selectable formula use it; the others always show dE*ab.
    if (uiIndex_ == 1 && formulaIndex_ >= 0 && formulaIndex_ <= 6)
        return colour::deltaEByIndex(formulaIndex_, false, s, p);
    return colour::deltaEab(s.L, s.a, s.b, p.L, p.a, p.b);
}

double FirstPageFor510::oldDeltaE(const colour::Lab& s, const colour::Lab& p) const {
    // Without a known formula there is no colour difference; -1 fails the comparison.
    if (formulaIndex_ < 0 || formulaIndex_ >= colour::formulaCount(true))
        return -1;
    return colour::deltaEByIndex(formulaIndex_, true, s, p);
}

void FirstPageFor510::showVerdict(bool pass) {
    QLabel* label = usesOldLayout() ? ui->resultlab : ui->label_result;
    label->setText(colour::verdictText(pass));
    label->setStyleSheet(colour::verdictLabelStyle(pass));
}

void FirstPageFor510::refreshCounters() {
    ui->lineEdit_unqualNum->setText(QString::number(failCount_));
    ui->lineEdit_qualNum->setText(QString::number(passCount_));
    ui->lineEdit_totalNum->setText(QString::number(totalCount_));
}

void FirstPageFor510::compareWithStandard() {
    QTableWidget* table = ui->tableWidget_colorDiff;
    ComparisonRecord record;
    std::array<double, kValueRows> difference{};
    for (int i = 0; i < kValueRows; ++i) {
        const int row = i + 1;
        record.standard[size_t(i)] = number(standardText(row));
        record.sample[size_t(i)] = number(sampleText(row));
        difference[size_t(i)] = record.sample[size_t(i)] - record.standard[size_t(i)];
        QString text = QString::number(difference[size_t(i)], 'g', 6);
        if (i < 2)
            text += QLatin1Char('%');
        table->item(row, 3)->setText(text);
    }
    const colour::DeviationAxis axes[] = {colour::DeviationAxis::Lightness,
                                          colour::DeviationAxis::RedGreen,
                                          colour::DeviationAxis::YellowBlue};
    for (int k = 0; k < 3; ++k)
        table->item(3 + k, 4)->setText(colour::deviationWord(axes[k], difference[size_t(2 + k)]));

    const colour::Lab standard{record.standard[2], record.standard[3], record.standard[4]};
    const colour::Lab sample{record.sample[2], record.sample[3], record.sample[4]};
    if (uiIndex_ == 1)
        deltaEThreshold_ = parameterThreshold_;
    const double deltaE = listDeltaE(standard, sample);
    table->item(kDeltaERow, 3)->setText(QString::number(deltaE, 'f', 2));
    for (int row = 1; row <= kDeltaERow; ++row) {
        for (int column = 3; column <= 4; ++column) {
            table->item(row, column)->setTextAlignment(Qt::AlignCenter);
            table->item(row, column)->setForeground(Qt::black);
        }
    }

    const bool pass =
        colour::passesNewLayout(displayMode_, difference[0], difference[1], deltaE, tolerances());
    (pass ? passCount_ : failCount_)++;
    ++totalCount_;
    showVerdict(pass);
    refreshCounters();

    ++comparisonSerial_;
    record.sequence = totalCount_;
    record.name = QStringLiteral("Comp%1").arg(comparisonSerial_);
    record.time = clock_().toString(kTimeFormat);
    record.deltaHaze = difference[0];
    record.deltaT = difference[1];
    record.deltaE = deltaE;
    record.verdict = colour::verdictText(pass);
    record.hazeTolerance = QString::number(hazeTolerance_, 'f', 2);
    record.tTolerance = QString::number(tTolerance_, 'f', 2);
    record.deltaEThreshold = QString::number(deltaEThreshold_, 'f', 1);
    record.model = model_;
    record.serialNumber = ui->lineEdit_serialNo->text();
    appendComparisonRow(record);
}

void FirstPageFor510::compareWithStandard_old() {
    QTableWidget* table = ui->tbColorDiff;
    OldComparisonRecord record;
    std::array<double, kOldValueRows> difference{};
    for (int i = 0; i < kOldValueRows; ++i) {
        const int row = i + 1;
        record.standard[size_t(i)] = number(standardText(row));
        record.sample[size_t(i)] = number(sampleText(row));
        difference[size_t(i)] = record.sample[size_t(i)] - record.standard[size_t(i)];
        table->item(row, 3)->setText(QString::number(difference[size_t(i)], 'g', 6));
    }
    const colour::DeviationAxis axes[] = {colour::DeviationAxis::Lightness,
                                          colour::DeviationAxis::RedGreen,
                                          colour::DeviationAxis::YellowBlue};
    for (int k = 0; k < 3; ++k)
        table->item(1 + k, 4)->setText(colour::deviationWord(axes[k], difference[size_t(k)]));
    const colour::Lab standard{record.standard[0], record.standard[1], record.standard[2]};
    const colour::Lab sample{record.sample[0], record.sample[1], record.sample[2]};
    const double deltaE = oldDeltaE(standard, sample);
    table->item(kOldDeltaERow, 3)->setText(QString::number(deltaE, 'f', 2));
    for (int row = 1; row <= kOldDeltaERow; ++row) {
        for (int column = 3; column <= 4; ++column) {
            table->item(row, column)->setTextAlignment(Qt::AlignCenter);
            table->item(row, column)->setForeground(Qt::black);
        }
    }

    const bool pass = colour::passesOldLayout(deltaE, deltaEThreshold_);
    (pass ? passCount_ : failCount_)++;
    ++totalCount_;
    showVerdict(pass);
    refreshCounters();

    ++comparisonSerial_;
    record.sequence = totalCount_;
    record.name = QStringLiteral("Comp%1").arg(comparisonSerial_);
    record.time = clock_().toString(kTimeFormat);
    record.deltaE = deltaE;
    record.verdict = colour::verdictText(pass);
    record.formula = ui->lineEdit_formula->text();
    record.deltaEThreshold = ui->lineEdit_thresholds->text();
    record.model = model_;
    record.serialNumber = ui->lineEdit_serialNo->text();
    appendComparisonRow_old(record);
}

namespace {

QTableWidgetItem* verdictItem(const QString& verdict) {
    auto* item = new QTableWidgetItem(verdict);
    item->setBackground(colour::verdictCellColour(verdict != colour::verdictText(false)));
    item->setForeground(Qt::white);
    return item;
}

void fillRow(QTableWidget* list, int row, const ComparisonRecord& r) {
    const QStringList texts = comparisonrows::listRowTexts(r);
    for (int c = 0; c < texts.size(); ++c) {
        if (c == ColVerdict)
            list->setItem(row, c, verdictItem(texts.at(c)));
        else if (c != ColDelete && c != ColReport)
            list->setItem(row, c, new QTableWidgetItem(texts.at(c)));
    }
}

} // namespace

void FirstPageFor510::appendComparisonRow(const ComparisonRecord& record) {
    appendComparisonRows({record});
}

void FirstPageFor510::appendComparisonRows(const QList<ComparisonRecord>& records) {
    QTableWidget* list = ui->tableWidget_data;
    const int first = list->rowCount();
    list->setUpdatesEnabled(false);
    list->setRowCount(first + int(records.size()));
    for (int i = 0; i < records.size(); ++i)
        fillRow(list, first + i, records[i]);
    list->setUpdatesEnabled(true);
    list->scrollToBottom();
}

void FirstPageFor510::appendComparisonRow_old(const OldComparisonRecord& r) {
    QTableWidget* list = ui->tbData;
    const int row = list->rowCount();
    list->setRowCount(row + 1);
    const QStringList texts = comparisonrows::oldListRowTexts(r);
    for (int c = 0; c < texts.size(); ++c) {
        if (c == OldColVerdict)
            list->setItem(row, c, verdictItem(texts.at(c)));
        else if (c != OldColDelete && c != OldColReport)
            list->setItem(row, c, new QTableWidgetItem(texts.at(c)));
    }
    list->scrollToBottom();
}

namespace {

// Removes a list row and takes it off the counters it was counted in.
void removeCountedRow(QTableWidget* list, int row, int verdictColumn, int& fail, int& pass,
                      int& total) {
    if (row < 0 || row >= list->rowCount())
        return;
    const QTableWidgetItem* verdict = list->item(row, verdictColumn);
    if (verdict && verdict->text() == colour::verdictText(false))
        --fail;
    else
        --pass;
    --total;
    list->removeRow(row);
}

} // namespace

void FirstPageFor510::on_DeleteBtn_clicked(int row) {
    removeCountedRow(ui->tableWidget_data, row, ColVerdict, failCount_, passCount_, totalCount_);
    refreshCounters();
}

void FirstPageFor510::on_DeleteBtn_clicked_old(int row) {
    removeCountedRow(ui->tbData, row, OldColVerdict, failCount_, passCount_, totalCount_);
    refreshCounters();
}

void FirstPageFor510::doubleClickedSlot(int row, int column) {
    if (column == ColName && ui->tableWidget_data->item(row, column))
        ui->tableWidget_data->editItem(ui->tableWidget_data->item(row, column));
}

void FirstPageFor510::doubleClickedSlot_old(int row, int column) {
    if (column == ColName && ui->tbData->item(row, column))
        ui->tbData->editItem(ui->tbData->item(row, column));
}

namespace {

QString cellText(const QTableWidget* list, int row, int column) {
    const QTableWidgetItem* item = list->item(row, column);
    return item ? item->text() : QString();
}

} // namespace

void FirstPageFor510::on_ReportBtn_clicked(int row) {
    const QTableWidget* list = ui->tableWidget_data;
    if (row < 0 || row >= list->rowCount())
        return;
    ReportSnapshot s;
    s.sampleName = cellText(list, row, ColName);
    s.testTime = cellText(list, row, ColTime);
    std::array<double, kValueRows> standard{}, sample{};
    for (int i = 0; i < kValueRows; ++i) {
        standard[size_t(i)] = number(cellText(list, row, ColStandard + i));
        sample[size_t(i)] = number(cellText(list, row, ColSample + i));
    }
    s.standard = report::valuesFromListOrder(standard);
    s.sample = report::valuesFromListOrder(sample);
    s.difference.haze = number(cellText(list, row, ColDeltaHaze));
    s.difference.transmittance = number(cellText(list, row, ColDeltaT));
    s.deltaE = number(cellText(list, row, ColDeltaE));
    s.verdict = cellText(list, row, ColVerdict);
    s.hazeTolerance = cellText(list, row, ColHazeTolerance);
    s.transmittanceTolerance = cellText(list, row, ColTTolerance);
    s.deltaEThreshold = cellText(list, row, ColThreshold);
    s.deltaEFormula = ui->lineEdit_formula->text();
    s.device = cellText(list, row, ColModel);
    s.serialNumber = cellText(list, row, ColSerial);
    s.displayModes = modeFlags();
    s.uiIndex = uiIndex_;
    s.chinese = isChinese_;
    reportSnapshot_ = s;
    openReport(reportSnapshot_, false);
}

void FirstPageFor510::on_ReportBtn_clicked_old(int row) {
    const QTableWidget* list = ui->tbData;
    if (row < 0 || row >= list->rowCount())
        return;
    ReportSnapshot s;
    s.sampleName = cellText(list, row, ColName);
    s.testTime = cellText(list, row, ColTime);
    std::array<double, kOldValueRows> standard{}, sample{};
    for (int i = 0; i < kOldValueRows; ++i) {
        standard[size_t(i)] = number(cellText(list, row, OldColStandard + i));
        sample[size_t(i)] = number(cellText(list, row, OldColSample + i));
    }
    s.standard = report::valuesFromOldListOrder(standard);
    s.sample = report::valuesFromOldListOrder(sample);
    s.deltaE = number(cellText(list, row, OldColDeltaE));
    s.verdict = cellText(list, row, OldColVerdict);
    s.deltaEFormula = cellText(list, row, OldColFormula);
    s.deltaEThreshold = cellText(list, row, OldColThreshold);
    s.device = QStringLiteral("Colorimeter");
    s.serialNumber = cellText(list, row, OldColSerial);
    s.uiIndex = uiIndex_;
    s.chinese = isChinese_;
    reportSnapshot_ = s;
    openReport(reportSnapshot_, true);
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
        page = new ReportPageFor510(uiIndex_, snapshot, reportPeople_, this);
    // Several reports may be open at once; each goes when it is closed.
    page->setAttribute(Qt::WA_DeleteOnClose);
    page->setPrompter(&prompter_);
    page->show();
    page->raise();
    page->activateWindow();
}

// ---- Clearing ---------------------------------------------------------------------------

void FirstPageFor510::on_pushButton_clear_clicked() {
    if (usesOldLayout()) {
        on_ClearBtn_clicked();
        return;
    }
    if (ui->tableWidget_data->rowCount() > 0 &&
        prompter_.question(this, tr("Tip"),
                           tr("Clearing data will clear all comparison records. Are you sure you "
                              "want to clear it?"),
                           QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    clearResults(false);
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
        ui->resultlab->setStyleSheet(kGreenResult);
        ui->tbData->setRowCount(0);
    } else {
        resetComparisonTable();
        ui->groupBox_standardMeasurement->setStyleSheet(kGreySwatch);
        ui->groupBox_sampleMeasurement->setStyleSheet(kGreySwatch);
        ui->pushButton_sampleMeasurement->setStyleSheet(kBlackButton);
        ui->pushButton_standardMeasurement->setStyleSheet(kBlueButton);
        ui->label_result->clear();
        ui->label_result->setStyleSheet(kGreenResult);
        ui->tableWidget_data->setRowCount(0);
    }
    standardPresent_ = false;
    failCount_ = passCount_ = totalCount_ = 0;
    refreshCounters();
    nextTarget_ = 1;
    comparisonSerial_ = 0;
    // A measurement waiting to be shown belongs to what was just cleared.
    pendingPushes_.clear();
    blinkTimer_->stop();
}

// ---- Re-judging -------------------------------------------------------------------------

void FirstPageFor510::rejudgeComparison() {
    if (usesOldLayout()) {
        QTableWidget* table = ui->tbColorDiff;
        if (standardText(1) == kPlaceholder || sampleText(1) == kPlaceholder)
            return;
        const colour::Lab standard{number(standardText(1)), number(standardText(2)),
                                   number(standardText(3))};
        const colour::Lab sample{number(sampleText(1)), number(sampleText(2)),
                                 number(sampleText(3))};
        const double deltaE = oldDeltaE(standard, sample);
        table->item(kOldDeltaERow, 3)->setText(QString::number(deltaE, 'f', 2));
        showVerdict(colour::passesOldLayout(deltaE, deltaEThreshold_));
        return;
    }
    QTableWidget* table = ui->tableWidget_colorDiff;
    if (standardText(1) == kPlaceholder || sampleText(1) == kPlaceholder)
        return;
    const colour::Lab standard{number(standardText(3)), number(standardText(4)),
                               number(standardText(5))};
    const colour::Lab sample{number(sampleText(3)), number(sampleText(4)), number(sampleText(5))};
    if (uiIndex_ == 1)
        deltaEThreshold_ = parameterThreshold_;
    const double deltaE = listDeltaE(standard, sample);
    table->item(kDeltaERow, 3)->setText(QString::number(deltaE, 'f', 2));
    const double deltaHaze = number(table->item(1, 3)->text());
    const double deltaT = number(table->item(2, 3)->text());
    showVerdict(colour::passesNewLayout(displayMode_, deltaHaze, deltaT, deltaE, tolerances()));
}

namespace {

// Rewrites many cells of a list with one repaint at the end instead of one per cell: a list
// holding a whole instrument memory would otherwise stall for seconds.
class QuietRewrite {
  public:
    explicit QuietRewrite(QTableWidget* list)
        : list_(list), wasBlocked_(list->model()->blockSignals(true)) {}
    ~QuietRewrite() {
        list_->model()->blockSignals(wasBlocked_);
        list_->viewport()->update();
    }
    QuietRewrite(const QuietRewrite&) = delete;
    QuietRewrite& operator=(const QuietRewrite&) = delete;

  private:
    QTableWidget* list_;
    bool wasBlocked_;
};

// Cells are replaced rather than edited: once rows have been removed, an item edited in place
// makes the table search all its items for it, which is quadratic over a whole list.
void setCellText(QTableWidget* list, int row, int column, const QString& text) {
    list->setItem(row, column, new QTableWidgetItem(text));
}

} // namespace

void FirstPageFor510::rejudgeList() {
    failCount_ = passCount_ = totalCount_ = 0;
    const QString model = model_;
    const QString serial = ui->lineEdit_serialNo->text();
    const QString passText = colour::verdictText(true);
    const QString failText = colour::verdictText(false);
    const bool old = usesOldLayout();
    QTableWidget* list = old ? ui->tbData : ui->tableWidget_data;
    QuietRewrite quiet(list);
    if (old) {
        const QString formula = ui->lineEdit_formula->text();
        const QString threshold = ui->lineEdit_thresholds->text();
        for (int row = 0; row < list->rowCount(); ++row) {
            auto value = [list, row](int column) { return number(cellText(list, row, column)); };
            const colour::Lab standard{value(OldColStandard), value(OldColStandard + 1),
                                       value(OldColStandard + 2)};
            const colour::Lab sample{value(OldColSample), value(OldColSample + 1),
                                     value(OldColSample + 2)};
            const double deltaE = oldDeltaE(standard, sample);
            const bool pass = colour::passesOldLayout(deltaE, deltaEThreshold_);
            (pass ? passCount_ : failCount_)++;
            ++totalCount_;
            setCellText(list, row, OldColDeltaE, QString::number(deltaE, 'f', 2));
            list->setItem(row, OldColVerdict, verdictItem(pass ? passText : failText));
            setCellText(list, row, OldColFormula, formula);
            setCellText(list, row, OldColThreshold, threshold);
            setCellText(list, row, OldColModel, model);
            setCellText(list, row, OldColSerial, serial);
        }
        refreshCounters();
        return;
    }
    if (uiIndex_ == 1)
        deltaEThreshold_ = parameterThreshold_;
    const QString hazeText = QString::number(hazeTolerance_, 'f', 2);
    const QString tText = QString::number(tTolerance_, 'f', 2);
    const QString listThreshold = QString::number(deltaEThreshold_, 'f', 1);
    for (int row = 0; row < list->rowCount(); ++row) {
        auto value = [list, row](int column) { return number(cellText(list, row, column)); };
        const colour::Lab standard{value(ColStandard + 2), value(ColStandard + 3),
                                   value(ColStandard + 4)};
        const colour::Lab sample{value(ColSample + 2), value(ColSample + 3), value(ColSample + 4)};
        const double deltaE = listDeltaE(standard, sample);
        const bool pass = colour::passesNewLayout(displayMode_, value(ColDeltaHaze),
                                                  value(ColDeltaT), deltaE, tolerances());
        (pass ? passCount_ : failCount_)++;
        ++totalCount_;
        setCellText(list, row, ColDeltaE, QString::number(deltaE, 'f', 2));
        list->setItem(row, ColVerdict, verdictItem(pass ? passText : failText));
        setCellText(list, row, ColHazeTolerance, hazeText);
        setCellText(list, row, ColTTolerance, tText);
        setCellText(list, row, ColThreshold, listThreshold);
        setCellText(list, row, ColModel, model);
        setCellText(list, row, ColSerial, serial);
    }
    refreshCounters();
}

void FirstPageFor510::applyDisplayMode() {
    if (usesOldLayout())
        return;
    QTableWidget* table = ui->tableWidget_colorDiff;
    QTableWidget* list = ui->tableWidget_data;
    struct Shown {
        std::initializer_list<int> rows;
        std::initializer_list<int> columns;
        int units;
    };
    static const Shown byMode[kModeCount] = {
        {{1, 2}, {3, 4, 14, 15, 25, 26}, 11},
        {{1}, {3, 14, 25}, 8},
        {{2}, {4, 15, 26}, 8},
        {{3, 4, 5, 12}, {5, 6, 7, 16, 17, 18, 27}, 11},
        {{6, 7, 8, 12}, {8, 9, 10, 19, 20, 21, 27}, 11},
        {{9, 10, 11, 12}, {11, 12, 13, 22, 23, 24, 27}, 11},
        {{1, 2, 3, 4, 5, 12}, {3, 4, 5, 6, 7, 14, 15, 16, 17, 18, 25, 26, 27}, 18},
    };
    const Shown& shown = byMode[displayMode_ >= 0 && displayMode_ < kModeCount ? displayMode_ : 0];
    for (int row = 1; row <= kDeltaERow; ++row)
        table->setRowHidden(row, std::find(shown.rows.begin(), shown.rows.end(), row) ==
                                     shown.rows.end());
    for (int column = ColStandard; column <= ColDeltaE; ++column)
        list->setColumnHidden(column, std::find(shown.columns.begin(), shown.columns.end(),
                                                column) == shown.columns.end());

    const QScreen* screen = QGuiApplication::primaryScreen();
    const double u =
        (screen ? screen->availableGeometry().width() : 1280) / double(shown.units + 5);
    for (int column = 0; column <= ColVerdict; ++column)
        list->setColumnWidth(column, int(u));
    list->setColumnWidth(ColNo, int(u - 32));
    list->setColumnWidth(ColName, int(2 * u));
    list->setColumnWidth(ColTime, int(2 * u + 15));
    list->setColumnWidth(ColDeltaT, int(u + 20));
    list->setColumnWidth(ColDeltaE, int(u + 10));
    list->setColumnWidth(ColDelete, int(u + 10));
    list->setColumnWidth(ColVerdict, int(u + 15));
    list->setColumnWidth(ColReport, int(u + 15));
    for (int column = ColHazeTolerance; column < ListColumns; ++column)
        list->setColumnHidden(column, true);
}

// ---- Settings ---------------------------------------------------------------------------

int FirstPageFor510::on_pushButton_readTolerance_clicked() {
    if (!linkOpenOrComplain())
        return -1;
    PauseLocker locker(pauseLock());
    int haze = 0, t = 0, threshold = 0;
    if (!succeeded(ReadTolerance(port_, haze, t, threshold))) {
        fail(locker, tr("Error"), tr("Failed to Read Tolerance information!"));
        return -1;
    }
    locker.unlock();
    hazeTolerance_ = haze / 100.0;
    tTolerance_ = t / 100.0;
    deltaEThreshold_ = threshold / 10.0;
    ui->lineEdit_hazeTolerance->setText(QString::number(hazeTolerance_, 'f', 2));
    ui->lineEdit_tTolerance->setText(QString::number(tTolerance_, 'f', 2));
    ui->lineEdit_eThresholds->setText(QString::number(deltaEThreshold_, 'f', 1));
    prompter_.information(this, tr("Information"), tr("Read successful!"));
    return 1;
}

void FirstPageFor510::on_pushButton_setTolerance_clicked() {
    if (!linkOpenOrComplain())
        return;
    const double haze = ui->lineEdit_hazeTolerance->text().toDouble();
    const double t = ui->lineEdit_tTolerance->text().toDouble();
    const double threshold = ui->lineEdit_eThresholds->text().toDouble();
    if (!(haze >= 0 && haze <= 100)) {
        prompter_.information(this, tr("information"), tr("Haze Tolerance must between 0-100!"));
        return;
    }
    if (!(t >= 0 && t <= 100)) {
        prompter_.information(this, tr("information"),
                              tr("Transmittance  Tolerance must between 0-100!"));
        return;
    }
    if (!(threshold >= 0.1 && threshold <= 50)) {
        prompter_.information(this, tr("information"), tr("Thresholds must between 0.1-50!"));
        return;
    }
    const int haze100 = toInstrumentUnits(haze, 100);
    const int t100 = toInstrumentUnits(t, 100);
    const int threshold10 = toInstrumentUnits(threshold, 10);
    PauseLocker locker(pauseLock());
    if (!succeeded(SetTolerance(port_, haze100, t100, threshold10))) {
        fail(locker, tr("Error"), tr("Failed to Setup  Tolerance information!"));
        return;
    }
    locker.unlock();
    hazeTolerance_ = haze100 / 100.0;
    tTolerance_ = t100 / 100.0;
    deltaEThreshold_ = threshold10 / 10.0;
    rejudgeComparison();
    rejudgeList();
    prompter_.information(this, tr("Information"), tr("Setup successfully!"));
}

void FirstPageFor510::on_pushButton_setDisplayParameter_clicked() {
    if (!linkOpenOrComplain())
        return;
    if (ui->tableWidget_data->rowCount() > 0 &&
        prompter_.question(
            this, tr("Warn"),
            tr("The comparison measurement record list data will be cleared. Do you want to "
               "continue saving the parameter settings?"),
            QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    const int mode = displayGroup_->checkedId();
    if (mode < 0)
        return;
    PauseLocker locker(pauseLock());
    if (!succeeded(SetDisplayParam(port_, mode))) {
        fail(locker, tr("Error"), tr("Failed to Setup  DisplayParam information!"));
        return;
    }
    locker.unlock();
    setModeFlags(mode);
    modeReported_ = true;
    configureScanner();
    on_pushButton_clear_clicked();
    applyDisplayMode();
}

int FirstPageFor510::on_pushButton_readParameter_clicked() {
    if (!linkOpenOrComplain())
        return -1;
    PauseLocker locker(pauseLock());
    int formula = 0, threshold = 0;
    if (!succeeded(ReadDeltaEParam(port_, formula, threshold))) {
        fail(locker, tr("Error"), tr("Failed to read △E parameter information!"));
        return -1;
    }
    locker.unlock();
    const bool old = usesOldLayout();
    if (old && formula > 5)
        formula = 0;
    if (formula >= 0 && formula <= 6) {
        const QString label = colour::formulaLabel(formula, old);
        if (!label.isNull())
            ui->lineEdit_formula->setText(label);
    }
    formulaIndex_ = formula;
    parameterThreshold_ = threshold / 10.0;
    deltaEThreshold_ = parameterThreshold_;
    ui->lineEdit_thresholds->setText(QString::number(parameterThreshold_, 'f', 1));
    return 1;
}

void FirstPageFor510::on_pushButton_setParameter_clicked() {
    if (!linkOpenOrComplain())
        return;
    if (uiIndex_ == 2) {
        // Single precision, as the instrument's own dialog converts it: 4.1 must become 41.
        const float threshold = ui->lineEdit_thresholds->text().toFloat();
        if (!(threshold >= 0.1f && threshold <= 50.0f)) {
            // These messages are fixed per language rather than taken from the translation files.
            if (isChinese_)
                prompter_.information(this, QStringLiteral("提示"),
                                      QStringLiteral("阀值必须介于0.1-50之间！"));
            else
                prompter_.information(this, QStringLiteral("information"),
                                      QStringLiteral("Thresholds must between 0.1—50!"));
            return;
        }
        if (!sendThresholdOnly(threshold))
            return;
    } else {
        PauseLocker locker(pauseLock());
        setEParameterPageFor670 dialog(firmwareVersion_, model_, &port_, isChinese_, this);
        dialog.setPrompter(&prompter_);
        const int result = dialogRunner_(dialog);
        locker.unlock();
        if (result != QDialog::Accepted)
            return;
    }
    on_pushButton_readParameter_clicked();
    rejudgeComparison();
    rejudgeList();
}

bool FirstPageFor510::sendThresholdOnly(float threshold) {
    PauseLocker locker(pauseLock());
    const float scaled = threshold * 10.0f;
    if (succeeded(SetDeltaEParam(port_, 0, static_cast<int>(scaled))))
        return true;
    if (isChinese_)
        fail(locker, QStringLiteral("错误"), QStringLiteral("写入△E参数信息失败！"));
    else
        fail(locker, QStringLiteral("Error"),
             QStringLiteral("Failed to write △E parameter information!"));
    return false;
}

// ---- Language ---------------------------------------------------------------------------

void FirstPageFor510::on_pushButton_spectralTransmittance_clicked() {
    MeterPageFor510 page(worker_, &port_, uiIndex_, this);
    page.setPrompter(&prompter_);
    dialogRunner_(page);
}

void FirstPageFor510::relabelSpectralButton() {
    const bool reflectance = uiIndex_ == 1 || uiIndex_ == 2;
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
    relabelListHeaders();
}

void FirstPageFor510::rewriteVerdictCells(QTableWidget* table, int column) {
    QuietRewrite quiet(table);
    for (int row = 0; row < table->rowCount(); ++row) {
        if (const QTableWidgetItem* item = table->item(row, column))
            table->setItem(row, column, verdictItem(colour::retranslateVerdict(item->text())));
    }
}

void FirstPageFor510::retranslate() {
    relabel();
    // retranslateUi put the construction texts back; texts that depend on data are recomputed.
    if (!modelKnown_)
        model_ = tr("UnKnow");
    if (formulaIndex_ >= 0 && formulaIndex_ <= 6) {
        const QString label = colour::formulaLabel(formulaIndex_, usesOldLayout());
        if (!label.isNull())
            ui->lineEdit_formula->setText(label);
    }
    rewriteShownTexts();
}

void FirstPageFor510::rewriteShownTexts() {
    const colour::DeviationAxis axes[] = {colour::DeviationAxis::Lightness,
                                          colour::DeviationAxis::RedGreen,
                                          colour::DeviationAxis::YellowBlue};
    for (QTableWidget* table : {ui->tableWidget_colorDiff, ui->tbColorDiff}) {
        table->item(0, 1)->setText(QCoreApplication::translate("QObject", "Standard"));
        table->item(0, 2)->setText(QCoreApplication::translate("QObject", "Sample"));
        table->item(0, 3)->setText(colorimeterText("△"));
        const int firstWordRow = table == ui->tbColorDiff ? 1 : 3;
        for (int k = 0; k < 3; ++k) {
            const QString difference = table->item(firstWordRow + k, 3)->text();
            if (difference != kPlaceholder && !difference.isEmpty())
                table->item(firstWordRow + k, 4)
                    ->setText(colour::deviationWord(axes[k], number(difference)));
        }
    }
    ui->tableWidget_colorDiff->item(1, 0)->setText(tr("Haze"));
    ui->tableWidget_colorDiff->item(2, 0)->setText(tr("Transmittance"));
    ui->tableWidget_colorDiff->item(kDeltaERow, 0)->setText(colorimeterText("△E"));
    ui->tbColorDiff->item(kOldDeltaERow, 0)->setText(colorimeterText("△E"));
    for (QLabel* label : {ui->label_result, ui->resultlab})
        label->setText(colour::retranslateVerdict(label->text()));
    rewriteVerdictCells(ui->tableWidget_data, ColVerdict);
    rewriteVerdictCells(ui->tbData, OldColVerdict);
    for (RowButtonDelegate* buttons : {deleteButtons_, deleteButtonsOld_})
        buttons->setText(tr("Delete"));
    for (RowButtonDelegate* buttons : {reportButtons_, reportButtonsOld_})
        buttons->setText(tr("Report"));
    ui->tableWidget_data->viewport()->update();
    ui->tbData->viewport()->update();
}

// ---- Record import, export and the colour library ----------------------------------------

namespace {

// The cell texts of every list row, hidden columns included.
QList<QStringList> listTexts(const QTableWidget* list, int columns) {
    QList<QStringList> rows;
    rows.reserve(list->rowCount());
    for (int r = 0; r < list->rowCount(); ++r) {
        QStringList texts;
        texts.reserve(columns);
        for (int c = 0; c < columns; ++c) {
            const QTableWidgetItem* item = list->item(r, c);
            texts.append(item ? item->text() : QString());
        }
        rows.append(texts);
    }
    return rows;
}

} // namespace

void FirstPageFor510::on_pushButton_readComparisonRecord_clicked() {
    if (usesOldLayout()) {
        on_readcolordifrecordBtn_clicked();
        return;
    }
    if (!linkOpenOrComplain())
        return;
    if (ui->tableWidget_data->rowCount() > 0) {
        if (prompter_.question(this, tr("Colorimeter"),
                               tr("Data import willempty the list, to save data first?"),
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::No)
            on_pushButton_clear_clicked();
        else if (!on_pushButton_exportExcel_clicked())
            return;
    }

    PauseLocker locker(pauseLock());
    const int mode = displayMode_;
    int count = 0;
    const CommandStatus counted = ReadModeRecordCount(port_, mode, uiIndex_, count);
    if (counted < 0) {
        fail(locker, tr("Error"),
             counted == Status::BadChecksum
                 ? tr("difference history data error, unable to export!")
                 : tr("Failed to read the number of color difference records!"));
        return;
    }
    const records::ModeArea area = records::modeArea(mode);
    const int dataLength = count * area.recordSize;
    const int nameLength = count * records::kNameSlot;
    const int dataBlocks = records::chunkCount(dataLength);
    auto progress = showTransferProgress(this, dataBlocks + records::chunkCount(nameLength),
                                         tr("Storing data,please wait..."), tr("cancel"));
    QByteArray data, names;
    if (records::readArea(port_, area.data, dataLength, data,
                          [&progress](int i) { progress->setValue(i); }) < 0) {
        progress->hide();
        fail(locker, tr("Error"), tr("Reading difference recording lab data failed!"));
        return;
    }
    if (records::readArea(port_, area.names, nameLength, names, [&progress, dataBlocks](int i) {
            progress->setValue(dataBlocks + i);
        }) < 0) {
        progress->hide();
        fail(locker, tr("Error"), tr("Failed to read color difference record name data!"));
        return;
    }
    locker.unlock();
    if (count < 1) {
        progress->close();
        prompter_.information(this, tr("Info"), tr("No comparison record!"));
        return;
    }

    if (uiIndex_ == 1)
        deltaEThreshold_ = parameterThreshold_;
    comparisonrows::Judging judging;
    judging.hazeTolerance = hazeTolerance_;
    judging.tTolerance = tTolerance_;
    judging.deltaEThreshold = deltaEThreshold_;
    judging.model = model_;
    judging.serialNumber = ui->lineEdit_serialNo->text();
    const QString time = clock_().toString(kTimeFormat);
    QList<ComparisonRecord> rows;
    for (const records::Comparison& stored : records::decodeModeRecords(mode, data, names, count)) {
        bool pass = false;
        ComparisonRecord record = comparisonrows::fromStored(mode, stored, judging, pass);
        (pass ? passCount_ : failCount_)++;
        record.sequence = ++totalCount_;
        record.time = time;
        rows.append(record);
    }
    appendComparisonRows(rows);
    refreshCounters();
    progress->close();
}

void FirstPageFor510::on_readcolordifrecordBtn_clicked() {
    if (!linkOpenOrComplain())
        return;
    if (ui->tbData->rowCount() > 0) {
        if (prompter_.question(this, tr("Colorimeter"),
                               tr("Data import willempty the list, to save data first?"),
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::No)
            on_ClearBtn_clicked();
        else
            on_ExportExcelBtn_clicked();
    }
    // The verdicts need the formula and threshold the instrument holds now.
    if (on_pushButton_readParameter_clicked() < 0)
        return;

    PauseLocker locker(pauseLock());
    int count = 0;
    const CommandStatus counted = ReadColorDiffRecordCount(port_, count);
    if (counted < 0) {
        fail(locker, tr("Error"),
             counted == Status::BadChecksum
                 ? tr("Color difference history data error, unable to export!")
                 : tr("Failed to read the number of color difference records!"));
        return;
    }
    const int dataLength = count * records::kOldLayoutRecord;
    const int nameLength = count * records::kOldLayoutNameSlot;
    const int dataBlocks = records::chunkCount(dataLength);
    auto progress = showTransferProgress(this, dataBlocks + records::chunkCount(nameLength),
                                         tr("Storing data,please wait..."), tr("cancel"));
    QByteArray data, names;
    if (records::readArea(port_, records::kOldLayoutData, dataLength, data,
                          [&progress](int i) { progress->setValue(i); }) < 0) {
        progress->hide();
        fail(locker, tr("Error"), tr("Reading color difference recording lab data failed!"));
        return;
    }
    if (records::readArea(port_, records::kOldLayoutNames, nameLength, names,
                          [&progress, dataBlocks](int i) { progress->setValue(dataBlocks + i); }) <
        0) {
        progress->hide();
        fail(locker, tr("Error"), tr("Failed to read color difference record name data!"));
        return;
    }
    locker.unlock();

    comparisonrows::Judging judging;
    judging.formulaIndex = formulaIndex_;
    judging.deltaEThreshold = deltaEThreshold_;
    judging.formulaText = ui->lineEdit_formula->text();
    judging.thresholdText = ui->lineEdit_thresholds->text();
    judging.model = model_;
    judging.serialNumber = ui->lineEdit_serialNo->text();
    const QString time = clock_().toString(kTimeFormat);
    ui->tbData->setUpdatesEnabled(false);
    for (const records::Comparison& stored : records::decodeOldLayoutRecords(data, names, count)) {
        bool pass = false;
        OldComparisonRecord record = comparisonrows::fromStoredOld(stored, judging, pass);
        (pass ? passCount_ : failCount_)++;
        record.sequence = ++totalCount_;
        record.time = time;
        appendComparisonRow_old(record);
    }
    ui->tbData->setUpdatesEnabled(true);
    refreshCounters();
    progress->close();
}

bool FirstPageFor510::on_pushButton_exportExcel_clicked() {
    if (usesOldLayout()) {
        on_ExportExcelBtn_clicked();
        return true;
    }
    QTableWidget* list = ui->tableWidget_data;
    const int rowCount = list->rowCount();
    if (rowCount <= 0) {
        prompter_.information(this, QObject::tr("error"), tr("No data for Storing to Excel!"));
        return false;
    }
    const QString path = prompter_.saveFileName(this, tr("Storing data to Excel"),
                                                comparisonsheet::defaultFileName(clock_()),
                                                tr("excel file (*.xlsx)"));
    if (path.isEmpty())
        return false;
    // The previous file stays until the new one is complete: the engine replaces it on save.
    ExcelEngine engine(path);
    if (!engine.open(1, ExcelEngine::OpenMode::Replace)) {
        prompter_.information(this, tr("Error"), tr("Failed to store data, can't open file!"));
        return false;
    }
    const ExcelTable table = comparisonsheet::newLayoutTable(
        displayMode_, listTexts(list, comparisonsheet::kNewListColumns));
    auto progress =
        showTransferProgress(this, rowCount + 1, tr("Storing data,please wait..."), tr("cancel"));
    // Cancelling keeps the rows written so far; they are saved like a complete export.
    const bool written = engine.writeTable(table, [&progress](int done) {
        progress->setValue(done);
        return !progress->wasCanceled();
    });
    if (!written) {
        progress->hide();
        const bool inUse = engine.lastError() == ExcelEngine::Error::ReplaceFailed;
        engine.close();
        prompter_.information(this, tr("Error"),
                              inUse ? tr("Can't overwrite this file, maybe the file is in use!")
                                    : tr("Failed to export data to excel file"));
        return false;
    }
    progress->setValue(rowCount + 1);
    progress->hide();
    engine.close();
    on_pushButton_clear_clicked();
    prompter_.information(this, tr("Storing data"), tr("Data stored to file Success"));
    return true;
}

void FirstPageFor510::on_ExportExcelBtn_clicked() {
    QTableWidget* list = ui->tbData;
    if (list->rowCount() <= 0) {
        prompter_.information(this, QObject::tr("error"), tr("No data for Storing to Excel!"));
        return;
    }
    const QString path = prompter_.saveFileName(this, tr("Storing data to Excel"),
                                                comparisonsheet::defaultFileName(clock_()),
                                                tr("excel file (*.xlsx)"));
    if (path.isEmpty())
        return;
    ExcelEngine engine(path);
    if (!engine.open(1, ExcelEngine::OpenMode::Replace)) {
        prompter_.information(this, tr("Error"), tr("Failed to store data, can't open file!"));
        return;
    }
    const bool written = engine.writeAllData(comparisonsheet::oldLayoutBlock(
                             isChinese_, listTexts(list, comparisonsheet::kOldListColumns))) &&
                         engine.save();
    if (!written) {
        const bool inUse = engine.lastError() == ExcelEngine::Error::ReplaceFailed;
        engine.close();
        prompter_.information(this, tr("Error"),
                              inUse ? tr("Can't overwrite this file, maybe the file is in use!")
                                    : tr("Failed to export data to excel file"));
        return;
    }
    engine.close();
    on_ClearBtn_clicked();
    // These two messages are fixed texts of the old layout, in the language it shows.
    if (isChinese_)
        prompter_.information(this, QStringLiteral("存储数据"),
                              QStringLiteral("将数据成功存储到文件: \r\n\t%1").arg(path));
    else
        prompter_.information(this, QStringLiteral("Storing data"),
                              QStringLiteral("Data stored to file: \r\n\t%1").arg(path));
}

void FirstPageFor510::showProblem(const QString& title, const QString& text, bool warning) {
    if (warning)
        prompter_.warning(this, title, text);
    else
        prompter_.information(this, title, text);
}

void FirstPageFor510::on_pushButton_writeStandardColor_clicked() {
    if (!linkOpenOrComplain())
        return;
    // Held from before the file dialog, so the worker stays paused while the user chooses.
    PauseLocker locker(pauseLock());
    const QString path =
        prompter_.openFileName(this, QStringLiteral("Select one Excel files to open"),
                               QStringLiteral("./"), tr("excel file (*.xlsx)"));
    if (path.isEmpty())
        return;
    // The whole file is checked before anything is sent: a library arrives whole or not at all.
    stdcolorlib::Library library;
    if (const auto problem = stdcolorlib::loadFile(path, model_, library)) {
        locker.unlock();
        showProblem(problem->title, problem->text, problem->warning);
        return;
    }
    const int blocks = stdcolorlib::blockCount(library);
    auto progress =
        showTransferProgress(this, blocks, tr("Storing data,please wait..."), tr("cancel"));
    if (const auto problem = stdcolorlib::write(
            port_, library, [&progress](int sent) { progress->setValue(sent); })) {
        progress->hide();
        locker.unlock();
        showProblem(problem->title, problem->text, problem->warning);
        return;
    }
    progress->setValue(blocks);
    progress->hide();
    prompter_.information(this, tr("Information"),
                          tr("Write to standard color card library successfully!"));
    // Whatever else the instrument says after taking the library must not reach the worker.
    stdcolorlib::drain(port_);
}
