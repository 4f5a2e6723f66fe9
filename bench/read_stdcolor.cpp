// Reading a standard colour library of 2,000 colour rows, as the library writer reads it: open,
// used range, every cell's text.
#include "benchsupport.h"
#include "excelengine.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

namespace {

constexpr int kColourRows = 2000;
constexpr int kCards = 40;

bool writeLibrary(const QString& file) {
    QList<QVariantList> rows;
    rows.append({QStringLiteral("KV670")});
    rows.append({kCards, 12345});
    for (int k = 0; k < kCards; ++k)
        rows.append({QStringLiteral("Card %1").arg(k), QStringLiteral("Paints"),
                     kColourRows / kCards, 0, 4321 + k});
    while (rows.size() < 49)
        rows.append(QVariantList{});
    for (int i = 0; i < kColourRows; ++i)
        rows.append({QStringLiteral("Colour %1").arg(i), 20 + (i % 8000) / 100.0,
                     -40 + (i % 97) * 0.83, 35.25 - (i % 51) * 1.5});
    ExcelEngine engine(file);
    return engine.open(1, ExcelEngine::OpenMode::Replace) && engine.writeAllData(rows) &&
           engine.save();
}

} // namespace

int main() {
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    const QString file = dir.filePath(QStringLiteral("StdColor.xlsx"));
    if (!writeLibrary(file)) {
        std::fprintf(stderr, "cannot write the library\n");
        return 1;
    }
    QVector<double> times;
    qsizetype characters = 0;
    for (int pass = 0; pass < 5; ++pass) {
        QElapsedTimer timer;
        timer.start();
        ExcelEngine engine(file);
        QList<QVariantList> rows;
        if (!engine.open() || engine.rowCount() < 49 + kColourRows || !engine.readAllData(rows)) {
            std::fprintf(stderr, "read failed: %s\n", qPrintable(engine.errorString()));
            return 1;
        }
        engine.close();
        for (const QVariantList& row : rows) {
            for (const QVariant& cell : row)
                characters += cell.toString().simplified().size();
        }
        times.append(double(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("%d colour rows, %lld characters read\n", kColourRows, qlonglong(characters));
    bench("read_stdcolor_ms", percentile(times, 0.5), "ms");
    return 0;
}
