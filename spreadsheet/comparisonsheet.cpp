#include "comparisonsheet.h"

#include "comparisonrows.h"

#include <QCoreApplication>

namespace comparisonsheet {

namespace {

struct Column {
    const char* context;
    const char* heading;
    int source;
};

const char kPage[] = "FirstPageFor510";
const char kColour[] = "Colorimeter";

const Column kNo{kPage, QT_TRANSLATE_NOOP("FirstPageFor510", "NO"), 0};
const Column kModel{kPage, QT_TRANSLATE_NOOP("FirstPageFor510", "Model"), 34};
const Column kSn{kPage, QT_TRANSLATE_NOOP("FirstPageFor510", "SN"), 35};
const Column kName{kPage, QT_TRANSLATE_NOOP("FirstPageFor510", "Name"), 1};
const Column kTime{kPage, QT_TRANSLATE_NOOP("FirstPageFor510", "Time"), 2};
const Column kStdHaze{kPage, QT_TRANSLATE_NOOP("FirstPageFor510", "Standard Haze"), 3};
const Column kStdT{kPage, QT_TRANSLATE_NOOP("FirstPageFor510", "Standard Transmittance"), 4};
const Column kSmpHaze{kPage, QT_TRANSLATE_NOOP("FirstPageFor510", "Sample Haze"), 14};
const Column kSmpT{kPage, QT_TRANSLATE_NOOP("FirstPageFor510", "Sample Transmittance"), 15};
const Column kHazeTol{kPage, QT_TRANSLATE_NOOP("FirstPageFor510", "Haze Tolerance"), 31};
const Column kDHaze{kColour, QT_TRANSLATE_NOOP("Colorimeter", "△Haze"), 25};
const Column kTTol{kPage, QT_TRANSLATE_NOOP("FirstPageFor510", "Transmittance Tolerance"), 32};
const Column kDT{kColour, QT_TRANSLATE_NOOP("Colorimeter", "△Transmittance"), 26};
const Column kThreshold{kColour, QT_TRANSLATE_NOOP("Colorimeter", "△E Thresholds"), 33};
const Column kDE{kColour, QT_TRANSLATE_NOOP("Colorimeter", "△E"), 27};
const Column kResult{kPage, QT_TRANSLATE_NOOP("FirstPageFor510", "Result"), 28};

QList<Column> columnsOf(int mode) {
    QList<Column> cols{kNo, kModel, kSn, kName, kTime};
    switch (mode) {
    case 0:
        cols << kStdHaze << kStdT << kSmpHaze << kSmpT << kHazeTol << kDHaze << kTTol << kDT;
        break;
    case 1:
        cols << kStdHaze << kSmpHaze << kHazeTol << kDHaze;
        break;
    case 2:
        cols << kStdT << kSmpT << kTTol << kDT;
        break;
    case 3:
        cols << Column{kPage, QT_TRANSLATE_NOOP("FirstPageFor510", "Standard L*"), 5}
             << Column{kPage, QT_TRANSLATE_NOOP("FirstPageFor510", "Standard a*"), 6}
             << Column{kPage, QT_TRANSLATE_NOOP("FirstPageFor510", "Standard b*"), 7}
             << Column{kPage, QT_TRANSLATE_NOOP("FirstPageFor510", "Sample L*"), 16}
             << Column{kPage, QT_TRANSLATE_NOOP("FirstPageFor510", "Sample a*"), 17}
             << Column{kPage, QT_TRANSLATE_NOOP("FirstPageFor510", "Sample b*"), 18} << kThreshold
             << kDE;
        break;
    case 4:
        cols << Column{kPage, "Standard L*", 8}
             << Column{kPage, QT_TRANSLATE_NOOP("FirstPageFor510", "Standard C*"), 9}
             << Column{kPage, QT_TRANSLATE_NOOP("FirstPageFor510", "Standard h"), 10}
             << Column{kPage, "Sample L*", 19}
             << Column{kPage, QT_TRANSLATE_NOOP("FirstPageFor510", "Sample C*"), 20}
             << Column{kPage, QT_TRANSLATE_NOOP("FirstPageFor510", "Sample h"), 21} << kThreshold
             << kDE;
        break;
    case 5:
        cols << Column{kPage, QT_TRANSLATE_NOOP("FirstPageFor510", "Standard Y"), 11}
             << Column{kPage, QT_TRANSLATE_NOOP("FirstPageFor510", "Standard x"), 12}
             << Column{kPage, QT_TRANSLATE_NOOP("FirstPageFor510", "Standard y"), 13}
             << Column{kPage, QT_TRANSLATE_NOOP("FirstPageFor510", "Sample Y"), 22}
             << Column{kPage, QT_TRANSLATE_NOOP("FirstPageFor510", "Sample x"), 23}
             << Column{kPage, QT_TRANSLATE_NOOP("FirstPageFor510", "Sample y"), 24} << kThreshold
             << kDE;
        break;
    case 6:
        cols << kStdHaze << kStdT << Column{kPage, "Standard L*", 5}
             << Column{kPage, "Standard a*", 6} << Column{kPage, "Standard b*", 7} << kSmpHaze
             << kSmpT << Column{kPage, "Sample L*", 16} << Column{kPage, "Sample a*", 17}
             << Column{kPage, "Sample b*", 18} << kHazeTol << kDHaze << kTTol << kDT << kThreshold
             << kDE;
        break;
    default:
        break;
    }
    cols << kResult;
    return cols;
}

struct OldColumn {
    const char* english;
    const char* chinese; // UTF-8
    int source;
};

const OldColumn kOldColumns[] = {
    {"NO", "序号", 0},
    {"Model", "型号", 19},
    {"SN", "序列号", 20},
    {"Name", "名称", 1},
    {"Time", "时间", 2},
    {"Standard L*", "标准色L*", 3},
    {"Standard a*", "标准色a*", 4},
    {"Standard b*", "标准色b*", 5},
    {"Standard C*", "标准色C*", 6},
    {"Standard h", "标准色h", 7},
    {"Sample L*", "样品色L*", 8},
    {"Sample a*", "样品色a*", 9},
    {"Sample b*", "样品色b*", 10},
    {"Sample C*", "样品色C*", 11},
    {"Sample h", "样品色h", 12},
    {"△E Formula", "△E公式", 17},
    {"△E Thresholds", "△E阀值", 18},
    {"△E", "△E", 13},
    {"Result", "是否合格", 14},
};

} // namespace

QStringList headings(int displayMode) {
    QStringList out;
    for (const Column& c : columnsOf(displayMode))
        out.append(QCoreApplication::translate(c.context, c.heading));
    return out;
}

QList<int> sourceColumns(int displayMode) {
    QList<int> out;
    for (const Column& c : columnsOf(displayMode))
        out.append(c.source);
    return out;
}

QStringList oldHeadings(bool chinese) {
    QStringList out;
    for (const OldColumn& c : kOldColumns)
        out.append(QString::fromUtf8(chinese ? c.chinese : c.english));
    return out;
}

namespace {

// The sheets below from either the list's row texts or the records: `cellText(row, source)` gives
// the text of list column `source`.
template <typename Row, typename CellText>
ExcelTable newTable(int displayMode, const QList<Row>& rows, CellText cellText) {
    const QStringList heads = headings(displayMode);
    const QList<int> sources = sourceColumns(displayMode);
    ExcelTable table(static_cast<int>(rows.size()) + 1, static_cast<int>(heads.size()));
    for (int c = 0; c < heads.size(); ++c)
        table.setText(0, c, heads.at(c));
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < sources.size(); ++c)
            table.setText(r + 1, c, cellText(rows.at(r), sources.at(c)));
    return table;
}

template <typename Row, typename CellText>
QList<QVariantList> oldBlock(bool chinese, const QList<Row>& rows, CellText cellText) {
    QList<QVariantList> block;
    QVariantList head;
    for (const QString& h : oldHeadings(chinese))
        head.append(h);
    block.append(head);
    for (const Row& row : rows) {
        QVariantList out;
        for (const OldColumn& c : kOldColumns)
            out.append(cellText(row, c.source));
        block.append(out);
    }
    return block;
}

} // namespace

