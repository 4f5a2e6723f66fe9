// The standard colour library: the workbook's layout, every refusal before anything is sent,
// and the transfer as the virtual instrument receives it.
#include "excelengine.h"
#include "fakes.h"
#include "frameport.h"
#include "stdcolorcommands.h"
#include "stdcolorlibrary.h"
#include "virtualinstrument.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

struct Sheet {
    QList<QVariantList> rows;
    void set(int row, int column, const QVariant& v) {
        while (rows.size() < row)
            rows.append(QVariantList());
        QVariantList& r = rows[row - 1];
        while (r.size() <= column)
            r.append(QVariant());
        r[column] = v;
    }
};

// A library of the given cards (colour rows per card), with correct check values.
Sheet library(const QString& model, const QList<int>& colourRowsPerCard,
              const QString& nameStem = "Colour") {
    Sheet s;
    s.set(1, 0, model);
    const int n = static_cast<int>(colourRowsPerCard.size());
    s.set(2, 0, double(n));
    s.set(2, 1, double(stdcolor::countCheckValue(n)));
    int m = 0;
    for (int k = 0; k < n; ++k) {
        const QString t1 = QStringLiteral("Card %1").arg(k), t2 = QStringLiteral("标准%1").arg(k);
        s.set(3 + k, 0, t1);
        s.set(3 + k, 1, t2);
        s.set(3 + k, 2, double(colourRowsPerCard[k]));
        s.set(3 + k, 3, double(k + 7));
        s.set(3 + k, 4, double(stdcolor::cardCheckValue(t1, t2, colourRowsPerCard[k], k + 7)));
        m += colourRowsPerCard[k];
    }
    for (int i = 0; i < m; ++i) {
        s.set(50 + i, 0, nameStem + QString::number(i));
        s.set(50 + i, 1, 12.34);
        s.set(50 + i, 2, QStringLiteral("-1.5"));
        s.set(50 + i, 3, double(7));
    }
    while (s.rows.size() < 49 + m)
        s.rows.append(QVariantList());
    return s;
}

struct Stack {
    std::shared_ptr<sim::VirtualInstrument> instrument =
        sim::VirtualInstrument::fromPreset("KV620");
    LinkFramePort port;
    Stack() {
        port.setTransportFactory([i = instrument] { return i->createTransport(); });
        port.openLink();
        instrument->clearReceivedFrames();
    }
};

QString refusal(const Sheet& sheet, const QString& model = "KV620") {
    stdcolorlib::Library lib;
    const auto problem = stdcolorlib::parse(sheet.rows, model, lib);
    return problem ? problem->text : QString();
}

} // namespace

class TestStdColorLib : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    }
    void valuesTheInstrumentHolds();
    void streamAndTransfer();
    void rowsAndRefusals();
    void instrumentRefusesTheLibrary();
    void readsAWorkbookFile();
};

// Exactly what the instrument's signed hundredths hold, nothing cut or wrapped: everything else
// is refused naming its cell, before anything is sent.
void TestStdColorLib::valuesTheInstrumentHolds() {
    QCOMPARE(stdcolorlib::valueHundredths("-0.05"), -5);
    QCOMPARE(stdcolorlib::valueHundredths("7"), 700);
    QCOMPARE(stdcolorlib::valueHundredths("-327.68"), -32768);
    QCOMPARE(stdcolorlib::valueHundredths("327.67"), 32767);
    for (const char* bad : {"327.68", "-327.69", "12.345", "1e+308", "123456789", "seven", "", "-"})
        QVERIFY2(!stdcolorlib::valueHundredths(QString::fromLatin1(bad)), bad);
    QCOMPARE(stdcolorlib::cellText(QVariant(12.345)), QStringLiteral("12.345"));
    QCOMPARE(stdcolorlib::cellText(QVariant(7.0)), QStringLiteral("7"));

    const QList<QVariant> refused = {
        400.0,  -400.0, 1e308, 123456789.0, QStringLiteral("abc"), QStringLiteral("#DIV/0!"),
        12.345, true};
    for (const QVariant& value : refused) {
        Sheet sheet = library("KV620", {2});
        sheet.set(51, 3, value);
        const QString text = refusal(sheet);
        QVERIFY2(text.startsWith(QStringLiteral("Cell D51 holds")) &&
                     text.contains(QStringLiteral("-327.68 to 327.67")),
                 qPrintable(text));
    }
    Sheet empty = library("KV620", {2});
    empty.set(50, 1, QVariant());
    QVERIFY(refusal(empty).startsWith(QStringLiteral("Cell B50 is empty")));

    // One bound for the maker and the writer: the colour stream fits the instrument's area.
    QCOMPARE(stdcolorlib::kMaxColours, 10082);
    QVERIFY(qint64(stdcolorlib::kMaxColours + 1) * stdcolorlib::kColourBytes >
            stdcolorlib::kStreamBytes);
    QCOMPARE(refusal(library("KV620", {5000, 5083})),
             QStringLiteral("The cards ask for 10083 colour rows, more than the 10082 a library "
                            "holds!"));
    stdcolorlib::Library full;
    QVERIFY(!stdcolorlib::parse(library("KV620", {5000, 5082}).rows, "KV620", full));
    QCOMPARE(full.stream.size(), 10082 * 26);
}

