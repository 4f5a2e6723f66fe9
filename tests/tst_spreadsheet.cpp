// The spreadsheet engine: workbooks written and read back (also by a path independent of our
// reader), the cell kinds of hand-made workbooks, damaged and hostile files, and saving that
// never loses the previous file. The exports' sheet writer: the template kept where it writes
// nothing, numbers in their formats, rows in order, and the same checked save.
#include "excelengine.h"
#include "excelwidgets.h"
#include "safefile.h"
#include "sheetcells.h"
#include "sheetwriter.h"
#include "workbook.h"
#include "workbookreader.h"
#include "zipbytes.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

using zipbytes::ns;
using zipbytes::Part;
using zipbytes::zipOf;

const QByteArray kRootRels = ns(
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Relationships xmlns="$NS/package/2006/relationships">
<Relationship Id="rId1" Type="$NS/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/>
</Relationships>)");

const QByteArray kWorkbook = ns(
    R"(<workbook xmlns="$NS/spreadsheetml/2006/main" xmlns:r="$NS/officeDocument/2006/relationships">
<sheets><sheet name="Data" sheetId="1" r:id="rId1"/></sheets></workbook>)");

const QByteArray kWorkbookRels = ns(
    R"(<Relationships xmlns="$NS/package/2006/relationships">
<Relationship Id="rId1" Type="$NS/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>
<Relationship Id="rId9" Type="$NS/officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/>
</Relationships>)");

QByteArray sheetXml(const QByteArray& rows) {
    return ns(R"(<worksheet xmlns="$NS/spreadsheetml/2006/main"><sheetData>)") + rows +
           "</sheetData></worksheet>";
}

QByteArray sharedStringsXml(const QByteArray& items) {
    return ns(R"(<sst xmlns="$NS/spreadsheetml/2006/main">)") + items + "</sst>";
}

// A one-sheet workbook with the given sheet data and shared strings.
QByteArray workbookOf(const QByteArray& rows, const QByteArray& strings = {}) {
    return zipOf({{"_rels/.rels", kRootRels},
                  {"xl/workbook.xml", kWorkbook},
                  {"xl/_rels/workbook.xml.rels", kWorkbookRels},
                  {"xl/worksheets/sheet1.xml", sheetXml(rows)},
                  {"xl/sharedStrings.xml", sharedStringsXml(strings)}});
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QList<QVariantList> readAll(const QString& path, int sheet = 1) {
    ExcelEngine engine(path);
    QList<QVariantList> rows;
    if (engine.open(sheet))
        engine.readAllData(rows);
    return rows;
}

QByteArray partOf(const QString& path, const QString& part) {
    // unzip knows nothing of our code; libzip is the fallback where it is missing.
    if (!QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty()) {
        QProcess unzip;
        unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), path, part});
        unzip.waitForFinished();
        return unzip.readAllStandardOutput();
    }
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (!archive)
        return {};
    QByteArray out;
    if (zip_file_t* file = zip_fopen(archive, part.toUtf8().constData(), 0)) {
        char chunk[4096];
        for (zip_int64_t n; (n = zip_fread(file, chunk, sizeof chunk)) > 0;)
            out.append(chunk, qsizetype(n));
        zip_fclose(file);
    }
    zip_discard(archive);
    return out;
}

// The cells of the first sheet of a written file, read straight from its XML: reference to
// "s:<text>" for strings (shared or inline), "n:<number>", "b:<0|1>", and a trailing "|c" for
// centred cells (format 1, the only one the writer adds).
QMap<QString, QString> independentCells(const QString& path) {
    const QString strings = QString::fromUtf8(partOf(path, QStringLiteral("xl/sharedStrings.xml")));
    QStringList table;
    static const QRegularExpression si(QStringLiteral("<si><t[^>]*>(.*?)</t></si>"),
                                       QRegularExpression::DotMatchesEverythingOption);
    for (auto it = si.globalMatch(strings); it.hasNext();)
        table.append(it.next().captured(1));
    const QString sheet =
        QString::fromUtf8(partOf(path, QStringLiteral("xl/worksheets/sheet1.xml")));
    static const QRegularExpression cell(QStringLiteral(
        R"re(<c r="([A-Z]+[0-9]+)"( s="1")?( t="(\w+)")?(?:/>|>(?:<v>([^<]*)</v>|<is><t[^>]*>([^<]*)</t></is>)</c>))re"));
    QMap<QString, QString> cells;
    for (auto it = cell.globalMatch(sheet); it.hasNext();) {
        const auto m = it.next();
        QString value;
        if (m.captured(4) == u"s")
            value = QStringLiteral("s:") + table.value(m.captured(5).toInt());
        else if (m.captured(4) == u"inlineStr")
            value = QStringLiteral("s:") + m.captured(6);
        else if (m.captured(4) == u"b")
            value = QStringLiteral("b:") + m.captured(5);
        else if (!m.captured(5).isEmpty())
            value = QStringLiteral("n:") + m.captured(5);
        if (!m.captured(2).isEmpty())
            value += QStringLiteral("|c");
        cells[m.captured(1)] = value;
    }
    return cells;
}

} // namespace

