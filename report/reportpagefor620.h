#pragma once

#include "reportpage.h"

namespace Ui {
class ReportPageFor620;
}

// The test report of the old colorimeter layout: always L*, a*, b*, C* and h, with an English
// and a Chinese document (snapshot.chinese).
class ReportPageFor620 : public ReportPage {
    Q_OBJECT
  public:
    // snapshot as the workspace took it from the old list row; the device is always
    // "Colorimeter" and every difference is worked out here. people: see ReportPage.
    ReportPageFor620(const ReportSnapshot& snapshot, std::shared_ptr<ReportPeople> people,
                     QWidget* parent = nullptr);
    ~ReportPageFor620() override;

    QString buildReportHtml() const override;

  private slots:
    void on_Informationbtn_clicked();

  private:
    Ui::ReportPageFor620* ui;
};
