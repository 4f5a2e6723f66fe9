// Arbitrary bytes as StdColor.xlsx, through the whole file step of the library writer: the
// workbook reader, the window the library reads and every check of the library. An input that
// starts with 'S' is the sheet XML of an otherwise well-formed package. The hostile libraries
// that once crashed or hung the writer are run first as seeds.
#include "stdcolorcommands.h"
#include "stdcolorlibrary.h"
#include "zipbytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

using zipbytes::ns;

QByteArray package(const QByteArray& sheet) {
    const QByteArray workbook = ns(
        R"(<workbook xmlns="$NS/spreadsheetml/2006/main" xmlns:r="$NS/officeDocument/2006/relationships"><sheets><sheet name="S" sheetId="1" r:id="rId1"/></sheets></workbook>)");
    const QByteArray rels = ns(
        R"(<Relationships xmlns="$NS/package/2006/relationships"><Relationship Id="rId1" Type="$NS/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/></Relationships>)");
    return zipbytes::zipOf({{QStringLiteral("xl/workbook.xml"), workbook},
                            {QStringLiteral("xl/_rels/workbook.xml.rels"), rels},
                            {QStringLiteral("xl/worksheets/sheet1.xml"), sheet}});
}

QByteArray number(const char* ref, qint64 value) {
    return QByteArray("<c r=\"") + ref + "\"><v>" + QByteArray::number(value) + "</v></c>";
}

// A library sheet of one card per entry of counts, each with a check value that matches.
QByteArray librarySheet(const QList<qint64>& counts) {
    QByteArray rows = R"(<row r="1"><c r="A1" t="inlineStr"><is><t>KV510</t></is></c></row>)";
    const int n = int(counts.size());
    rows +=
        "<row r=\"2\">" + number("A2", n) + number("B2", stdcolor::countCheckValue(n)) + "</row>";
    for (int k = 0; k < n; ++k) {
        const QByteArray r = QByteArray::number(3 + k);
        const int c = int(counts[k]); // the record holds the low 16 bits, as the writer sends it
        rows += "<row r=\"" + r + "\">" + number("C" + r, counts[k]) + number("D" + r, 0) +
                number("E" + r, stdcolor::cardCheckValue({}, {}, c, 0)) + "</row>";
    }
    return ns(R"(<worksheet xmlns="$NS/spreadsheetml/2006/main"><sheetData>)") + rows +
           "</sheetData></worksheet>";
}

QByteArray sheetOf(const QByteArray& rows) {
    return ns(R"(<worksheet xmlns="$NS/spreadsheetml/2006/main"><sheetData>)") + rows +
           "</sheetData></worksheet>";
}

void runSeed(const QByteArray& sheet) {
    const QByteArray input = 'S' + sheet;
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.constData()),
                           size_t(input.size()));
}

QTemporaryDir& directory() {
    static QTemporaryDir dir;
    return dir;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The engine explains each refusal on the debug stream; thousands a second say nothing new.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    runSeed(sheetOf(
        R"(<row r="1"><c r="XFD1"><v>1</v></c></row><row r="1048576"><c r="XFD1048576"><v>1</v></c></row>)"));
    runSeed(sheetOf(
        R"(<row r="1"><c r="K1"><v>1</v></c></row><row r="400000"><c r="K400000"><v>1</v></c></row>)"));
    runSeed(librarySheet({2147483647}));
    runSeed(librarySheet({2000000000, 2000000000}));
    runSeed(librarySheet({65535, 65535}));
    runSeed(sheetOf(QByteArray(200000, 'x').replace("x", "<a>")));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (bytes.startsWith('S'))
        bytes = package(bytes.mid(1));
    const QString path = directory().filePath(QStringLiteral("StdColor.xlsx"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort();
    file.close();
    stdcolorlib::Library library;
    if (stdcolorlib::loadFile(path, QStringLiteral("KV510"), library))
        return 0;
    // An accepted library is one the instrument can hold, whole.
    if (library.count < 0 || library.count > stdcolorlib::kMaxCards ||
        library.cards.size() != library.count || library.colourRows < 0 ||
        library.colourRows > stdcolorlib::kMaxColours ||
        library.stream.size() != qsizetype(stdcolorlib::kColourBytes) * library.colourRows ||
        library.stream.size() > stdcolorlib::kStreamBytes)
        std::abort();
    return 0;
}