class TestSpreadsheet : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    QString path(const QString& name) const { return dir_.filePath(name); }

  private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        // The working directory is where a stray template.xlsx must not be taken from.
        QVERIFY(QDir::setCurrent(dir_.path()));
        ExcelEngine::setTemplatePath(path(QStringLiteral("data/template.xlsx")));
        QVERIFY(QDir(dir_.path()).mkdir(QStringLiteral("data")));
    }
    void cleanup() { QFile::remove(ExcelEngine::templatePath()); }

    void columnNamesAndReferences_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("name");
        QTest::newRow("A") << 1 << "A";
        QTest::newRow("Z") << 26 << "Z";
        QTest::newRow("AA") << 27 << "AA";
        QTest::newRow("AZ") << 52 << "AZ";
        QTest::newRow("ZZ") << 702 << "ZZ";
        QTest::newRow("AAA") << 703 << "AAA";
        QTest::newRow("XFD") << 16384 << "XFD";
        QTest::newRow("0") << 0 << "";
        QTest::newRow("past the sheet") << 16385 << "";
    }
    void columnNamesAndReferences() {
        QFETCH(int, column);
        QFETCH(QString, name);
        QCOMPARE(ExcelEngine::columnName(column), name);
        if (name.isEmpty())
            return;
        const auto parsed = xlsx::parseCellReference(name + QStringLiteral("1048576"));
        QVERIFY(parsed);
        QCOMPARE(parsed->column, column);
        QCOMPARE(parsed->row, 1048576);
    }

    void malformedReferences() {
        for (const char* text : {"", "A", "1", "A0", "A01", "XFE1", "AAAA1", "A1048577",
                                 "A12345678", "$A$1", "A1B", "Ä1"})
            QVERIFY2(!xlsx::parseCellReference(QString::fromUtf8(text)), text);
    }

    void roundTripKeepsValuesAndPositions() {
        const QString file = path(QStringLiteral("roundtrip.xlsx"));
        {
            ExcelEngine engine(file);
            QVERIFY(engine.open(1, ExcelEngine::OpenMode::Replace));
            QCOMPARE(engine.rowCount(), 0);
            QVERIFY(engine.setCellData(2, 3, QStringLiteral("ΔE*ab 色差")));
            QVERIFY(engine.setCellData(2, 4, 12.5));
            QVERIFY(engine.setCellData(3, 2, true));
            QVERIFY(engine.setCellData(3, 3, QStringLiteral("12.30")));
            QVERIFY(engine.setCellData(4, 28, QStringLiteral("line\nbreak\ttab <&> \"q\"")));
            QVERIFY(engine.setCellData(5, 2, -3));
            QVERIFY(engine.setCellData(5, 3, QStringLiteral("bell\x07")));
            QVERIFY(engine.setCellData(5, 4, QStringLiteral("literal _x0041_")));
            QVERIFY(engine.save());
        }
        ExcelEngine engine(file);
        QVERIFY(engine.open());
        QCOMPARE(engine.startRow(), 2);
        QCOMPARE(engine.startColumn(), 2);
        QCOMPARE(engine.rowCount(), 4);
        QCOMPARE(engine.columnCount(), 27);
        QList<QVariantList> rows;
        QVERIFY(engine.readAllData(rows));
        QCOMPARE(rows.size(), 4);
        QCOMPARE(rows[0].size(), 27);
        QVERIFY(!rows[0][0].isValid());
        QCOMPARE(rows[0][1], QVariant(QStringLiteral("ΔE*ab 色差")));
        QCOMPARE(rows[0][2], QVariant(12.5));
        QCOMPARE(rows[1][0], QVariant(true));
        // Texts that look like numbers stay texts, digits as written.
        QCOMPARE(rows[1][1], QVariant(QStringLiteral("12.30")));
        QCOMPARE(rows[2][26], QVariant(QStringLiteral("line\nbreak\ttab <&> \"q\"")));
        QCOMPARE(rows[3][0], QVariant(-3.0));
        QCOMPARE(rows[3][1], QVariant(QStringLiteral("bell\x07")));
        QCOMPARE(rows[3][2], QVariant(QStringLiteral("literal _x0041_")));

        // readAllData appends.
        QVERIFY(engine.readAllData(rows));
        QCOMPARE(rows.size(), 8);

        const auto cells = independentCells(file);
        QCOMPARE(cells.value("C2"), QStringLiteral("s:ΔE*ab 色差|c"));
        QCOMPARE(cells.value("D2"), QStringLiteral("n:12.5|c"));
        QCOMPARE(cells.value("B3"), QStringLiteral("b:1|c"));
        QCOMPARE(cells.value("C3"), QStringLiteral("s:12.30|c"));
        QCOMPARE(cells.value("AB4"), QStringLiteral("s:line\nbreak\ttab &lt;&amp;&gt; \"q\"|c"));
        QCOMPARE(cells.value("B5"), QStringLiteral("n:-3|c"));
        // Escaped so that any reader gets the underscore sequence back as it was.
        QCOMPARE(cells.value("D5"), QStringLiteral("s:literal _x005F_x0041_|c"));
        QCOMPARE(cells.size(), 8);
        QDir d(dir_.path());
        QCOMPARE(d.entryList({QStringLiteral("roundtrip*")}, QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("roundtrip.xlsx")});
    }

    void writeTableLayout() {
        // A template's content stays where the table does not write.
        {
            ExcelEngine maker(ExcelEngine::templatePath());
            QVERIFY(maker.open(1, ExcelEngine::OpenMode::Replace));
            QVERIFY(maker.setCellData(1, 1, QStringLiteral("Inspection report")));
            QVERIFY(maker.setCellData(2, 2, QStringLiteral("overwritten")));
            QVERIFY(maker.setCellData(9, 9, 99));
            QVERIFY(maker.save());
        }
        const QString file = path(QStringLiteral("table.xlsx"));
        ExcelTable table(4, 3);
        table.setHeader(1, QStringLiteral("Name"));
        for (int r = 0; r < 4; ++r) {
            for (int c = 0; c < 3; ++c) {
                if (!(r == 0 && c == 2))
                    table.setText(r, c, QStringLiteral("r%1c%2").arg(r).arg(c));
            }
        }
        QList<int> progress;
        ExcelEngine engine(file);
        QVERIFY(engine.open(1, ExcelEngine::OpenMode::Replace));
        QCOMPARE(engine.rowCount(), 9);
        QVERIFY(engine.writeTable(table, [&](int done) {
            progress.append(done);
            return done < 3; // cancelled after the third row
        }));
        QCOMPARE(progress, (QList<int>{1, 2, 3}));
        engine.close();

        const auto cells = independentCells(file);
        QCOMPARE(cells.value("A1"), QStringLiteral("s:Inspection report"));
        QVERIFY(!cells.contains("A1|c"));
        QCOMPARE(cells.value("B1"), QStringLiteral("s:Name|c"));
        QVERIFY(!cells.contains("C1"));
        QCOMPARE(cells.value("A2"), QStringLiteral("s:r0c0|c"));
        QCOMPARE(cells.value("B2"), QStringLiteral("s:r0c1|c"));
        QVERIFY(!cells.contains("C2")); // no item
        QCOMPARE(cells.value("C4"), QStringLiteral("s:r2c2|c"));
        QVERIFY(!cells.contains("A5")); // after the cancel
        QCOMPARE(cells.value("I9"), QStringLiteral("n:99"));

        // No rows: the header only, and still saved.
        const QString headerOnly = path(QStringLiteral("header.xlsx"));
        ExcelTable empty(0, 2);
        empty.setHeader(0, QStringLiteral("NO"));
        ExcelEngine second(headerOnly);
        QVERIFY(second.open(1, ExcelEngine::OpenMode::Replace));
        QVERIFY(second.writeTable(empty));
        QCOMPARE(readAll(headerOnly).value(0).value(0), QVariant(QStringLiteral("NO")));
    }

    void tableWidgetAndProgressDialog() {
        QTableWidget widget(3, 2);
        widget.setHorizontalHeaderItem(1, new QTableWidgetItem(QStringLiteral("Haze")));
        widget.setItem(0, 0, new QTableWidgetItem(QStringLiteral("1")));
        widget.setItem(1, 1, new QTableWidgetItem(QStringLiteral("0.52")));
        widget.setItem(2, 0, new QTableWidgetItem(QStringLiteral("3")));
        widget.setColumnHidden(1, true);
        QProgressDialog dialog;
        dialog.setRange(0, 4);

        const QString file = path(QStringLiteral("widget.xlsx"));
        ExcelEngine engine(file);
        QVERIFY(!writeTable(engine, &widget, &dialog)); // not open
        QVERIFY(engine.open(1, ExcelEngine::OpenMode::Replace));
        QVERIFY(!writeTable(engine, nullptr, &dialog));
        QVERIFY(writeTable(engine, &widget, &dialog));
        QCOMPARE(dialog.value(), 3);
        const auto rows = readAll(file);
        QCOMPARE(rows.size(), 4);
        QCOMPARE(rows[0][1], QVariant(QStringLiteral("Haze")));
        QCOMPARE(rows[2][1], QVariant(QStringLiteral("0.52"))); // hidden columns are written
        QCOMPARE(rows[3][0], QVariant(QStringLiteral("3")));

        // A cancelled dialog stops after the row in hand.
        dialog.cancel();
        const QString cancelled = path(QStringLiteral("cancelled.xlsx"));
        ExcelEngine other(cancelled);
        QVERIFY(other.open(1, ExcelEngine::OpenMode::Replace));
        QVERIFY(writeTable(other, &widget, &dialog));
        QCOMPARE(readAll(cancelled).size(), 2);
    }

    void writeAllDataBlock() {
        const QString file = path(QStringLiteral("block.xlsx"));
        ExcelEngine engine(file);
        QVERIFY(engine.open(1, ExcelEngine::OpenMode::Replace));
        QVERIFY(!engine.writeAllData({}));
        QVERIFY(!engine.writeAllData({QVariantList{}}));

        QList<QVariantList> rows(3);
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 26; ++c)
                rows[r].append(r * 100 + c);
        }
        rows[2].append(QStringLiteral("past the first row's width"));
        QVERIFY(engine.writeAllData(rows));
        QVERIFY(engine.save());
        const auto cells = independentCells(file);
        QCOMPARE(cells.value("Z3"), QStringLiteral("n:225")); // not centred
        QVERIFY(!cells.contains("AA3"));
        QCOMPARE(cells.size(), 78);

        rows[0].append(QStringLiteral("27th"));
        QVERIFY(engine.writeAllData(rows));
        QVERIFY(engine.save());
        QCOMPARE(independentCells(file).value("AA3"),
                 QStringLiteral("s:past the first row's width"));

        // Nothing is written unless everything can be.
        QList<QVariantList> bad{{1, 2}, {3, qQNaN()}};
        QVERIFY(!engine.writeAllData(bad));
        QCOMPARE(engine.lastError(), ExcelEngine::Error::BadCell);
        QVERIFY(!engine.writeAllData({{QString(xlsx::kMaxTextLength + 1, u'x')}}));
        QVERIFY(engine.writeAllData({{QString(xlsx::kMaxTextLength, u'x')}}));
        QList<QVariantList> back;
        engine.readAllData(back);
        QCOMPARE(back[1][1], QVariant(101));
        QVERIFY(!engine.setCellData(0, 1, 1));
        QVERIFY(!engine.setCellData(1, 16385, 1));
        QVERIFY(!engine.setCellData(1048577, 1, 1));
        QVERIFY(!engine.setCellData(1, 1, qInf()));
        QVERIFY(engine.setCellData(1048576, 16384, QStringLiteral("corner")));
    }

    void readsEveryCellKind() {
        const QByteArray strings =
            R"(<si><t>plain</t></si>)"
            R"(<si><r><rPr><b/></rPr><t>rich </t></r><r><t xml:space="preserve">text </t></r><rPh sb="0" eb="1"><t>PHONETIC</t></rPh><phoneticPr fontId="1"/></si>)"
            R"(<si><t>tab_x0009_escaped</t></si>)";
        const QByteArray rows =
            R"(<row r="2"><c r="B2" t="s"><v>0</v></c><c r="C2" t="s" s="3"><v>1</v></c>)"
            R"(<c r="D2" t="inlineStr"><is><t>inline</t></is></c><c t="s"><v>2</v></c></row>)"
            R"(<row r="3"><c r="B3"><v>1.5E3</v></c><c r="C3" t="n"><v>-0.25</v></c>)"
            R"(<c r="D3" t="b"><v>1</v></c><c r="E3" t="b"><v>0</v></c></row>)"
            R"(<row r="4"><c r="B4"><f>B3*2</f><v>3000</v></c><c r="C4" t="str"><f>"a"&amp;"b"</f><v>ab</v></c>)"
            R"(<c r="D4" t="e"><f>1/0</f><v>#DIV/0!</v></c><c r="E4"><f>NOW()</f></c></row>)"
            R"(<row><c r="G5" s="2"/></row>)";
        const QString file = path(QStringLiteral("kinds.xlsx"));
        writeFile(file, workbookOf(rows, strings));
        ExcelEngine engine(file);
        QVERIFY2(engine.open(), qPrintable(engine.errorString()));
        QCOMPARE(engine.startRow(), 2);
        QCOMPARE(engine.startColumn(), 2);
        QCOMPARE(engine.rowCount(), 4);    // rows 2..5: the formatted empty G5 counts
        QCOMPARE(engine.columnCount(), 6); // B..G
        QList<QVariantList> v;
        engine.readAllData(v);
        QCOMPARE(v[0][0], QVariant(QStringLiteral("plain")));
        QCOMPARE(v[0][1], QVariant(QStringLiteral("rich text ")));
        QCOMPARE(v[0][2], QVariant(QStringLiteral("inline")));
        QCOMPARE(v[0][3], QVariant(QStringLiteral("tab\tescaped"))); // E2 by position
        QCOMPARE(v[1][0], QVariant(1500.0));
        QCOMPARE(v[1][1], QVariant(-0.25));
        QCOMPARE(v[1][2], QVariant(true));
        QCOMPARE(v[1][3], QVariant(false));
        QCOMPARE(v[2][0], QVariant(3000.0));
        QCOMPARE(v[2][1], QVariant(QStringLiteral("ab")));
        QCOMPARE(v[2][2], QVariant(QStringLiteral("#DIV/0!")));
        QVERIFY(!v[2][3].isValid()); // a formula without a cached value
        QVERIFY(!v[3][5].isValid());
    }

    void sheetsInWorkbookOrder() {
        // The workbook lists sheet2.xml first, a chart sheet second and sheet1.xml third; the
        // relationships use an absolute target and no shared strings part exists.
        const QByteArray workbook = ns(
            R"(<workbook xmlns="$NS/spreadsheetml/2006/main" xmlns:rel="$NS/officeDocument/2006/relationships">
<sheets><sheet name="First" sheetId="7" rel:id="rId2"/><sheet name="Chart" sheetId="3" rel:id="rId3"/><sheet name="Second" sheetId="1" rel:id="rId1"/></sheets></workbook>)");
        const QByteArray rels = ns(
            R"(<Relationships xmlns="$NS/package/2006/relationships">
<Relationship Id="rId1" Type="$NS/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>
<Relationship Id="rId2" Type="$NS/officeDocument/2006/relationships/worksheet" Target="/xl/worksheets/sheet2.xml"/>
<Relationship Id="rId3" Type="$NS/officeDocument/2006/relationships/chartsheet" Target="chartsheets/sheet1.xml"/>
</Relationships>)");
        const QString file = path(QStringLiteral("order.xlsx"));
        writeFile(
            file,
            zipOf(
                {{"_rels/.rels", kRootRels},
                 {"xl/workbook.xml", workbook},
                 {"xl/_rels/workbook.xml.rels", rels},
                 {"xl/worksheets/sheet1.xml",
                  sheetXml(R"(<row r="1"><c r="A1" t="inlineStr"><is><t>one</t></is></c></row>)")},
                 {"xl/worksheets/sheet2.xml",
                  sheetXml(
                      R"(<row r="1"><c r="A1" t="inlineStr"><is><t>two</t></is></c></row>)")}}));
        QCOMPARE(readAll(file, 1).value(0).value(0), QVariant(QStringLiteral("two")));
        QCOMPARE(readAll(file, 2).value(0).value(0), QVariant(QStringLiteral("one")));
        ExcelEngine engine(file);
        QVERIFY(!engine.open(3));
        QCOMPARE(engine.lastError(), ExcelEngine::Error::NoSuchSheet);
        QVERIFY(!engine.open(0));

        // Writing to the second sheet keeps the first one and its name.
        QVERIFY(engine.open(2));
        QVERIFY(engine.setCellData(2, 1, QStringLiteral("added")));
        QVERIFY(engine.save());
        QCOMPARE(readAll(file, 1).value(0).value(0), QVariant(QStringLiteral("two")));
        QCOMPARE(readAll(file, 2).value(1).value(0), QVariant(QStringLiteral("added")));
        QVERIFY(partOf(file, QStringLiteral("xl/workbook.xml")).contains(R"(name="First")"));
    }

    void hugeDimensionIsNotTrusted() {
        const QString file = path(QStringLiteral("dimension.xlsx"));
        QByteArray xml = sheetXml(R"(<row r="1"><c r="A1"><v>1</v></c></row>)");
        xml.replace("<sheetData>", R"(<dimension ref="A1:XFD1048576"/><sheetData>)");
        writeFile(file, zipOf({{"_rels/.rels", kRootRels},
                               {"xl/workbook.xml", kWorkbook},
                               {"xl/_rels/workbook.xml.rels", kWorkbookRels},
                               {"xl/worksheets/sheet1.xml", xml}}));
        ExcelEngine engine(file);
        QVERIFY(engine.open());
        QCOMPARE(engine.rowCount(), 1);
        QCOMPARE(engine.columnCount(), 1);
    }

    void badFilesFailToOpen_data() {
        QTest::addColumn<QByteArray>("bytes");
        const auto withSheet = [](const QByteArray& sheet) {
            return zipOf({{"_rels/.rels", kRootRels},
                          {"xl/workbook.xml", kWorkbook},
                          {"xl/_rels/workbook.xml.rels", kWorkbookRels},
                          {"xl/worksheets/sheet1.xml", sheet}});
        };
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("not a zip") << QByteArray("PK\x03\x04") + " this is not really a zip";
        QTest::newRow("legacy binary workbook")
            << QByteArray::fromHex("d0cf11e0a1b11ae1") + QByteArray(504, '\0');
        QTest::newRow("zip without a workbook") << zipOf({{"hello.txt", "hello"}});
        QTest::newRow("workbook without sheets")
            << zipOf({{"xl/workbook.xml", "<workbook><sheets/></workbook>"},
                      {"xl/_rels/workbook.xml.rels", kWorkbookRels}});
        QTest::newRow("sheet part missing") << zipOf(
            {{"xl/workbook.xml", kWorkbook}, {"xl/_rels/workbook.xml.rels", kWorkbookRels}});
        QTest::newRow("target outside the package") << zipOf(
            {{"xl/workbook.xml", kWorkbook},
             {"xl/_rels/workbook.xml.rels",
              QByteArray(kWorkbookRels).replace("worksheets/sheet1.xml", "../../../etc/passwd")}});
        QTest::newRow("shared string index out of range")
            << workbookOf(R"(<row r="1"><c r="A1" t="s"><v>1</v></c></row>)", "<si><t>a</t></si>");
        QTest::newRow("negative shared string index")
            << workbookOf(R"(<row r="1"><c r="A1" t="s"><v>-1</v></c></row>)", "<si><t>a</t></si>");
        QTest::newRow("shared string without strings")
            << withSheet(sheetXml(R"(<row r="1"><c r="A1" t="s"><v>0</v></c></row>)"));
        QTest::newRow("unterminated XML") << withSheet("<worksheet><sheetData><row r=\"1\">");
        QTest::newRow("bad number")
            << withSheet(sheetXml(R"(<row r="1"><c r="A1"><v>1.2.3</v></c></row>)"));
        QTest::newRow("infinite number")
            << withSheet(sheetXml(R"(<row r="1"><c r="A1"><v>1e999</v></c></row>)"));
        QTest::newRow("row past the sheet")
            << withSheet(sheetXml(R"(<row r="1048577"><c><v>1</v></c></row>)"));
        QTest::newRow("column past the sheet")
            << withSheet(sheetXml(R"(<row r="1"><c r="XFE1"><v>1</v></c></row>)"));
        QTest::newRow("cell outside a row") << withSheet(sheetXml(R"(<c r="A1"><v>1</v></c>)"));
        QTest::newRow("absurd used range") << withSheet(sheetXml(
            R"(<row r="1"><c r="A1"><v>1</v></c></row><row r="1048576"><c r="XFD1048576"><v>2</v></c></row>)"));
        QTest::newRow("entity expansion") << withSheet(R"(<?xml version="1.0"?>
<!DOCTYPE worksheet [<!ENTITY a "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"><!ENTITY b "&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;"><!ENTITY c "&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;"><!ENTITY d "&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;"><!ENTITY e "&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;"><!ENTITY f "&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;"><!ENTITY g "&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;"><!ENTITY h "&g;&g;&g;&g;&g;&g;&g;&g;&g;&g;">]>
<worksheet><sheetData><row r="1"><c r="A1" t="inlineStr"><is><t>&h;</t></is></c></row></sheetData></worksheet>)");
        QTest::newRow("external entity") << withSheet(
            R"(<!DOCTYPE worksheet [<!ENTITY x SYSTEM "passwd">]><worksheet><sheetData><row r="1"><c r="A1" t="inlineStr"><is><t>&x;</t></is></c></row></sheetData></worksheet>)");
        QTest::newRow("undeclared entity") << withSheet(
            sheetXml(R"(<row r="1"><c r="A1" t="inlineStr"><is><t>&x;</t></is></c></row>)"));
        // Compresses to little, unpacks past the size cap.
        QTest::newRow("oversized part") << withSheet(
            sheetXml(R"(<row r="1"><c r="A1"><v>1</v></c></row>)") + QByteArray(129 << 20, ' '));
    }
    void badFilesFailToOpen() {
        QFETCH(QByteArray, bytes);
        const QString file = path(QStringLiteral("bad.xlsx"));
        writeFile(file, bytes);
        QElapsedTimer timer;
        timer.start();
        ExcelEngine engine(file);
        QVERIFY(!engine.open());
        QCOMPARE(engine.lastError(), ExcelEngine::Error::BadWorkbook);
        QVERIFY(!engine.isOpen());
        QCOMPARE(engine.rowCount(), 0);
        QList<QVariantList> rows;
        QVERIFY(!engine.readAllData(rows));
        QVERIFY(rows.isEmpty());
        QVERIFY(timer.elapsed() < 20000);
        // Refusing a file never touches it.
        QCOMPARE(fileBytes(file), bytes);
    }

    void lifecycle() {
        ExcelEngine never(path(QStringLiteral("never.xlsx")));
        never.close();
        QVERIFY(!never.save());
        QCOMPARE(never.lastError(), ExcelEngine::Error::NotOpen);
        QVERIFY(!never.setCellData(1, 1, 1));
        QVERIFY(!never.writeTable(ExcelTable(1, 1)));

        ExcelEngine unnamed{QString()};
        QVERIFY(!unnamed.open());
        QCOMPARE(unnamed.lastError(), ExcelEngine::Error::NoFileName);

        // A missing file opens as an empty workbook and reaches the disk only when saved.
        const QString fresh = path(QStringLiteral("fresh.xlsx"));
        ExcelEngine engine(fresh);
        QVERIFY(engine.open());
        QCOMPARE(engine.rowCount(), 0);
        QList<QVariantList> rows;
        QVERIFY(engine.readAllData(rows));
        QVERIFY(rows.isEmpty());
        QVERIFY(!QFile::exists(fresh));
        QVERIFY(engine.save());
        QVERIFY(QFile::exists(fresh));
        // Reopening discards unsaved changes.
        QVERIFY(engine.setCellData(1, 1, 5));
        QVERIFY(engine.open());
        QCOMPARE(engine.rowCount(), 0);

        QVERIFY(!ExcelEngine(dir_.filePath(QStringLiteral("no/such/dir.xlsx")))
                     .open(1, ExcelEngine::OpenMode::Replace));

        // A broken template is reported as such.
        writeFile(ExcelEngine::templatePath(), "not a workbook");
        ExcelEngine templated(path(QStringLiteral("templated.xlsx")));
        QVERIFY(!templated.open(1, ExcelEngine::OpenMode::Replace));
        QCOMPARE(templated.lastError(), ExcelEngine::Error::BadTemplate);
        // One in the working directory is nobody's template: the data folder's is used.
        QVERIFY(QFile::rename(ExcelEngine::templatePath(), path(QStringLiteral("template.xlsx"))));
        QVERIFY(templated.open(1, ExcelEngine::OpenMode::Replace));

        // Read mode never makes up a workbook for a missing file.
        ExcelEngine reader(path(QStringLiteral("missing.xlsx")));
        QVERIFY(!reader.open(1, ExcelEngine::OpenMode::Read));
        QCOMPARE(reader.lastError(), ExcelEngine::Error::NotFound);
    }

    // Cells in any order land in their places, a later value for a cell wins, and a sheet
    // written right to left reads about as fast as one written left to right (inserting each
    // cell at the front of its row took 6 s here for the 0.1 s of left to right).
    void cellOrderDoesNotMatter() {
        const auto rowsXml = [](bool rightToLeft) {
            QByteArray xml;
            for (int r = 1; r <= 2; ++r) {
                xml += "<row r=\"" + QByteArray::number(r) + "\">";
                for (int k = 0; k < xlsx::kMaxColumns; ++k) {
                    const int c = rightToLeft ? xlsx::kMaxColumns - k : k + 1;
                    xml += "<c r=\"" + xlsx::columnName(c).toLatin1() + QByteArray::number(r) +
                           "\"><v>" + QByteArray::number(c) + "</v></c>";
                }
                xml += "</row>";
            }
            return workbookOf(xml);
        };
        qint64 elapsed[2] = {};
        for (const bool rightToLeft : {false, true}) {
            const QByteArray bytes = rowsXml(rightToLeft);
            xlsx::Workbook book;
            QElapsedTimer timer;
            timer.start();
            QString error;
            QVERIFY2(xlsx::readWorkbook(bytes, book, &error), qPrintable(error));
            elapsed[rightToLeft] = timer.elapsed();
            const QList<QVariantList> values = book.sheets[0].values(book.sheets[0].usedRange());
            QCOMPARE(values.size(), 2);
            QCOMPARE(values[1].size(), xlsx::kMaxColumns);
            QCOMPARE(values[1][0], QVariant(1.0));
            QCOMPARE(values[1][4999], QVariant(5000.0));
            QCOMPARE(values[1][xlsx::kMaxColumns - 1], QVariant(double(xlsx::kMaxColumns)));
        }
        QVERIFY2(elapsed[1] < 4 * elapsed[0] + 500,
                 qPrintable(QStringLiteral("%1 ms right to left, %2 ms left to right")
                                .arg(elapsed[1])
                                .arg(elapsed[0])));

        const QString file = path(QStringLiteral("order.xlsx"));
        writeFile(file, workbookOf(R"(<row r="3"><c r="C3"><v>3</v></c><c r="A3"><v>1</v></c>)"
                                   R"(<c r="C3"><v>33</v></c></row>)"
                                   R"(<row r="1"><c r="B1"><v>2</v></c></row>)"
                                   R"(<row r="3"><c r="B3"><v>22</v></c></row>)"));
        QCOMPARE(readAll(file), (QList<QVariantList>{{QVariant(), 2.0, QVariant()},
                                                     {QVariant(), QVariant(), QVariant()},
                                                     {1.0, 22.0, 33.0}}));
    }

    void replaceStartsAfresh() {
        const QString file = path(QStringLiteral("replace.xlsx"));
        {
            ExcelEngine engine(file);
            QVERIFY(engine.open(1, ExcelEngine::OpenMode::Replace));
            QVERIFY(engine.writeAllData({{1}, {2}, {3}, {4}, {5}}));
            QVERIFY(engine.save());
        }
        ExcelEngine engine(file);
        QVERIFY(engine.open(1, ExcelEngine::OpenMode::Replace));
        QCOMPARE(engine.rowCount(), 0);
        QVERIFY(engine.writeAllData({{7}, {8}}));
        QVERIFY(engine.save());
        QCOMPARE(readAll(file), (QList<QVariantList>{{7.0}, {8.0}}));
    }

    void failedSaveKeepsPreviousFile() {
        const QString file = path(QStringLiteral("previous.xlsx"));
        {
            ExcelEngine engine(file);
            QVERIFY(engine.open(1, ExcelEngine::OpenMode::Replace));
            QVERIFY(engine.setCellData(1, 1, QStringLiteral("precious")));
            QVERIFY(engine.save());
        }
        const QByteArray previous = fileBytes(file);
        const QStringList before = QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden);

        // An export abandoned part-way: closed, or destroyed, without saving.
        {
            ExcelEngine engine(file);
            QVERIFY(engine.open(1, ExcelEngine::OpenMode::Replace));
            QVERIFY(engine.setCellData(1, 1, QStringLiteral("half")));
            engine.close();
            QVERIFY(engine.open(1, ExcelEngine::OpenMode::Replace));
            QVERIFY(engine.setCellData(1, 1, QStringLiteral("half")));
        }
        QCOMPARE(fileBytes(file), previous);

