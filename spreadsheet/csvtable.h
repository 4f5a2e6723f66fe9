#pragma once
// Comma-separated tables a spreadsheet program computes with: UTF-8 with a byte-order mark (so
// the program detects the encoding), fields quoted only where needed, lines ended by CR LF.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace csv {

// One field as written: numbers in plain decimal notation without exponent or grouping (the
// shortest form that reads back to the same value), a bool as the verdict "PASS" (true) or "NG"
// (false), never translated, texts as they are except that one starting like a formula (=, +, -,
// @, tab, CR) gets a leading apostrophe, an invalid value or a NaN as an empty field.
QByteArray field(const QVariant& value);

// The whole file: the byte-order mark, the headings line, then one line per row.
QByteArray encode(const QStringList& headings, const QList<QVariantList>& rows);

// Writes the table to path through SafeFile: the file is replaced only when every write, the sync
// and the close succeeded; otherwise the previous file stays as it was and error says why.
bool write(const QString& path, const QStringList& headings, const QList<QVariantList>& rows,
           QString* error = nullptr);

// A record read back, with the line it starts on (from 1) so that messages can name it.
struct Record {
    int line = 0;
    QStringList fields;
};

struct ParseError {
    enum Kind { None, NotUtf8, OpenQuote } kind = None;
    int line = 0; // where the open quote starts
};

// Reads comma-separated text (a leading byte-order mark is skipped; LF, CR LF or CR line ends;
// quoted fields may hold commas, doubled quotes and line breaks). Empty lines give no record.
// False for text that is not UTF-8 or a quote left open.
bool parse(const QByteArray& bytes, QList<Record>& out, ParseError* error = nullptr);

} // namespace csv
