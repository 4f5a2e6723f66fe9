// Hostile and unlucky files: saves to a full disk or failing at any step, targets and inputs
// that are no regular files or are planted links, the program's own files as targets, workbooks
// built to exhaust the reader, libraries whose counts overflow, texts cut or holding what XML
// cannot carry, CSV texts a spreadsheet would run as formulas.
#include "csvtable.h"
#include "excelengine.h"
#include "instrumenttext.h"
#include "reportpdf.h"
#include "safefile.h"
#include "stdcolorcommands.h"
#include "stdcolorlibrary.h"
#include "stdcolormaker.h"
#include "workbookreader.h"
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

#include <functional>

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

QString systemText(int errorNumber) {
    return QString::fromLocal8Bit(strerror(errorNumber));
}

// A colour list of n colours on one card, for the library maker.
QByteArray colourList(int n) {
    QByteArray list = "name,text1,text2,v1,v2,v3\n";
    for (int i = 0; i < n; ++i)
        list += "c" + QByteArray::number(i) + ",Card,,1.5,-2,3.25\n";
    return list;
}

// Each kind of file the program saves, written at path; variant makes the content differ.
using Save = std::function<bool(const QString& path, int variant, QString* error)>;

bool saveWorkbook(const QString& path, int variant, QString* error) {
    ExcelEngine engine(path);
    const bool ok = engine.open(1, ExcelEngine::OpenMode::Replace) &&
                    engine.setCellData(1, 1, QStringLiteral("book %1").arg(variant)) &&
                    engine.setCellData(2000, 2, QString(2000, u'x')) && engine.save();
    *error = engine.errorString();
    return ok;
}

bool saveCsv(const QString& path, int variant, QString* error) {
    QList<QVariantList> rows;
    for (int i = 0; i < 200; ++i)
        rows.append({QStringLiteral("row %1").arg(i), -1.5 * variant, i});
    return csv::write(path, {QStringLiteral("Name"), QStringLiteral("dE"), QStringLiteral("No")},
                      rows, error);
}

bool savePdf(const QString& path, int variant, QString* error) {
    QTextDocument document(QStringLiteral("report %1 ").arg(variant).repeated(300));
    return report::writeReportPdf(document, path, error);
}

