#include "workbookreader.h"

#include <QXmlStreamReader>

#include <zip.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace xlsx {
namespace {

// Thrown inside the reader only; readWorkbook turns it into its result.
struct ReadFailure {
    QString reason;
};

[[noreturn]] void fail(const QString& reason) {
    throw ReadFailure{reason};
}

class ZipArchive {
  public:
    ZipArchive(const QByteArray& bytes, qint64 budget) : budget_(budget) {
        zip_error_t error;
        zip_error_init(&error);
        // The buffer is borrowed: bytes outlives the archive.
        zip_source_t* source =
            zip_source_buffer_create(bytes.constData(), zip_uint64_t(bytes.size()), 0, &error);
        if (source)
            archive_ = zip_open_from_source(source, ZIP_RDONLY, &error);
        if (!archive_) {
            if (source)
                zip_source_free(source);
            const QString reason = QString::fromUtf8(zip_error_strerror(&error));
            zip_error_fini(&error);
            fail(QStringLiteral("not a zip archive (%1)").arg(reason));
        }
        zip_error_fini(&error);
    }
    ~ZipArchive() { zip_discard(archive_); }
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    bool contains(const QString& name) const { return locate(name) >= 0; }

    QByteArray read(const QString& name) const {
        const zip_int64_t index = locate(name);
        if (index < 0)
            fail(QStringLiteral("part %1 is missing").arg(name));
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(archive_, zip_uint64_t(index), 0, &stat) == 0 &&
            (stat.valid & ZIP_STAT_SIZE) && stat.size > zip_uint64_t(kMaxPartBytes))
            fail(QStringLiteral("part %1 is too large").arg(name));
        if ((stat.valid & ZIP_STAT_SIZE) && qint64(stat.size) > budget_ - inflated_)
            fail(QStringLiteral("part %1 exceeds the %2 MB the whole workbook may unpack to")
                     .arg(name)
                     .arg(budget_ >> 20));
        std::unique_ptr<zip_file_t, int (*)(zip_file_t*)> file(
            zip_fopen_index(archive_, zip_uint64_t(index), 0), zip_fclose);
        if (!file)
            fail(QStringLiteral("part %1 cannot be read (%2)")
                     .arg(name, QString::fromUtf8(zip_strerror(archive_))));
        QByteArray data;
        // The stored size may lie; the cap holds whatever the stream delivers.
        char chunk[65536];
        for (;;) {
            const zip_int64_t n = zip_fread(file.get(), chunk, sizeof chunk);
            if (n < 0)
                fail(QStringLiteral("part %1 is damaged (%2)")
                         .arg(name, QString::fromUtf8(zip_file_strerror(file.get()))));
            if (n == 0)
                break;
            if (data.size() + n > kMaxPartBytes)
                fail(QStringLiteral("part %1 is too large").arg(name));
            // Many small references to one large part must not add up to hours of inflating.
            inflated_ += n;
            if (inflated_ > budget_)
                fail(QStringLiteral("part %1 exceeds the %2 MB the whole workbook may unpack to")
                         .arg(name)
                         .arg(budget_ >> 20));
            data.append(chunk, qsizetype(n));
        }
        return data;
    }

  private:
    zip_int64_t locate(const QString& name) const {
        // Part names are case-insensitive in a package.
        return zip_name_locate(archive_, name.toUtf8().constData(), ZIP_FL_NOCASE);
    }

    zip_t* archive_ = nullptr;
    qint64 budget_;
    mutable qint64 inflated_ = 0;
};

// A pull parser that refuses document type declarations: no part of a workbook has one, and
// they are how entity expansion attacks arrive.
class Xml {
  public:
    Xml(const QByteArray& data, const QString& part) : reader_(data), part_(part) {
        reader_.setEntityExpansionLimit(64);
    }

