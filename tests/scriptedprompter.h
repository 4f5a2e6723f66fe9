#pragma once

#include "prompter.h"

#include <QList>
#include <QStringList>

#include <functional>

// Answers every dialog from a script and records what was shown, so no test ever waits on a
// modal box. Unscripted questions answer No; unscripted file dialogs answer "cancel".
class ScriptedPrompter : public Prompter {
  public:
    struct Shown {
        QString kind; // "information", "warning", "question", "save", "open"
        QString title;
        QString text;
        QMessageBox::StandardButtons buttons;
        QString directory; // file dialogs: the start directory or proposed name
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton; // what Enter chooses
    };

    void information(QWidget*, const QString& title, const QString& text) override {
        show({QStringLiteral("information"), title, text, QMessageBox::Ok, {}});
    }
    void warning(QWidget*, const QString& title, const QString& text) override {
        show({QStringLiteral("warning"), title, text, QMessageBox::Ok, {}});
    }
    QMessageBox::StandardButton question(QWidget*, const QString& title, const QString& text,
                                         QMessageBox::StandardButtons buttons,
                                         QMessageBox::StandardButton defaultButton) override {
        show({QStringLiteral("question"),
              title,
              text,
              buttons,
              {},
              safeDefault(buttons, defaultButton)});
        return answers.isEmpty() ? QMessageBox::No : answers.takeFirst();
    }
    QMessageBox::StandardButton
    warningQuestion(QWidget*, const QString& title, const QString& text,
                    QMessageBox::StandardButtons buttons,
                    QMessageBox::StandardButton defaultButton) override {
        show({QStringLiteral("warning"),
              title,
              text,
              buttons,
              {},
              safeDefault(buttons, defaultButton)});
        return answers.isEmpty() ? QMessageBox::No : answers.takeFirst();
    }
    QString saveFileName(QWidget*, const QString& caption, const QString& directory,
                         const QString& filter) override {
        show({QStringLiteral("save"), caption, filter, {}, directory});
        return files.isEmpty() ? QString() : files.takeFirst();
    }
    QString textInput(QWidget*, const QString& title, const QString& label,
                      const QString&) override {
        show({QStringLiteral("text"), title, label, {}, {}});
        return texts.isEmpty() ? QString() : texts.takeFirst();
    }
    QString openFileName(QWidget*, const QString& caption, const QString& directory,
                         const QString& filter) override {
        show({QStringLiteral("open"), caption, filter, {}, directory});
        return files.isEmpty() ? QString() : files.takeFirst();
    }

    // "title|text" of every box shown, in order.
    QStringList messages() const {
        QStringList out;
        for (const Shown& s : shown)
            out.append(s.title + QLatin1Char('|') + s.text);
        return out;
    }
    void show(const Shown& s) {
        shown.append(s);
        if (onShown)
            onShown(s);
    }
    QString lastText() const { return shown.isEmpty() ? QString() : shown.last().text; }

    QList<Shown> shown;
    // Called as each box or dialog appears, while the code that showed it waits for the answer.
    std::function<void(const Shown&)> onShown;
    QList<QMessageBox::StandardButton> answers;
    QStringList files;
    QStringList texts; // answers of text inputs, in order
};