#ifdef Q_OS_UNIX
        // Writing fails part-way (a file size limit holds for root too).
        {
            ExcelEngine engine(file);
            QVERIFY(engine.open(1, ExcelEngine::OpenMode::Replace));
            for (int r = 1; r <= 2000; ++r)
                QVERIFY(engine.setCellData(r, 1, QStringLiteral("row %1").arg(r)));
            const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
            rlimit oldLimit{};
            getrlimit(RLIMIT_FSIZE, &oldLimit);
            rlimit small = oldLimit;
            small.rlim_cur = 4096;
            QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
            const bool saved = engine.save();
            setrlimit(RLIMIT_FSIZE, &oldLimit);
            std::signal(SIGXFSZ, oldHandler);
            QVERIFY(!saved);
            QCOMPARE(engine.lastError(), ExcelEngine::Error::SaveFailed);
        }
        QCOMPARE(fileBytes(file), previous);
#endif

        // The target became a directory after opening: it cannot be replaced.
        const QString blocked = path(QStringLiteral("blocked.xlsx"));
        ExcelEngine engine(blocked);
        QVERIFY(engine.open(1, ExcelEngine::OpenMode::Replace));
        QVERIFY(engine.setCellData(1, 1, 1));
        QVERIFY(QDir(dir_.path()).mkdir(QStringLiteral("blocked.xlsx")));
        QVERIFY(!engine.writeTable(ExcelTable(1, 1)));
        QCOMPARE(engine.lastError(), ExcelEngine::Error::ReplaceFailed);
        QVERIFY(QFileInfo(blocked).isDir());
        QVERIFY(QDir(blocked).isEmpty());
        QCOMPARE(ExcelEngine(blocked).open(1, ExcelEngine::OpenMode::Replace), false);
        QVERIFY(QDir(blocked).removeRecursively());

        // No scratch files are left behind by any of it.
        QCOMPARE(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), before);
    }

    void sheetWriterKeepsTheTemplate();
    void sheetWriterNeverLosesThePreviousFile();
};