void TestStdColorLib::streamAndTransfer() {
    // Ten colour rows: 260 bytes, one block of 256 at 0x40000, one of 4 at 0x40100, and the
    // empty packet at 0x40104.
    stdcolorlib::Library lib;
    QVERIFY(!stdcolorlib::parse(library("KV620", {4, 6}).rows, " KV620 ", lib));
    QCOMPARE(lib.stream.size(), 260);
    QCOMPARE(stdcolorlib::blockCount(lib), 2);
    QCOMPARE(lib.stream.left(20), QByteArray("Colour0").leftJustified(20, '\0'));
    QCOMPARE(lib.stream.mid(200, 6),
             hexBytes("D204") + hexBytes("6AFF") + hexBytes("BC02")); // 1234, -150, 700

    Stack s;
    QList<int> progress;
    QVERIFY(!stdcolorlib::write(s.port, lib, [&progress](int i) { progress.append(i); }));
    QCOMPARE(progress, (QList<int>{0, 1, 2}));
    const sim::StdColorLibrary got = s.instrument->library();
    QVERIFY(got.accepted);
    QCOMPARE(got.count, 2);
    QCOMPARE(got.cards.value(1).text2, QByteArray("标准1").leftJustified(16, '\0'));
    QCOMPARE(got.cards.value(1).value1, uint16_t(6));
    QCOMPARE(got.data, lib.stream);
    QList<uint32_t> blockAddresses;
    for (const QByteArray& f : s.instrument->receivedFrames())
        if (uint8_t(f[1]) == 0x74)
            blockAddresses.append(uint8_t(f[2]) | uint8_t(f[3]) << 8 | uint8_t(f[4]) << 16);
    QCOMPARE(blockAddresses, (QList<uint32_t>{0x40000, 0x40100, 0x40104}));
}

void TestStdColorLib::rowsAndRefusals() {
    QVERIFY(refusal(library("KV620", {3})).isEmpty());
    QCOMPARE(refusal(library("KV620", {3}), "KV630"),
             QStringLiteral("The written contents do not match and cannot be written!"));

    // Exactly 49 + m rows are enough; one fewer is not.
    Sheet shortSheet = library("KV620", {3});
    QCOMPARE(shortSheet.rows.size(), 52);
    shortSheet.rows.removeLast();
    QCOMPARE(refusal(shortSheet),
             QStringLiteral("Error in Excel file with not enough rows of standard color cards!"));

    // A 20-byte name fills its field; 21 bytes are refused, naming the row.
    stdcolorlib::Library lib;
    QVERIFY(!stdcolorlib::parse(library("KV620", {1}, "ABCDEFGHIJKLMNOPQRS").rows, "KV620", lib));
    QCOMPARE(lib.stream.left(20), QByteArray("ABCDEFGHIJKLMNOPQRS0"));
    QCOMPARE(refusal(library("KV620", {2}, "ABCDEFGHIJKLMNOPQRST")),
             QStringLiteral("The colour name in row 50 is longer than 20 bytes!"));
    QCOMPARE(refusal(library("KV620", {1}, "颜色颜色颜色颜")),
             QStringLiteral("The colour name in row 50 is longer than 20 bytes!"));

    // Check values are compared for every card before the first command goes out.
    Sheet badCard = library("KV620", {1, 1, 1});
    badCard.set(5, 4, 1.0);
    QCOMPARE(refusal(badCard), QStringLiteral("Failed to write standard color card information!"));
    Sheet badCount = library("KV620", {1});
    badCount.set(2, 1, 1.0);
    QCOMPARE(refusal(badCount),
             QStringLiteral("Failed to write the total number of standard color cards!"));
    Sheet longText = library("KV620", {1});
    longText.set(3, 0, QStringLiteral("ABCDEFGHIJKLMNOPQ"));
    QCOMPARE(refusal(longText),
             QStringLiteral("The card texts in row 3 are longer than 16 bytes!"));

    QList<int> many;
    for (int i = 0; i < 48; ++i)
        many.append(0);
    QCOMPARE(refusal(library("KV620", many)),
             QStringLiteral("Too many standard color cards: the card rows must end by row 49, but "
                            "the count asks for rows up to 50!"));
    many.removeLast();
    QVERIFY(refusal(library("KV620", many)).isEmpty());
}

