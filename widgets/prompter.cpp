#include "prompter.h"

#include <QFileDialog>

namespace {

class DialogPrompter : public Prompter {
  public:
    void information(QWidget* parent, const QString& title, const QString& text) override {
        QMessageBox::information(parent, title, text, QMessageBox::Ok);
    }
    void warning(QWidget* parent, const QString& title, const QString& text) override {
        QMessageBox::warning(parent, title, text, QMessageBox::Ok);
    }
    QMessageBox::StandardButton question(QWidget* parent, const QString& title, const QString& text,
                                         QMessageBox::StandardButtons buttons) override {
        return QMessageBox::question(parent, title, text, buttons);
    }
    QMessageBox::StandardButton warningQuestion(QWidget* parent, const QString& title,
                                                const QString& text,
                                                QMessageBox::StandardButtons buttons) override {
        return QMessageBox::warning(parent, title, text, buttons);
    }
    QString saveFileName(QWidget* parent, const QString& caption, const QString& directory,
                         const QString& filter) override {
        return QFileDialog::getSaveFileName(parent, caption, directory, filter);
    }
    QString openFileName(QWidget* parent, const QString& caption, const QString& directory,
                         const QString& filter) override {
        return QFileDialog::getOpenFileName(parent, caption, directory, filter);
    }
};

} // namespace

Prompter::~Prompter() = default;

QString Prompter::saveFileName(QWidget*, const QString&, const QString&, const QString&) {
    return {};
}

QString Prompter::openFileName(QWidget*, const QString&, const QString&, const QString&) {
    return {};
}

Prompter& Prompter::messageBoxes() {
    static DialogPrompter prompter;
    return prompter;
}
