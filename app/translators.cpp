#include "translators.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

Translators::Translators(QStringList ourDirs, QString qtDir)
    : ourDirs_(std::move(ourDirs)), qtDir_(qtDir.isEmpty() ? defaultQtDir() : std::move(qtDir)) {}

Translators::~Translators() {
    if (qt_)
        QCoreApplication::removeTranslator(qt_.get());
    if (ours_)
        QCoreApplication::removeTranslator(ours_.get());
}

QString Translators::defaultQtDir() {
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

bool Translators::switchTo(const QString& ourFile, const QString& qtLocale) {
    // Load into fresh translators: a failed load empties the translator it is tried on, which
    // would drop the language in use.
    auto next = std::make_unique<QTranslator>();
    bool loaded = false;
    for (const QString& dir : std::as_const(ourDirs_)) {
        if (next->load(ourFile, dir)) {
            loaded = true;
            break;
        }
    }
    if (!loaded)
        return false;

    std::unique_ptr<QTranslator> nextQt;
    if (!qtLocale.isEmpty() && !qtLocale.startsWith(QLatin1String("en"))) {
        nextQt = std::make_unique<QTranslator>();
        // "qt_" is the catalogue that pulls in qtbase and the other modules' files.
        if (!nextQt->load(QLocale(qtLocale), QStringLiteral("qt"), QStringLiteral("_"), qtDir_))
            nextQt.reset();
    }

    // The last installed translator is asked first; ours goes last so that it wins.
    if (qt_)
        QCoreApplication::removeTranslator(qt_.get());
    if (ours_)
        QCoreApplication::removeTranslator(ours_.get());
    qt_ = std::move(nextQt);
    ours_ = std::move(next);
    if (qt_)
        QCoreApplication::installTranslator(qt_.get());
    QCoreApplication::installTranslator(ours_.get());
    return true;
}
