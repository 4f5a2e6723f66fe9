// Hostile and unlucky files: saves to a full disk, workbooks built to exhaust the reader,
// libraries whose counts overflow, texts cut or holding what XML cannot carry.
#include "excelengine.h"
#include "instrumenttext.h"
#include "reportpdf.h"
#include "safefile.h"
#include "stdcolorcommands.h"
#include "stdcolorlibrary.h"
#include "zipbytes.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

#ifdef Q_OS_LINUX
#include <sys/mount.h>
#include <sys/stat.h>
#endif

namespace {

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

using zipbytes::ns;
using zipbytes::zipOf;

// A workbook of `sheets` sheets that all name the one worksheet part, or each its own copy.
QByteArray sharedPartWorkbook(int sheets, const QByteArray& sheetXml, bool ownParts = false) {
    QByteArray list, rels;
    QList<QPair<QString, QByteArray>> parts;
    for (int i = 1; i <= sheets; ++i) {
        const QByteArray n = QByteArray::number(ownParts ? i : 1);
        list += ns(QByteArray("<sheet name=\"S") + QByteArray::number(i) + "\" sheetId=\"" +
                   QByteArray::number(i) + "\" r:id=\"rId" + n + "\"/>");
        if (ownParts || i == 1) {
            rels += ns("<Relationship Id=\"rId" + n +
                       "\" Type=\"$NS/officeDocument/2006/relationships/worksheet\" "
                       "Target=\"worksheets/sheet" +
                       n + ".xml\"/>");
            parts.append({QStringLiteral("xl/worksheets/sheet%1.xml").arg(QString::fromLatin1(n)),
                          sheetXml});
        }
    }
    const QByteArray workbook =
        ns(R"(<workbook xmlns="$NS/spreadsheetml/2006/main" xmlns:r="$NS/officeDocument/2006/relationships"><sheets>)") +
        list + "</sheets></workbook>";
    const QByteArray workbookRels =
        ns(R"(<Relationships xmlns="$NS/package/2006/relationships">)") + rels + "</Relationships>";
    parts.append({"xl/workbook.xml", workbook});
    parts.append({"xl/_rels/workbook.xml.rels", workbookRels});
    return zipOf(parts);
}

QByteArray sheetXml(const QByteArray& rows) {
    return ns(R"(<worksheet xmlns="$NS/spreadsheetml/2006/main"><sheetData>)") + rows +
           "</sheetData></worksheet>";
}

} // namespace

class TestHostile : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString path(const QString& name) const { return dir_.filePath(name); }

    void writeFile(const QString& file, const QByteArray& bytes) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(bytes), bytes.size());
    }

  private slots:
    // A full file system: a small workbook (written in one buffered go) and a report PDF both
    // fail with the system's reason and leave the previous file as it was.
    void fullDiskKeepsPreviousFile() {
#ifdef Q_OS_LINUX
        const QString mountPoint = path(QStringLiteral("small"));
        QVERIFY(QDir().mkpath(mountPoint));
        if (::mount("tmpfs", QFile::encodeName(mountPoint).constData(), "tmpfs", 0, "size=256k") !=
            0)
            QSKIP("cannot mount a small tmpfs here (needs root in a namespace that allows it)");
        struct Unmount {
            QByteArray at;
            ~Unmount() { ::umount2(at.constData(), MNT_DETACH); }
        } unmount{QFile::encodeName(mountPoint)};

        const QString book = mountPoint + QStringLiteral("/results.xlsx");
        {
            ExcelEngine engine(book);
            QVERIFY(engine.open(1, ExcelEngine::OpenMode::Replace));
            QVERIFY(engine.setCellData(1, 1, QStringLiteral("precious")));
            QVERIFY(engine.save());
        }
        const QString pdf = mountPoint + QStringLiteral("/report.pdf");
        QTextDocument document(QStringLiteral("old report"));
        QString error;
        QVERIFY2(report::writeReportPdf(document, pdf, &error), qPrintable(error));
        const QByteArray oldBook = fileBytes(book), oldPdf = fileBytes(pdf);

        // Fill what is left.
        {
            QFile filler(mountPoint + QStringLiteral("/filler"));
            QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
            const QByteArray block(4096, 'x');
            while (filler.write(block) == block.size()) {
            }
        }
        ExcelEngine engine(book);
        QVERIFY(engine.open(1, ExcelEngine::OpenMode::Replace));
        QVERIFY(engine.setCellData(1, 1, QStringLiteral("new")));
        QVERIFY(!engine.save());
        QCOMPARE(engine.errorString(), QString::fromLocal8Bit(strerror(ENOSPC)));
        QCOMPARE(fileBytes(book), oldBook);

        QTextDocument longer(QString(20000, u'x'));
        QVERIFY(!report::writeReportPdf(longer, pdf, &error));
        QCOMPARE(error, QString::fromLocal8Bit(strerror(ENOSPC)));
        QCOMPARE(fileBytes(pdf), oldPdf);
        // Nothing half-written is left beside them.
        QCOMPARE(QDir(mountPoint).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{"filler", "report.pdf", "results.xlsx"}));
