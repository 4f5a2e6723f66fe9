// The comparison export's sheet for every display mode and the old layout, written through the
// engine and read back through unzip against reference cells made from the column tables.
#include "comparisonsheet.h"
#include "excelengine.h"
#include "sheetcells.h"

#include <QFile>
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

} // namespace

class TestComparisonSheet : public QObject {
    Q_OBJECT
  private slots:
    void everyDisplayMode_data();
    void everyDisplayMode();
    void oldLayout();
    void examplesAndName();
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

QTEST_GUILESS_MAIN(TestComparisonSheet)
#include "tst_comparisonsheet.moc"
