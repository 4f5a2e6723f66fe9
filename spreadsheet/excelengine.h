#pragma once
// The program's spreadsheet reader and writer. One engine serves one .xlsx file: open it, select
// a worksheet, read its used range or write cells, save, close. The workbook is held in memory;
// save writes a complete new file and only then puts it in place of the old one, so a failure at
// any step leaves the user's previous file as it was.

#include "exceltable.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>

namespace xlsx {
struct Workbook;
}

class ExcelEngine : public QObject {
    Q_OBJECT

  public:
    enum class OpenMode {
        // Read the workbook at the path. A missing file starts as the template or empty, as a
        // new file would.
        Existing,
        // Start from the template or an empty workbook whatever the path holds; save replaces
        // the file, so that an old file's rows never linger in a new one. (The list and spectral
        // exports write through xlsx::SheetWriter, which starts and saves the same way.)
        // The path is checked as a save would check it (a regular file or nothing, none of the
        // program's own files), so an export is refused before any work.
        Replace,
        // Read the workbook at the path; a missing file is an error (NotFound), never a fresh
        // workbook. What a reader of a given file (a library) uses.
        Read,
    };

    enum class Error {
        None,
        NotOpen,      // the operation needs an open workbook
        NoFileName,   // the engine was made with an empty path
        NotFound,     // OpenMode::Read and there is no such file
        CannotRead,   // the file exists but cannot be read (or is a device, a FIFO, a planted link)
        BadWorkbook,  // the file is not a workbook this engine can read
        BadTemplate,  // the template exists but is not a readable workbook
        NoSuchSheet,  // the sheet index is outside the workbook's worksheets
        CannotCreate, // the path cannot take a file (no such directory, a directory, a device,
                      // a planted link, one of the program's own open files)
        BadCell,      // a position outside the sheet or a value a cell cannot hold
        SaveFailed,   // the new file could not be written; the previous file is untouched
        ReplaceFailed, // the new file could not take the previous file's place (in use,
                       // read-only, a directory); the previous file is untouched
    };

    // Called after each table row written with the number of rows written so far; returning
    // false stops writing further rows.
    using Progress = std::function<bool(int rowsWritten)>;

    explicit ExcelEngine(const QString& fileName);
    ~ExcelEngine() override;
    ExcelEngine(const ExcelEngine&) = delete;
    ExcelEngine& operator=(const ExcelEngine&) = delete;

    // Opens the workbook and selects worksheet sheetIndex (1-based, in workbook order). An open
    // engine is closed first, discarding unsaved changes.
    bool open(int sheetIndex = 1, OpenMode mode = OpenMode::Existing);
    bool isOpen() const { return isOpen_; }
    // Appends an empty worksheet named name (a sheet of that name already there is emptied
    // instead) and returns its index; 0 when not open. The selected sheet stays selected.
    int addSheet(const QString& name);
    // Selects another worksheet of the open workbook for the writes and reads that follow; the
    // selected sheet is the one a spreadsheet program shows first.
    bool selectSheet(int sheetIndex);

    // The selected sheet's used range (the bounding box of its cells) as found by open; all 0
    // for an empty sheet. Rows and columns are 1-based.
    int rowCount() const { return rowCount_; }
    int columnCount() const { return columnCount_; }
    int startRow() const { return startRow_; }
    int startColumn() const { return startColumn_; }

    // Sets one cell, centred. Numbers and booleans stay numbers and booleans; other values are
    // stored as their text; an invalid value empties the cell. False outside the sheet, for
    // text longer than a cell holds, for infinities and NaN, and when not open.
    bool setCellData(int row, int column, const QVariant& value);
    // Header texts into row 1, table row r into row r + 2, every text as text and centred;
    // missing texts leave their cells alone. Then saves; the result is the save's. Rows stopped
    // by progress are not written, and what was written is still saved.
    bool writeTable(const ExcelTable& table, const Progress& progress = {});
    // A block from A1 in one go, rows[r][c] to row r + 1, column c + 1, as the values are (not
    // centred). The first row's length is the block's width; nothing is written unless every
    // value can be stored.
    bool writeAllData(const QList<QVariantList>& rows);
    // Appends the current used range's values row by row (missing cells as invalid variants,
    // numbers as double, booleans as bool, everything else as QString). False when not open.
    bool readAllData(QList<QVariantList>& rows) const;
    // Appends the values of a window of the open sheet (1-based, missing cells as invalid
    // variants), whatever the used range: a caller that wants a few columns from A1 reads
    // just those instead of padding the whole used range. False when not open or the window
    // leaves the sheet.
    bool readBlock(int firstRow, int firstColumn, int rowCount, int columnCount,
                   QList<QVariantList>& rows) const;
    // Writes the workbook if it changed since it was opened or last saved.
    bool save();
    // Closes the workbook. Changes not saved are discarded, so an export abandoned part-way
    // never replaces the previous file.
    void close();

    Error lastError() const { return error_; }
    QString errorString() const { return errorString_; }
    QString fileName() const { return fileName_; }
    int sheetIndex() const { return sheetIndex_; }

    // The workbook a new file starts from, when present: template.xlsx in the program's data
    // folder (beside the program, or share/velorin/ of an installed one), never the working
    // directory, where anyone may have put one.
    static QString templatePath();
    // Another template (tests); empty goes back to the data folder's.
    static void setTemplatePath(const QString& path);
    // The template's workbook, read as open() reads it for a new file; an empty book when there
    // is none. False with the reason when it exists but cannot be read.
    static bool readTemplate(xlsx::Workbook& book, QString* reason);
    // What a workbook read by open may unpack to at most (the reader's own bound unless set).
    void setUnpackBudget(qint64 bytes) { unpackBudget_ = bytes; }
    // Spreadsheet column letters: 1 = A ... 26 = Z, 27 = AA; empty outside the sheet.
    static QString columnName(int column);

  private:
    bool fail(Error error, const QString& reason);
    bool load(const QString& path, xlsx::Workbook& book, Error badFile);
    bool storeCell(int row, int column, const QVariant& value, bool centred);

    QString fileName_;
    std::unique_ptr<xlsx::Workbook> book_;
    int sheetIndex_ = 0;
    int rowCount_ = 0;
    int columnCount_ = 0;
    int startRow_ = 0;
    int startColumn_ = 0;
    bool isOpen_ = false;
    bool dirty_ = false;
    Error error_ = Error::None;
    QString errorString_;
    qint64 unpackBudget_ = -1;
};