    // Moves to the next start or end element; false at the end of the document.
    bool next() {
        while (!reader_.atEnd()) {
            const auto token = reader_.readNext();
            if (token == QXmlStreamReader::DTD)
                fail(QStringLiteral("part %1 has a document type declaration").arg(part_));
            if (token == QXmlStreamReader::StartElement) {
                // The parser keeps every open element; unclosed nesting would cost gigabytes.
                if (++depth_ > kMaxXmlDepth)
                    bad(QStringLiteral("elements nested deeper than %1").arg(kMaxXmlDepth));
                return true;
            }
            if (token == QXmlStreamReader::EndElement) {
                --depth_;
                return true;
            }
        }
        check();
        return false;
    }
    bool isStart(QStringView name) const {
        return reader_.isStartElement() && reader_.name() == name;
    }
    bool isEnd(QStringView name) const { return reader_.isEndElement() && reader_.name() == name; }
    // Valid until the parser moves on.
    QStringView attribute(const char* name) const {
        return reader_.attributes().value(QLatin1StringView(name));
    }
    QString text() {
        QString t = reader_.readElementText();
        check();
        --depth_; // readElementText consumed the end element
        return t;
    }
    // Skips the current element through next(), so that the depth bound holds inside it too.
    void skip() {
        const int depth = depth_;
        while (depth_ >= depth) {
            if (!next())
                bad(QStringLiteral("unterminated element"));
        }
    }
    const QXmlStreamAttributes attributes() const { return reader_.attributes(); }
    [[noreturn]] void bad(const QString& what) const {
        fail(QStringLiteral("part %1: %2").arg(part_, what));
    }

  private:
    void check() const {
        if (reader_.hasError())
            bad(reader_.errorString());
    }

    QXmlStreamReader reader_;
    QString part_;
    int depth_ = 0;
};

// Strings in a workbook escape characters XML cannot carry as _xHHHH_.
QString unescapeText(QString text) {
    qsizetype at = text.indexOf(QLatin1String("_x"));
    if (at < 0)
        return text;
    QString out;
    out.reserve(text.size());
    qsizetype from = 0;
    while (at >= 0) {
        bool ok = false;
        ushort code = 0;
        if (at + 7 <= text.size() && text[at + 6] == u'_')
            code = QStringView(text).mid(at + 2, 4).toUShort(&ok, 16);
        if (!ok) {
            at = text.indexOf(QLatin1String("_x"), at + 1);
            continue;
        }
        out += QStringView(text).mid(from, at - from);
        out += QChar(code);
        from = at + 7;
        at = text.indexOf(QLatin1String("_x"), from);
    }
    out += QStringView(text).mid(from);
    return out;
}

// The text of a shared string item or inline string: plain, or the runs of rich text in order.
// Phonetic guides are not part of the value.
QString readStringItem(Xml& xml, QStringView container) {
    QString text;
    while (xml.next()) {
        if (xml.isEnd(container))
            return unescapeText(std::move(text));
        if (xml.isStart(u"t"))
            text += xml.text();
        else if (xml.isStart(u"r") || xml.isEnd(u"r"))
            continue;
        else if (xml.isStart(u"rPh") || xml.isStart(u"rPr") || xml.isStart(u"phoneticPr"))
            xml.skip();
    }
    xml.bad(QStringLiteral("unterminated string"));
}

struct Relationship {
    QString id;
    QString type;
    QString target; // resolved part name
};

QString directoryOf(const QString& part) {
    const qsizetype slash = part.lastIndexOf(u'/');
    return slash < 0 ? QString() : part.left(slash + 1);
}

// Resolves a relationship target against the directory of the part that names it.
QString resolvePart(const QString& baseDirectory, const QString& target) {
    const QString joined = target.startsWith(u'/') ? target.mid(1) : baseDirectory + target;
    QStringList parts;
    for (const QString& segment : joined.split(u'/', Qt::SkipEmptyParts)) {
        if (segment == u".")
            continue;
        if (segment == u"..") {
            if (parts.isEmpty())
                fail(QStringLiteral("relationship target %1 leaves the package").arg(target));
            parts.removeLast();
        } else {
            parts.append(segment);
        }
    }
    return parts.join(u'/');
}

std::vector<Relationship> readRelationships(const ZipArchive& zip, const QString& part) {
    std::vector<Relationship> rels;
    const QByteArray data = zip.read(part);
    Xml xml(data, part);
    // A relationship part sits in _rels/ inside the directory its targets are relative to.
    QString base = directoryOf(part);
    if (base.endsWith(QLatin1String("_rels/")))
        base.chop(6);
    while (xml.next()) {
        if (!xml.isStart(u"Relationship"))
            continue;
        if (xml.attribute("TargetMode") == u"External")
            continue;
        rels.push_back({xml.attribute("Id").toString(), xml.attribute("Type").toString(),
                        resolvePart(base, xml.attribute("Target").toString())});
    }
    return rels;
}

