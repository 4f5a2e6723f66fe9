#pragma once

#include <QFont>
#include <QString>

class QTextDocument;

namespace report {

// The font of a report: base first, then an installed CJK face for the characters base lacks,
// so Chinese comes out on screen, on paper and in PDF files alike.
QFont withCjkFallback(const QFont& base);

// Writes document as a PDF file at path. The file appears, or replaces an older one, only once
// it is complete. On failure returns false and leaves the reason in *error.
bool writeReportPdf(const QTextDocument& document, const QString& path, QString* error = nullptr);

} // namespace report
