#include "sheetwriter.h"

#include "excelengine.h"
#include "safefile.h"
#include "workbookwriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace xlsx {

namespace {

// Format slots: decimals -1..kMaxDecimals, percentage or not, centred or not.
constexpr int kMaxDecimals = 10;
constexpr int kFormatSlots = (kMaxDecimals + 2) * 4;

QString describe(lxw_error error) {
    return QString::fromUtf8(lxw_strerror(error));
}

} // namespace

QString NumberFormat::code() const {
    if (decimals < 0)
        return percent ? QStringLiteral("0%") : QStringLiteral("General");
    QString code = QStringLiteral("0");
    if (decimals > 0)
        code += QLatin1Char('.') + QString(decimals, QLatin1Char('0'));
    if (percent)
        code += QLatin1Char('%');
    return code;
}

struct SheetWriter::Sheet {
    lxw_worksheet* worksheet = nullptr;
    QString name; // as asked for; the file may carry a replacement a workbook can hold
    int row = 0;  // the row being written, 1-based; 0 before the first
    // The template's cells of this sheet in row order, and the first one not yet passed on.
    std::vector<std::pair<CellPosition, Cell>> base;
    std::size_t next = 0;
    // Columns the export wrote in `row`, kept only while template cells remain.
    std::vector<int> written;
    bool touched = false;
};

struct SheetWriter::Book {
    // Numbers are formatted as they are written: the C locale holds from the first cell to
    // the close.
    CNumericLocale locale;
    QTemporaryFile scratch{QDir::tempPath() + QStringLiteral("/velorin-XXXXXX.xlsx")};
    QByteArray scratchName;
    QByteArray tmpdir;
    lxw_workbook* workbook = nullptr;
    std::vector<Sheet> sheets;
    lxw_format* formats[kFormatSlots] = {};
    int fallbackNumber = 0;

    ~Book() {
        // Nothing reaches the target unless saved; the scratch file goes with the QTemporaryFile.
        if (workbook)
            lxw_workbook_free(workbook);
    }
};

SheetWriter::SheetWriter(const QString& fileName) : fileName_(fileName) {}

SheetWriter::~SheetWriter() = default;

bool SheetWriter::fail(Error error, const QString& reason) {
    if (error_ == Error::None) {
        error_ = error;
        errorString_ = reason;
    }
    return false;
}

bool SheetWriter::checked(int error) {
    if (error == LXW_NO_ERROR)
        return true;
    return fail(Error::BadCell, describe(lxw_error(error)));
}

bool SheetWriter::open() {
    book_.reset();
    error_ = Error::None;
    errorString_.clear();
    if (fileName_.isEmpty())
        return fail(Error::NoFileName, QStringLiteral("no file name"));
    // Refused before any work, as the engine's OpenMode::Replace refuses.
    QString why;
    if (!SafeFile::checkTarget(fileName_, &why))
        return fail(Error::CannotCreate, why);
    if (!QFileInfo(fileName_).absoluteDir().exists())
        return fail(Error::CannotCreate, QStringLiteral("no such directory"));
    Workbook start;
    if (!ExcelEngine::readTemplate(start, &why))
        return fail(Error::BadTemplate, why);
    if (start.sheets.empty())
        start.sheets.emplace_back(QStringLiteral("Sheet1"));

    auto book = std::make_unique<Book>();
    if (!book->scratch.open())
        return fail(Error::SaveFailed, book->scratch.errorString());
    book->scratch.close();
    book->scratchName = QFile::encodeName(book->scratch.fileName());
    // The rows wait in temporary files beside the scratch workbook, so that a disk too full for
    // them is too full for the workbook as well (the library does not report every failed write
    // of its temporary files; save() checks the rows' files itself).
    book->tmpdir = QFile::encodeName(QFileInfo(book->scratch.fileName()).absolutePath());
    lxw_workbook_options options = {};
    options.constant_memory = 1;
    options.tmpdir = book->tmpdir.data();
    book->workbook = workbook_new_opt(book->scratchName.constData(), &options);
    if (!book->workbook)
        return fail(Error::SaveFailed, QStringLiteral("cannot create a workbook"));
    book_ = std::move(book);
    for (const Worksheet& from : start.sheets) {
        const int index = append(from.name());
        if (index < 0)
            return false;
        Sheet& added = book_->sheets[std::size_t(index)];
        from.forEach([&added](int row, int column, const Cell& cell) {
            added.base.push_back({{row, column}, cell});
        });
    }
    return true;
}

