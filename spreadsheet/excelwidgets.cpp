#include "excelwidgets.h"

#include <QProgressDialog>
#include <QTableWidget>

ExcelTable excelTable(const QTableWidget& table) {
    ExcelTable out(table.rowCount(), table.columnCount());
    for (int c = 0; c < table.columnCount(); ++c) {
        if (const QTableWidgetItem* item = table.horizontalHeaderItem(c))
            out.setHeader(c, item->text());
    }
    for (int r = 0; r < table.rowCount(); ++r) {
        for (int c = 0; c < table.columnCount(); ++c) {
            if (const QTableWidgetItem* item = table.item(r, c))
                out.setText(r, c, item->text());
        }
    }
    return out;
}

bool writeTable(ExcelEngine& engine, const QTableWidget* table, QProgressDialog* progress) {
    if (!table)
        return false;
    ExcelEngine::Progress advance;
    if (progress) {
        advance = [progress](int rowsWritten) {
            progress->setValue(rowsWritten);
            return !progress->wasCanceled();
        };
    }
    return engine.writeTable(excelTable(*table), advance);
}
