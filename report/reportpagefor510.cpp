#include "reportpagefor510.h"
#include "ui_reportpagefor510.h"

#include "informationpagefor510.h"

ReportPageFor510::ReportPageFor510(int uiIndex, const ReportSnapshot& snapshot,
                                   std::shared_ptr<ReportPeople> people, QWidget* parent)
    : ReportPage(snapshot, std::move(people), parent), ui(new Ui::ReportPageFor510) {
    ui->setupUi(this);
    snapshot_.uiIndex = uiIndex;
    report::computeColourDifferencesFor510(snapshot_);
    startShowing(ui->textBrowser);
}

ReportPageFor510::~ReportPageFor510() {
    delete ui;
}

QString ReportPageFor510::buildReportHtml() const {
    return report::buildReportHtmlFor510(snapshot_, report::installedTranslations(), clock_);
}

void ReportPageFor510::on_Informationbtn_clicked() {
    auto* information = new InformationPageFor510(this);
    information->show();
    information->raise();
    information->activateWindow();
}
