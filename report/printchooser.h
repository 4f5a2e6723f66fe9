#pragma once

class QPrinter;
class QWidget;

// Lets the user choose where and how a report is printed. The program shows the system print
// dialog; tests answer without one, so no test ever waits on a modal dialog.
class PrintChooser {
  public:
    virtual ~PrintChooser();

    // True when the user confirmed; printer then carries the choice.
    virtual bool choose(QPrinter& printer, QWidget* parent) = 0;

    // The chooser that shows the system print dialog.
    static PrintChooser& systemDialog();
};
