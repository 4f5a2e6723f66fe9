#include "reportpagefor620.h"
#include "ui_reportpagefor620.h"

#include "informationpagefor620.h"

ReportPageFor620::ReportPageFor620(const ReportSnapshot& snapshot,
                                   std::shared_ptr<ReportPeople> people, QWidget* parent)
    : ReportPage(snapshot, std::move(people), parent), ui(new Ui::ReportPageFor620) {
    ui->setupUi(this);
    snapshot_.device = QStringLiteral("Colorimeter");
    report::computeColourDifferencesFor620(snapshot_);
    startShowing(ui->textBrowser);
}

ReportPageFor620::~ReportPageFor620() {
    delete ui;
}

QString ReportPageFor620::buildReportHtml() const {
    return report::buildReportHtmlFor620(snapshot_, report::installedTranslations(), clock_);
}

void ReportPageFor620::on_Informationbtn_clicked() {
    auto* information = new InformationPageFor620(this);
    information->show();
    information->raise();
    information->activateWindow();
}
