#pragma once
// Writes the in-memory workbook as an .xlsx file, and what every writer of cells shares.

#include "workbook.h"

#include <QByteArray>
#include <QString>

#if !defined(Q_OS_WIN)
#include <locale.h>
#endif

namespace xlsx {

// Writes book to path, replacing whatever is there; activeSheet (0-based) is the sheet a
// spreadsheet program shows first. On failure the file at path may be incomplete, so callers
// write to a scratch file. Sheet names a workbook cannot hold are replaced by SheetN.
bool writeWorkbook(const Workbook& book, const QString& path, int activeSheet,
                   QString* error = nullptr);

// Whether a value is written as a number (as opposed to text or a boolean).
bool isNumber(const QVariant& value);

// A cell's text as the writer takes it: UTF-8, with what XML cannot carry (NUL, control
// characters, U+FFFE, U+FFFF) as _xHHHH_ and a literal _xHHHH_ in the text kept as it is.
QByteArray cellText(const QString& text);

// The writer formats numbers with printf, which follows LC_NUMERIC; under a locale with a
// decimal comma that would put "1,5" into the file. While one of these lives, this thread
// formats numbers in the C locale.
class CNumericLocale {
  public:
    CNumericLocale();
    ~CNumericLocale();
    CNumericLocale(const CNumericLocale&) = delete;
    CNumericLocale& operator=(const CNumericLocale&) = delete;

  private:
#if defined(Q_OS_WIN)
    int previousMode_;
    QString previous_;
#else
    locale_t c_ = locale_t(0);
    locale_t previous_ = locale_t(0);
#endif
};

} // namespace xlsx
