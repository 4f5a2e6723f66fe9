// Numbers leaving the program as files: the CSV a spreadsheet computes with, and the standard
// colour library made from a list, checked as the writer and the instrument take it.
#include "comparisoncsv.h"
#include "comparisonrows.h"
#include "comparisonsheet.h"
#include "csvtable.h"
#include "excelengine.h"
#include "frameport.h"
#include "judging.h"
#include "stdcolorcommands.h"
#include "stdcolorlibrary.h"
#include "stdcolormaker.h"
#include "virtualinstrument.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace {

QString refusal(const QByteArray& list, int* line = nullptr) {
    QList<QVariantList> rows;
    const auto problem = stdcolormaker::build(list, "KV670", rows);
    if (line)
        *line = problem ? problem->line : 0;
    return problem ? problem->text : QString();
}

QByteArray word(int v) {
    return QByteArray(1, char(v & 0xFF)) + QByteArray(1, char((v >> 8) & 0xFF));
}

const QByteArray kHeading = "name,card 1,card 2,v1,v2,v3,card value\n";

} // namespace

class TestNumericExchange : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    }
    void csvFieldsAndRoundTrip();
    void csvReadsWhatOthersWrite();
    void csvFailedWriteSaysWhy();
    void comparisonListAsNumbers();
    void makerLaysOutTheLibrary();
    void makerRefusesNamingTheLine();
    void madeLibraryReachesTheInstrument();
};

void TestNumericExchange::csvFieldsAndRoundTrip() {
    // Plain numbers without exponent or "%", verdicts as PASS/NG, texts quoted only when needed.
    QCOMPARE(csv::field(12.34), QByteArray("12.34"));
    QCOMPARE(csv::field(-0.05), QByteArray("-0.05"));
    QCOMPARE(csv::field(0.00001), QByteArray("0.00001"));
    QCOMPARE(csv::field(100.0), QByteArray("100"));
    QCOMPARE(csv::field(std::nan("")), QByteArray());
    QCOMPARE(csv::field(true), QByteArray("PASS"));
    QCOMPARE(csv::field(false), QByteArray("NG"));
    QCOMPARE(csv::field(QStringLiteral("a \"b\", c")), QByteArray("\"a \"\"b\"\", c\""));

    const QStringList headings{"No.", "Name", "ΔE*ab", "Result"};
    const QList<QVariantList> rows{{1, QStringLiteral("样品, 1"), 0.42, true},
                                   {2, QStringLiteral("two\nlines"), QVariant(), false}};
    const QByteArray bytes = csv::encode(headings, rows);
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    QVERIFY(bytes.contains("1,\"样品, 1\",0.42,PASS\r\n"));

    QTemporaryDir dir;
    const QString path = dir.filePath("list.csv");
    QVERIFY(csv::write(path, headings, rows));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), bytes);
    QList<csv::Record> back;
    QVERIFY(csv::parse(bytes, back));
    QCOMPARE(back.size(), 3);
    QCOMPARE(back.at(0).fields, headings);
    QCOMPARE(back.at(1).fields, (QStringList{"1", "样品, 1", "0.42", "PASS"}));
    QCOMPARE(back.at(2).fields, (QStringList{"2", "two\nlines", "", "NG"}));
    QCOMPARE(back.at(2).line, 3);
}

void TestNumericExchange::csvReadsWhatOthersWrite() {
    // LF endings, empty lines, a quoted line break: lines are still counted as a text editor does.
    QList<csv::Record> records;
    QVERIFY(csv::parse("a,b\n\n\"x\ny\",\"\"\"q\"\"\"\nlast,", records));
    QCOMPARE(records.size(), 3);
    QCOMPARE(records.at(1).line, 3);
    QCOMPARE(records.at(1).fields, (QStringList{"x\ny", "\"q\""}));
    QCOMPARE(records.at(2).line, 5);
    QCOMPARE(records.at(2).fields, (QStringList{"last", ""}));

    // Only the first byte-order mark is the file's; a second one is text.
    QVERIFY(csv::parse("\xEF\xBB\xBF\xEF\xBB\xBF"
                       "a",
                       records));
    QCOMPARE(records.at(0).fields, QStringList{QStringLiteral("\uFEFFa")});

    csv::ParseError error;
    QVERIFY(!csv::parse("a\nb,\"open\nc", records, &error));
    QCOMPARE(error.kind, csv::ParseError::OpenQuote);
    QCOMPARE(error.line, 2);
    QVERIFY(!csv::parse("a,\xFF\xFE\n", records, &error));
    QCOMPARE(error.kind, csv::ParseError::NotUtf8);
}