QString relationshipsOf(const QString& part) {
    return directoryOf(part) + QStringLiteral("_rels/") + part.mid(directoryOf(part).size()) +
           QStringLiteral(".rels");
}

bool hasType(const Relationship& rel, QStringView kind) {
    // Transitional and strict packages differ only in the namespace before the last slash.
    return rel.type.endsWith(QString(u'/' + kind.toString()));
}

std::vector<QString> readSharedStrings(const ZipArchive& zip, const QString& part) {
    std::vector<QString> strings;
    const QByteArray data = zip.read(part);
    Xml xml(data, part);
    while (xml.next()) {
        if (!xml.isStart(u"si"))
            continue;
        if (std::int64_t(strings.size()) >= kMaxCells)
            xml.bad(QStringLiteral("too many shared strings"));
        strings.push_back(readStringItem(xml, u"si"));
    }
    return strings;
}

struct SheetEntry {
    QString name;
    QString relationshipId;
};

std::vector<SheetEntry> readSheetList(const ZipArchive& zip, const QString& part) {
    std::vector<SheetEntry> sheets;
    const QByteArray data = zip.read(part);
    Xml xml(data, part);
    while (xml.next()) {
        if (!xml.isStart(u"sheet"))
            continue;
        SheetEntry entry;
        entry.name = xml.attribute("name").toString();
        // r:id, whatever prefix the file binds to the relationships namespace.
        for (const QXmlStreamAttribute& a : xml.attributes()) {
            if (a.name() == u"id" && a.namespaceUri().endsWith(u"/relationships"))
                entry.relationshipId = a.value().toString();
        }
        if (sheets.size() >= std::size_t(kMaxSheets))
            xml.bad(QStringLiteral("more than %1 sheets").arg(kMaxSheets));
        sheets.push_back(std::move(entry));
    }
    return sheets;
}

class SheetReader {
  public:
    SheetReader(const std::vector<QString>& strings, std::int64_t& cellBudget)
        : strings_(strings), cellBudget_(cellBudget) {}

    void read(const ZipArchive& zip, const QString& part, Worksheet& sheet) {
        const QByteArray data = zip.read(part);
        Xml xml(data, part);
        bool inSheetData = false;
        int row = 0;
        int column = 0;
        while (xml.next()) {
            if (xml.isStart(u"sheetData")) {
                inSheetData = true;
            } else if (xml.isEnd(u"sheetData")) {
                inSheetData = false;
            } else if (inSheetData && xml.isStart(u"row")) {
                const QStringView r = xml.attribute("r");
                if (r.isEmpty()) {
                    ++row;
                } else {
                    bool ok = false;
                    row = r.toInt(&ok);
                    if (!ok)
                        row = 0;
                }
                if (row < 1 || row > kMaxRows)
                    xml.bad(QStringLiteral("row number out of range"));
                column = 0;
            } else if (inSheetData && xml.isStart(u"c")) {
                if (row == 0)
                    xml.bad(QStringLiteral("cell outside a row"));
                CellPosition at{row, column + 1};
                const QStringView r = xml.attribute("r");
                if (!r.isEmpty()) {
                    const auto parsed = parseCellReference(r);
                    if (!parsed)
                        xml.bad(QStringLiteral("bad cell reference %1").arg(r));
                    at = *parsed;
                }
                if (at.column > kMaxColumns)
                    xml.bad(QStringLiteral("column out of range"));
                column = at.column;
                if (--cellBudget_ < 0)
                    xml.bad(QStringLiteral("too many cells"));
                sheet.load(at.row, at.column, readCell(xml));
            }
        }
        sheet.finishLoading();
        if (sheet.usedRange().area() > kMaxUsedArea)
            xml.bad(QStringLiteral("used range too large"));
    }