void TestSpreadsheet::sheetWriterKeepsTheTemplate() {
    {
        ExcelEngine maker(ExcelEngine::templatePath());
        QVERIFY(maker.open(1, ExcelEngine::OpenMode::Replace));
        QVERIFY(maker.setCellData(1, 1, QStringLiteral("Inspection report")));
        QVERIFY(maker.setCellData(2, 2, QStringLiteral("overwritten")));
        QVERIFY(maker.setCellData(2, 5, QStringLiteral("beside")));
        QVERIFY(maker.setCellData(9, 9, 99));
        QVERIFY(maker.selectSheet(maker.addSheet(QStringLiteral("STATISTICS"))));
        QVERIFY(maker.setCellData(4, 1, QStringLiteral("old figure")));
        QVERIFY(maker.selectSheet(maker.addSheet(QStringLiteral("Notes"))));
        QVERIFY(maker.setCellData(1, 1, QStringLiteral("kept")));
        QVERIFY(maker.save());
    }
    const QString file = path(QStringLiteral("written.xlsx"));
    xlsx::SheetWriter writer(file);
    QVERIFY(writer.open());
    // The template's sheet of that name, in its place and emptied.
    QCOMPARE(writer.sheet(QStringLiteral("Statistics")), 1);
    for (int c = 1; c <= 3; ++c)
        QVERIFY(writer.text(0, 2, c, QStringLiteral("h%1").arg(c), true));
    QVERIFY(writer.number(0, 3, 1, 0.0235, xlsx::NumberFormat::percentage(2), true));
    QVERIFY(writer.number(0, 3, 2, 47.7, xlsx::NumberFormat::fixed(2), true));
    QVERIFY(writer.number(0, 3, 3, 12, xlsx::NumberFormat::general(), false));
    QVERIFY(writer.text(0, 3, 4, QString(), true));
    QVERIFY(writer.number(1, 1, 1, 0.3127, xlsx::NumberFormat::fixed(4), false));
    QVERIFY(writer.save());

    QStringList shown = sheetCellsByUnzip(file);
    QCOMPARE(shown, (QStringList{"A1=Inspection report", "A2=h1", "B2=h2", "C2=h3", "E2=beside",
                                 "A3=2.35%", "B3=47.70", "C3=12", "I9=99"}));
    const QList<StoredCell> stored = storedCells(file);
    QCOMPARE(stored.at(5).type, QString()); // a number, not a text
    QCOMPARE(stored.at(5).value.toDouble(), 0.0235);
    QCOMPARE(stored.at(6).format, QStringLiteral("0.00"));
    QVERIFY(partOf(file, QStringLiteral("xl/worksheets/sheet1.xml")).contains("<c r=\"D3\" s=\""));
    QCOMPARE(sheetCellsByUnzip(file, 2), QStringList{"A1=0.3127"});
    QCOMPARE(sheetCellsByUnzip(file, 3), QStringList{"A1=kept"});
    const QByteArray names = partOf(file, QStringLiteral("xl/workbook.xml"));
    QVERIFY(names.indexOf("Sheet1") < names.indexOf("STATISTICS"));
    QVERIFY(names.indexOf("STATISTICS") < names.indexOf("Notes"));
    // What the engine reads back: numbers are numbers.
    QCOMPARE(readAll(file).value(2).value(0), QVariant(0.0235));

    // A broken template stops the export before any work, as the engine's open does.
    writeFile(ExcelEngine::templatePath(), "not a workbook");
    xlsx::SheetWriter broken(path(QStringLiteral("broken.xlsx")));
    QVERIFY(!broken.open());
    QCOMPARE(broken.lastError(), xlsx::SheetWriter::Error::BadTemplate);
    QVERIFY(broken.errorString().startsWith(ExcelEngine::templatePath()));
}

