#include "transferprogress.h"

std::unique_ptr<QProgressDialog> showTransferProgress(QWidget* parent, int maximum,
                                                      const QString& label,
                                                      const QString& cancelText) {
    auto dialog = std::make_unique<QProgressDialog>(label, cancelText, 0, maximum, parent);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setMinimumDuration(0);
    dialog->setValue(0);
    dialog->show();
    return dialog;
}
