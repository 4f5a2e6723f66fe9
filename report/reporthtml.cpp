#include "reporthtml.h"

#include "instrumentkind.h"

#include <QCoreApplication>

namespace {

// Texts of the documents that follow the interface language. Marked here so that lupdate
// files them under the contexts they are looked up in.
const char* const kDelta = QT_TRANSLATE_NOOP("Colorimeter", "△");
const char* const kDeltaE = QT_TRANSLATE_NOOP("Colorimeter", "△E");
const char* const kDeltaESpace = QT_TRANSLATE_NOOP("Colorimeter", "△E ");
const char* const kTester510 = QT_TRANSLATE_NOOP("ReportPageFor510", " Tester:");
const char* const kAuditor510 = QT_TRANSLATE_NOOP("ReportPageFor510", " Auditor:");
const char* const kTitle620 = QT_TRANSLATE_NOOP("ReportPageFor620", "Test Report1");
const char* const kSubtitle620 = QT_TRANSLATE_NOOP("ReportPageFor620", "Test Report");

// Names, tolerances and the like can be typed by the user; none of it may become markup.
QString text(const QString& s) {
    return s.toHtmlEscaped();
}

// Labels do not wrap: a narrow cell would break one inside a word ("Thresholds" / ":", "检测" /
// "员:", Chinese breaking between any two characters); the table gives a label the room it needs.
QString cell(int width, const QString& x) {
    return QLatin1String("<td width=\"") + QString::number(width) +
           QLatin1String("%\" style=\"white-space:nowrap\">") + x + QLatin1String("</td>");
}
// The one label too long for its column on one line; it breaks between its two words.
QString wrappingCell(int width, const QString& x) {
    return QLatin1String("<td width=\"") + QString::number(width) + QLatin1String("%\">") + x +
           QLatin1String("</td>");
}
QString field(int width, const QString& x) {
    return QLatin1String("<td width=\"") + QString::number(width) + QLatin1String("%\">") + x +
           QLatin1String("<hr/></td>");
}
QString ccell(int width, const QString& x) {
    return QLatin1String("<td width=\"") + QString::number(width) +
           QLatin1String("%\" align=\"center\">") + x + QLatin1String("</td>");
}
QString cfield(int width, const QString& x) {
    return ccell(width, x + QLatin1String("<hr/>"));
}

QString row(std::initializer_list<QString> cells) {
    QString out = QStringLiteral("<tr>");
    for (const QString& c : cells)
        out += c;
    return out + QLatin1String("</tr>");
}
QString table(int border) {
    return QLatin1String("<table width=\"100%\" border=\"") + QString::number(border) +
           QLatin1String("\" cellspacing=0>");
}
const QString kEndTable = QStringLiteral("</table>");
const QString kBreak = QStringLiteral("<br />");

QString f(double v, int decimals) {
    return QString::number(v, 'f', decimals);
}
QString percent(double v) {
    return f(v, 2) + QLatin1Char('%');
}
QString g6(double v) {
    return QString::number(v, 'g', 6);
}

QString dataRow(const QString& label, const QString& standard, const QString& sample,
                const QString& difference) {
    return row({ccell(21, label), ccell(21, standard), ccell(21, sample), ccell(21, difference)});
}

QString titleParagraph(const QString& points, const QString& x) {
    return QLatin1String("<p class=\"MsoNormal\" align=\"center\" style=\"text-align: center\">"
                         "<span lang=\"EN-US\" style=\"font-size: ") +
           points + QLatin1String("pt\">") + x + QLatin1String("</span></p>");
}

QString documentStart(const QDateTime& now) {
    return QLatin1String("<html><head><meta http-equiv=Content-Type "
                         "content=\"text/html;charset=gb2312\"><title>") +
           report::reportTitle(now) + QLatin1String("</title></head><body>");
}

} // namespace

