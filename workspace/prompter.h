#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// How pages put a notice or a question in front of the user. The program shows message boxes;
// tests record what would have been shown and answer questions themselves.
class Prompter {
public:
    virtual ~Prompter();

    virtual void information(QWidget* parent, const QString& title, const QString& text) = 0;
    // Returns the button the user chose.
    virtual QMessageBox::StandardButton question(QWidget* parent, const QString& title,
                                                 const QString& text,
                                                 QMessageBox::StandardButtons buttons) = 0;

    // The prompter that shows modal message boxes.
    static Prompter& messageBoxes();
};
