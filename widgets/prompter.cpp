#include "prompter.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSettings>

FolderMemory::FolderMemory(QSettings* settings) : settings_(settings) {}

QString FolderMemory::fileKind(const QString& filter) {
    static const QRegularExpression pattern(QStringLiteral("\\*\\.([A-Za-z0-9]+)"));
    const QRegularExpressionMatch match = pattern.match(filter);
    return match.hasMatch() ? match.captured(1).toLower() : QStringLiteral("any");
}

QString FolderMemory::startIn(const QString& filter, const QString& suggested) const {
    QSettings fallback;
    QSettings& settings = settings_ ? *settings_ : fallback;
    const QString folder = settings.value(QStringLiteral("folders/") + fileKind(filter)).toString();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return suggested;
    const QFileInfo given(suggested);
    // "./" and other folders carry no name to keep.
    if (suggested.isEmpty() || suggested.endsWith(QLatin1Char('/')) || given.isDir())
        return folder;
    return QDir(folder).filePath(given.fileName());
}

void FolderMemory::remember(const QString& filter, const QString& chosen) {
    if (chosen.isEmpty())
        return;
    QSettings fallback;
    QSettings& settings = settings_ ? *settings_ : fallback;
    settings.setValue(QStringLiteral("folders/") + fileKind(filter),
                      QFileInfo(chosen).absolutePath());
}

QMessageBox::StandardButton Prompter::safeDefault(QMessageBox::StandardButtons buttons,
                                                  QMessageBox::StandardButton given) {
    if (given != QMessageBox::NoButton)
        return given;
    if (buttons.testFlag(QMessageBox::Cancel))
        return QMessageBox::Cancel;
    return buttons.testFlag(QMessageBox::No) ? QMessageBox::No : QMessageBox::NoButton;
}

QString Prompter::textInput(QWidget*, const QString&, const QString&, const QString&) {
    return {};
}

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
                                         QMessageBox::StandardButtons buttons,
                                         QMessageBox::StandardButton defaultButton) override {
        return QMessageBox::question(parent, title, text, buttons,
                                     safeDefault(buttons, defaultButton));
    }
    QMessageBox::StandardButton
    warningQuestion(QWidget* parent, const QString& title, const QString& text,
                    QMessageBox::StandardButtons buttons,
                    QMessageBox::StandardButton defaultButton) override {
        return QMessageBox::warning(parent, title, text, buttons,
                                    safeDefault(buttons, defaultButton));
    }
    QString textInput(QWidget* parent, const QString& title, const QString& label,
                      const QString& text) override {
        bool ok = false;
        const QString typed =
            QInputDialog::getText(parent, title, label, QLineEdit::Normal, text, &ok);
        return ok ? typed : QString();
    }
    QString saveFileName(QWidget* parent, const QString& caption, const QString& directory,
                         const QString& filter) override {
        QString selected;
        QString chosen = QFileDialog::getSaveFileName(
            parent, caption, folders_.startIn(filter, directory), filter, &selected);
        // A name typed without a suffix gets the one of the file type chosen, so the caller
        // (which tells the types apart by suffix) writes what the user picked.
        if (!chosen.isEmpty() && QFileInfo(chosen).suffix().isEmpty()) {
            const QString kind = FolderMemory::fileKind(selected);
            if (kind != QLatin1String("any"))
                chosen += QLatin1Char('.') + kind;
        }
        folders_.remember(filter, chosen);
        return chosen;
    }
    QString openFileName(QWidget* parent, const QString& caption, const QString& directory,
                         const QString& filter) override {
        const QString chosen = QFileDialog::getOpenFileName(
            parent, caption, folders_.startIn(filter, directory), filter);
        folders_.remember(filter, chosen);
        return chosen;
    }

  private:
    FolderMemory folders_;
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
