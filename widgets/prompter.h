#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// Every message box, question and file dialog of the pages goes through a prompter. The
// program uses the real Qt dialogs; tests give scripted answers and read back what was shown.
class Prompter {
public:
    virtual ~Prompter();

    // A modal information box with one OK button.
    virtual void information(QWidget* parent, const QString& title, const QString& text) = 0;
    // A modal warning box with one OK button.
    virtual void warning(QWidget* parent, const QString& title, const QString& text) = 0;
    // A modal question; returns the button chosen.
    virtual QMessageBox::StandardButton question(QWidget* parent, const QString& title, const QString& text,
                                                 QMessageBox::StandardButtons buttons,
                                                 QMessageBox::StandardButton defaultButton) = 0;
    // Empty when the user cancels.
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& directory,
                                 const QString& filter) = 0;
    virtual QString openFileName(QWidget* parent, const QString& caption, const QString& directory,
                                 const QString& filter) = 0;

    // The real dialogs. Never null; not owned.
    static Prompter* standard();
};

// The real Qt dialogs.
class QtPrompter : public Prompter {
public:
    void information(QWidget* parent, const QString& title, const QString& text) override;
    void warning(QWidget* parent, const QString& title, const QString& text) override;
    QMessageBox::StandardButton question(QWidget* parent, const QString& title, const QString& text,
                                         QMessageBox::StandardButtons buttons,
                                         QMessageBox::StandardButton defaultButton) override;
    QString saveFileName(QWidget* parent, const QString& caption, const QString& directory,
                         const QString& filter) override;
    QString openFileName(QWidget* parent, const QString& caption, const QString& directory,
                         const QString& filter) override;
};
