#include "spectralsheet.h"

#include "exceltable.h"

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

ExcelTable table(const QStringList& captionRow, const QList<QStringList>& rows) {
    ExcelTable out(static_cast<int>(rows.size()) + 1, kColumns);
    auto put = [&out](int r, const QStringList& texts) {
        for (int c = 0; c < kColumns && c < texts.size(); ++c)
            out.setText(r, c, texts.at(c));
    };
    put(0, captionRow);
    for (int r = 0; r < rows.size(); ++r)
        put(r + 1, rows.at(r));
    return out;
}

QString defaultFileName(const QDateTime& now) {
    return QStringLiteral("MeterData") + now.toString(QStringLiteral("yyyyMMddhhmm")) +
           QStringLiteral(".xlsx");
}

} // namespace spectralsheet
