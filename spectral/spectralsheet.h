#pragma once

#include "spectralrecord.h"

#include <QString>
#include <QStringList>

class ExcelTable;
class QDateTime;

// The texts of the spectral table, shared by the page and the command-line tool so that both
// write the same sheet.
namespace spectralsheet {

constexpr int kColumns = 33; // number, name, 31 values; the curve and delete columns stay out
// "400nm" ... "700nm"
QString wavelengthCaption(int index);
// A value as the table shows it: shortest form, 6 significant digits.
QString valueText(double value);
// Caption row: translated "No" and "Name", then the wavelengths.
QStringList captions();
// One record row: its number, its name, its 31 values.
QStringList rowTexts(int number, const QString& name, const SpectralRecord& record);
// The workbook table: caption row first, then one row per record (no header items, so the
// sheet's first row keeps what the template has there).
ExcelTable table(const QStringList& captionRow, const QList<QStringList>& rows);
// "MeterData" + yyyyMMddhhmm + ".xlsx"
QString defaultFileName(const QDateTime& now);

} // namespace spectralsheet
