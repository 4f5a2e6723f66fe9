#pragma once

#include <QMessageBox>
#include <QString>

class QSettings;
class QWidget;

// Where the file dialogs start: the folder last used for the same kind of file (the first
// pattern of the dialog's filter, "*.xlsx" → "xlsx"), kept in the settings. A suggested file
// name is kept and put into that folder.
class FolderMemory {
  public:
    // settings may be null: the program's own settings then.
    explicit FolderMemory(QSettings* settings = nullptr);

    static QString fileKind(const QString& filter);
    // The dialog's start: suggested as it is when nothing is remembered for the kind (or the
    // folder has gone), otherwise the remembered folder with suggested's file name, if any.
    QString startIn(const QString& filter, const QString& suggested) const;
    // Remembers the folder of a chosen file; an empty choice (cancel) changes nothing.
    void remember(const QString& filter, const QString& chosen);

  private:
    QSettings* settings_;
};

// Every message box, question and file dialog of the pages goes through a prompter. The
// program shows the real Qt dialogs; tests record what would have been shown and answer
// questions and file dialogs themselves, so no test ever waits on a modal box.
class Prompter {
  public:
    virtual ~Prompter();

    // A modal information box with one OK button.
    virtual void information(QWidget* parent, const QString& title, const QString& text) = 0;
    // A modal question; returns the button the user chose. Enter chooses the default button:
    // unless one is given, the one that loses nothing (Cancel, else No). Esc and closing the box
    // choose Cancel, else No.
    virtual QMessageBox::StandardButton
    question(QWidget* parent, const QString& title, const QString& text,
             QMessageBox::StandardButtons buttons,
             QMessageBox::StandardButton defaultButton = QMessageBox::NoButton) = 0;
    // A modal warning box with one OK button. A prompter that does not tell the two apart
    // records it as information.
    virtual void warning(QWidget* parent, const QString& title, const QString& text) {
        information(parent, title, text);
    }
    // A modal warning box that asks: it offers the buttons given and returns the one chosen. A
    // prompter that has no such box asks it as a question.
    virtual QMessageBox::StandardButton
    warningQuestion(QWidget* parent, const QString& title, const QString& text,
                    QMessageBox::StandardButtons buttons,
                    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton) {
        return question(parent, title, text, buttons, defaultButton);
    }
    // The default of a question: the one given, else Cancel, else No.
    static QMessageBox::StandardButton safeDefault(QMessageBox::StandardButtons buttons,
                                                   QMessageBox::StandardButton given);
    // A line of text the user types (a name); a null string when the user cancels (the default
    // for prompters that script none), an empty one when the user cleared the field.
    virtual QString textInput(QWidget* parent, const QString& title, const QString& label,
                              const QString& text = QString());
    // File dialogs: empty when the user cancels (the default for prompters that script none).
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& directory,
                                 const QString& filter);
    virtual QString openFileName(QWidget* parent, const QString& caption, const QString& directory,
                                 const QString& filter);

    // The prompter that shows the real dialogs.
    static Prompter& messageBoxes();
    static Prompter* standard() { return &messageBoxes(); }
};