int SheetWriter::append(const QString& name) {
    QByteArray fileName = name.toUtf8();
    while (fileName.isEmpty() ||
           workbook_validate_sheet_name(book_->workbook, fileName.constData()) != LXW_NO_ERROR)
        fileName = "Sheet" + QByteArray::number(++book_->fallbackNumber);
    Sheet s;
    s.worksheet = workbook_add_worksheet(book_->workbook, fileName.constData());
    if (!s.worksheet) {
        fail(Error::SaveFailed, describe(LXW_ERROR_MEMORY_MALLOC_FAILED));
        return -1;
    }
    s.name = name;
    book_->sheets.push_back(std::move(s));
    return int(book_->sheets.size()) - 1;
}

int SheetWriter::sheet(const QString& name) {
    if (!book_ || error_ != Error::None)
        return -1;
    for (std::size_t i = 0; i < book_->sheets.size(); ++i) {
        Sheet& s = book_->sheets[i];
        if (s.name.compare(name, Qt::CaseInsensitive) == 0) {
            // A template's sheet of that name is emptied, as the engine empties it.
            if (!s.touched) {
                s.base.clear();
                s.next = 0;
            }
            return int(i);
        }
    }
    return append(name);
}

lxw_format* SheetWriter::format(NumberFormat f, bool centred) {
    const bool general = f.decimals < 0 && !f.percent;
    if (general && !centred)
        return nullptr;
    const int decimals = std::clamp(f.decimals, -1, kMaxDecimals);
    lxw_format*& slot =
        book_->formats[(decimals + 1) * 4 + (f.percent ? 2 : 0) + (centred ? 1 : 0)];
    if (!slot) {
        slot = workbook_add_format(book_->workbook);
        if (centred)
            format_set_align(slot, LXW_ALIGN_CENTER);
        if (!general)
            format_set_num_format(slot,
                                  NumberFormat{decimals, f.percent}.code().toLatin1().constData());
    }
    return slot;
}

bool SheetWriter::copyBaseCell(Sheet& sheet, int row, int column, const Cell& cell) {
    const lxw_row_t r = lxw_row_t(row - 1);
    const lxw_col_t c = lxw_col_t(column - 1);
    lxw_format* f = cell.centred ? format(NumberFormat::general(), true) : nullptr;
    const QVariant& v = cell.value;
    if (!v.isValid())
        return !f || checked(worksheet_write_blank(sheet.worksheet, r, c, f));
    if (v.typeId() == QMetaType::Bool)
        return checked(worksheet_write_boolean(sheet.worksheet, r, c, v.toBool(), f));
    if (isNumber(v))
        return checked(worksheet_write_number(sheet.worksheet, r, c, v.toDouble(), f));
    return checked(
        worksheet_write_string(sheet.worksheet, r, c, cellText(v.toString()).constData(), f));
}

void SheetWriter::copyBaseRows(Sheet& sheet, int beforeRow) {
    while (sheet.next < sheet.base.size() && sheet.base[sheet.next].first.row < beforeRow) {
        const auto& [at, cell] = sheet.base[sheet.next++];
        copyBaseCell(sheet, at.row, at.column, cell);
    }
}

void SheetWriter::finishRow(Sheet& sheet) {
    // The template's cells of this row that the export left alone, still in the same row.
    while (sheet.next < sheet.base.size() && sheet.base[sheet.next].first.row == sheet.row) {
        const auto& [at, cell] = sheet.base[sheet.next++];
        if (std::find(sheet.written.begin(), sheet.written.end(), at.column) == sheet.written.end())
            copyBaseCell(sheet, at.row, at.column, cell);
    }
    sheet.written.clear();
}

bool SheetWriter::moveTo(Sheet& sheet, int row, int column) {
    if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns)
        return fail(Error::BadCell,
                    QStringLiteral("cell %1,%2 outside the sheet").arg(row).arg(column));
    if (row < sheet.row)
        return fail(Error::BadCell,
                    QStringLiteral("row %1 written after row %2").arg(row).arg(sheet.row));
    sheet.touched = true;
    if (row > sheet.row) {
        if (sheet.row > 0)
            finishRow(sheet);
        copyBaseRows(sheet, row);
        sheet.row = row;
    }
    if (sheet.next < sheet.base.size())
        sheet.written.push_back(column);
    return error_ == Error::None;
}

bool SheetWriter::text(int sheetIndex, int row, int column, const QString& text, bool centred) {
    if (text.size() > kMaxTextLength)
        return fail(
            Error::BadCell,
            QStringLiteral("%1%2: text longer than a cell holds").arg(columnName(column)).arg(row));
    return utf8Text(sheetIndex, row, column, cellText(text), centred);
}

bool SheetWriter::utf8Text(int sheetIndex, int row, int column, const QByteArray& text,
                           bool centred) {
    if (!book_ || error_ != Error::None || sheetIndex < 0 ||
        std::size_t(sheetIndex) >= book_->sheets.size())
        return fail(Error::BadCell, QStringLiteral("no such sheet"));
    Sheet& sheet = book_->sheets[std::size_t(sheetIndex)];
    if (!moveTo(sheet, row, column))
        return false;
    return checked(worksheet_write_string(sheet.worksheet, lxw_row_t(row - 1),
                                          lxw_col_t(column - 1), text.constData(),
                                          format(NumberFormat::general(), centred)));
}

