#include "firstpagefor510.h"
#include "ui_firstpagefor510.h"

#include "colourdifference.h"
#include "deviceinfocommands.h"
#include "frameport.h"
#include "mythread.h"
#include "pauselock.h"
#include "prompter.h"

#include <QButtonGroup>
#include <QDebug>
#include <QDoubleValidator>
#include <QThread>

namespace {

constexpr int kModeCount = 7;

// Display modes a user-interface kind can show; anything else read from the instrument is wrong.
bool modeSuitsKind(int mode, int kind)
{
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

} // namespace

FirstPageFor510::FirstPageFor510(FramePort& port, Prompter& prompter, QWidget* parent)
    : QWidget(parent), port_(port), prompter_(prompter), ui(new Ui::FirstPageFor510)
{
    ui->setupUi(this);
    model_ = tr("UnKnow");

    auto* percent = new QDoubleValidator(0, 100, 2, this);
    percent->setNotation(QDoubleValidator::StandardNotation);
    ui->lineEdit_hazeTolerance->setValidator(percent);
    ui->lineEdit_tTolerance->setValidator(percent);
    auto* threshold = new QDoubleValidator(0, 50, 1, this);
    threshold->setNotation(QDoubleValidator::StandardNotation);
    ui->lineEdit_eThresholds->setValidator(threshold);

    displayGroup_ = new QButtonGroup(this);
    const QList<QRadioButton*> radios = {ui->radioButton_hazeT, ui->radioButton_haze,
                                         ui->radioButton_t,     ui->radioButton_Lab,
                                         ui->radioButton_LCh,   ui->radioButton_Yxy,
                                         ui->radioButton_hazeTLab};
    for (int id = 0; id < radios.size(); ++id)
        displayGroup_->addButton(radios[id], id);
    connect(displayGroup_, &QButtonGroup::idClicked, this, &FirstPageFor510::onButtonClicked);

    meterList_ = ModelTable::loadDefault();

    ui->stackedWidget_comparisonMeasurement->setCurrentWidget(ui->page_newComparisonMeasurement);
    ui->stackedWidget_data->setCurrentWidget(ui->page_newData);
    ui->stackedWidget->setCurrentWidget(ui->page_tolerance);
    showToleranceRows(true, true, false);
    ui->companyinfoLab->hide();
    ui->companywetLab->hide();
}

FirstPageFor510::~FirstPageFor510()
{
    closeThreadSlot();
    delete ui;
}

std::shared_ptr<PauseLock> FirstPageFor510::pauseLock() const
{
    return worker_ ? worker_->sharedPauseLock() : nullptr;
}

int FirstPageFor510::displayMode() const { return modeReported_ ? displayMode_ : -1; }

bool FirstPageFor510::usesOldLayout() const { return models::usesOldLayout(model_, firmwareVersion_); }

void FirstPageFor510::openThreadSlot()
{
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

void FirstPageFor510::closeThreadSlot()
{
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
}

void FirstPageFor510::SaveData(QByteArray data)
{
    // Frames may arrive split over several chunks; the measurement flow scans the whole buffer.
    receiveBuffer_.append(data);
}

void FirstPageFor510::clear()
{
    nextTarget_ = 1;
    standardPresent_ = false;
    comparisonSerial_ = 0;
    failCount_ = passCount_ = totalCount_ = 0;
    receiveBuffer_.clear();
    ui->lineEdit_unqualNum->setText(QStringLiteral("0"));
    ui->lineEdit_qualNum->setText(QStringLiteral("0"));
    ui->lineEdit_totalNum->setText(QStringLiteral("0"));
    ui->label_result->clear();
    ui->label_result->setStyleSheet(QStringLiteral("background-color: rgb(0, 255, 0);"));
    ui->tableWidget_data->setRowCount(0);
    ui->tbData->setRowCount(0);
}

bool FirstPageFor510::linkOpenOrComplain()
{
    if (port_.isLinkOpen())
        return true;
    prompter_.information(this, tr("Error"), tr("Please connect the device first!"));
    return false;
}

void FirstPageFor510::fail(PauseLocker& locker, const QString& title, const QString& text)
{
    locker.unlock();
    prompter_.information(this, title, text);
}

void FirstPageFor510::onDeviceConnected()
{
    initForDevice();
    if (uiIndex_ == 0 || uiIndex_ == 3)
        on_pushButton_readTolerance_clicked();
    else
        on_pushButton_readParameter_clicked();
}

bool FirstPageFor510::initForDevice()
{
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
    displayMode_ = mode;
    modeReported_ = true;
    displayGroup_->button(mode)->setChecked(true);
    onButtonClicked(mode);
    return true;
}

void FirstPageFor510::configureForKind()
{
    auto showModes = [this](std::initializer_list<int> shown) {
        for (int id = 0; id < kModeCount; ++id)
            displayGroup_->button(id)->setVisible(std::find(shown.begin(), shown.end(), id) != shown.end());
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

void FirstPageFor510::placeSettingsStack(bool oldLayout)
{
    // The old layout has no display group, so the settings move up into its cell.
    ui->gridLayout_firstPageFor510->removeWidget(ui->stackedWidget);
    if (oldLayout)
        ui->gridLayout_firstPageFor510->addWidget(ui->stackedWidget, 0, 4, 1, 1);
    else
        ui->gridLayout_firstPageFor510->addWidget(ui->stackedWidget, 2, 4, 3, 1);
}

void FirstPageFor510::showToleranceRows(bool haze, bool t, bool threshold)
{
    ui->label_hazeTolerance->setVisible(haze);
    ui->lineEdit_hazeTolerance->setVisible(haze);
    ui->label_hazeTolerancePercentage->setVisible(haze);
    ui->label_tTolerance->setVisible(t);
    ui->lineEdit_tTolerance->setVisible(t);
    ui->label_tTolerancePercentage->setVisible(t);
    ui->label_eThresholds->setVisible(threshold);
    ui->lineEdit_eThresholds->setVisible(threshold);
}

void FirstPageFor510::onButtonClicked(int id)
{
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

int FirstPageFor510::on_pushButton_readTolerance_clicked()
{
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

int FirstPageFor510::on_pushButton_readParameter_clicked()
{
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

void FirstPageFor510::relabelSpectralButton()
{
    const bool reflectance = uiIndex_ == 1 || uiIndex_ == 2;
    // These two texts are fixed per language rather than taken from the translation files.
    if (isChinese_)
        ui->pushButton_spectralTransmittance->setText(reflectance ? QStringLiteral("光谱反射率")
                                                                  : QStringLiteral("光谱透过率"));
    else
        ui->pushButton_spectralTransmittance->setText(reflectance ? tr("Spectral reflectance")
                                                                  : tr("Spectral transmittance"));
}

void FirstPageFor510::relabel()
{
    ui->retranslateUi(this);
    relabelSpectralButton();
}

void FirstPageFor510::retranslate()
{
    relabel();
    // retranslateUi put the construction texts back; texts that depend on data are recomputed.
    if (!modelKnown_)
        model_ = tr("UnKnow");
    if (formulaIndex_ >= 0 && formulaIndex_ <= 6) {
        const QString label = colour::formulaLabel(formulaIndex_, usesOldLayout());
        if (!label.isNull())
            ui->lineEdit_formula->setText(label);
    }
    const QString result = ui->label_result->text();
    if (result == QLatin1String("PASS") || result == QStringLiteral("合格"))
        ui->label_result->setText(tr("PASS"));
    else if (result == QLatin1String("NG") || result == QStringLiteral("不合格"))
        ui->label_result->setText(tr("NG"));
}
