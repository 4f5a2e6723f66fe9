// The comparison export's sheet for every display mode and the old layout, written through the
// engine and read back through unzip against reference cells made from the column tables; the
// sheet written straight from records, read back as a spreadsheet shows it (numbers through their
// formats) against the list's own texts; the command line's CSV lines.
#include "comparisonrows.h"
#include "comparisonsheet.h"
#include "excelengine.h"
#include "judging.h"
#include "quantities.h"
#include "sheetcells.h"
#include "sheetwriter.h"

#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <QTest>

namespace {

QList<QStringList> listRows(int rows, int columns) {
    QList<QStringList> out;
    for (int r = 0; r < rows; ++r) {
        QStringList row;
        for (int c = 0; c < columns; ++c)
            row.append(QStringLiteral("r%1c%2").arg(r).arg(c));
        out.append(row);
    }
    return out;
}

QStringList reference(const QString& name) {
    QFile f(QFINDTESTDATA("data/" + name));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {QStringLiteral("missing ") + name};
    return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
}

// Three comparisons of a layout and mode: negative and zero values, settings never read and a
// colour difference without a formula, a name a spreadsheet would take for a formula.
QList<ComparisonRecord> records(bool old, int mode) {
    QList<ComparisonRecord> out;
    for (int i = 0; i < 3; ++i) {
        ComparisonRecord r;
        r.sequence = i + 1;
        r.name = i == 1 ? QStringLiteral("=HYPERLINK(\"http://x\",\"y\")")
                        : QStringLiteral("Comp%1").arg(i + 1);
        r.time = QDateTime(QDate(2024, 5, 6), QTime(10, 30 + i), Qt::UTC);
        r.model = QStringLiteral("KV510");
        r.serialNumber = QStringLiteral("00123456");
        r.settings.oldLayout = old;
        r.settings.displayMode = old ? 0 : mode;
        if (i != 2) {
            r.settings.hazeTolerance = 100;
            r.settings.tTolerance = 150;
            r.settings.threshold = 10;
            r.settings.formula = old ? 0 : -1;
        }
        for (int k = 0; k < ComparisonRecord::kValueCount; ++k) {
            r.standard[size_t(k)] = 1234 * (k + 1) - 5000 * i + 7 * k;
            r.sample[size_t(k)] = r.standard[size_t(k)] + (i == 0 ? 0 : 37 - 101 * k);
        }
        r.standard[quantities::X] = 3127;
        r.sample[quantities::Y] = 3290 + i;
        if (old) {
            // Hundredths of h ending in 5, a hair below as doubles, round away from zero.
            r.standard[quantities::OldH] = i == 0 ? 15 : -39995;
        }
        judging::judge(r);
        out.append(r);
    }
    return out;
}

} // namespace

class TestComparisonSheet : public QObject {
    Q_OBJECT
  private slots:
    void everyDisplayMode_data();
    void everyDisplayMode();
    void oldLayout();
    void examplesAndName();
    void recordsAsTheListShowsThem();
    void csvLinesKeepTextsSafe();
};

void TestComparisonSheet::everyDisplayMode_data() {
    QTest::addColumn<int>("mode");
    for (int m = 0; m < 7; ++m)
        QTest::newRow(qPrintable(QString::number(m))) << m;
}

void TestComparisonSheet::everyDisplayMode() {
    QFETCH(int, mode);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("export.xlsx"));
    ExcelEngine engine(path);
    QVERIFY(engine.open(1, ExcelEngine::OpenMode::Replace));
    QVERIFY(engine.writeTable(
        comparisonsheet::newLayoutTable(mode, listRows(3, comparisonsheet::kNewListColumns))));
    engine.close();
    QCOMPARE(sheetCellsByUnzip(path),
             reference(QStringLiteral("comparison_mode%1.cells").arg(mode)));
}

void TestComparisonSheet::oldLayout() {
    for (bool chinese : {false, true}) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("old.xlsx"));
        ExcelEngine engine(path);
        QVERIFY(engine.open(1, ExcelEngine::OpenMode::Replace));
        QVERIFY(engine.writeAllData(comparisonsheet::oldLayoutBlock(
            chinese, listRows(2, comparisonsheet::kOldListColumns))));
        QVERIFY(engine.save());
        engine.close();
        QCOMPARE(sheetCellsByUnzip(path),
                 reference(chinese ? QStringLiteral("comparison_old_zh.cells")
                                   : QStringLiteral("comparison_old_en.cells")));
    }
}

void TestComparisonSheet::examplesAndName() {
    QCOMPARE(comparisonsheet::headings(1).size(), 10);
    QCOMPARE(comparisonsheet::headings(3),
             (QStringList{"NO", "Model", "SN", "Name", "Time", "Standard L*", "Standard a*",
                          "Standard b*", "Sample L*", "Sample a*", "Sample b*", "△E Thresholds",
                          "△E", "Result"}));
    QCOMPARE(comparisonsheet::defaultFileName(QDateTime(QDate(2019, 5, 7), QTime(15, 30))),
             QStringLiteral("CompareM201905071530.xlsx"));
}

