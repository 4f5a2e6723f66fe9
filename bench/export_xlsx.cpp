// Writing a full comparison list to a workbook: 16,384 records in the 36 columns of the
// comparison table, every value as its display text, headings above, as the export hands it on.
#include "benchsupport.h"
#include "excelengine.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

constexpr int kRecords = 16384;
constexpr int kColumns = 36;

ExcelTable comparisonTable() {
    ExcelTable table(kRecords + 1, kColumns);
    for (int c = 0; c < kColumns; ++c)
        table.setText(0, c, QStringLiteral("Heading %1").arg(c));
    for (int r = 1; r <= kRecords; ++r) {
        table.setText(r, 0, QString::number(r));
        table.setText(r, 1, QStringLiteral("Sample-%1").arg(r));
        table.setText(r, 2, QStringLiteral("2024-06-11 10:%1").arg(r % 60, 2, 10, QChar(u'0')));
        for (int c = 3; c < 28; ++c)
            table.setText(r, c, QString::number(double((r * 37 + c * 11) % 10000) / 100, 'f', 2));
        table.setText(r, 28, r % 7 ? QStringLiteral("PASS") : QStringLiteral("NG"));
        table.setText(r, 29, QStringLiteral("-----"));
        table.setText(r, 30, QStringLiteral("-----"));
        table.setText(r, 31, QStringLiteral("±0.50"));
        table.setText(r, 32, QStringLiteral("±1.00"));
        table.setText(r, 33, QStringLiteral("1.00"));
        table.setText(r, 34, QStringLiteral("KV670"));
        table.setText(r, 35, QStringLiteral("SN20240611%1").arg(r % 100));
    }
    return table;
}

} // namespace

int main() {
    QTemporaryDir dir;
    // No template in the benchmark's directory: the export starts from an empty workbook.
    QDir::setCurrent(dir.path());
    const ExcelTable table = comparisonTable();
    QVector<double> times;
    qint64 size = 0;
    for (int pass = 0; pass < 3; ++pass) {
        const QString file = dir.filePath(QStringLiteral("CompareM.xlsx"));
        QElapsedTimer timer;
        timer.start();
        ExcelEngine engine(file);
        if (!engine.open(1, ExcelEngine::OpenMode::Replace) || !engine.writeTable(table)) {
            std::fprintf(stderr, "export failed: %s\n", qPrintable(engine.errorString()));
            return 1;
        }
        engine.close();
        times.append(double(timer.nsecsElapsed()) / 1e6);
        size = QFileInfo(file).size();
    }
    std::printf("%d rows x %d columns, %lld bytes\n", kRecords + 1, kColumns, size);
    bench("export_xlsx_ms", percentile(times, 0.5), "ms");
    return 0;
}