void TestSpreadsheet::sheetWriterNeverLosesThePreviousFile() {
    const QString file = path(QStringLiteral("kept.xlsx"));
    writeFile(file, "previous");
    const QStringList before = QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden);

    // A row before one written is refused, and so is the save: nothing replaced.
    {
        xlsx::SheetWriter writer(file);
        QVERIFY(writer.open());
        QVERIFY(writer.text(0, 5, 1, QStringLiteral("five"), false));
        QVERIFY(!writer.text(0, 4, 1, QStringLiteral("four"), false));
        QCOMPARE(writer.lastError(), xlsx::SheetWriter::Error::BadCell);
        QVERIFY(!writer.number(0, 6, 1, qQNaN(), xlsx::NumberFormat::general(), false));
        QVERIFY(!writer.save());
    }
    // Abandoned without a save.
    {
        xlsx::SheetWriter writer(file);
        QVERIFY(writer.open());
        QVERIFY(writer.text(0, 1, 1, QStringLiteral("half"), false));
    }
    QCOMPARE(fileBytes(file), QByteArray("previous"));

    // A full disk while the new file is written: the system's reason, the old file as it was.
    {
        xlsx::SheetWriter writer(file);
        QVERIFY(writer.open());
        for (int r = 1; r <= 500; ++r)
            QVERIFY(writer.text(0, r, 1, QStringLiteral("row %1").arg(r), false));
        SafeFile::injectFault(SafeFile::Step::Write, ENOSPC, 100);
        const bool saved = writer.save();
        SafeFile::injectFault(SafeFile::Step::None, 0);
        QVERIFY(!saved);
        QCOMPARE(writer.lastError(), xlsx::SheetWriter::Error::SaveFailed);
        QCOMPARE(writer.errorString(), QString::fromLocal8Bit(std::strerror(ENOSPC)));
    }
    QCOMPARE(fileBytes(file), QByteArray("previous"));

