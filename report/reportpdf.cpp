#include "reportpdf.h"

#include "safefile.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QFontInfo>
#include <QPdfWriter>
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
    // Printed into memory first: the painter reports no write errors, the save path does.
    QBuffer pdf;
    pdf.open(QIODevice::ReadWrite);
    {
        QPdfWriter writer(&pdf);
        writer.setTitle(document.metaInformation(QTextDocument::DocumentTitle));
        writer.setCreator(QStringLiteral("Velorin"));
        writer.setPageSize(QPageSize(QPageSize::A4));
        // The writer finishes the file when its painter ends, inside print().
        document.print(&writer);
    }
    return saveFile(path, pdf.data(), error);
}

} // namespace report
