#include "reportpage.h"

#include "printchooser.h"
#include "prompter.h"
#include "reportpdf.h"

#include <QDir>
#include <QGuiApplication>
#include <QPrinter>
#include <QScreen>
#include <QStandardPaths>
#include <QTextBrowser>

ReportPage::ReportPage(const ReportSnapshot& snapshot, std::shared_ptr<ReportPeople> people,
                       QWidget* parent)
    : QDialog(parent), clock_(report::systemClock()), snapshot_(snapshot),
      people_(std::move(people)), prompter_(Prompter::standard()),
      printChooser_(&PrintChooser::systemDialog()) {
    if (people_) {
        snapshot_.company = people_->company;
        snapshot_.tester = people_->tester;
        snapshot_.auditor = people_->auditor;
    }
    // Several reports stay open side by side; each one goes away with its window.
    setAttribute(Qt::WA_DeleteOnClose);
}

ReportPage::~ReportPage() = default;

void ReportPage::startShowing(QTextBrowser* browser) {
    browser_ = browser;
    browser_->setFont(report::withCjkFallback(browser_->font()));
    refreshReport();
    const QScreen* screen = QGuiApplication::primaryScreen();
    resize(700, screen ? screen->availableGeometry().height() - 40 : 700);
}

void ReportPage::setReportPeople(const QString& company, const QString& tester,
                                 const QString& auditor) {
    snapshot_.company = company;
    snapshot_.tester = tester;
    snapshot_.auditor = auditor;
}

void ReportPage::refreshReport() {
    browser_->clear();
    browser_->setHtml(buildReportHtml());
}

void ReportPage::storeReportPeople() {
    if (people_)
        *people_ = ReportPeople{snapshot_.company, snapshot_.tester, snapshot_.auditor};
}

void ReportPage::setPrompter(Prompter* prompter) {
    prompter_ = prompter ? prompter : Prompter::standard();
}

void ReportPage::setPrintChooser(PrintChooser* chooser) {
    printChooser_ = chooser ? chooser : &PrintChooser::systemDialog();
}

void ReportPage::setClock(ReportClock clock) {
    clock_ = clock ? std::move(clock) : report::systemClock();
}

void ReportPage::on_PrintReportbtn_clicked() {
    QPrinter printer(QPrinter::ScreenResolution);
    if (!printChooser_->choose(printer, this))
        return;
    browser_->document()->print(&printer);
}

void ReportPage::on_pushButton_savePdf_clicked() {
    const QString name = report::reportTitle(clock_()) + QLatin1String(".pdf");
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString path = prompter_->saveFileName(
        this, tr("Save Report as PDF"), folder.isEmpty() ? name : QDir(folder).filePath(name),
        tr("PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!report::writeReportPdf(*browser_->document(), path, &error)) {
        qDebug("report: PDF not written to %s: %s", qPrintable(path), qPrintable(error));
        prompter_->warning(this, tr("Error"), tr("Failed to save the report as PDF!"));
    }
}
