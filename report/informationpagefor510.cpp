#include "informationpagefor510.h"
#include "ui_informationpagefor510.h"

#include "reportpagefor510.h"

InformationPageFor510::InformationPageFor510(ReportPageFor510* page)
    : QDialog(page), ui(new Ui::InformationPageFor510), page_(page) {
    ui->setupUi(this);
    // Opened afresh by every press of "Information"; nothing to keep once it is closed.
    setAttribute(Qt::WA_DeleteOnClose);
    const ReportSnapshot& s = page_->snapshot();
    ui->DeviceEdit->setText(s.device);
    ui->serialNoEdit->setText(s.serialNumber);
    ui->CompanyEdit->setText(s.company);
    ui->SampleNameEdit->setText(s.sampleName);
    ui->TestTimeEdit->setText(s.testTime);
    ui->TesterEdit->setText(s.tester);
    ui->AuditorEdit->setText(s.auditor);
}

InformationPageFor510::~InformationPageFor510() {
    delete ui;
}

void InformationPageFor510::on_Okbtn_clicked() {
    page_->setReportPeople(ui->CompanyEdit->text(), ui->TesterEdit->text(),
                           ui->AuditorEdit->text());
    page_->refreshReport();
    page_->storeReportPeople();
    close();
}

void InformationPageFor510::on_Cancelbtn_clicked() {
    close();
}
