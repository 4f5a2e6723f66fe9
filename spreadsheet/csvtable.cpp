#include "csvtable.h"

#include "safefile.h"

#include <QLocale>
#include <QStringDecoder>

#include <cmath>

namespace csv {

namespace {

const QByteArray kBom("\xEF\xBB\xBF");
const QByteArray kLineEnd("\r\n");

// A spreadsheet program computes a text that starts like a formula ("=HYPERLINK(...)",
// "@SUM(1)", "-2+3"); a leading apostrophe makes it show the text instead.
bool startsLikeFormula(const QString& text) {
    if (text.isEmpty())
        return false;
    const QChar c = text.front();
    return c == u'=' || c == u'+' || c == u'-' || c == u'@' || c == u'\t' || c == u'\r';
}

QByteArray quoted(const QString& text) {
    QByteArray bytes = startsLikeFormula(text) ? '\'' + text.toUtf8() : text.toUtf8();
    if (!bytes.contains(',') && !bytes.contains('"') && !bytes.contains('\n') &&
        !bytes.contains('\r'))
        return bytes;
    bytes.replace("\"", "\"\"");
    return '"' + bytes + '"';
}

QByteArray line(const QVariantList& values) {
    QByteArray out;
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (i > 0)
            out += ',';
        out += field(values.at(i));
    }
    return out + kLineEnd;
}

QVariantList asValues(const QStringList& texts) {
    QVariantList values;
    values.reserve(texts.size());
    for (const QString& t : texts)
        values.append(t);
    return values;
}

void setError(QString* error, const QString& text) {
    if (error)
        *error = text;
}

} // namespace

QByteArray field(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        return {};
    case QMetaType::Bool:
        return value.toBool() ? QByteArrayLiteral("PASS") : QByteArrayLiteral("NG");
    case QMetaType::Double:
    case QMetaType::Float: {
        const double v = value.toDouble();
        if (!std::isfinite(v))
            return {};
        // Fixed notation: some spreadsheet programs read "1e-05" as text.
        return QByteArray::number(v, 'f', QLocale::FloatingPointShortest);
    }
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return value.toString().toUtf8();
    default:
        return quoted(value.toString());
    }
}

QByteArray encode(const QStringList& headings, const QList<QVariantList>& rows) {
    QByteArray out = kBom + line(asValues(headings));
    for (const QVariantList& row : rows)
        out += line(row);
    return out;
}

bool write(const QString& path, const QStringList& headings, const QList<QVariantList>& rows,
           QString* error) {
    SafeFile file(path);
    // Line by line, so a long list is not held twice in memory; the file replaces the old one
    // only when every write, the sync and the close succeeded.
    bool ok = file.open() && file.write(kBom + line(asValues(headings)));
    for (qsizetype i = 0; ok && i < rows.size(); ++i)
        ok = file.write(line(rows.at(i)));
    if (ok && file.commit())
        return true;
    file.cancel();
    setError(error, file.errorString());
    return false;
}

bool parse(const QByteArray& bytes, QList<Record>& out, ParseError* error) {
    // The mark is skipped here, once: any further one is part of the text.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes.startsWith(kBom) ? bytes.mid(kBom.size()) : bytes);
    if (decoder.hasError()) {
        if (error)
            *error = {ParseError::NotUtf8, 0};
        return false;
    }
    out.clear();
    int lineNo = 1;
    Record record{1, {}};
    QString current;
    bool inQuotes = false, fieldStarted = false, lineHasContent = false;
    int quoteLine = 0;
    auto endRecord = [&] {
        if (lineHasContent) {
            record.fields.append(current);
            out.append(record);
        }
        record = Record{lineNo, {}};
        current.clear();
        fieldStarted = lineHasContent = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (inQuotes) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
                    current += c;
                    ++i;
                } else {
                    inQuotes = false;
                }
            } else {
                if (c == QLatin1Char('\n') ||
                    (c == QLatin1Char('\r') &&
                     (i + 1 == text.size() || text.at(i + 1) != QLatin1Char('\n'))))
                    ++lineNo;
                current += c;
            }
            continue;
        }
        if (c == QLatin1Char('"') && !fieldStarted) {
            inQuotes = fieldStarted = lineHasContent = true;
            quoteLine = lineNo;
        } else if (c == QLatin1Char(',')) {
            record.fields.append(current);
            current.clear();
            fieldStarted = false;
            lineHasContent = true;
        } else if (c == QLatin1Char('\n')) {
            ++lineNo;
            endRecord();
        } else if (c == QLatin1Char('\r')) {
            // CR LF: the LF ends the line; a CR alone (old Mac files) ends it itself.
            if (i + 1 == text.size() || text.at(i + 1) != QLatin1Char('\n')) {
                ++lineNo;
                endRecord();
            }
        } else {
            current += c;
            fieldStarted = lineHasContent = true;
        }
    }
    if (inQuotes) {
        if (error)
            *error = {ParseError::OpenQuote, quoteLine};
        return false;
    }
    endRecord();
    return true;
}

} // namespace csv