void TestNumericExchange::csvFailedWriteSaysWhy() {
    QTemporaryDir dir;
    QString error;
    QVERIFY(!csv::write(dir.filePath("missing/list.csv"), {"a"}, {}, &error));
    QVERIFY(!error.isEmpty());
    // A directory in the way: nothing replaced, the reason told.
    QVERIFY(QDir(dir.path()).mkdir("taken.csv"));
    error.clear();
    QVERIFY(!csv::write(dir.filePath("taken.csv"), {"a"}, {}, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(QFileInfo(dir.filePath("taken.csv")).isDir());
}

void TestNumericExchange::comparisonListAsNumbers() {
    // Under the workbook's headings, the numbers the list shows, without "%" or "±".
    ComparisonRecord r;
    r.sequence = 3;
    r.name = "Film, A";
    r.time = QDateTime(QDate(2026, 12, 8), QTime(10, 0), Qt::LocalTime).toUTC();
    r.standard[0] = 1235;
    r.standard[1] = 9010;
    r.sample[0] = 1260;
    r.sample[1] = 8900;
    r.settings.hazeTolerance = 50;
    r.settings.tTolerance = 100;
    judging::judge(r);
    r.model = "KV510";
    r.serialNumber = "123";
    const QList<QVariantList> rows = comparisoncsv::rows(0, {r});
    QCOMPARE(rows.first().size(), comparisonsheet::headings(0).size());
    QCOMPARE(csv::encode(comparisonsheet::headings(0), rows).split('\n').at(1),
             QByteArray("3,KV510,123,\"Film, A\",2026/12/08  10:00,12.35,90.1,12.6,89,0.5,"
                        "0.25,1,-1.1,NG\r"));

    ComparisonRecord old;
    old.settings.oldLayout = true;
    old.settings.formula = 0;
    old.settings.threshold = 10;
    old.standard = {5000, 250, 0, 250, 0};
    old.sample = {5000, 250, 0, 250, 0};
    judging::judge(old);
    const QVariantList oldRow = comparisoncsv::oldRows({old}).first();
    QCOMPARE(oldRow.size(), comparisonsheet::oldHeadings(false).size());
    QCOMPARE(oldRow.mid(16), (QVariantList{1.0, 0.0, true}));
}

void TestNumericExchange::makerLaysOutTheLibrary() {
    // Two cards in the order of their first colour, a card's colours gathered together.
    const QByteArray list = "\xEF\xBB\xBF" + kHeading +
                            "White 01,Paint,  Batch   A ,95.12,-0.51,2.03,1\n"
                            "Red 05,Paint,Batch B,41.07,58.66,.5\n"
                            "White 02,Paint,Batch A,-0.05,0,327.67,\n";
    QList<QVariantList> rows;
    stdcolormaker::Made made;
    const auto problem = stdcolormaker::build(list, " KV670 ", rows, &made);
    QVERIFY2(!problem, problem ? qPrintable(problem->text) : "");
    QCOMPARE(made.cards, 2);
    QCOMPARE(made.colours, 3);
    QCOMPARE(rows.size(), 49 + 3);
    QCOMPARE(rows.at(0).at(0).toString(), QStringLiteral("KV670"));
    QCOMPARE(rows.at(1), (QVariantList{2.0, double(stdcolor::countCheckValue(2))}));
    QCOMPARE(rows.at(2),
             (QVariantList{"Paint", "Batch A", 2.0, 1.0,
                           double(stdcolor::cardCheckValue("Paint", "Batch A", 2, 1))}));
    QCOMPARE(rows.at(3).at(3).toDouble(), 0.0);
    QCOMPARE(rows.at(50).at(0).toString(), QStringLiteral("White 02"));

    // The writer reads it unchanged: names, then values in hundredths.
    stdcolorlib::Library lib;
    QVERIFY(!stdcolorlib::parse(rows, "KV670", lib));
    QCOMPARE(lib.count, 2);
    QByteArray expected = QByteArray("White 01").leftJustified(20, '\0') +
                          QByteArray("White 02").leftJustified(20, '\0') +
                          QByteArray("Red 05").leftJustified(20, '\0');
    for (int v : {9512, -51, 203, -5, 0, 32767, 4107, 5866, 50})
        expected += word(v);
    QCOMPARE(lib.stream, expected);
}

void TestNumericExchange::makerRefusesNamingTheLine() {
    int line = 0;
    QCOMPARE(refusal(kHeading + "ok,c,,1,2,3\nABCDEFGHIJKLMNOPQRSTU,c,,1,2,3\n", &line),
             QStringLiteral("Line 3: the colour name is longer than 20 bytes."));
    QCOMPARE(line, 3);
    // 20 bytes fit; 17 bytes of card text do not (a Chinese character is three bytes).
    QVERIFY(refusal(kHeading + "ABCDEFGHIJKLMNOPQRST,c,,1,2,3\n").isEmpty());
    QCOMPARE(refusal(kHeading + "n,c,标准色卡标准色,1,2,3\n"),
             QStringLiteral("Line 2: a card text is longer than 16 bytes."));
    QCOMPARE(refusal(kHeading + "n,c,,1.234,2,3\n"),
             QStringLiteral("Line 2: value 1 is not a number with at most two decimals from "
                            "-327.68 to 327.67."));
    QVERIFY(refusal(kHeading + "n,c,,1,-327.69,3\n").startsWith("Line 2: value 2"));
    QVERIFY(refusal(kHeading + "n,c,,1,2,327.68\n").startsWith("Line 2: value 3"));
    QVERIFY(refusal(kHeading + "n,c,,1,2,1e2\n").startsWith("Line 2: value 3"));
    QVERIFY(refusal(kHeading + "n,c,,1,2,١٢\n").startsWith("Line 2: value 3")); // not 0
    QCOMPARE(refusal(kHeading + "n,c,,1,2\n"),
             QStringLiteral("Line 2: 5 fields where a colour has 6 or 7 (colour name, card text "
                            "1, card text 2, three values, card value)."));
    QCOMPARE(refusal(kHeading + "a,c,,1,2,3,4\nb,c,,1,2,3,5\n"),
             QStringLiteral("Line 3: the card value differs from the one given for the same "
                            "card on line 2."));
    QCOMPARE(refusal(kHeading), QStringLiteral("The list holds no colours."));
    QCOMPARE(refusal(kHeading + "n\x01,c,,1,2,3\n"),
             QStringLiteral("Line 2: a name or card text holds a control character."));

    // 47 cards fit; the colour that would start the 48th is named.
    QByteArray many = kHeading;
    for (int k = 0; k < 47; ++k)
        many += QByteArray("n,card ") + QByteArray::number(k) + ",,1,2,3\n";
    QVERIFY(refusal(many).isEmpty());
    QCOMPARE(refusal(many + "n,card 0,,1,2,3\nn,card 47,,1,2,3\n", &line),
             QStringLiteral("Line 50: this colour starts a 48th card, but the library holds at "
                            "most 47 cards."));

    QTemporaryDir dir;
    QFile in(dir.filePath("list.csv"));
    QVERIFY(in.open(QIODevice::WriteOnly));
    in.write(kHeading + "n,c,,1,2,3\n");
    in.close();
    QVERIFY(stdcolormaker::make(in.fileName(), "KV670", dir.filePath("Library.xlsx")));
    QVERIFY(!QFile::exists(dir.filePath("Library.xlsx")));
}

void TestNumericExchange::madeLibraryReachesTheInstrument() {
    // The shipped sample, made into a workbook, taken by the writer's file step and sent to the
    // virtual instrument: the instrument holds exactly the cards and colours of the list.
    QTemporaryDir dir;
    const QString out = dir.filePath("StdColor.xlsx");
    stdcolormaker::Made made;
    const auto problem = stdcolormaker::make(VELORIN_SOURCE_DIR "/resources/stdcolor-sample.csv",
                                             "KV670", out, &made);
    QVERIFY2(!problem, problem ? qPrintable(problem->text) : "");
    QCOMPARE(made.cards, 3);

    stdcolorlib::Library lib;
    const auto refused = stdcolorlib::loadFile(out, "KV670", lib);
    QVERIFY2(!refused, refused ? qPrintable(refused->text) : "");

    auto instrument = sim::VirtualInstrument::fromPreset("KV670");
    LinkFramePort port;
    port.setTransportFactory([instrument] { return instrument->createTransport(); });
    QVERIFY(port.openLink());
    QVERIFY(!stdcolorlib::write(port, lib));
    const sim::StdColorLibrary got = instrument->library();
    QVERIFY(got.accepted);
    QCOMPARE(got.count, 3);
    QCOMPARE(got.cards.value(0).text1, QByteArray("Paint 2026").leftJustified(16, '\0'));
    QCOMPARE(got.cards.value(0).text2, QByteArray("Batch A").leftJustified(16, '\0'));
    QCOMPARE(got.cards.value(0).value1, uint16_t(3));
    QCOMPARE(got.cards.value(0).value2, uint16_t(1));
    QCOMPARE(got.cards.value(2).text1,
             QStringLiteral("色卡 2026").toUtf8().leftJustified(16, '\0'));
    QCOMPARE(got.cards.value(2).text2, QByteArray("Yellow, light").leftJustified(16, '\0'));
    QCOMPARE(got.cards.value(2).value2, uint16_t(0));
    QCOMPARE(got.data.size(), 6 * 26);
    QCOMPARE(got.data.left(20), QByteArray("White 01").leftJustified(20, '\0'));
    QCOMPARE(got.data.mid(100, 20), QStringLiteral("浅黄 3").toUtf8().leftJustified(20, '\0'));
    QCOMPARE(got.data.mid(120, 6), word(9512) + word(-51) + word(203));
    QCOMPARE(got.data.right(6), word(8850) + word(-420) + word(4508));
}

QTEST_GUILESS_MAIN(TestNumericExchange)
#include "tst_numericexchange.moc"
