#include "spectralsheet.h"

#include "sheetwriter.h"

#include <QCoreApplication>
#include <QDateTime>

namespace spectralsheet {

QString wavelengthCaption(int index) {
    return QStringLiteral("%1nm").arg(400 + 10 * index);
}

QString valueText(double value) {
    return QString::number(value, 'g', 6);
}

QStringList captions() {
    QStringList row{QCoreApplication::translate("MeterPageFor510", "No"),
                    QCoreApplication::translate("MeterPageFor510", "Name")};
    for (int k = 0; k < SpectralRecord::kPoints; ++k)
        row.append(wavelengthCaption(k));
    return row;
}

QStringList rowTexts(int number, const QString& name, const SpectralRecord& record) {
    QStringList row{QString::number(number), name};
    for (double v : record.values)
        row.append(valueText(v));
    return row;
}

Outcome write(const QString& path, const QList<Row>& rows,
              const std::function<bool(int)>& progress) {
    using xlsx::NumberFormat;
    xlsx::SheetWriter writer(path);
    Outcome outcome;
    outcome.opened = writer.open();
    bool written = outcome.opened;
    const QStringList heads = captions();
    for (int c = 0; written && c < heads.size(); ++c)
        written = writer.text(0, 2, c + 1, heads.at(c), true);
    bool more = !progress || progress(1);
    for (int r = 0; written && more && r < rows.size(); ++r) {
        const Row& row = rows.at(r);
        const int at = r + 3;
        written = writer.number(0, at, 1, row.number, NumberFormat::general(), true) &&
                  writer.text(0, at, 2, row.name, true);
        for (int k = 0; written && k < SpectralRecord::kPoints; ++k)
            // The value the table shows, to its six significant digits.
            written =
                writer.number(0, at, k + 3, valueText(row.record.values[size_t(k)]).toDouble(),
                              NumberFormat::general(), true);
        more = !progress || progress(r + 2);
    }
    outcome.written = written && writer.save(0);
    if (!outcome.written) {
        outcome.inUse = writer.lastError() == xlsx::SheetWriter::Error::ReplaceFailed;
        outcome.reason = writer.errorString();
    }
    return outcome;
}

QString defaultFileName(const QDateTime& now) {
    return QStringLiteral("MeterData") + now.toString(QStringLiteral("yyyyMMddhhmm")) +
           QStringLiteral(".xlsx");
}

} // namespace spectralsheet
