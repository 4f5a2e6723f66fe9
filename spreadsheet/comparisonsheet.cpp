#include "comparisonsheet.h"

#include "colour.h"
#include "comparisonrows.h"
#include "csvtable.h"
#include "quantities.h"
#include "workbookwriter.h"

#include <QCoreApplication>
#include <QHash>

#include <climits>
#include <utility>

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

xlsx::CellValue cellValue(const ComparisonRecord& r, int column) {
    using namespace comparisonrows;
    using xlsx::CellValue;
    using xlsx::NumberFormat;
    constexpr int n = ComparisonRecord::kValueCount;
    if (column >= ColStandard && column < ColSample + n) {
        const bool sample = column >= ColSample;
        const int index = column - (sample ? ColSample : ColStandard);
        const int units = (sample ? r.sample : r.standard)[size_t(index)];
        const int decimals = quantities::decimals(index);
        // "20.00%" is what a spreadsheet keeps as 0.2 shown as 0.00%.
        return quantities::isPercent(index)
                   ? CellValue::ofNumber(units / (quantities::scale(index) * 100.0),
                                         NumberFormat::percentage(decimals))
                   : CellValue::ofNumber(quantities::valueNumber(index, units),
                                         NumberFormat::fixed(decimals));
    }
    switch (column) {
    case ColNo:
        return CellValue::ofNumber(r.sequence, NumberFormat::general());
    case ColDeltaHaze:
        return CellValue::ofNumber(r.deltaHaze / 10000.0, NumberFormat::percentage(2));
    case ColDeltaT:
        return CellValue::ofNumber(r.deltaT / 10000.0, NumberFormat::percentage(2));
    case ColDeltaE:
        return CellValue::ofNumber(r.deltaE / 100.0, NumberFormat::fixed(2));
    case ColThreshold:
        if (r.settings.threshold >= 0)
            return CellValue::ofNumber(r.settings.threshold / 10.0, NumberFormat::fixed(1));
        break;
    default:
        break;
    }
    // Names, serial numbers, times, verdicts, "±1.00%" tolerances and "-----" stay texts.
    return CellValue::ofText(comparisonrows::cellText(r, column));
}

xlsx::CellValue oldCellValue(const ComparisonRecord& r, int column) {
    using namespace comparisonrows;
    using xlsx::CellValue;
    using xlsx::NumberFormat;
    if (column >= OldColStandard && column < OldColDeltaE) {
        const bool sample = column >= OldColSample;
        const int index = column - (sample ? OldColSample : OldColStandard);
        const int units = (sample ? r.sample : r.standard)[size_t(index)];
        const int decimals = quantities::oldDecimals(index);
        // h is kept in hundredths and shown in tenths: the number is the one shown.
        return CellValue::ofNumber(
            decimals == 2 ? units / 100.0 : quantities::oldValueText(index, units).toDouble(),
            NumberFormat::fixed(decimals));
    }
    switch (column) {
    case ColNo:
        return CellValue::ofNumber(r.sequence, NumberFormat::general());
    case OldColDeltaE:
        return CellValue::ofNumber(r.deltaE / 100.0, NumberFormat::fixed(2));
    case OldColThreshold:
        if (r.settings.threshold >= 0)
            return CellValue::ofNumber(r.settings.threshold / 10.0, NumberFormat::fixed(1));
        break;
    default:
        break;
    }
    return CellValue::ofText(comparisonrows::oldCellText(r, column));
}

namespace {

// The texts many rows share (model, serial number, verdict, settings, the time to the minute)
// made cell texts once each: formatting and translating them again for every row would cost an
// export of a full list more than writing it.
class TextCache {
  public:
    const QByteArray& of(const QString& text) {
        auto it = texts_.constFind(text);
        if (it == texts_.constEnd())
            it = texts_.insert(text, xlsx::cellText(text));
        return *it;
    }
    // The text of `column` for a value that decides it alone.
    template <typename Text> const QByteArray& of(int column, qint64 key, Text text) {
        const std::pair<int, qint64> at{column, key};
        auto it = keyed_.constFind(at);
        if (it == keyed_.constEnd())
            it = keyed_.insert(at, xlsx::cellText(text()));
        return *it;
    }

  private:
    QHash<QString, QByteArray> texts_;
    QHash<std::pair<int, qint64>, QByteArray> keyed_;
};

} // namespace

