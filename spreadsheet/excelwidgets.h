#pragma once
// ExcelEngine for the pages: tables taken from table widgets, progress shown in a progress
// dialog.

#include "excelengine.h"

class QProgressDialog;
class QTableWidget;

// The table's header item texts and item texts; columns and cells without an item have none.
// Hidden rows and columns are taken like visible ones.
ExcelTable excelTable(const QTableWidget& table);

// ExcelEngine::writeTable for a table widget: the dialog's value follows the rows written and
// its cancel button stops further rows. False for a null table, as for the engine's failures.
bool writeTable(ExcelEngine& engine, const QTableWidget* table, QProgressDialog* progress);
