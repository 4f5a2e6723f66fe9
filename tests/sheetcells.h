#pragma once

#include <QHash>
#include <QProcess>
#include <QStringList>
#include <QXmlStreamReader>

#include <QtGlobal>

// A workbook's cells read by a path independent of the program's own reader and writer: the
// unzip tool and a plain XML walk over the sheet, its inline and shared strings and the number
// formats of styles.xml.

inline QByteArray unzippedPart(const QString& path, const QString& part) {
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), path, part});
    unzip.waitForFinished(10000);
    return unzip.readAllStandardOutput();
}

// One cell as stored: its reference, its type attribute ("" for a number, "s", "inlineStr",
// "b", ...), its stored value (the text for strings) and the code of its number format
// ("General" unless the cell's style says otherwise).
struct StoredCell {
    QString ref;
    QString type;
    QString value;
    QString format;
};

// The number format code of every cell style (cellXfs) of styles.xml, by style index.
inline QStringList cellStyleFormats(const QByteArray& styles) {
    // The built-in formats a writer refers to by number.
    QHash<int, QString> codes{{0, QStringLiteral("General")}, {1, QStringLiteral("0")},
                              {2, QStringLiteral("0.00")},    {9, QStringLiteral("0%")},
                              {10, QStringLiteral("0.00%")},  {49, QStringLiteral("@")}};
    QStringList formats;
    bool inCellXfs = false;
    QXmlStreamReader xml(styles);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == QLatin1String("cellXfs"))
            inCellXfs = false;
        if (!xml.isStartElement())
            continue;
        const auto attributes = xml.attributes();
        if (xml.name() == QLatin1String("numFmt"))
            codes.insert(attributes.value(QLatin1String("numFmtId")).toInt(),
                         attributes.value(QLatin1String("formatCode")).toString());
        else if (xml.name() == QLatin1String("cellXfs"))
            inCellXfs = true;
        else if (inCellXfs && xml.name() == QLatin1String("xf"))
            formats.append(codes.value(attributes.value(QLatin1String("numFmtId")).toInt(),
                                       QStringLiteral("unknown")));
    }
    return formats;
}

// The cells of worksheet `sheet` (1-based, as sheetN.xml) in the order stored.
inline QList<StoredCell> storedCells(const QString& path, int sheet = 1) {
    QStringList shared;
    QXmlStreamReader strings(unzippedPart(path, QStringLiteral("xl/sharedStrings.xml")));
    while (strings.readNextStartElement() || !strings.atEnd()) {
        if (strings.isStartElement() && strings.name() == QLatin1String("si"))
            shared.append(QString());
        else if (strings.isStartElement() && strings.name() == QLatin1String("t") &&
                 !shared.isEmpty())
            shared.last() += strings.readElementText();
        else
            strings.readNext();
    }
    const QStringList formats =
        cellStyleFormats(unzippedPart(path, QStringLiteral("xl/styles.xml")));
    QList<StoredCell> cells;
    QXmlStreamReader xml(
        unzippedPart(path, QStringLiteral("xl/worksheets/sheet%1.xml").arg(sheet)));
    StoredCell cell;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("c")) {
            const auto attributes = xml.attributes();
            cell.ref = attributes.value(QLatin1String("r")).toString();
            cell.type = attributes.value(QLatin1String("t")).toString();
            const int style = attributes.value(QLatin1String("s")).toInt();
            cell.format = formats.value(style, QStringLiteral("General"));
        } else if (xml.name() == QLatin1String("t") || xml.name() == QLatin1String("v")) {
            cell.value = xml.readElementText();
            if (cell.type == QLatin1String("s"))
                cell.value = shared.value(cell.value.toInt());
            cells.append(cell);
        }
    }
    return cells;
}

// What a spreadsheet program shows for a stored number in the formats the exports use: General
// (the shortest form) or a fixed number of decimals, as a percentage or not.
inline QString shownNumber(double value, const QString& format) {
    if (format == QLatin1String("General"))
        return QString::number(value, 'g', 15);
    const bool percent = format.endsWith(QLatin1Char('%'));
    const QString digits = percent ? format.chopped(1) : format;
    const qsizetype point = digits.indexOf(QLatin1Char('.'));
    const int decimals = point < 0 ? 0 : int(digits.size() - point - 1);
    return QString::number(percent ? value * 100 : value, 'f', decimals) +
           (percent ? QStringLiteral("%") : QString());
}

// The cells of a sheet as "A2=text" lines, each with the text a spreadsheet program shows.
inline QStringList sheetCellsByUnzip(const QString& path, int sheet = 1) {
    QStringList lines;
    for (const StoredCell& c : storedCells(path, sheet)) {
        const bool number = c.type.isEmpty() || c.type == QLatin1String("n");
        lines.append(c.ref + QLatin1Char('=') +
                     (number ? shownNumber(c.value.toDouble(), c.format) : c.value));
    }
    return lines;
}