bool writeNewLayout(xlsx::SheetWriter& writer, int sheet, int displayMode,
                    const QList<ComparisonRecord>& records, const Progress& progress) {
    using namespace comparisonrows;
    const QStringList heads = headings(displayMode);
    const QList<int> sources = sourceColumns(displayMode);
    for (int c = 0; c < heads.size(); ++c)
        if (!writer.text(sheet, 2, c + 1, heads.at(c), true))
            return false;
    if (progress && !progress(1))
        return true;
    TextCache cache;
    for (int r = 0; r < records.size(); ++r) {
        const ComparisonRecord& record = records.at(r);
        const int row = r + 3;
        for (int c = 0; c < sources.size(); ++c) {
            const int source = sources.at(c);
            const auto cached = [&](qint64 key) {
                return writer.utf8Text(
                    sheet, row, c + 1,
                    cache.of(source, key, [&] { return cellText(record, source); }), true);
            };
            bool ok;
            switch (source) {
            case ColName:
                ok = writer.text(sheet, row, c + 1, record.name, true);
                break;
            case ColTime:
                ok =
                    cached(record.time.isValid() ? record.time.toSecsSinceEpoch() / 60 : LLONG_MIN);
                break;
            case ColModel:
                ok = writer.utf8Text(sheet, row, c + 1, cache.of(record.model), true);
                break;
            case ColSerial:
                ok = writer.utf8Text(sheet, row, c + 1, cache.of(record.serialNumber), true);
                break;
            case ColVerdict:
                ok = cached(record.pass);
                break;
            case ColHazeTolerance:
                ok = cached(record.settings.hazeTolerance);
                break;
            case ColTTolerance:
                ok = cached(record.settings.tTolerance);
                break;
            case ColThreshold:
                ok = record.settings.threshold < 0
                         ? cached(-1)
                         : writer.cell(sheet, row, c + 1, cellValue(record, source), true);
                break;
            default:
                ok = writer.cell(sheet, row, c + 1, cellValue(record, source), true);
                break;
            }
            if (!ok)
                return false;
        }
        if (progress && !progress(r + 2))
            break;
    }
    return true;
}

bool writeOldLayout(xlsx::SheetWriter& writer, int sheet, bool chinese,
                    const QList<ComparisonRecord>& records, const Progress& progress) {
    using namespace comparisonrows;
    const QStringList heads = oldHeadings(chinese);
    for (int c = 0; c < heads.size(); ++c)
        if (!writer.text(sheet, 1, c + 1, heads.at(c), false))
            return false;
    if (progress && !progress(1))
        return true;
    TextCache cache;
    for (int r = 0; r < records.size(); ++r) {
        const ComparisonRecord& record = records.at(r);
        const int row = r + 2;
        int c = 0;
        for (const OldColumn& column : kOldColumns) {
            ++c;
            const int source = column.source;
            const auto cached = [&](qint64 key) {
                return writer.utf8Text(
                    sheet, row, c,
                    cache.of(source, key, [&] { return oldCellText(record, source); }), false);
            };
            bool ok;
            switch (source) {
            case ColName:
                ok = writer.text(sheet, row, c, record.name, false);
                break;
            case ColTime:
                ok =
                    cached(record.time.isValid() ? record.time.toSecsSinceEpoch() / 60 : LLONG_MIN);
                break;
            case OldColModel:
                ok = writer.utf8Text(sheet, row, c, cache.of(record.model), false);
                break;
            case OldColSerial:
                ok = writer.utf8Text(sheet, row, c, cache.of(record.serialNumber), false);
                break;
            case OldColVerdict:
                ok = cached(record.pass);
                break;
            case OldColFormula:
                ok = cached(record.settings.formula);
                break;
            case OldColThreshold:
                ok = record.settings.threshold < 0
                         ? cached(-1)
                         : writer.cell(sheet, row, c, oldCellValue(record, source), false);
                break;
            default:
                ok = writer.cell(sheet, row, c, oldCellValue(record, source), false);
                break;
            }
            if (!ok)
                return false;
        }
        if (progress && !progress(r + 2))
            break;
    }
    return true;
}

namespace {

// A cell of the terminal's CSV line: a number as the list shows it, a text as a spreadsheet-safe
// field (quoted where needed, one that a spreadsheet would take for a formula made a text).
QString csvCell(const xlsx::CellValue& value, const QString& shown) {
    if (value.kind == xlsx::CellValue::Kind::Number)
        return shown;
    return QString::fromUtf8(csv::field(shown));
}

QString csvHeadings(const QStringList& heads) {
    QStringList fields;
    for (const QString& h : heads)
        fields << QString::fromUtf8(csv::field(h));
    return fields.join(QLatin1Char(','));
}

} // namespace

QStringList csvLines(int displayMode, bool oldLayout, const QList<ComparisonRecord>& records) {
    QStringList lines;
    if (oldLayout) {
        lines << csvHeadings(oldHeadings(false));
        for (const ComparisonRecord& record : records) {
            QStringList fields;
            for (const OldColumn& c : kOldColumns)
                fields << csvCell(oldCellValue(record, c.source),
                                  comparisonrows::oldCellText(record, c.source));
            lines << fields.join(QLatin1Char(','));
        }
        return lines;
    }
    const QList<int> sources = sourceColumns(displayMode);
    lines << csvHeadings(headings(displayMode));
    for (const ComparisonRecord& record : records) {
        QStringList fields;
        for (int source : sources)
            fields << csvCell(cellValue(record, source), comparisonrows::cellText(record, source));
        lines << fields.join(QLatin1Char(','));
    }
    return lines;
}

QString defaultFileName(const QDateTime& now) {
    return QStringLiteral("CompareM") + now.toString(QStringLiteral("yyyyMMddhhmm")) +
           QStringLiteral(".xlsx");
}

} // namespace comparisonsheet
