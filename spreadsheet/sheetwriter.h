#pragma once
// Writes an export's workbook straight to the file, row by row, without holding its cells: the
// exports (comparison list, statistics, spectra) hand each cell over once, as text or as a
// number with the format it is shown in, and the writer passes it on to libxlsxwriter in its
// constant-memory mode. The save is the engine's: the workbook is completed in a scratch file,
// which then replaces the target through SafeFile, so a failure at any step leaves the previous
// file as it was and says why.
//
// A template (ExcelEngine::templatePath()) is honoured as the engine honours it: its sheets, in
// its order and under its names, start the workbook, and its cells stay wherever the export
// writes none.

#include "workbook.h"

#include <QString>

#include <memory>

struct lxw_format;

namespace xlsx {

// How a number cell shows its value: General, or a fixed number of decimals, as a percentage
// or not ("0.00", "0.00%"). The text a spreadsheet shows is then the text the list shows.
struct NumberFormat {
    int decimals = -1; // -1: General
    bool percent = false;

    static NumberFormat general() { return {}; }
    static NumberFormat fixed(int decimals) { return {decimals, false}; }
    static NumberFormat percentage(int decimals) { return {decimals, true}; }
    // The format's code as a spreadsheet writes it: "General", "0.00", "0.00%".
    QString code() const;
    bool operator==(const NumberFormat& other) const {
        return decimals == other.decimals && percent == other.percent;
    }
};

// One cell an export hands over: nothing, a text, or a number with its format.
struct CellValue {
    enum class Kind : quint8 { Empty, Text, Number };
    Kind kind = Kind::Empty;
    NumberFormat format;
    double number = 0;
    QString text;

    static CellValue ofText(const QString& text) { return {Kind::Text, {}, 0, text}; }
    static CellValue ofNumber(double value, NumberFormat format) {
        return {Kind::Number, format, value, {}};
    }
};

class SheetWriter {
  public:
    enum class Error {
        None,
        NoFileName,    // made with an empty path
        CannotCreate,  // the path cannot take a file (no such directory, a device, a planted
                       // link, one of the program's own files)
        BadTemplate,   // the template exists but is not a readable workbook
        BadCell,       // a value a cell cannot hold, or a row written after a later one
        SaveFailed,    // the new file could not be written; the previous file is untouched
        ReplaceFailed, // the new file could not take the previous file's place (in use,
                       // read-only, a directory); the previous file is untouched
    };

    explicit SheetWriter(const QString& fileName);
    // A workbook not saved is discarded; the previous file stays.
    ~SheetWriter();
    SheetWriter(const SheetWriter&) = delete;
    SheetWriter& operator=(const SheetWriter&) = delete;

    // Checks the path as a save would, reads the template if there is one and starts the
    // workbook. Its first sheet is the template's first or "Sheet1".
    bool open();
    // The sheet named name (0-based index): the workbook's sheet of that name (any case), emptied,
    // or a new one appended. -1 when not open or the writer failed.
    int sheet(const QString& name);

    // Cells of a sheet, rows and columns 1-based as in the spreadsheet. Each sheet takes its rows
    // in order (cells of one row in any order); a row before one already written is refused.
    // Centred cells are centred as the engine's table cells are. An empty text leaves the cell
    // empty (a centred one is kept, empty). False once anything failed.
    bool text(int sheet, int row, int column, const QString& text, bool centred);
    // A text already made a cell text (cellText()), for one written on many rows.
    bool utf8Text(int sheet, int row, int column, const QByteArray& cellText, bool centred);
    bool number(int sheet, int row, int column, double value, NumberFormat format, bool centred);
    bool cell(int sheet, int row, int column, const CellValue& value, bool centred);

    // Completes the workbook (activeSheet is the one a spreadsheet program shows first) and puts
    // it in place of the target. False, with the previous file untouched, on any failure.
    bool save(int activeSheet = 0);

    Error lastError() const { return error_; }
    QString errorString() const { return errorString_; }
    QString fileName() const { return fileName_; }

  private:
    struct Sheet;
    struct Book;

    bool fail(Error error, const QString& reason);
    int append(const QString& name);
    bool moveTo(Sheet& sheet, int row, int column);
    void finishRow(Sheet& sheet);
    void copyBaseRows(Sheet& sheet, int beforeRow);
    bool copyBaseCell(Sheet& sheet, int row, int column, const Cell& cell);
    ::lxw_format* format(NumberFormat format, bool centred);
    bool checked(int error);

    QString fileName_;
    std::unique_ptr<Book> book_;
    Error error_ = Error::None;
    QString errorString_;
};

// Puts a complete scratch workbook in place of target through SafeFile: the shared end of the
// engine's and the writer's save. False with the error (SaveFailed or ReplaceFailed kind: true
// when the target could not be replaced) and the reason.
bool installScratch(const QString& scratch, const QString& target, bool* replaceFailed,
                    QString* reason);

} // namespace xlsx
