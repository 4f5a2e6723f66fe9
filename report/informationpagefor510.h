#pragma once

#include <QDialog>

class ReportPageFor510;

namespace Ui {
class InformationPageFor510;
}

// Shows the header data of a report and edits its company, tester and auditor. Confirming
// rebuilds the report and hands the three texts on to the next report.
class InformationPageFor510 : public QDialog {
    Q_OBJECT
  public:
    // The values shown are the page's at this moment; page is also the parent.
    explicit InformationPageFor510(ReportPageFor510* page);
    ~InformationPageFor510() override;

  private slots:
    void on_Okbtn_clicked();
    void on_Cancelbtn_clicked();

  private:
    Ui::InformationPageFor510* ui;
    ReportPageFor510* page_;
};
