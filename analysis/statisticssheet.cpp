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

QVariant figure(const std::optional<double>& value) {
    return value ? QVariant(*value) : QVariant(QString::fromLatin1(kNoValue));
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

QStringList verdictRowLabels() {
    return {colour::verdictText(true), colour::verdictText(false),
            text(QT_TRANSLATE_NOOP("StatisticsPanel", "Pass rate (%)"))};
}

QList<QVariantList> statisticsSheetRows(const QVector<Column>& columns,
                                        const QVector<Summary>& summaries,
                                        const VerdictCounts& verdicts) {
    QList<QVariantList> rows;
    QVariantList heading;
    for (const QString& h : statisticsHeadings())
        heading.append(h);
    rows.append(heading);
    for (qsizetype i = 0; i < columns.size() && i < summaries.size(); ++i) {
        const Summary& s = summaries.at(i);
        rows.append({columns.at(i).heading, double(s.n), figure(s.mean), figure(s.sd),
                     figure(s.minimum), figure(s.maximum), figure(s.range)});
    }
    rows.append(QVariantList());
    const QStringList labels = verdictRowLabels();
    rows.append({labels.at(0), double(verdicts.pass)});
    rows.append({labels.at(1), double(verdicts.ng)});
    rows.append({labels.at(2), figure(verdicts.passRate())});
    return rows;
}

QString figureText(const std::optional<double>& value, int decimals) {
    return value ? QString::number(*value, 'f', decimals) : QString::fromLatin1(kNoValue);
}

} // namespace analysis
