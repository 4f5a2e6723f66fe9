#pragma once

#include "reportpage.h"

namespace Ui {
class ReportPageFor510;
}

// The test report of the current workspace layout, in the layout of the display mode in force.
class ReportPageFor510 : public ReportPage {
    Q_OBJECT
  public:
    // snapshot as the workspace took it from the list row; uiIndex is the instrument's
    // interface kind. The colour differences are worked out here. people: see ReportPage.
    ReportPageFor510(int uiIndex, const ReportSnapshot& snapshot,
                     std::shared_ptr<ReportPeople> people, QWidget* parent = nullptr);
    ~ReportPageFor510() override;

    QString buildReportHtml() const override;

  private slots:
    void on_Informationbtn_clicked();

  private:
    Ui::ReportPageFor510* ui;
};
