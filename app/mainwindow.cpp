#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "elidedlabel.h"
#include "firstpagefor510.h"
#include "historystore.h"
#include "lookandfeel.h"
#include "prompter.h"
#include "screenfit.h"
#include "workspacehistory.h"

#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>

#ifndef VELORIN_TRANSLATIONS_RELDIR
#define VELORIN_TRANSLATIONS_RELDIR "../share/velorin/translations"
#endif

namespace {
MainWindow* theInstance = nullptr;
}

MainWindow::MainWindow(MainWindowSetup setup, QWidget* parent)
    : QDialog(parent), ui(new Ui::MainWindow), watcher_(std::move(setup.watcher)),
      prompter_(setup.prompter ? setup.prompter : &Prompter::messageBoxes()),
      translators_(setup.translationDirs.isEmpty() ? defaultTranslationDirs()
                                                   : setup.translationDirs,
                   setup.qtTranslationDir) {
    if (!theInstance)
        theInstance = this;
    if (setup.transportFactory)
        port_.setTransportFactory(std::move(setup.transportFactory));
    if (!watcher_)
        watcher_ = DeviceWatcher::createForPlatform();

    ui->setupUi(this);
    initForm();
    // The language comes first: a history that cannot be opened says so in it.
    on_btnLanguageZh_clicked();
    // The list of the last run comes back before the instrument is looked for.
    if (setup.history)
        page_->setHistory(setup.history);
    QTimer::singleShot(10, this, &MainWindow::initusbport);
}

MainWindow::~MainWindow() {
    // The page is deleted with the window's children, after the link below is gone: its worker
    // must stop polling first.
    if (page_)
        page_->closeThreadSlot();
    port_.closeLink();
    watcher_.reset();
    delete ui;
    if (theInstance == this)
        theInstance = nullptr;
}

MainWindow* MainWindow::instance() {
    return theInstance;
}

QStringList MainWindow::defaultTranslationDirs() {
    const QDir programDir(QCoreApplication::applicationDirPath());
    return {QStringLiteral("."), programDir.path(),
            QDir::cleanPath(programDir.filePath(QStringLiteral(VELORIN_TRANSLATIONS_RELDIR)))};
}

void MainWindow::initForm() {
    page_ = new FirstPageFor510(port_, *prompter_, this);
    ui->stackedWidget->addWidget(page_);
    ui->stackedWidget->setCurrentWidget(page_);
    // The history's line sits in the top bar beside the connection: the page's height is the
    // list's.
    auto* historyLine = new ElidedLabel(this);
    historyLine->setObjectName(QStringLiteral("label_history"));
    ui->gridLayout->removeWidget(ui->ConnectionStateLabel);
    auto* bar = new QHBoxLayout;
    bar->setSpacing(24);
    ui->ConnectionStateLabel->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    bar->addWidget(ui->ConnectionStateLabel, 0);
    bar->addWidget(historyLine, 1);
    // Products sit in the top bar, beside the words that name the product in use: the row of
    // list buttons stays one line on a laptop's screen.
    if (auto* products = page_->findChild<QPushButton*>(QStringLiteral("pushButton_products"))) {
        products->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
        bar->addWidget(products);
    }
    ui->gridLayout->addLayout(bar, 0, 1);
    page_->setHistoryLine(historyLine);
    // The words name the instrument as soon as it has said who it is, before any message.
    connect(page_, &FirstPageFor510::instrumentIdentified, this, &MainWindow::showConnection);
    connect(&page_->session(), &ComparisonSession::productInUseChanged, this,
            &MainWindow::showConnection);
    connect(&page_->session(), &ComparisonSession::lotChanged, this, &MainWindow::showConnection);
    setWindowFlags(Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowMaximizeButtonHint);
    // The window is a dialog: Enter in a field must not press a button the user did not choose
    // (the first one, the record import, or a language button would be the default).
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);
    // Ctrl+L switches the language, Ctrl+Q quits.
    auto* language = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), this);
    connect(language, &QShortcut::activated, this, [this] {
        page_->isChinese() ? on_btnLanguageEn_clicked() : on_btnLanguageZh_clicked();
    });
    auto* quitKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this);
    connect(quitKey, &QShortcut::activated, this, &MainWindow::quit);
    setStyleSheet(lookandfeel::sizeStyleSheet());
}

void MainWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // On a short screen the top bar gives up its margins to the list below, once: restyling
    // the window again on every show would repolish all of it.
    if (!topBarTight_ && screenfit::onShortScreen(this)) {
        topBarTight_ = true;
        ui->gridLayout->setContentsMargins(6, 2, 6, 2);
        ui->gridLayout->setVerticalSpacing(2);
        setStyleSheet(lookandfeel::sizeStyleSheet() +
                      QStringLiteral("QPushButton#btnLanguageEn,QPushButton#btnLanguageZh"
                                     "{min-height:20px;padding:1px 12px;}"));
    }
}

