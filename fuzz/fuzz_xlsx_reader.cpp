// Arbitrary bytes as a workbook: the reader must refuse or read them without crashing, hanging
// or reading out of bounds, and what it reads must give sane used ranges. An input starting
// with 'Z' is split at NUL bytes into the parts of an otherwise well-formed package, so that the
// XML readers are reached past the zip layer's checksums; any other input is the whole file.
#include "workbookreader.h"

#include <QList>

#include <zip.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

const char* const kParts[] = {"xl/worksheets/sheet1.xml", "xl/sharedStrings.xml", "xl/workbook.xml",
                              "xl/_rels/workbook.xml.rels", "_rels/.rels"};

QByteArray package(const QByteArray& input) {
    const QList<QByteArray> parts = input.split('\0');
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_source_keep(buffer);
    zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    for (qsizetype i = 0; i < parts.size() && i < qsizetype(std::size(kParts)); ++i) {
        zip_source_t* data =
            zip_source_buffer(archive, parts[i].constData(), zip_uint64_t(parts[i].size()), 0);
        zip_file_add(archive, kParts[i], data, ZIP_FL_OVERWRITE);
    }
    zip_close(archive);
    QByteArray out;
    zip_source_open(buffer);
    char chunk[4096];
    for (zip_int64_t n; (n = zip_source_read(buffer, chunk, sizeof chunk)) > 0;)
        out.append(chunk, qsizetype(n));
    zip_source_close(buffer);
    zip_source_free(buffer);
    zip_error_fini(&error);
    return out;
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
