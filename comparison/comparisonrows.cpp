#include "comparisonrows.h"

#include "colour.h"
#include "quantities.h"

#include <QCoreApplication>

namespace comparisonrows {

namespace {

const QString kTimeFormat = QStringLiteral("yyyy/MM/dd  hh:mm");

} // namespace

QString notRead() {
    return QStringLiteral("-----");
}

QString differenceText(long long hundredths) {
    return QString::number(hundredths / 100.0, 'g', 6);
}

QString hundredthsText(long long hundredths) {
    return QString::number(hundredths / 100.0, 'f', 2);
}

QString thresholdText(int tenths) {
    return tenths < 0 ? notRead() : QString::number(tenths / 10.0, 'f', 1);
}

QString toleranceText(int hundredths) {
    if (hundredths < 0)
        return notRead();
    return QCoreApplication::translate("FirstPageFor510", "±") + hundredthsText(hundredths) +
           QCoreApplication::translate("FirstPageFor510", "%");
}

QString timeText(const QDateTime& time) {
    return time.toLocalTime().toString(kTimeFormat);
}

QString cellText(const ComparisonRecord& r, int c) {
    if (c >= ColStandard && c < ColSample)
        return quantities::valueText(c - ColStandard, r.standard[size_t(c - ColStandard)]);
    if (c >= ColSample && c < ColDeltaHaze)
        return quantities::valueText(c - ColSample, r.sample[size_t(c - ColSample)]);
    switch (c) {
    case ColNo:
        return QString::number(r.sequence);
    case ColName:
        return r.name;
    case ColTime:
        return timeText(r.time);
    case ColDeltaHaze:
        return hundredthsText(r.deltaHaze) + QLatin1Char('%');
    case ColDeltaT:
        return hundredthsText(r.deltaT) + QLatin1Char('%');
    case ColDeltaE:
        return hundredthsText(r.deltaE);
    case ColVerdict:
        return colour::verdictText(r.pass);
    case ColHazeTolerance:
        return toleranceText(r.settings.hazeTolerance);
    case ColTTolerance:
        return toleranceText(r.settings.tTolerance);
    case ColThreshold:
        return thresholdText(r.settings.threshold);
    case ColModel:
        return r.model;
    case ColSerial:
        return r.serialNumber;
    default:
        return QString();
    }
}

QString oldCellText(const ComparisonRecord& r, int c) {
    if (c >= OldColStandard && c < OldColSample)
        return quantities::oldValueText(c - OldColStandard, r.standard[size_t(c - OldColStandard)]);
    if (c >= OldColSample && c < OldColDeltaE)
        return quantities::oldValueText(c - OldColSample, r.sample[size_t(c - OldColSample)]);
    switch (c) {
    case ColNo:
        return QString::number(r.sequence);
    case ColName:
        return r.name;
    case ColTime:
        return timeText(r.time);
    case OldColDeltaE:
        return hundredthsText(r.deltaE);
    case OldColVerdict:
        return colour::verdictText(r.pass);
    case OldColFormula:
        return colour::formulaLabel(r.settings.formula, true);
    case OldColThreshold:
        return thresholdText(r.settings.threshold);
    case OldColModel:
        return r.model;
    case OldColSerial:
        return r.serialNumber;
    default:
        return QString();
    }
}

namespace {

QStringList rowTexts(const ComparisonRecord& record, int columns,
                     QString (*text)(const ComparisonRecord&, int)) {
    QStringList t;
    t.reserve(columns);
    for (int c = 0; c < columns; ++c)
        t << text(record, c);
    return t;
}

} // namespace

QStringList listRowTexts(const ComparisonRecord& record) {
    return rowTexts(record, ListColumns, cellText);
}

QStringList oldListRowTexts(const ComparisonRecord& record) {
    return rowTexts(record, OldListColumns, oldCellText);
}

} // namespace comparisonrows
