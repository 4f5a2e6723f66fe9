// Arbitrary bytes as a workbook: the reader must refuse or read them without crashing, hanging
// or reading out of bounds, and what it reads must give sane used ranges. An input starting
// with 'Z' is split at NUL bytes into the parts of an otherwise well-formed package, so that the
// XML readers are reached past the zip layer's checksums; any other input is the whole file.
#include "workbookreader.h"
#include "zipbytes.h"

#include <QList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

const char* const kParts[] = {"xl/worksheets/sheet1.xml", "xl/sharedStrings.xml", "xl/workbook.xml",
                              "xl/_rels/workbook.xml.rels", "_rels/.rels"};

QByteArray package(const QByteArray& input) {
    const QList<QByteArray> parts = input.split('\0');
    QList<zipbytes::Part> named;
    for (qsizetype i = 0; i < parts.size() && i < qsizetype(std::size(kParts)); ++i)
        named.append({QString::fromLatin1(kParts[i]), parts[i]});
    return zipbytes::zipOf(named);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes = QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
    if (bytes.startsWith('Z'))
        bytes = package(bytes.mid(1));
    xlsx::Workbook book;
    if (!xlsx::readWorkbook(bytes, book))
        return 0;
    for (const xlsx::Worksheet& sheet : book.sheets) {
        const xlsx::Range used = sheet.usedRange();
        if (used.area() > xlsx::kMaxUsedArea)
            std::abort();
        if (!used.isEmpty() && sheet.values(used).size() != used.rowCount)
            std::abort();
    }
    return 0;
}