#else
        QSKIP("needs a Linux tmpfs");
#endif
    }

    void hostileWorkbooksAreRefusedQuickly_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        const QByteArray cell = R"(<row r="1"><c r="A1"><v>1</v></c></row>)";
        // 1 MB of padding compresses to almost nothing; 200 sheets would unpack to 200 MB.
        QTest::newRow("sheets sharing one large part")
            << sharedPartWorkbook(200, sheetXml(cell) + QByteArray(1 << 20, ' '))
            << QStringLiteral("another sheet uses too");
        QTest::newRow("too many sheets")
            << sharedPartWorkbook(2000, sheetXml(cell)) << QStringLiteral("sheets");
        QTest::newRow("unclosed nesting")
            << sharedPartWorkbook(1, sheetXml(QByteArray(3000000, 'x').replace("x", "<a>")))
            << QStringLiteral("nested deeper");
        QTest::newRow("deep nesting inside a skipped element")
            << sharedPartWorkbook(1, sheetXml(R"(<row r="1"><c r="A1"><f>)" +
                                              QByteArray(100000, 'x').replace("x", "<a>")))
            << QStringLiteral("nested deeper");
    }
    void hostileWorkbooksAreRefusedQuickly() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        const QString file = path(QStringLiteral("hostile.xlsx"));
        writeFile(file, bytes);
        QElapsedTimer timer;
        timer.start();
        ExcelEngine engine(file);
        QVERIFY(!engine.open());
        QVERIFY2(engine.errorString().contains(reason), qPrintable(engine.errorString()));
        QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
    }

    // Cells far out that pass the reader's own limits must not make the library writer pad
    // every row up to them; a FIFO under the right name must not block.
    void hostileLibraryFiles() {
        const QString file = path(QStringLiteral("StdColor.xlsx"));
        for (const auto& corners : {QList<QPair<int, int>>{{1, 16384}, {1048576, 16384}},
                                    QList<QPair<int, int>>{{1, 11}, {400000, 11}}}) {
            QFile::remove(file);
            {
                ExcelEngine maker(file);
                QVERIFY(maker.open(1, ExcelEngine::OpenMode::Replace));
                for (const auto& [row, column] : corners)
                    QVERIFY(maker.setCellData(row, column, 1));
                QVERIFY(maker.save());
            }
            QElapsedTimer timer;
            timer.start();
            stdcolorlib::Library library;
            QVERIFY(stdcolorlib::loadFile(file, QStringLiteral("KV510"), library).has_value());
            QVERIFY(timer.elapsed() < 1000);
        }
        // Many parts that each pass the reader's own bounds add up past what a library unpacks to.
        QFile::remove(file);
        writeFile(file, sharedPartWorkbook(40, sheetXml("") + QByteArray(1 << 20, ' '), true));
        {
            QElapsedTimer timer;
            timer.start();
            stdcolorlib::Library library;
            const auto problem = stdcolorlib::loadFile(file, QStringLiteral("KV510"), library);
            QVERIFY(problem && problem->text.contains(QStringLiteral("may unpack to")));
            QVERIFY(timer.elapsed() < 5000); // a guard against hanging, not a measurement
        }
#ifdef Q_OS_UNIX
        QFile::remove(file);
        QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
        stdcolorlib::Library library;
        const auto problem = stdcolorlib::loadFile(file, QStringLiteral("KV510"), library);
        QVERIFY(problem.has_value());
        QVERIFY2(problem->text.contains(QStringLiteral("not a regular file")),
                 qPrintable(problem->text));
        QFile::remove(file);
#endif
    }

    // A template is read on every export; one that unpacks to megabytes is refused, not read.
    void largeTemplateIsRefused() {
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir_.path()));
        writeFile(ExcelEngine::templatePath(),
                  sharedPartWorkbook(1, sheetXml("") + QByteArray(6 << 20, ' ')));
        ExcelEngine engine(path(QStringLiteral("export.xlsx")));
        const bool opened = engine.open(1, ExcelEngine::OpenMode::Replace);
        QFile::remove(ExcelEngine::templatePath());
        QDir::setCurrent(previous);
        QVERIFY(!opened);
        QCOMPARE(engine.lastError(), ExcelEngine::Error::BadTemplate);
        QVERIFY2(engine.errorString().contains(QStringLiteral("may unpack to")),
                 qPrintable(engine.errorString()));
    }

    // Colour-row counts whose check values match but whose sum wraps or exceeds what a library
    // holds are refused before anything is sent; blank C and D read as 0.
    void libraryCounts() {
        const QString model = QStringLiteral("KV510");
        auto card = [](QList<QVariantList>& rows, int row, const QVariant& c, const QVariant& d) {
            const int cValue = c.isValid() ? int(c.toDouble()) : 0;
            const int dValue = d.isValid() ? int(d.toDouble()) : 0;
            rows[row - 1] = {QStringLiteral("T"), QStringLiteral("U"), c, d,
                             double(stdcolor::cardCheckValue(QStringLiteral("T"),
                                                             QStringLiteral("U"), cValue, dValue))};
        };
        auto sheet = [&](const QList<double>& counts) {
            QList<QVariantList> rows(49);
            rows[0] = {model};
            const int n = int(counts.size());
            rows[1] = {double(n), double(stdcolor::countCheckValue(n))};
            for (int k = 0; k < n; ++k)
                card(rows, 3 + k, counts[k], 0.0);
            return rows;
        };
        stdcolorlib::Library library;
        QCOMPARE(stdcolorlib::parse(sheet({2147483647.0}), model, library)->text,
                 stdcolorlib::text("Failed to write standard color card information!"));
        QCOMPARE(stdcolorlib::parse(sheet({2e9, 2e9}), model, library)->text,
                 stdcolorlib::text("Failed to write standard color card information!"));
        const auto tooMany = stdcolorlib::parse(sheet({65535.0, 65535.0}), model, library);
        QVERIFY(tooMany && tooMany->text.contains(QStringLiteral("131070")));

        QList<QVariantList> blank = sheet({0.0});
        card(blank, 3, QVariant(), QVariant());
        QVERIFY(!stdcolorlib::parse(blank, model, library));
        QCOMPARE(library.cards.value(0).colourRows, 0);
        QCOMPARE(library.cards.value(0).value2, 0);
    }

    // A name cut inside a UTF-8 character loses only that character.
    void cutNamesKeepTheirWholeCharacters() {
        const QByteArray full = QStringLiteral("红色标准样品").toUtf8();
        QCOMPARE(decodeInstrumentText(full.left(13)), QStringLiteral("红色标准"));
        QCOMPARE(decodeInstrumentText(full.left(14)), QStringLiteral("红色标准"));
        QCOMPARE(decodeInstrumentText(full.left(12)), QStringLiteral("红色标准"));
        QCOMPARE(decodeInstrumentText(QByteArray("caf\xE9")), QString::fromLatin1("caf\xE9"));
    }

    // Characters XML cannot carry come back as they went in (a lone surrogate as U+FFFD), and
    // the text after a NUL stays.
    void writerEscapesWhatXmlCannotHold() {
        const QString file = path(QStringLiteral("texts.xlsx"));
        const QStringList texts = {QStringLiteral("a") + QChar(0) + QStringLiteral("b"),
                                   QStringLiteral("x") + QChar(0xFFFE) + QChar(0xFFFF),
                                   QStringLiteral("bell") + QChar(7) + QStringLiteral("_x0041_")};
        {
            ExcelEngine engine(file);
            QVERIFY(engine.open(1, ExcelEngine::OpenMode::Replace));
            for (int i = 0; i < texts.size(); ++i)
                QVERIFY(engine.setCellData(i + 1, 1, texts[i]));
            QVERIFY(engine.setCellData(4, 1, QString(QChar(0xD800)) + QStringLiteral("z")));
            QVERIFY(engine.save());
        }
        ExcelEngine engine(file);
        QVERIFY2(engine.open(), qPrintable(engine.errorString()));
        QList<QVariantList> rows;
        QVERIFY(engine.readAllData(rows));
        QCOMPARE(rows.size(), 4);
        for (int i = 0; i < texts.size(); ++i)
            QCOMPARE(rows[i].value(0).toString(), texts[i]);
        QCOMPARE(rows[3].value(0).toString(), QString(QChar(QChar::ReplacementCharacter)) + "z");
    }

    void safeFileReportsWhy() {
        QString error;
        QVERIFY(!saveFile(path(QStringLiteral("no/such/dir/file")), "x", &error));
        QCOMPARE(error, QString::fromLocal8Bit(strerror(ENOENT)));
        QVERIFY(saveFile(path(QStringLiteral("plain")), "content", &error));
        QCOMPARE(fileBytes(path(QStringLiteral("plain"))), QByteArray("content"));
        // Saving through a link replaces what it points to and keeps the link.
        QVERIFY(QFile::link(path(QStringLiteral("plain")), path(QStringLiteral("link"))));
        QVERIFY(saveFile(path(QStringLiteral("link")), "newer", &error));
        QVERIFY(QFileInfo(path(QStringLiteral("link"))).isSymLink());
        QCOMPARE(fileBytes(path(QStringLiteral("plain"))), QByteArray("newer"));
    }
};

QTEST_MAIN(TestHostile)
#include "tst_hostile.moc"
