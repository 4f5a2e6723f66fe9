#pragma once

#include "spectralrecord.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QDateTime;

// The texts of the spectral table and its workbook, shared by the page and the command-line tool
// so that both write the same sheet.
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
// One spectrum of the table: its number and name as the table shows them, and its values.
struct Row {
    int number = 0;
    QString name;
    SpectralRecord record;
};

struct Outcome {
    bool opened = false; // false: the path was refused before any work (no such folder, ...)
    bool written = false;
    bool inUse = false; // the previous file could not be replaced (in use, read-only)
    QString reason;
};

// Writes the table straight to a workbook at path: the caption row in row 2 and one row per
// spectrum from row 3 (row 1 keeps what the template has), centred; numbers and values as numbers
// shown as the table shows them. progress(rows) after the caption row and each spectrum, counting
// the caption row; false stops further rows, and what was written is still saved. The previous
// file stays unless the new one is complete.
Outcome write(const QString& path, const QList<Row>& rows,
              const std::function<bool(int rows)>& progress = {});

// "MeterData" + yyyyMMddhhmm + ".xlsx"
QString defaultFileName(const QDateTime& now);

} // namespace spectralsheet
