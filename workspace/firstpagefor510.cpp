#include "firstpagefor510.h"

#include "ui_firstpagefor510.h"

#include "comparisonrows.h"
#include "decimalvalidator.h"
#include "deviceinfocommands.h"
#include "frameport.h"
#include "historyjournal.h"
#include "mythread.h"
#include "pauselock.h"
#include "prompter.h"
#include "rbtableheaderview.h"
#include "rowbuttondelegate.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QDebug>
#include <QDoubleValidator>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QThread>
#include <QTimer>

using namespace comparisonrows;

namespace {

constexpr int kModeCount = 7;
const QString kPlaceholder = QStringLiteral("-----");
const QString kBlueEdit = QStringLiteral("color: rgb(0, 0, 255);");
constexpr int kValueRows = ComparisonRecord::kValueCount;
constexpr int kDeltaERow = 12;
constexpr int kOldValueRows = ComparisonRecord::kOldValueCount;
constexpr int kOldDeltaERow = 6;

QString colorimeterText(const char* source) {
    return QCoreApplication::translate(colour::kFormulaContext, source);
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
    : QWidget(parent), port_(port), prompter_(prompter),
      session_(new ComparisonSession(port, this)), ui(new Ui::FirstPageFor510),
      clock_([] { return QDateTime::currentDateTime(); }),
      dialogRunner_([](QDialog& dialog) { return dialog.exec(); }) {
    ui->setupUi(this);
    session_->setPauseLockSource([this] { return pauseLock(); });
    session_->setModelTable(ModelTable::loadDefault());
    arrivalClock_.start();

    auto* percent = new DecimalValidator(0, 100, 2, this);
    ui->lineEdit_hazeTolerance->setValidator(percent);
    ui->lineEdit_tTolerance->setValidator(percent);
    auto* threshold = new DecimalValidator(0, 50, 1, this);
    ui->lineEdit_eThresholds->setValidator(threshold);
    ui->lineEdit_thresholds->setValidator(new DecimalValidator(0, 50, 1, this));

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
    setUpAnalysis();
    // A standard the session dropped (a failed measurement, another instrument) is not shown.
    connect(session_, &ComparisonSession::standardChanged, this, [this] {
        if (!session_->hasStandard())
            blankSide(1);
    });
    for (bool old : {false, true})
        connect(&session_->listModel(old), &ComparisonListModel::countersChanged, this,
                &FirstPageFor510::refreshCounters);
    connect(session_, &ComparisonSession::listClosed, this, &FirstPageFor510::showListClosed);

    ui->stackedWidget_comparisonMeasurement->setCurrentWidget(ui->page_newComparisonMeasurement);
    ui->stackedWidget_data->setCurrentWidget(ui->page_newData);
    ui->stackedWidget->setCurrentWidget(ui->page_tolerance);
    showToleranceRows(true, true, false);
    ui->companyinfoLab->hide();
    ui->companywetLab->hide();
    connect(ui->tableWidget_data, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { doubleClickedSlot(index.row(), index.column()); });
    connect(ui->tbData, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        doubleClickedSlot_old(index.row(), index.column());
    });
    applyDisplayMode();
    // The page sits in a dialog-like window: Enter in a field must not press a button the user
    // did not choose (the first one, the record import, would otherwise be the default).
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);
}

FirstPageFor510::~FirstPageFor510() {
    closeThreadSlot();
    // The journal lets go of the session, which is deleted with the page's children.
    delete journal_;
    delete ui;
}

void FirstPageFor510::setModelTable(const ModelTable& table) {
    session_->setModelTable(table);
}

