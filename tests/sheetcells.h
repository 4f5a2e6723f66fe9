#pragma once

#include <QProcess>
#include <QStringList>
#include <QXmlStreamReader>

// The cells of a workbook's first sheet as "A2=text" lines, read by a path independent of the
// program's own reader: the unzip tool and a plain XML walk over inline and shared strings.
inline QStringList sheetCellsByUnzip(const QString& path) {
    auto entry = [&path](const char* name) {
        QProcess unzip;
        unzip.start(QStringLiteral("unzip"),
                    {QStringLiteral("-p"), path, QString::fromLatin1(name)});
        unzip.waitForFinished(10000);
        return unzip.readAllStandardOutput();
    };
    QStringList shared;
    QXmlStreamReader strings(entry("xl/sharedStrings.xml"));
    while (strings.readNextStartElement() || !strings.atEnd()) {
        if (strings.isStartElement() && strings.name() == QLatin1String("si"))
            shared.append(QString());
        else if (strings.isStartElement() && strings.name() == QLatin1String("t") &&
                 !shared.isEmpty())
            shared.last() += strings.readElementText();
        else
            strings.readNext();
    }
    QStringList cells;
    QXmlStreamReader sheet(entry("xl/worksheets/sheet1.xml"));
    QString ref, type;
    while (!sheet.atEnd()) {
        sheet.readNext();
        if (!sheet.isStartElement())
            continue;
        if (sheet.name() == QLatin1String("c")) {
            ref = sheet.attributes().value(QLatin1String("r")).toString();
            type = sheet.attributes().value(QLatin1String("t")).toString();
        } else if (sheet.name() == QLatin1String("t") || sheet.name() == QLatin1String("v")) {
            QString text = sheet.readElementText();
            if (type == QLatin1String("s"))
                text = shared.value(text.toInt());
            cells.append(ref + QLatin1Char('=') + text);
        }
    }
    return cells;
}