bool SheetWriter::number(int sheetIndex, int row, int column, double value, NumberFormat f,
                         bool centred) {
    if (!book_ || error_ != Error::None || sheetIndex < 0 ||
        std::size_t(sheetIndex) >= book_->sheets.size())
        return fail(Error::BadCell, QStringLiteral("no such sheet"));
    if (!std::isfinite(value))
        return fail(Error::BadCell,
                    QStringLiteral("%1%2: not a finite number").arg(columnName(column)).arg(row));
    Sheet& sheet = book_->sheets[std::size_t(sheetIndex)];
    if (!moveTo(sheet, row, column))
        return false;
    return checked(worksheet_write_number(sheet.worksheet, lxw_row_t(row - 1),
                                          lxw_col_t(column - 1), value, format(f, centred)));
}

bool SheetWriter::cell(int sheetIndex, int row, int column, const CellValue& value, bool centred) {
    switch (value.kind) {
    case CellValue::Kind::Text:
        return text(sheetIndex, row, column, value.text, centred);
    case CellValue::Kind::Number:
        return number(sheetIndex, row, column, value.number, value.format, centred);
    case CellValue::Kind::Empty:
        break;
    }
    return error_ == Error::None;
}

bool SheetWriter::save(int activeSheet) {
    if (!book_)
        return fail(Error::SaveFailed, QStringLiteral("not open"));
    if (error_ != Error::None)
        return false;
    for (Sheet& sheet : book_->sheets) {
        if (sheet.row > 0)
            finishRow(sheet);
        copyBaseRows(sheet, INT_MAX);
    }
    if (error_ != Error::None)
        return false;
    if (activeSheet >= 0 && std::size_t(activeSheet) < book_->sheets.size())
        worksheet_activate(book_->sheets[std::size_t(activeSheet)].worksheet);

    // The library writes the rows to these files without looking at the outcome.
    for (Sheet& sheet : book_->sheets) {
        FILE* rows = sheet.worksheet->optimize_tmpfile;
        errno = 0;
        if (rows && (std::fflush(rows) != 0 || std::ferror(rows))) {
            const int reason = errno;
            return fail(Error::SaveFailed, reason != 0
                                               ? QString::fromLocal8Bit(std::strerror(reason))
                                               : QStringLiteral("the rows could not be kept in a "
                                                                "temporary file"));
        }
    }
    const QFileInfo target(fileName_);
    if (target.isFile() && !target.isWritable())
        return fail(Error::ReplaceFailed, QStringLiteral("is read-only"));
    errno = 0;
    lxw_workbook* workbook = book_->workbook;
    book_->workbook = nullptr; // closing frees it, whatever the outcome
    const lxw_error closed = workbook_close(workbook);
    if (closed != LXW_NO_ERROR) {
        // The library's own text is generic ("Error in zip file operation"); the system's
        // reason ("No space left on device") is what the user can act on.
        const int reason = errno;
        return fail(Error::SaveFailed,
                    reason != 0 ? QString::fromLocal8Bit(std::strerror(reason)) : describe(closed));
    }
    bool replaceFailed = false;
    QString reason;
    if (!installScratch(book_->scratch.fileName(), fileName_, &replaceFailed, &reason))
        return fail(replaceFailed ? Error::ReplaceFailed : Error::SaveFailed, reason);
    book_.reset();
    return true;
}

bool installScratch(const QString& scratchPath, const QString& target, bool* replaceFailed,
                    QString* reason) {
    const auto failed = [&](bool replace, const QString& why) {
        if (replaceFailed)
            *replaceFailed = replace;
        if (reason)
            *reason = why;
        return false;
    };
    QFile scratch(scratchPath);
    if (!scratch.open(QIODevice::ReadOnly))
        return failed(false, scratch.errorString());
    SafeFile out(target);
    // A target that is no file to replace (a directory, a device, the history database) is a
    // replace that failed; the previous file, if any, is untouched.
    if (!out.open())
        return failed(out.failure() == SafeFile::Failure::Refused, out.errorString());
    while (!scratch.atEnd()) {
        const QByteArray chunk = scratch.read(1 << 20);
        if (chunk.isEmpty()) {
            out.cancel();
            return failed(false, scratch.errorString());
        }
        if (!out.write(chunk))
            return failed(false, out.errorString());
    }
    if (!out.commit())
        return failed(out.failure() != SafeFile::Failure::Write, out.errorString());
    return true;
}

} // namespace xlsx