void FirstPageFor510::setClock(std::function<QDateTime()> clock) {
    clock_ = clock;
    session_->setClock(std::move(clock));
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
        // The table takes the height the panels beside it need and no more; its rows stretch.
        table->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
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
    keepRowsInView(ui->tbColorDiff);
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
        const int index = row - 1;
        connect(edit, &QLineEdit::textChanged, this,
                [this, index](const QString& text) { standardEdited(index, text); });
        connect(edit, &QLineEdit::editingFinished, this,
                [this, index, edit] { standardEditFinished(index, edit); });
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
    QTableView* list = ui->tableWidget_data;
    list->setModel(&session_->listModel(false));
    newHeaderView_ = new RbTableHeaderView(Qt::Horizontal, 2, ListColumns, list);
    list->setHorizontalHeader(newHeaderView_);
    QTableView* old = ui->tbData;
    old->setModel(&session_->listModel(true));
    oldHeaderView_ = new RbTableHeaderView(Qt::Horizontal, 2, OldListColumns, old);
    old->setHorizontalHeader(oldHeaderView_);

    for (auto [table, header] : {std::pair{list, newHeaderView_}, std::pair{old, oldHeaderView_}}) {
        const int columns = table->model()->columnCount();
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
        setListLine(table, header);
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

QTableView* FirstPageFor510::currentListView() const {
    return listShownOld() ? ui->tbData : ui->tableWidget_data;
}

bool FirstPageFor510::listShownOld() const {
    return session_->shownMeaning().oldLayout;
}

void FirstPageFor510::refreshCounters() {
    const ComparisonListModel& list = session_->list();
    ui->lineEdit_unqualNum->setText(QString::number(list.failCount()));
    ui->lineEdit_qualNum->setText(QString::number(list.passCount()));
    ui->lineEdit_totalNum->setText(QString::number(list.totalCount()));
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
    showRestoredStandard();
    if (session_->profile().parameterPage)
        on_pushButton_readParameter_clicked();
    else
        on_pushButton_readTolerance_clicked();
}

void FirstPageFor510::onDeviceDisconnected() {
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
    ui->groupBox_setDisplayParameter->setVisible(!old);
    ui->stackedWidget_comparisonMeasurement->setCurrentWidget(
        old ? ui->page_oldComparisonMeasurement : ui->page_newComparisonMeasurement);
    placeSettingsStack(old);
    const int mode = session_->displayMode();
    // A mode the page cannot show leaves no mode chosen: nothing is measured until one is set.
    if (QAbstractButton* chosen = displayGroup_->checkedButton(); chosen && mode < 0) {
        displayGroup_->setExclusive(false);
        chosen->setChecked(false);
        displayGroup_->setExclusive(true);
    }
    if (!old && mode >= 0) {
        displayGroup_->button(mode)->setChecked(true);
        onButtonClicked(mode);
    }
    applyDisplayMode();
    refreshCounters();
    return shown(result);
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

void FirstPageFor510::applyDisplayMode() {
    // The list shows its rows' own columns; the comparison table the mode in force.
    const ListMeaning shown = session_->shownMeaning();
    ui->stackedWidget_data->setCurrentWidget(shown.oldLayout ? ui->page_oldData : ui->page_newData);
    refreshAnalysis();
    if (shown.oldLayout)
        return;
    QTableWidget* table = ui->tableWidget_colorDiff;
    QTableView* list = ui->tableWidget_data;
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
    const int inForce = session_->displayMode() >= 0 ? session_->displayMode() : shown.displayMode;
    const Shown& rows = byMode[inForce >= 0 && inForce < kModeCount ? inForce : 0];
    for (int row = 1; row <= kDeltaERow; ++row)
        table->setRowHidden(row,
                            std::find(rows.rows.begin(), rows.rows.end(), row) == rows.rows.end());
    keepRowsInView(table);
    const Shown& columns =
        byMode[shown.displayMode >= 0 && shown.displayMode < kModeCount ? shown.displayMode : 0];
    for (int column = ColStandard; column <= ColDeltaE; ++column)
        list->setColumnHidden(column, std::find(columns.columns.begin(), columns.columns.end(),
                                                column) == columns.columns.end());

    const QScreen* screen = QGuiApplication::primaryScreen();
    const double u =
        (screen ? screen->availableGeometry().width() : 1280) / double(columns.units + 5);
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
    relabelListHeaders();
    relabelHistory();
    relabelAnalysis();
}
