#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QTranslator;

// The program's own translation and Qt's (standard buttons, file and print dialogs), installed
// and switched together so that no English button is left in the Chinese interface.
class Translators {
  public:
    // ourDirs: where our translation files are looked for, in order; qtDir: Qt's translations,
    // empty for the folder the Qt in use was built with.
    explicit Translators(QStringList ourDirs, QString qtDir = {});
    ~Translators();

    // Loads our file ("Velorin_zh") and Qt's catalogue for locale ("zh_CN"; empty or "en" for
    // none, Qt's texts being English). When our file does not load nothing changes and false is
    // returned; a missing Qt catalogue only leaves Qt's own texts in English.
    bool switchTo(const QString& ourFile, const QString& qtLocale);

    const QTranslator* ours() const { return ours_.get(); }
    const QTranslator* qt() const { return qt_.get(); }

    static QString defaultQtDir();

  private:
    QStringList ourDirs_;
    QString qtDir_;
    std::unique_ptr<QTranslator> ours_;
    std::unique_ptr<QTranslator> qt_;
};
