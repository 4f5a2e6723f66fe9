// Arbitrary bytes as a colour list for the library maker. Whatever the maker accepts, the
// library writer must accept unchanged, within what the instrument holds; and any list the CSV
// reader reads must read back the same after being written out again (a text that starts like a
// formula with the apostrophe that keeps it a text).
#include "csvtable.h"
#include "stdcolorlibrary.h"
#include "stdcolormaker.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    QList<csv::Record> records;
    // A record of one empty field is written as an empty line, which reads as no record.
    auto lone = [](const csv::Record& r) { return r.fields == QStringList{QString()}; };
    if (csv::parse(input, records) && !records.isEmpty() &&
        std::none_of(records.begin(), records.end(), lone)) {
        QList<QVariantList> rows;
        for (const csv::Record& r : records) {
            QVariantList row;
            for (const QString& f : r.fields)
                row.append(f);
            rows.append(row);
        }
        const QStringList headings = records.first().fields;
        rows.removeFirst();
        QList<csv::Record> again;
        if (!csv::parse(csv::encode(headings, rows), again) || again.size() != records.size())
            std::abort();
        for (qsizetype i = 0; i < again.size(); ++i) {
            QStringList expected = records[i].fields;
            for (QString& f : expected) {
                if (!f.isEmpty() && QStringLiteral("=+-@\t\r").contains(f.front()))
                    f.prepend(QLatin1Char('\''));
            }
            if (again[i].fields != expected)
                std::abort();
        }
    }

    QList<QVariantList> sheet;
    if (!stdcolormaker::build(input, QStringLiteral("KV670"), sheet)) {
        stdcolorlib::Library library;
        if (stdcolorlib::parse(sheet, QStringLiteral("KV670"), library) ||
            library.stream.size() > stdcolorlib::kStreamBytes)
            std::abort();
    }
    return 0;
}
