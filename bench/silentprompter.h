#pragma once

#include "prompter.h"

// Answers every box without showing it (questions with No) and keeps the last text.
class SilentPrompter : public Prompter {
  public:
    void information(QWidget*, const QString&, const QString& text) override { last = text; }
    QMessageBox::StandardButton question(QWidget*, const QString&, const QString&,
                                         QMessageBox::StandardButtons,
                                         QMessageBox::StandardButton) override {
        return QMessageBox::No;
    }
    QString last;
};
