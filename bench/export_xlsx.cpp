// Writing a full comparison list to a workbook as the Export button does: 16,384 records of the
// Haze/T/Lab display mode, the list's sheet and the Statistics sheet, straight from the records
// through the sheet writer and the checked save. Beside it, the floor: a bare libxlsxwriter loop
// doing the same work — constant memory, the same sheets, formats and cells, made beforehand —
// and checked to write the same sheets. Then the export's peak memory above the records, and the
// same two figures for the old layout's export and the spectral export (no floor of their own).
#include "benchrecords.h"
#include "benchsupport.h"
#include "comparisonsheet.h"
#include "listexport.h"
#include "liststatistics.h"
#include "spectralsheet.h"
#include "statisticssheet.h"
#include "workbookwriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <xlsxwriter.h>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <functional>
#include <utility>
#include <vector>

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

// One cell of the floor, made before the clock starts; its format is looked up by a small key.
struct FloorCell {
    int sheet, row, column;
    bool number;
    double value;
    QByteArray text;
    int format; // index into the floor's format codes
    bool centred;
};

// The distinct format codes the cells use, in order of first use, as the export creates them.
QStringList formatCodes;

int formatKey(const xlsx::NumberFormat& format) {
    const QString code = format.code();
    qsizetype at = formatCodes.indexOf(code);
    if (at < 0) {
        formatCodes.append(code);
        at = formatCodes.size() - 1;
    }
    return int(at);
}

// The cells the export writes, in its order: the list's sheet (headings in row 2, centred), then
// the Statistics sheet from A1.
std::vector<FloorCell> floorCells(const QList<ComparisonRecord>& records) {
    std::vector<FloorCell> cells;
    const auto add = [&cells](int sheet, int row, int column, const xlsx::CellValue& v,
                              bool centred) {
        if (v.kind == xlsx::CellValue::Kind::Number)
            cells.push_back({sheet, row, column, true, v.number, {}, formatKey(v.format), centred});
        else if (v.kind == xlsx::CellValue::Kind::Text)
            cells.push_back({sheet, row, column, false, 0, xlsx::cellText(v.text),
                             formatKey(xlsx::NumberFormat::general()), centred});
    };
    const QStringList heads = comparisonsheet::headings(kMode);
    const QList<int> sources = comparisonsheet::sourceColumns(kMode);
    for (int c = 0; c < heads.size(); ++c)
        add(0, 2, c + 1, xlsx::CellValue::ofText(heads.at(c)), true);
    for (int r = 0; r < records.size(); ++r)
        for (int c = 0; c < sources.size(); ++c)
            add(0, r + 3, c + 1, comparisonsheet::cellValue(records.at(r), sources.at(c)), true);
    const analysis::SheetRows statistics =
        analysis::listStatisticsSheet(kMode, false, false, records);
    for (int r = 0; r < statistics.size(); ++r)
        for (int c = 0; c < statistics.at(r).size(); ++c)
            add(1, r + 1, c + 1, statistics.at(r).at(c), false);
    return cells;
}

// The same cells through libxlsxwriter alone, with the export's options and formats.
bool bareWrite(const QString& path, const std::vector<FloorCell>& cells) {
    const xlsx::CNumericLocale cLocale;
    const QByteArray name = QFile::encodeName(path);
    QByteArray tmpdir = QFile::encodeName(QDir::tempPath());
    lxw_workbook_options options = {};
    options.constant_memory = 1;
    options.tmpdir = tmpdir.data();
    lxw_workbook* workbook = workbook_new_opt(name.constData(), &options);
    if (!workbook)
        return false;
    lxw_worksheet* sheets[2] = {workbook_add_worksheet(workbook, "Sheet1"),
                                workbook_add_worksheet(workbook, "Statistics")};
    std::vector<lxw_format*> formats(std::size_t(formatCodes.size()) * 2, nullptr);
    const auto format = [&](const FloorCell& cell) -> lxw_format* {
        const QString& code = formatCodes.at(cell.format);
        const bool general = code == QLatin1String("General");
        if (general && !cell.centred)
            return nullptr;
        lxw_format*& f = formats[std::size_t(cell.format) * 2 + (cell.centred ? 1 : 0)];
        if (!f) {
            f = workbook_add_format(workbook);
            if (cell.centred)
                format_set_align(f, LXW_ALIGN_CENTER);
            if (!general)
                format_set_num_format(f, code.toLatin1().constData());
        }
        return f;
    };
    for (const FloorCell& cell : cells) {
        lxw_worksheet* sheet = sheets[cell.sheet];
        if (cell.number)
            worksheet_write_number(sheet, lxw_row_t(cell.row - 1), lxw_col_t(cell.column - 1),
                                   cell.value, format(cell));
        else
            worksheet_write_string(sheet, lxw_row_t(cell.row - 1), lxw_col_t(cell.column - 1),
                                   cell.text.constData(), format(cell));
    }
    worksheet_activate(sheets[0]);
    return workbook_close(workbook) == LXW_NO_ERROR;
}

QByteArray part(const QString& path, const char* name) {
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), path, QString::fromLatin1(name)});
    unzip.waitForFinished(30000);
    return unzip.readAllStandardOutput();
}

double kilobytes(const char* field);

