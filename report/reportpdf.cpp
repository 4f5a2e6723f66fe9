#include "reportpdf.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>

namespace report {

namespace {

bool coversChinese(const QString& family) {
    return QFontDatabase::writingSystems(family).contains(QFontDatabase::SimplifiedChinese);
}

} // namespace

QFont withCjkFallback(const QFont& base) {
    static const QStringList candidates = {
        QStringLiteral("Noto Sans CJK SC"),  QStringLiteral("Source Han Sans SC"),
        QStringLiteral("Microsoft YaHei"),   QStringLiteral("WenQuanYi Micro Hei"),
        QStringLiteral("Noto Serif CJK SC"), QStringLiteral("SimSun")};
    // The face actually in use, not an alias: a family list bypasses alias resolution.
    QString primary = QFontInfo(base).family();
    // Latin text set in a CJK face loses its digits from the PDF's text layer (they still
    // print), so searching or copying "KV510" would find "KV". Latin gets a Latin face.
    if (coversChinese(primary)) {
        const QString system =
            QFontInfo(QFontDatabase::systemFont(QFontDatabase::GeneralFont)).family();
        if (!coversChinese(system))
            primary = system;
    }
    QStringList families{primary};
    for (const QString& c : candidates) {
        if (QFontDatabase::hasFamily(c)) {
            if (c != primary)
                families.append(c);
            break;
        }
    }
    QFont font = base;
    font.setFamilies(families);
    return font;
}

bool writeReportPdf(const QTextDocument& document, const QString& path, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setTitle(document.metaInformation(QTextDocument::DocumentTitle));
        writer.setCreator(QStringLiteral("Velorin"));
        writer.setPageSize(QPageSize(QPageSize::A4));
        // The writer finishes the file when its painter ends, inside print().
        document.print(&writer);
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace report