  private:
    QVariant readCell(Xml& xml) {
        const QString type = xml.attribute("t").toString();
        QString raw;
        bool hasRaw = false;
        QString inlineText;
        bool hasInline = false;
        while (xml.next()) {
            if (xml.isEnd(u"c"))
                break;
            if (xml.isStart(u"v")) {
                raw = xml.text();
                hasRaw = true;
            } else if (xml.isStart(u"is")) {
                inlineText = readStringItem(xml, u"is");
                hasInline = true;
            } else if (xml.isStart(u"f") || xml.isStart(u"extLst")) {
                xml.skip();
            }
        }
        if (type == u"inlineStr")
            return hasInline ? QVariant(inlineText) : QVariant();
        if (!hasRaw)
            return {};
        if (type == u"s") {
            bool ok = false;
            const qint64 index = QStringView(raw).trimmed().toLongLong(&ok);
            if (!ok || index < 0 || index >= qint64(strings_.size()))
                xml.bad(QStringLiteral("shared string index %1 out of range").arg(raw));
            return strings_[size_t(index)];
        }
        if (type == u"b") {
            const QStringView v = QStringView(raw).trimmed();
            if (v == u"1" || v == u"true")
                return true;
            if (v == u"0" || v == u"false")
                return false;
            xml.bad(QStringLiteral("bad boolean %1").arg(raw));
        }
        if (type.isEmpty() || type == u"n") {
            const QStringView v = QStringView(raw).trimmed();
            if (v.isEmpty())
                return {};
            bool ok = false;
            const double number = v.toDouble(&ok);
            if (!ok || !std::isfinite(number))
                xml.bad(QStringLiteral("bad number %1").arg(raw));
            return number;
        }
        // Formula strings, error values (#N/A ...) and ISO dates are handed on as their text.
        return type == u"str" ? unescapeText(std::move(raw)) : raw;
    }

    const std::vector<QString>& strings_;
    std::int64_t& cellBudget_;
};

void read(const QByteArray& bytes, Workbook& book, qint64 budget) {
    if (bytes.size() > kMaxFileBytes)
        fail(QStringLiteral("file too large"));
    const ZipArchive zip(bytes, std::min(budget, kMaxTotalBytes));

    QString workbookPart = QStringLiteral("xl/workbook.xml");
    if (zip.contains(QStringLiteral("_rels/.rels"))) {
        for (const Relationship& rel : readRelationships(zip, QStringLiteral("_rels/.rels"))) {
            if (hasType(rel, u"officeDocument")) {
                workbookPart = rel.target;
                break;
            }
        }
    }
    const std::vector<Relationship> rels = readRelationships(zip, relationshipsOf(workbookPart));
    const std::vector<SheetEntry> entries = readSheetList(zip, workbookPart);

    std::vector<QString> strings;
    for (const Relationship& rel : rels) {
        // A missing table only matters to cells that use it, and those fail on their own.
        if (hasType(rel, u"sharedStrings") && zip.contains(rel.target)) {
            strings = readSharedStrings(zip, rel.target);
            break;
        }
    }

    std::int64_t cellBudget = kMaxCells;
    SheetReader reader(strings, cellBudget);
    QStringList partsRead;
    for (const SheetEntry& entry : entries) {
        const Relationship* found = nullptr;
        for (const Relationship& rel : rels) {
            if (rel.id == entry.relationshipId) {
                found = &rel;
                break;
            }
        }
        if (!found)
            fail(QStringLiteral("sheet %1 has no part").arg(entry.name));
        // Chart sheets and the like are not worksheets and are not counted among them.
        if (!hasType(*found, u"worksheet"))
            continue;
        // Sheets that share one part only make the same bytes cost again and again.
        if (partsRead.contains(found->target, Qt::CaseInsensitive))
            fail(QStringLiteral("sheet %1 names part %2, which another sheet uses too")
                     .arg(entry.name, found->target));
        partsRead.append(found->target);
        book.sheets.emplace_back(entry.name);
        reader.read(zip, found->target, book.sheets.back());
    }
    if (book.sheets.empty())
        fail(QStringLiteral("no worksheet"));
}

} // namespace

bool readWorkbook(const QByteArray& bytes, Workbook& book, QString* error, qint64 unpackBudget) {
    book.sheets.clear();
    try {
        read(bytes, book, unpackBudget);
        return true;
    } catch (const ReadFailure& failure) {
        book.sheets.clear();
        if (error)
            *error = failure.reason;
        return false;
    } catch (const std::bad_alloc&) {
        book.sheets.clear();
        if (error)
            *error = QStringLiteral("out of memory");
        return false;
    }
}

} // namespace xlsx