ExcelTable newLayoutTable(int displayMode, const QList<QStringList>& listRows) {
    return newTable(displayMode, listRows,
                    [](const QStringList& row, int source) { return row.value(source); });
}

QList<QVariantList> oldLayoutBlock(bool chinese, const QList<QStringList>& listRows) {
    return oldBlock(chinese, listRows,
                    [](const QStringList& row, int source) { return row.value(source); });
}

ExcelTable newLayoutTable(int displayMode, const QList<ComparisonRecord>& records) {
    return newTable(displayMode, records, comparisonrows::cellText);
}

QList<QVariantList> oldLayoutBlock(bool chinese, const QList<ComparisonRecord>& records) {
    return oldBlock(chinese, records, comparisonrows::oldCellText);
}

QString csvField(const QString& text) {
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QStringList csvLines(int displayMode, bool oldLayout, const QList<ComparisonRecord>& records) {
    auto join = [](const QStringList& fields) {
        QStringList quoted;
        for (const QString& f : fields)
            quoted << csvField(f);
        return quoted.join(QLatin1Char(','));
    };
    QStringList lines;
    if (oldLayout) {
        lines << join(oldHeadings(false));
        for (const ComparisonRecord& record : records) {
            QStringList fields;
            for (const OldColumn& c : kOldColumns)
                fields << comparisonrows::oldCellText(record, c.source);
            lines << join(fields);
        }
        return lines;
    }
    const QList<int> sources = sourceColumns(displayMode);
    lines << join(headings(displayMode));
    for (const ComparisonRecord& record : records) {
        QStringList fields;
        for (int source : sources)
            fields << comparisonrows::cellText(record, source);
        lines << join(fields);
    }
    return lines;
}

QString defaultFileName(const QDateTime& now) {
    return QStringLiteral("CompareM") + now.toString(QStringLiteral("yyyyMMddhhmm")) +
           QStringLiteral(".xlsx");
}

} // namespace comparisonsheet
