#include "prompter.h"

#include <QFileDialog>

Prompter::~Prompter() = default;

Prompter* Prompter::standard()
{
    static QtPrompter prompter;
    return &prompter;
}

void QtPrompter::information(QWidget* parent, const QString& title, const QString& text)
{
    QMessageBox::information(parent, title, text, QMessageBox::Ok);
}

void QtPrompter::warning(QWidget* parent, const QString& title, const QString& text)
{
    QMessageBox::warning(parent, title, text, QMessageBox::Ok);
}

QMessageBox::StandardButton QtPrompter::question(QWidget* parent, const QString& title, const QString& text,
                                                 QMessageBox::StandardButtons buttons,
                                                 QMessageBox::StandardButton defaultButton)
{
    return QMessageBox::question(parent, title, text, buttons, defaultButton);
}

QString QtPrompter::saveFileName(QWidget* parent, const QString& caption, const QString& directory,
                                 const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, caption, directory, filter);
}

QString QtPrompter::openFileName(QWidget* parent, const QString& caption, const QString& directory,
                                 const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, caption, directory, filter);
}