namespace report {

ReportClock systemClock() {
    return [] { return QDateTime::currentDateTime(); };
}

ReportTranslate installedTranslations() {
    return [](const char* context, const char* sourceText) {
        return QCoreApplication::translate(context, sourceText);
    };
}

ReportTranslate sourceTexts() {
    return [](const char*, const char* sourceText) { return QString::fromUtf8(sourceText); };
}

QString reportTitle(const QDateTime& time) {
    return QLatin1String("Report_") + time.toString(QStringLiteral("yyyyMMddhhmmss"));
}

QString buildReportHtmlFor510(const ReportSnapshot& s, const ReportTranslate& translate,
                              const ReportClock& clock) {
    const std::array<bool, 7>& mode = s.displayModes;
    const QString empty;
    const QString d = translate("Colorimeter", kDeltaESpace);

    QString html = documentStart(clock());
    html += titleParagraph(QStringLiteral("25.0"), QStringLiteral("Test Report"));
    html += kBreak;

    html += table(0);
    auto line = [&html](const QString& r) { html += r + kBreak; };
    line(row({cell(15, QStringLiteral("Device: ")), field(33, text(s.device)), cell(3, empty),
              cell(20, QStringLiteral("SN:")), field(25, text(s.serialNumber))}));
    line(row({cell(15, QStringLiteral("Company:")), field(33, text(s.company)), cell(3, empty),
              cell(20, QStringLiteral("Sample Name:")), field(25, text(s.sampleName))}));
    if (!s.lot.isEmpty())
        line(row({cell(15, QStringLiteral("Lot:")), field(33, text(s.lot))}));
    const QString hazeTolerance = cell(15, QStringLiteral("Haze Tolerance:"));
    const QString testTime = field(25, text(s.testTime));
    const QString testTimeLabel = cell(20, QStringLiteral("Test Time:"));
    if (mode[0]) {
        line(row({hazeTolerance, field(33, text(s.hazeTolerance)), cell(3, empty),
                  wrappingCell(20, QStringLiteral("Transmittance Tolerance:")),
                  field(25, text(s.transmittanceTolerance))}));
        line(row({testTimeLabel, testTime}));
    }
    if (mode[1])
        line(row({hazeTolerance, field(33, text(s.hazeTolerance)), cell(3, empty), testTimeLabel,
                  testTime}));
    if (mode[2])
        line(row({cell(15, QStringLiteral("Transmittance Tolerance:")),
                  field(33, text(s.transmittanceTolerance)), cell(3, empty), testTimeLabel,
                  testTime}));
    if (mode[3] || mode[4] || mode[5]) {
        line(row({cell(15, d + QLatin1String("Thresholds:")), field(33, text(s.deltaEThreshold)),
                  cell(3, empty), testTimeLabel, testTime}));
        // Only the colorimeter with a selectable formula names it.
        if (instrumentKind(s.uiIndex) == InstrumentKind::SelectableColorimeter)
            line(row({cell(15, d + QLatin1String("formula:")), field(33, text(s.deltaEFormula)),
                      cell(3, empty)}));
    }
    if (mode[6]) {
        line(row({hazeTolerance, field(33, text(s.hazeTolerance)), cell(3, empty),
                  wrappingCell(20, QStringLiteral("Transmittance Tolerance:")),
                  field(25, text(s.transmittanceTolerance))}));
        line(row({cell(15, d + QLatin1String("Thresholds:")), field(33, text(s.deltaEThreshold)),
                  cell(3, empty), testTimeLabel, testTime}));
    }
    html += kEndTable + kBreak;

    html += QLatin1String("<p>Test Data</p>") + table(1);
    html += row({ccell(21, empty), ccell(21, QStringLiteral("Standard")),
                 ccell(21, QStringLiteral("Sample")), ccell(21, translate("Colorimeter", kDelta))});

    const ReportValues& st = s.standard;
    const ReportValues& sa = s.sample;
    const ReportValues& df = s.difference;
    const QString haze =
        dataRow(QStringLiteral("Haze"), percent(st.haze), percent(sa.haze), percent(df.haze));
    const QString transmittance =
        dataRow(QStringLiteral("Transmittance"), percent(st.transmittance),
                percent(sa.transmittance), percent(df.transmittance));
    const QString lab = dataRow(QStringLiteral("L*"), f(st.L, 2), f(sa.L, 2), f(df.L, 2)) +
                        dataRow(QStringLiteral("a*"), f(st.a, 2), f(sa.a, 2), f(df.a, 2)) +
                        dataRow(QStringLiteral("b*"), f(st.b, 2), f(sa.b, 2), f(df.b, 2));
    const QString deltaE = dataRow(translate("Colorimeter", kDeltaE), empty, empty, f(s.deltaE, 2));
    if (mode[0])
        html += haze + transmittance;
    if (mode[1])
        html += haze;
    if (mode[2])
        html += transmittance;
    if (mode[3])
        html += lab + deltaE;
    if (mode[4])
        html += dataRow(QStringLiteral("L*"), f(st.lchL, 2), f(sa.lchL, 2), f(df.lchL, 2)) +
                dataRow(QStringLiteral("C*"), f(st.C, 2), f(sa.C, 2), f(df.C, 2)) +
                dataRow(QStringLiteral("h"), f(st.h, 1), f(sa.h, 1), f(df.h, 1)) + deltaE;
    if (mode[5])
        html += dataRow(QStringLiteral("Y"), f(st.Y, 2), f(sa.Y, 2), f(df.Y, 2)) +
                dataRow(QStringLiteral("x"), f(st.x, 4), f(sa.x, 4), f(df.x, 4)) +
                dataRow(QStringLiteral("y"), f(st.y, 4), f(sa.y, 4), f(df.y, 4)) + deltaE;
    if (mode[6])
        html += haze + transmittance + lab + deltaE;
    html += dataRow(QStringLiteral("Result"), empty, empty, text(s.verdict));
    html += kEndTable + kBreak + kBreak + kBreak;

    html += table(0);
    html += row({cell(10, translate("ReportPageFor510", kTester510)), cfield(26, text(s.tester)),
                 cell(10, empty), cell(11, translate("ReportPageFor510", kAuditor510)),
                 cfield(25, text(s.auditor))});
    html += kEndTable;
    html += QLatin1String("</body></html>");
    return html;
}

QString buildReportHtmlFor620(const ReportSnapshot& s, const ReportTranslate& translate,
                              const ReportClock& clock) {
    const bool zh = s.chinese;
    const QString empty;
    QString html = documentStart(clock());
    if (zh) {
        html += titleParagraph(QStringLiteral("25.0"), translate("ReportPageFor620", kTitle620));
        html += titleParagraph(QStringLiteral("18.0"), translate("ReportPageFor620", kSubtitle620));
    } else {
        html += titleParagraph(QStringLiteral("25.0"), QStringLiteral("Test Report"));
    }
    html += kBreak;

    // The Chinese document needs wider label cells and keeps its rows apart.
    const int label = zh ? 13 : 15;
    const int right = zh ? 13 : 20;
    const int value = zh ? 33 : 25;
    const QString after = zh ? kBreak : QString();
    html += table(0);
    html += row({cell(label, zh ? QStringLiteral("测试设备: ") : QStringLiteral("Device: ")),
                 field(33, text(s.device)), cell(3, empty),
                 cell(right, zh ? QStringLiteral("序列号:") : QStringLiteral("SN:")),
                 field(value, text(s.serialNumber))}) +
            after;
    html += row({cell(label, zh ? QStringLiteral("公司名称:") : QStringLiteral("Company:")),
                 field(33, text(s.company)), cell(3, empty),
                 cell(right, zh ? QStringLiteral("样品名称:") : QStringLiteral("Sample Name:")),
                 field(value, text(s.sampleName))}) +
            after;
    if (!s.lot.isEmpty())
        html += row({cell(label, zh ? QStringLiteral("批次:") : QStringLiteral("Lot:")),
                     field(33, text(s.lot))}) +
                after;
    html += row({cell(label, zh ? QStringLiteral("△E公式:") : QStringLiteral("△E formula:")),
                 field(33, text(s.deltaEFormula)), cell(3, empty),
                 cell(right, zh ? QStringLiteral("△E阈值:") : QStringLiteral("△E Thresholds:")),
                 field(value, text(s.deltaEThreshold))}) +
            after;
    html += row({cell(label, zh ? QStringLiteral("测试时间:") : QStringLiteral("Test Time:")),
                 field(33, text(s.testTime))}) +
            after;
    html += kEndTable + kBreak;

    html += zh ? QStringLiteral("<p>测试数据(Test Data)</p>") : QStringLiteral("<p>Test Data</p>");
    html += table(1);
    html +=
        row({ccell(21, empty), ccell(21, zh ? QStringLiteral("标准") : QStringLiteral("Standard")),
             ccell(21, zh ? QStringLiteral("样品") : QStringLiteral("Sample")),
             ccell(21, QStringLiteral("△"))});
    const ReportValues& st = s.standard;
    const ReportValues& sa = s.sample;
    const ReportValues& df = s.difference;
    html += dataRow(QStringLiteral("L*"), g6(st.L), g6(sa.L), g6(df.L));
    html += dataRow(QStringLiteral("a*"), g6(st.a), g6(sa.a), g6(df.a));
    html += dataRow(QStringLiteral("b*"), g6(st.b), g6(sa.b), g6(df.b));
    html += dataRow(QStringLiteral("C*"), g6(st.C), g6(sa.C), g6(df.C));
    html += dataRow(QStringLiteral("h"), g6(st.h), g6(sa.h), g6(df.h));
    html += dataRow(QStringLiteral("△E"), empty, empty, g6(s.deltaE));
    html += dataRow(zh ? QStringLiteral("结果") : QStringLiteral("Result"), empty, empty,
                    text(s.verdict));
    html += kEndTable + kBreak + kBreak;
    if (!zh)
        html += kBreak;

    html += table(0);
    if (zh)
        html += row({cell(20, QStringLiteral("测试人(Tester):")), cfield(26, text(s.tester)),
                     cell(3, empty), cell(20, QStringLiteral("审核人(Auditor):")),
                     cfield(25, text(s.auditor))});
    else
        html +=
            row({cell(10, QStringLiteral(" Tester:")), cfield(26, text(s.tester)), cell(10, empty),
                 cell(11, QStringLiteral(" Auditor:")), cfield(25, text(s.auditor))});
    html += kEndTable;
    html += QLatin1String("</body></html>");
    return html;
}

} // namespace report
