#pragma once

#include "prompter.h"

#include <QList>
#include <QStringList>

// Answers every dialog from a script and records what was shown, so no test ever waits on a
// modal box. Unscripted questions answer No; unscripted file dialogs answer "cancel".
class ScriptedPrompter : public Prompter {
public:
    struct Shown {
        QString kind; // "information", "warning", "question", "save", "open"
        QString title;
        QString text;
        QMessageBox::StandardButtons buttons;
    };

    void information(QWidget*, const QString& title, const QString& text) override
    {
        shown.append({QStringLiteral("information"), title, text, QMessageBox::Ok});
    }
    void warning(QWidget*, const QString& title, const QString& text) override
    {
        shown.append({QStringLiteral("warning"), title, text, QMessageBox::Ok});
    }
    QMessageBox::StandardButton question(QWidget*, const QString& title, const QString& text,
                                         QMessageBox::StandardButtons buttons) override
    {
        shown.append({QStringLiteral("question"), title, text, buttons});
        return answers.isEmpty() ? QMessageBox::No : answers.takeFirst();
    }
    QString saveFileName(QWidget*, const QString& caption, const QString&, const QString& filter) override
    {
        shown.append({QStringLiteral("save"), caption, filter, {}});
        return files.isEmpty() ? QString() : files.takeFirst();
    }
    QString openFileName(QWidget*, const QString& caption, const QString&, const QString& filter) override
    {
        shown.append({QStringLiteral("open"), caption, filter, {}});
        return files.isEmpty() ? QString() : files.takeFirst();
    }

    // "title|text" of every box shown, in order.
    QStringList messages() const
    {
        QStringList out;
        for (const Shown& s : shown)
            out.append(s.title + QLatin1Char('|') + s.text);
        return out;
    }
    QString lastText() const { return shown.isEmpty() ? QString() : shown.last().text; }

    QList<Shown> shown;
    QList<QMessageBox::StandardButton> answers;
    QStringList files;
};