#ifdef Q_OS_UNIX
    // The workbook itself cannot be written (a file size limit holds for root too).
    {
        xlsx::SheetWriter writer(file);
        QVERIFY(writer.open());
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit oldLimit{};
        getrlimit(RLIMIT_FSIZE, &oldLimit);
        rlimit small = oldLimit;
        small.rlim_cur = 4096;
        QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
        bool wrote = true;
        for (int r = 1; r <= 2000; ++r)
            wrote = writer.number(0, r, 1, r + 0.5, xlsx::NumberFormat::fixed(2), false) && wrote;
        const bool saved = writer.save();
        setrlimit(RLIMIT_FSIZE, &oldLimit);
        std::signal(SIGXFSZ, oldHandler);
        QVERIFY(wrote);
        QVERIFY(!saved);
        QCOMPARE(writer.lastError(), xlsx::SheetWriter::Error::SaveFailed);
        QCOMPARE(writer.errorString(), QString::fromLocal8Bit(std::strerror(EFBIG)));
    }
    QCOMPARE(fileBytes(file), QByteArray("previous"));
#endif

    // The target became a directory: it cannot be replaced, and says so.
    const QString blocked = path(QStringLiteral("blocked2.xlsx"));
    xlsx::SheetWriter writer(blocked);
    QVERIFY(writer.open());
    QVERIFY(QDir(dir_.path()).mkdir(QStringLiteral("blocked2.xlsx")));
    QVERIFY(!writer.save());
    QCOMPARE(writer.lastError(), xlsx::SheetWriter::Error::ReplaceFailed);
    QVERIFY(QDir(blocked).removeRecursively());
    // Refused before any work: no such folder.
    xlsx::SheetWriter nowhere(path(QStringLiteral("no/such/dir.xlsx")));
    QVERIFY(!nowhere.open());
    QCOMPARE(nowhere.lastError(), xlsx::SheetWriter::Error::CannotCreate);

    // No scratch files are left behind by any of it.
    QCOMPARE(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), before);
}

QTEST_MAIN(TestSpreadsheet)
#include "tst_spreadsheet.moc"