bool saveLibrary(const QString& path, int variant, QString* error) {
    // The list lives elsewhere: the target's folder may be the full one.
    static QTemporaryDir lists;
    const QString list = lists.filePath(QStringLiteral("colours.csv"));
    QFile f(list);
    if (!f.open(QIODevice::WriteOnly) || f.write(colourList(100 + variant)) < 0)
        return false;
    f.close();
    const auto problem = stdcolormaker::make(list, QStringLiteral("KV510"), path);
    if (problem)
        *error = problem->text;
    return !problem;
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
    // A full file system: every kind of file the program saves fails with the system's reason
    // and leaves the previous file as it was, with nothing half-written beside it. As root here;
    // tests/file_failures.sh runs it as an unprivileged user in a namespace of its own.
    void fullDiskKeepsPreviousFile() {
#ifdef Q_OS_LINUX
        const QString mountPoint = path(QStringLiteral("small"));
        QVERIFY(QDir().mkpath(mountPoint));
        if (::mount("tmpfs", QFile::encodeName(mountPoint).constData(), "tmpfs", 0, "size=512k") !=
            0)
            QSKIP("cannot mount a small tmpfs here (needs root in a namespace that allows it)");
        struct Unmount {
            QByteArray at;
            ~Unmount() { ::umount2(at.constData(), MNT_DETACH); }
        } unmount{QFile::encodeName(mountPoint)};

        const QList<QPair<QString, Save>> kinds = {{QStringLiteral("results.xlsx"), saveWorkbook},
                                                   {QStringLiteral("list.csv"), saveCsv},
                                                   {QStringLiteral("report.pdf"), savePdf},
                                                   { QStringLiteral("StdColor.xlsx"),
                                                     saveLibrary }};
        QList<QByteArray> old;
        QString error;
        for (const auto& [name, save] : kinds) {
            QVERIFY2(save(mountPoint + u'/' + name, 1, &error), qPrintable(error));
            old.append(fileBytes(mountPoint + u'/' + name));
        }
        // Fill what is left.
        {
            QFile filler(mountPoint + QStringLiteral("/filler"));
            QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
            const QByteArray block(4096, 'x');
            while (filler.write(block) == block.size()) {
            }
        }
        for (int k = 0; k < kinds.size(); ++k) {
            const QString file = mountPoint + u'/' + kinds[k].first;
            error.clear();
            QVERIFY2(!kinds[k].second(file, 2, &error), qPrintable(kinds[k].first));
            QVERIFY2(error.contains(systemText(ENOSPC)), qPrintable(error));
            QCOMPARE(fileBytes(file), old[k]);
        }
        QCOMPARE(
            QDir(mountPoint).entryList(QDir::Files | QDir::Hidden),
            (QStringList{"filler", "list.csv", "report.pdf", "results.xlsx", "StdColor.xlsx"}));
#else
        QSKIP("needs a Linux tmpfs");
#endif
    }

    // A write that fails part-way (a full disk), a sync or a close that fails (a network file
    // system reports a lost write only there): every kind of save fails with that reason, the
    // old file stays byte for byte and the new one is gone. In every setting, by the save
    // path's seam.
    void failureAtEveryStepKeepsTheOldFile_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("error");
        const QStringList names = {"results.xlsx", "list.csv", "report.pdf", "StdColor.xlsx"};
        const QList<QPair<const char*, SafeFile::Step>> steps = {{"write", SafeFile::Step::Write},
                                                                 {"sync", SafeFile::Step::Sync},
                                                                 {"close", SafeFile::Step::Close}};
        for (int k = 0; k < names.size(); ++k)
            for (const auto& [stepName, step] : steps)
                QTest::addRow("%s %s", qPrintable(names[k]), stepName)
                    << names[k] << k << int(step) << (step == SafeFile::Step::Write ? ENOSPC : EIO);
    }
    void failureAtEveryStepKeepsTheOldFile() {
        QFETCH(QString, name);
        QFETCH(int, kind);
        QFETCH(int, step);
        QFETCH(int, error);
        const Save saves[] = {saveWorkbook, saveCsv, savePdf, saveLibrary};
        QTemporaryDir folder;
        const QString file = folder.filePath(name);
        QString why;
        QVERIFY2(saves[kind](file, 1, &why), qPrintable(why));
        const QByteArray old = fileBytes(file);
        SafeFile::injectFault(SafeFile::Step(step), error, 100);
        const bool saved = saves[kind](file, 2, &why);
        SafeFile::injectFault(SafeFile::Step::None, 0);
        QVERIFY(!saved);
        QVERIFY2(why.contains(systemText(error)), qPrintable(why));
        QCOMPARE(fileBytes(file), old);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{name});
        // And the next save, without the fault, goes through.
        QVERIFY2(saves[kind](file, 3, &why), qPrintable(why));
        QVERIFY(fileBytes(file) != old);
    }

    // The save path and the input opener judge what a path is before opening it: a FIFO
    // neither blocks nor is replaced, a sparse gigabyte is refused by its size. Every kind of
    // file, planted links and the program's own files, through each command and as root and as
    // nobody: tests/file_failures.sh.
    void specialFilesAreRefused() {
#ifdef Q_OS_UNIX
        QString why;
        // Only asked, never written: were the check broken, root would replace /dev/null.
        QVERIFY(!SafeFile::checkTarget(QStringLiteral("/dev/null"), &why));
        QCOMPARE(why, QStringLiteral("is a device, not a regular file"));
        const QString fifo = path(QStringLiteral("pipe.csv"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(!saveFile(fifo, "x", &why));
        QCOMPARE(why, QStringLiteral("is a FIFO, not a regular file"));
        QByteArray bytes;
        InputFailure failure = InputFailure::None;
        QVERIFY(!readInputFile(fifo, 1000, bytes, &why, &failure));
        QCOMPARE(failure, InputFailure::Refused);
        QVERIFY(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
        const QString huge = path(QStringLiteral("huge.csv"));
        writeFile(huge, "");
        QVERIFY(QFile(huge).resize(qint64(1) << 30));
        QVERIFY(!readInputFile(huge, 1000, bytes, &why, &failure));
        QCOMPARE(failure, InputFailure::TooLarge);
        QCOMPARE(why, QStringLiteral("is too large (1073741824 bytes; at most 1000)"));
        QVERIFY(!readInputFile(path(QStringLiteral("none.csv")), 1000, bytes, &why, &failure));
        QCOMPARE(failure, InputFailure::NotFound);
        QVERIFY(QFile::remove(huge) && QFile::remove(fifo));
#endif
    }

    // The history database is never an export's target, however it is named, nor are its
    // journal files.
    void ownFilesAreNotTargets() {
        const QString database = path(QStringLiteral("history.xlsx"));
        writeFile(database, "SQLite format 3");
        SafeFile::protect(database, SafeFile::Role::HistoryDatabase);
        QString why;
        for (const QString& name :
             {database, dir_.path() + QStringLiteral("/./history.xlsx"), database + "-wal"}) {
            QVERIFY2(!saveFile(name, "workbook", &why), qPrintable(name));
            QCOMPARE(why, QStringLiteral("is the history database, which this program has open; "
                                         "it is not overwritten"));
        }
        ExcelEngine engine(database);
        QVERIFY(!engine.open(1, ExcelEngine::OpenMode::Replace));
        QCOMPARE(engine.lastError(), ExcelEngine::Error::CannotCreate);
        QCOMPARE(fileBytes(database), QByteArray("SQLite format 3"));
        SafeFile::clearProtected();
        QVERIFY(saveFile(database, "free again", &why));
    }

    // Texts that a spreadsheet program would run as formulas are written as texts; numbers,
    // negative ones too, stay numbers.
    void csvTextsStayTexts() {
        QCOMPARE(csv::field(QStringLiteral("=HYPERLINK(\"http://x\",\"y\")")),
                 QByteArray("\"'=HYPERLINK(\"\"http://x\"\",\"\"y\"\")\""));
        QCOMPARE(csv::field(QStringLiteral("@SUM(1)")), QByteArray("'@SUM(1)"));
        QCOMPARE(csv::field(QStringLiteral("+1")), QByteArray("'+1"));
        QCOMPARE(csv::field(QStringLiteral("-2")), QByteArray("'-2"));
        QCOMPARE(csv::field(QStringLiteral("\tcmd")), QByteArray("'\tcmd"));
        QCOMPARE(csv::field(QStringLiteral("a=b")), QByteArray("a=b"));
        QCOMPARE(csv::field(-1.5), QByteArray("-1.5"));
        QCOMPARE(csv::field(-7), QByteArray("-7"));
        // CR-only line ends read as lines.
        QList<csv::Record> records;
        QVERIFY(csv::parse("h\ra,1\r\rb,2\r", records));
        QCOMPARE(records.size(), 3);
        QCOMPARE(records[2].line, 4);
        QCOMPARE(records[2].fields, (QStringList{"b", "2"}));
    }

    // Each of the reader's two unpack budgets holds on its own: one part larger than a part
    // may be, and parts each within that bound that together exceed the whole file's budget.
    void readerBudgetsHoldAlone() {
        xlsx::Workbook book;
        QString error;
        const QByteArray onePart =
            sharedPartWorkbook(1, sheetXml("") + QByteArray(xlsx::kMaxPartBytes, ' '));
        QVERIFY(!xlsx::readWorkbook(onePart, book, &error));
        QCOMPARE(error, QStringLiteral("part xl/worksheets/sheet1.xml is too large"));
        const QByteArray threeParts =
            sharedPartWorkbook(3, sheetXml("") + QByteArray(1 << 20, ' '), true);
        QVERIFY(!xlsx::readWorkbook(threeParts, book, &error, qint64(2) << 20));
        QVERIFY2(
            error.endsWith(QStringLiteral("exceeds the 2 MB the whole workbook may unpack to")),
            qPrintable(error));
        QVERIFY2(xlsx::readWorkbook(threeParts, book, &error, qint64(4) << 20), qPrintable(error));
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
        ExcelEngine::setTemplatePath(path(QStringLiteral("template.xlsx")));
        writeFile(ExcelEngine::templatePath(),
                  sharedPartWorkbook(1, sheetXml("") + QByteArray(6 << 20, ' ')));
        ExcelEngine engine(path(QStringLiteral("export.xlsx")));
        const bool opened = engine.open(1, ExcelEngine::OpenMode::Replace);
        QFile::remove(ExcelEngine::templatePath());
        ExcelEngine::setTemplatePath({});
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
        // Saving through the user's own link replaces what it points to and keeps the link.
        QVERIFY(QFile::link(path(QStringLiteral("plain")), path(QStringLiteral("link"))));
        QVERIFY(saveFile(path(QStringLiteral("link")), "newer", &error));
        QVERIFY(QFileInfo(path(QStringLiteral("link"))).isSymLink());
        QCOMPARE(fileBytes(path(QStringLiteral("plain"))), QByteArray("newer"));
    }
};

QTEST_MAIN(TestHostile)
#include "tst_hostile.moc"
