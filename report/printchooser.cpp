#include "printchooser.h"

#include <QPrintDialog>
#include <QPrinter>

namespace {

class SystemPrintDialog : public PrintChooser {
  public:
    bool choose(QPrinter& printer, QWidget* parent) override {
        QPrintDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    }
};

} // namespace

PrintChooser::~PrintChooser() = default;

PrintChooser& PrintChooser::systemDialog() {
    static SystemPrintDialog chooser;
    return chooser;
}