// The median time of five runs of `write` and its peak memory in KB per row above what the
// process held before it (an upper bound where the mark cannot be reset).
std::pair<double, double> measure(const std::function<bool()>& write, int rows) {
    // Memory freed by the runs before goes back to the system first, or reusing it would hide
    // what this one takes.
#ifdef __GLIBC__
    malloc_trim(0);
#endif
    const double before = kilobytes("VmRSS:");
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
    clear.close();
    QVector<double> times;
    for (int pass = 0; pass < 5; ++pass) {
        QElapsedTimer timer;
        timer.start();
        if (!write())
            return {-1, -1};
        times.append(double(timer.nsecsElapsed()) / 1e6);
    }
    return {percentile(times, 0.5), (kilobytes("VmHWM:") - before) / rows};
}

double kilobytes(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qsizetype(std::strlen(field))).trimmed().split(' ').first().toDouble();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    // No template in the benchmark's directory: the export starts from an empty workbook.
    QDir::setCurrent(dir.path());
    const QList<ComparisonRecord> records = comparisons();
    const ListMeaning meaning = ListMeaning::of(records.first());
    const QString file = dir.filePath(QStringLiteral("CompareM.xlsx"));

    // Peak memory of one export above what the records take: the high-water mark is reset to
    // what the process holds now, records included.
    const double before = kilobytes("VmRSS:");
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    const bool reset = clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
    clear.close();
    if (!listexport::write(file, meaning, records, false).written) {
        std::fprintf(stderr, "export failed\n");
        return 1;
    }
    const double peak = kilobytes("VmHWM:");
    if (!reset)
        std::fprintf(stderr, "cannot reset the peak memory mark: kb_per_row is an upper bound\n");

    const std::vector<FloorCell> cells = floorCells(records);
    const QString bare = dir.filePath(QStringLiteral("bare.xlsx"));
    QVector<double> times, floors;
    for (int pass = 0; pass < 5; ++pass) {
        QElapsedTimer timer;
        timer.start();
        const listexport::Outcome outcome = listexport::write(file, meaning, records, false);
        times.append(double(timer.nsecsElapsed()) / 1e6);
        if (!outcome.written) {
            std::fprintf(stderr, "export failed: %s\n", qPrintable(outcome.reason));
            return 1;
        }
        timer.restart();
        if (!bareWrite(bare, cells)) {
            std::fprintf(stderr, "bare libxlsxwriter write failed\n");
            return 1;
        }
        floors.append(double(timer.nsecsElapsed()) / 1e6);
    }
    // The floor is only a floor if it wrote what the export wrote.
    for (const char* sheet :
         {"xl/worksheets/sheet1.xml", "xl/worksheets/sheet2.xml", "xl/styles.xml"}) {
        if (part(file, sheet) != part(bare, sheet) || part(file, sheet).isEmpty()) {
            std::fprintf(stderr, "the floor wrote another %s than the export\n", sheet);
            return 1;
        }
    }
    std::printf("%d rows x %lld columns + statistics, %lld bytes\n", kRecords + 1,
                static_cast<long long>(comparisonsheet::headings(kMode).size()),
                static_cast<long long>(QFileInfo(file).size()));
    const double exportMs = percentile(times, 0.5);
    const double floorMs = percentile(floors, 0.5);
    bench("export_xlsx_ms", exportMs, "ms");
    bench("export_xlsx_floor_ms", floorMs, "ms");
    bench("export_xlsx_over_floor", floorMs > 0 ? exportMs / floorMs : 0, "x");
    bench("export_xlsx_kb_per_row", (peak - before) / kRecords, "KB");

    // The old layout: the same records as a KV620 judges them.
    QList<ComparisonRecord> old = records;
    for (ComparisonRecord& r : old) {
        r.settings.oldLayout = true;
        r.settings.displayMode = 0;
        r.settings.formula = 0;
        r.model = QStringLiteral("KV620");
        judging::judge(r);
    }
    const auto [oldMs, oldKb] = measure(
        [&] { return listexport::write(file, ListMeaning::of(old.first()), old, false).written; },
        kRecords);
    // The spectral table: a full list of curves.
    QList<spectralsheet::Row> spectra;
    for (int i = 0; i < kRecords; ++i) {
        spectralsheet::Row row{i + 1, QStringLiteral("T%1").arg(i + 1), {}};
        for (int k = 0; k < SpectralRecord::kPoints; ++k)
            row.record.values[size_t(k)] = 40 + (i * 7 + k * 3) % 6000 / 100.0;
        spectra.append(row);
    }
    const QString curves = dir.filePath(QStringLiteral("MeterData.xlsx"));
    const auto [spectralMs, spectralKb] =
        measure([&] { return spectralsheet::write(curves, spectra).written; }, kRecords);
    if (oldMs < 0 || spectralMs < 0) {
        std::fprintf(stderr, "the old layout's or the spectral export failed\n");
        return 1;
    }
    bench("export_xlsx_old_ms", oldMs, "ms");
    bench("export_xlsx_old_kb_per_row", oldKb, "KB");
    bench("export_spectral_ms", spectralMs, "ms");
    bench("export_spectral_kb_per_row", spectralKb, "KB");
    return 0;
}
