#pragma once
// Zip packages built in memory, for hand-made workbooks in tests and fuzz targets.

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <zip.h>

namespace zipbytes {

using Part = QPair<QString, QByteArray>;

// A zip archive of the given parts; parts named twice share one entry.
inline QByteArray zipOf(const QList<Part>& parts) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_source_keep(buffer);
    zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    for (const Part& part : parts) {
        zip_source_t* data = zip_source_buffer(archive, part.second.constData(),
                                               zip_uint64_t(part.second.size()), 0);
        zip_file_add(archive, part.first.toUtf8().constData(), data, ZIP_FL_OVERWRITE);
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

// Namespace URIs are spliced in: moc misreads the "//" of a URI inside a raw string.
inline QByteArray ns(QByteArray xml) {
    return xml.replace("$NS", "http:"
                              "//schemas.openxmlformats.org");
}

} // namespace zipbytes
