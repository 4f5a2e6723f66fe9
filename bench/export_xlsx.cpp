// Writing a full comparison list to a workbook as the Export button does: 16,384 records of the
// Haze/T/Lab display mode through the sheet layout and the engine. Beside it, the floor: a bare
// libxlsxwriter loop writing the same cells.
#include "benchrecords.h"
#include "benchsupport.h"
#include "comparisonsheet.h"
#include "excelengine.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <xlsxwriter.h>

namespace {

constexpr int kRecords = 16384;
constexpr int kMode = 6; // Haze/T/Lab: the widest sheet

QList<ComparisonRecord> comparisons() {
    QList<ComparisonRecord> records;
    records.reserve(kRecords);
    for (int i = 0; i < kRecords; ++i) {
        BenchValues standard{}, sample{};
        for (int k = 0; k < ComparisonRecord::kValueCount; ++k) {
            standard[size_t(k)] = (i * 37 + k * 11) % 10000;
            sample[size_t(k)] = (i * 41 + k * 13) % 10000;
        }
        records.append(judgedComparison(i + 1, QStringLiteral("Sample-%1").arg(i + 1),
                                        QDateTime(QDate(2024, 6, 11), QTime(10, i % 60)).toUTC(),
                                        standard, sample, 50, QStringLiteral("51002317")));
    }
    return records;
}

// The same cells through libxlsxwriter alone: headings in row 2, records from row 3.
bool bareWrite(const QString& path, const ExcelTable& table) {
    lxw_workbook* workbook = workbook_new(path.toUtf8().constData());
    if (!workbook)
        return false;
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, nullptr);
    for (int r = 0; r < table.rowCount(); ++r)
        for (int c = 0; c < table.columnCount(); ++c)
            if (const auto& text = table.text(r, c))
                worksheet_write_string(sheet, lxw_row_t(r + 1), lxw_col_t(c),
                                       text->toUtf8().constData(), nullptr);
    return workbook_close(workbook) == LXW_NO_ERROR;
}

} // namespace

int main() {
    QTemporaryDir dir;
    // No template in the benchmark's directory: the export starts from an empty workbook.
    QDir::setCurrent(dir.path());
    const QList<ComparisonRecord> records = comparisons();
    QVector<double> times, floors;
    qint64 size = 0;
    ExcelTable table;
    for (int pass = 0; pass < 3; ++pass) {
        const QString file = dir.filePath(QStringLiteral("CompareM.xlsx"));
        QElapsedTimer timer;
        timer.start();
        table = comparisonsheet::newLayoutTable(kMode, records);
        ExcelEngine engine(file);
        if (!engine.open(1, ExcelEngine::OpenMode::Replace) || !engine.writeTable(table)) {
            std::fprintf(stderr, "export failed: %s\n", qPrintable(engine.errorString()));
            return 1;
        }
        engine.close();
        times.append(double(timer.nsecsElapsed()) / 1e6);
        size = QFileInfo(file).size();

        const QString bare = dir.filePath(QStringLiteral("bare.xlsx"));
        timer.restart();
        if (!bareWrite(bare, table)) {
            std::fprintf(stderr, "bare libxlsxwriter write failed\n");
            return 1;
        }
        floors.append(double(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("%d rows x %d columns, %lld bytes\n", kRecords + 1, table.columnCount(), size);
    const double exportMs = percentile(times, 0.5);
    const double floorMs = percentile(floors, 0.5);
    bench("export_xlsx_ms", exportMs, "ms");
    bench("export_xlsx_floor_ms", floorMs, "ms");
    bench("export_xlsx_over_floor", floorMs > 0 ? exportMs / floorMs : 0, "x");
    return 0;
}