void TestStdColorLib::instrumentRefusesTheLibrary() {
    stdcolorlib::Library lib;
    QVERIFY(!stdcolorlib::parse(library("KV620", {1}).rows, "KV620", lib));
    FakePort port;
    port.reply(crcd(hexBytes("AB70002F00000400")));
    port.reply(crcd(hexBytes("AB70002000002600")));
    port.reply(crcd(hexBytes("ABF401000000000000")).left(10));
    auto problem = stdcolorlib::write(port, lib);
    QVERIFY(problem);
    QCOMPARE(problem->text, QStringLiteral("Failed to write!"));

    // Silence after the data: the empty packet is not answered.
    FakePort quiet;
    quiet.reply(crcd(hexBytes("AB70002F00000400")));
    quiet.reply(crcd(hexBytes("AB70002000002600")));
    problem = stdcolorlib::write(quiet, lib);
    QVERIFY(problem);
    QCOMPARE(problem->text, QStringLiteral("Failed to write empty packet!"));
    quiet.open = false;
    QCOMPARE(stdcolorlib::write(quiet, lib)->text,
             QStringLiteral("Failed to write the total number of standard color cards!"));
}

void TestStdColorLib::readsAWorkbookFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("StdColor.xlsx"));
    Sheet sheet = library("KV620", {2});
    {
        ExcelEngine engine(path);
        QVERIFY(engine.open(1, ExcelEngine::OpenMode::Replace));
        // Rows as long as the widest, as a spreadsheet program would save them.
        QList<QVariantList> block = sheet.rows;
        for (QVariantList& r : block)
            while (r.size() < 5)
                r.append(QVariant(QString()));
        QVERIFY(engine.writeAllData(block));
        QVERIFY(engine.save());
    }
    ExcelEngine engine(path);
    QVERIFY(engine.open());
    QList<QVariantList> rows;
    QVERIFY(stdcolorlib::readSheet(engine, rows));
    stdcolorlib::Library lib;
    const auto problem = stdcolorlib::parse(rows, "KV620", lib);
    QVERIFY2(!problem, problem ? qPrintable(problem->text) : "");
    QCOMPARE(lib.colourRows, 2);
    QCOMPARE(lib.cards.first().text2, QStringLiteral("标准0"));

    // The button's file step: exactly this name, a readable workbook, the connected model.
    stdcolorlib::Library loaded;
    QVERIFY(!stdcolorlib::loadFile(path, "KV620", loaded));
    QCOMPARE(loaded.stream, lib.stream);
    const QString otherCase = dir.filePath(QStringLiteral("stdcolor.xlsx"));
    QVERIFY(QFile::copy(path, otherCase));
    QCOMPARE(stdcolorlib::loadFile(otherCase, "KV620", loaded)->text,
             QStringLiteral("File error, unable to write!"));
    QVERIFY(stdcolorlib::loadFile(otherCase, "KV620", loaded)->warning);
    QFile junk(dir.filePath(QStringLiteral("sub/StdColor.xlsx")));
    QDir(dir.path()).mkdir(QStringLiteral("sub"));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write("not a workbook");
    junk.close();
    // The box says what the engine found wrong below its usual text.
    QCOMPARE(stdcolorlib::loadFile(junk.fileName(), "KV620", loaded)->text.section(u'\n', 0, 0),
             QStringLiteral("Can't open file!"));

    // A missing library is said to be missing; no template stands in for it, even one that is a
    // valid library.
    ExcelEngine::setTemplatePath(path);
    const QString missing = dir.filePath(QStringLiteral("gone/StdColor.xlsx"));
    const auto notFound = stdcolorlib::loadFile(missing, "KV620", loaded);
    ExcelEngine::setTemplatePath({});
    QVERIFY(notFound);
    QCOMPARE(notFound->text, QStringLiteral("The library %1 was not found!").arg(missing));
}

QTEST_GUILESS_MAIN(TestStdColorLib)
#include "tst_stdcolorlib.moc"