void TestComparisonSheet::recordsAsTheListShowsThem() {
    // Every cell shows the list's text; a number is stored as a number in the format that shows
    // that text, everything else as text.
    for (int mode = -1; mode < 7; ++mode) {
        const bool old = mode < 0;
        const QList<ComparisonRecord> list = records(old, mode);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("records.xlsx"));
        xlsx::SheetWriter writer(path);
        QVERIFY(writer.open());
        QVERIFY(old ? comparisonsheet::writeOldLayout(writer, 0, false, list)
                    : comparisonsheet::writeNewLayout(writer, 0, mode, list));
        QVERIFY2(writer.save(), qPrintable(writer.errorString()));

        const QList<int> sources =
            old ? QList<int>{0, 19, 20, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 17, 18, 13, 14}
                : comparisonsheet::sourceColumns(mode);
        const int firstRow = old ? 2 : 3;
        QHash<QString, StoredCell> cells;
        for (const StoredCell& c : storedCells(path))
            cells.insert(c.ref, c);
        const QStringList heads =
            old ? comparisonsheet::oldHeadings(false) : comparisonsheet::headings(mode);
        if (old) {
            QCOMPARE(cells.value(QStringLiteral("J2")).value.toDouble(), 0.2);
            QCOMPARE(comparisonrows::oldCellText(list.at(1), comparisonrows::OldColStandard + 4),
                     QStringLiteral("-400.0"));
        }
        QCOMPARE(cells.value(QStringLiteral("A%1").arg(firstRow - 1)).value, heads.first());
        QCOMPARE(
            cells.size(), heads.size() * 4 - [&] {
                // Empty texts leave their cells empty.
                int empty = 0;
                for (const ComparisonRecord& r : list)
                    for (int source : sources)
                        empty += (old ? comparisonrows::oldCellText(r, source)
                                      : comparisonrows::cellText(r, source))
                                     .isEmpty();
                return empty;
            }());
        for (int r = 0; r < list.size(); ++r) {
            for (int c = 0; c < sources.size(); ++c) {
                const int source = sources.at(c);
                const QString ref = xlsx::columnName(c + 1) + QString::number(firstRow + r);
                const QString expected = old ? comparisonrows::oldCellText(list.at(r), source)
                                             : comparisonrows::cellText(list.at(r), source);
                if (expected.isEmpty()) {
                    QVERIFY(!cells.contains(ref));
                    continue;
                }
                const StoredCell cell = cells.value(ref);
                const bool number = cell.type.isEmpty();
                const QString shown =
                    number ? shownNumber(cell.value.toDouble(), cell.format) : cell.value;
                QVERIFY2(shown == expected,
                         qPrintable(QStringLiteral("mode %1 %2: %3 shown, %4 listed")
                                        .arg(mode)
                                        .arg(ref, shown, expected)));
                // Numbers are the texts that read as one; verdicts, names, times, serial numbers,
                // "±" tolerances and "-----" stay texts.
                const QString plain = QString(expected).remove(QLatin1Char('%'));
                bool readsAsNumber = false;
                plain.toDouble(&readsAsNumber);
                const bool identifier =
                    source == comparisonrows::ColName ||
                    source == (old ? comparisonrows::OldColSerial : comparisonrows::ColSerial) ||
                    source == (old ? comparisonrows::OldColModel : comparisonrows::ColModel);
                QVERIFY2(number == (readsAsNumber && !identifier),
                         qPrintable(QStringLiteral("mode %1 %2: %3 stored as %4")
                                        .arg(mode)
                                        .arg(ref, expected, cell.type)));
                if (number && expected.endsWith(QLatin1Char('%')))
                    QCOMPARE(cell.format, QStringLiteral("0.00%"));
            }
        }
    }
}

void TestComparisonSheet::csvLinesKeepTextsSafe() {
    const QList<ComparisonRecord> list = records(false, 6);
    const QStringList lines = comparisonsheet::csvLines(6, false, list);
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines.first().section(QLatin1Char(','), 0, 2), QStringLiteral("NO,Model,SN"));
    // A name that would run as a formula goes as a text; numbers, negative ones too, as shown.
    QVERIFY(lines.at(2).contains(QStringLiteral("\"'=HYPERLINK(\"\"http://x\"\",\"\"y\"\")\"")));
    const QString negative = comparisonrows::cellText(list.at(2), comparisonrows::ColStandard);
    QVERIFY(negative.startsWith(QLatin1Char('-')));
    QVERIFY(lines.at(3).contains(QLatin1Char(',') + negative + QLatin1Char(',')));
    // A setting never read shows "-----", which a spreadsheet would also take for a formula.
    QVERIFY(lines.at(3).contains(QStringLiteral(",'-----,")));
    QVERIFY(!lines.at(1).contains(QLatin1Char('\'')));
}

QTEST_GUILESS_MAIN(TestComparisonSheet)
#include "tst_comparisonsheet.moc"
