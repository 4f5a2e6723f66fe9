#include "informationpagefor620.h"
#include "ui_informationpagefor620.h"

#include "reportpagefor620.h"

InformationPageFor620::InformationPageFor620(ReportPageFor620* page)
    : QDialog(page), ui(new Ui::InformationPageFor620), page_(page) {
    ui->setupUi(this);
    // Opened afresh by every press of "Information"; nothing to keep once it is closed.
    setAttribute(Qt::WA_DeleteOnClose);
    const ReportSnapshot& s = page_->snapshot();
    ui->DeviceEdit->setText(s.device);
    ui->serialNoEdit->setText(s.serialNumber);
    ui->CompanyEdit->setText(s.company);
    ui->SampleNameEdit->setText(s.sampleName);
    ui->FormulaEdit->setText(s.deltaEFormula);
    ui->ThresholdsEdit->setText(s.deltaEThreshold);
    ui->TestTimeEdit->setText(s.testTime);
    ui->TesterEdit->setText(s.tester);
    ui->AuditorEdit->setText(s.auditor);
}

InformationPageFor620::~InformationPageFor620() {
    delete ui;
}

void InformationPageFor620::on_Okbtn_clicked() {
    page_->setReportPeople(ui->CompanyEdit->text(), ui->TesterEdit->text(),
                           ui->AuditorEdit->text());
    page_->refreshReport();
    page_->storeReportPeople();
    close();
}

void InformationPageFor620::on_Cancelbtn_clicked() {
    close();
}
