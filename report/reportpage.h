#pragma once

#include "reporthtml.h"
#include "reportsnapshot.h"

#include <QDialog>

#include <memory>

class PrintChooser;
class Prompter;
class QTextBrowser;

// What the two report pages share: the snapshot they were opened with, the carried-over
// company, tester and auditor, the shown document, printing and saving as PDF.
class ReportPage : public QDialog {
    Q_OBJECT
  public:
    ~ReportPage() override;

    const ReportSnapshot& snapshot() const { return snapshot_; }
    // The three texts the information dialog edits; the report is not rebuilt here.
    void setReportPeople(const QString& company, const QString& tester, const QString& auditor);

    // The report document for the snapshot, the interface language and the clock.
    virtual QString buildReportHtml() const = 0;
    // Shows a freshly built document.
    void refreshReport();
    // Hands company, tester and auditor on to the reports opened after this one.
    void storeReportPeople();

    // Seams; null restores the real dialogs and the system clock.
    void setPrompter(Prompter* prompter);
    void setPrintChooser(PrintChooser* chooser);
    void setClock(ReportClock clock);

    QTextBrowser* textBrowser() const { return browser_; }

  protected:
    // people may be null (nothing carried over); otherwise it overrides the snapshot's company,
    // tester and auditor, and storeReportPeople writes back into it.
    ReportPage(const ReportSnapshot& snapshot, std::shared_ptr<ReportPeople> people,
               QWidget* parent);
    // Called by the page once its form is set up: shows the first document and takes the size
    // of a report page.
    void startShowing(QTextBrowser* browser);

    ReportClock clock_;
    ReportSnapshot snapshot_;

  private slots:
    void on_PrintReportbtn_clicked();
    void on_pushButton_savePdf_clicked();

  private:
    std::shared_ptr<ReportPeople> people_;
    Prompter* prompter_;
    PrintChooser* printChooser_;
    QTextBrowser* browser_ = nullptr;
};
