#include "statisticssheet.h"

#include "verdict.h"

#include <QCoreApplication>

namespace analysis {

namespace {

const char kContext[] = "StatisticsPanel";
const char kNoValue[] = "-----";

QString text(const char* source) {
    return QCoreApplication::translate(kContext, source);
}

using xlsx::CellValue;

// A figure as the panel shows it: the number its text shows, or "-----".
CellValue figure(const std::optional<double>& value, int decimals) {
    if (!value)
        return CellValue::ofText(QString::fromLatin1(kNoValue));
    // Rounded as the panel's text is, so the sheet holds what the panel shows.
    return CellValue::ofNumber(QString::number(*value, 'f', decimals).toDouble(),
                               xlsx::NumberFormat::fixed(decimals));
}

CellValue count(int n) {
    return CellValue::ofNumber(n, xlsx::NumberFormat::general());
}

} // namespace

QStringList statisticsHeadings() {
    return {text(QT_TRANSLATE_NOOP("StatisticsPanel", "Quantity")),
            text(QT_TRANSLATE_NOOP("StatisticsPanel", "n")),
            text(QT_TRANSLATE_NOOP("StatisticsPanel", "Mean")),
            text(QT_TRANSLATE_NOOP("StatisticsPanel", "SD")),
            text(QT_TRANSLATE_NOOP("StatisticsPanel", "Min")),
            text(QT_TRANSLATE_NOOP("StatisticsPanel", "Max")),
            text(QT_TRANSLATE_NOOP("StatisticsPanel", "Range"))};
}

QString statisticsSheetName() {
    return text(QT_TRANSLATE_NOOP("StatisticsPanel", "Statistics"));
}

QString lotHeading(const QString& lot) {
    return lot.isEmpty() ? text(QT_TRANSLATE_NOOP("StatisticsPanel", "No lot"))
                         : text(QT_TRANSLATE_NOOP("StatisticsPanel", "Lot: %1")).arg(lot);
}

QStringList verdictRowLabels() {
    return {colour::verdictText(true), colour::verdictText(false),
            text(QT_TRANSLATE_NOOP("StatisticsPanel", "Pass rate (%)"))};
}

SheetRows statisticsSheetRows(const QVector<Column>& columns, const QVector<Summary>& summaries,
                              const VerdictCounts& verdicts) {
    SheetRows rows;
    QList<CellValue> heading;
    for (const QString& h : statisticsHeadings())
        heading.append(CellValue::ofText(h));
    rows.append(heading);
    for (qsizetype i = 0; i < columns.size() && i < summaries.size(); ++i) {
        const Summary& s = summaries.at(i);
        const int d = columns.at(i).decimals;
        rows.append({CellValue::ofText(columns.at(i).heading), count(s.n), figure(s.mean, d),
                     figure(s.sd, d), figure(s.minimum, d), figure(s.maximum, d),
                     figure(s.range, d)});
    }
    rows.append(QList<CellValue>());
    const QStringList labels = verdictRowLabels();
    rows.append({CellValue::ofText(labels.at(0)), count(verdicts.pass)});
    rows.append({CellValue::ofText(labels.at(1)), count(verdicts.ng)});
    rows.append({CellValue::ofText(labels.at(2)), figure(verdicts.passRate(), 1)});
    return rows;
}

QStringList capabilityHeadings() {
    return {text(QT_TRANSLATE_NOOP("StatisticsPanel", "Capability")),
            text(QT_TRANSLATE_NOOP("StatisticsPanel", "n")),
            text(QT_TRANSLATE_NOOP("StatisticsPanel", "Cp")),
            text(QT_TRANSLATE_NOOP("StatisticsPanel", "Cpk"))};
}

SheetRows capabilitySheetRows(const QVector<ToleranceColumn>& columns,
                              const QVector<Capability>& capabilities) {
    SheetRows rows;
    QList<CellValue> heading;
    for (const QString& h : capabilityHeadings())
        heading.append(CellValue::ofText(h));
    rows.append(heading);
    for (qsizetype i = 0; i < columns.size() && i < capabilities.size(); ++i) {
        const Capability& c = capabilities.at(i);
        rows.append({CellValue::ofText(columns.at(i).heading), count(c.n), figure(c.cp, 2),
                     figure(c.cpk, 2)});
    }
    return rows;
}

bool writeSheetRows(xlsx::SheetWriter& writer, int sheet, const SheetRows& rows) {
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows.at(r).size(); ++c)
            if (!writer.cell(sheet, r + 1, c + 1, rows.at(r).at(c), false))
                return false;
    return true;
}

QString figureText(const std::optional<double>& value, int decimals) {
    return value ? QString::number(*value, 'f', decimals) : QString::fromLatin1(kNoValue);
}

} // namespace analysis