void MainWindow::initusbport() {
    showLamp(false);
    connect(watcher_.get(), &DeviceWatcher::deviceArrived, this, &MainWindow::onDeviceArrived,
            Qt::UniqueConnection);
    connect(watcher_.get(), &DeviceWatcher::deviceRemoved, this, &MainWindow::onDeviceRemoved,
            Qt::UniqueConnection);
    if (!watcher_->start(this))
        qDebug().noquote() << "注册失败";
    OpenUSB();
}

bool MainWindow::OpenUSB() {
    if (port_.hasLink())
        return false;
    if (!port_.openLink())
        return false;
    showLamp(true);
    page_->openThreadSlot();
    page_->onDeviceConnected();
    showConnection();
    return true;
}

void MainWindow::CloseUSB() {
    if (!port_.hasLink())
        return;
    // Stop the worker before the link goes, so that no poll is left using it.
    page_->closeThreadSlot();
    port_.closeLink();
    showLamp(false);
    // The list, counters and standard stay: only Clear empties them.
    page_->onDeviceDisconnected();
}

void MainWindow::onDeviceArrived() {
    qDebug().noquote() << "收到事件 ";
    // Any device of a watched kind may be the instrument; one that is not fails to open.
    if (port_.hasLink())
        return;
    OpenUSB();
    qDebug().noquote() << "USB_设备打开";
    qDebug().noquote() << "DBT_DEVICEARRIVAL";
}

void MainWindow::onDeviceRemoved() {
    qDebug().noquote() << "收到事件 ";
    // The removal of some other device leaves our link answering.
    if (port_.hasLink() && port_.isLinkRemoved()) {
        CloseUSB();
        qDebug().noquote() << "USB_设备移除";
    }
    qDebug().noquote() << "DBT_DEVICEREMOVECOMPLETE";
}

void MainWindow::showLamp(bool on) {
    lampOn_ = on;
    ui->LinkStatusLabel->setPixmap(
        QPixmap(on ? QStringLiteral(":/image/led_on.png") : QStringLiteral(":/image/led_off.png")));
    ui->LinkStatusLabel->setAlignment(Qt::AlignCenter);
    showConnection();
}

QString MainWindow::connectionText() const {
    if (!lampOn_)
        return tr("No instrument");
    const QString number = page_->session().serialText();
    // Nothing until the instrument has told who it is.
    if (number.isEmpty())
        return QString();
    QString text = QStringLiteral("%1 \u00B7 %2").arg(page_->session().modelName(), number);
    // The product whose standard is on show and the lot the comparisons are kept with.
    const ComparisonSession& session = page_->session();
    if (const auto& product = session.productInUse())
        text += QStringLiteral(" \u00B7 ") + tr("Product: %1").arg(product->name);
    if (!session.lot().isEmpty())
        text += QStringLiteral(" \u00B7 ") + tr("Lot: %1").arg(session.lot());
    return text;
}

void MainWindow::showConnection() {
    ui->ConnectionStateLabel->setText(connectionText());
}

bool MainWindow::switchLanguage(const QString& fileName, bool chinese) {
    if (!translators_.switchTo(fileName, chinese ? QStringLiteral("zh_CN") : QStringLiteral("en")))
        return false;
    page_->setChinese(chinese);
    page_->retranslate();
    showConnection();
    return true;
}

bool MainWindow::quit() {
    const history::HistoryStore* store = page_->history().store();
    const int unwritten = store ? store->pendingCount() : 0;
    const int collected = page_->session().collectedReadings();
    if (unwritten > 0 || collected > 0) {
        QStringList lost;
        if (unwritten > 0)
            lost << tr("%n change(s) the history has not taken yet.", nullptr, unwritten);
        if (collected > 0)
            lost << tr("%n reading(s) of a set not yet complete.", nullptr, collected);
        if (prompter_->warningQuestion(
                this, tr("Quit"),
                tr("Quitting now loses:\n%1\nQuit anyway?").arg(lost.join(QLatin1Char('\n'))),
                QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
            return false;
    }
    quitting_ = true;
    close();
    return true;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closed with the window's button: the same question as Ctrl+Q.
    if (!quitting_ && !quit()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void MainWindow::on_btnLanguageEn_clicked() {
    switchLanguage(QStringLiteral("Velorin_en"), false);
}

void MainWindow::on_btnLanguageZh_clicked() {
    switchLanguage(QStringLiteral("Velorin_zh"), true);
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    // A dialog closes on Escape; this one is the whole program and holds unsaved results.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void MainWindow::handleAppMessage(const QString& message) {
    Q_UNUSED(message)
    show();
}
