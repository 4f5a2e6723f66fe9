#pragma once

#include <QDialog>

class ReportPageFor620;

namespace Ui {
class InformationPageFor620;
}

// Shows the header data of a report and edits its company, tester and auditor. Confirming
// rebuilds the report and hands the three texts on to the next report.
class InformationPageFor620 : public QDialog {
    Q_OBJECT
  public:
    // The values shown are the page's at this moment; page is also the parent.
    explicit InformationPageFor620(ReportPageFor620* page);
    ~InformationPageFor620() override;

  private slots:
    void on_Okbtn_clicked();
    void on_Cancelbtn_clicked();

  private:
    Ui::InformationPageFor620* ui;
    ReportPageFor620* page_;
};
