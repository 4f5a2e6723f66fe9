#include "excelengine.h"

#include "safefile.h"
#include "sheetwriter.h"
#include "workbook.h"
#include "workbookreader.h"
#include "workbookwriter.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <algorithm>
#include <cmath>

namespace {

// Why a value cannot go into a cell, or empty when it can.
QString unstorable(const QVariant& value) {
    if (!value.isValid() || value.typeId() == QMetaType::Bool)
        return {};
    if (xlsx::isNumber(value))
        return std::isfinite(value.toDouble()) ? QString() : QStringLiteral("not a finite number");
    if (!value.canConvert<QString>())
        return QStringLiteral("a %1 has no text").arg(QString::fromLatin1(value.typeName()));
    if (value.toString().size() > xlsx::kMaxTextLength)
        return QStringLiteral("text longer than a cell holds");
    return {};
}

constexpr qint64 kTemplateBudget = qint64(4) << 20;

QString& templateOverride() {
    static QString path;
    return path;
}

bool onSheet(int row, int column) {
    return row >= 1 && row <= xlsx::kMaxRows && column >= 1 && column <= xlsx::kMaxColumns;
}

} // namespace

ExcelEngine::ExcelEngine(const QString& fileName) : fileName_(fileName) {}

ExcelEngine::~ExcelEngine() {
    close();
}

QString ExcelEngine::templatePath() {
    if (!templateOverride().isEmpty())
        return templateOverride();
    const QDir programDir(QCoreApplication::applicationDirPath());
    const QString beside = programDir.filePath(QStringLiteral("template.xlsx"));
    if (QFileInfo::exists(beside))
        return beside;
    // An installed program keeps its data under share/, not beside itself in bin/.
    const QString installed = programDir.filePath(QStringLiteral("../share/velorin/template.xlsx"));
    return QFileInfo::exists(installed) ? QDir::cleanPath(installed) : beside;
}

void ExcelEngine::setTemplatePath(const QString& path) {
    templateOverride() = path;
}

bool ExcelEngine::readTemplate(xlsx::Workbook& book, QString* reason) {
    book = xlsx::Workbook();
    const QString path = templatePath();
    if (!QFileInfo::exists(path))
        return true;
    // Without a file name of its own, the engine's reasons name the template.
    ExcelEngine reader{QString()};
    if (reader.load(path, book, Error::BadTemplate))
        return true;
    if (reason)
        *reason = reader.errorString();
    return false;
}

QString ExcelEngine::columnName(int column) {
    return xlsx::columnName(column);
}

bool ExcelEngine::fail(Error error, const QString& reason) {
    error_ = error;
    errorString_ = reason;
    qDebug().noquote() << "ExcelEngine:" << fileName_ << "-" << reason;
    return false;
}

bool ExcelEngine::load(const QString& path, xlsx::Workbook& book, Error badFile) {
    const QString what = path == fileName_ ? QString() : path + QStringLiteral(": ");
    // A template holds a little layout and is read on every export: a large one would cost
    // every export its time.
    const bool isTemplate = badFile == Error::BadTemplate;
    const qint64 fileBudget = isTemplate ? kTemplateBudget : xlsx::kMaxFileBytes;
    QByteArray bytes;
    QString why;
    InputFailure failure = InputFailure::None;
    // Regular files only (a FIFO would wait for a writer forever, a device never ends), and
    // the size checked before a byte is read.
    if (!readInputFile(path, fileBudget, bytes, &why, &failure))
        return fail(failure == InputFailure::NotFound   ? Error::NotFound
                    : failure == InputFailure::TooLarge ? badFile
                                                        : Error::CannotRead,
                    what + why);
    QString reason;
    qint64 budget = unpackBudget_ > 0 ? unpackBudget_ : xlsx::kMaxTotalBytes;
    if (isTemplate)
        budget = std::min(budget, kTemplateBudget);
    if (!xlsx::readWorkbook(bytes, book, &reason, budget))
        return fail(badFile, what + reason);
    return true;
}

bool ExcelEngine::open(int sheetIndex, OpenMode mode) {
    close();
    error_ = Error::None;
    errorString_.clear();
    if (fileName_.isEmpty())
        return fail(Error::NoFileName, QStringLiteral("no file name"));

    auto book = std::make_unique<xlsx::Workbook>();
    const QFileInfo target(fileName_);
    bool fresh = true;
    if (mode == OpenMode::Read || (mode == OpenMode::Existing && target.exists())) {
        if (!load(fileName_, *book, Error::BadWorkbook))
            return false;
        fresh = false;
    } else if (mode == OpenMode::Replace) {
        QString why;
        if (!SafeFile::checkTarget(fileName_, &why))
            return fail(Error::CannotCreate, why);
        if (!target.absoluteDir().exists())
            return fail(Error::CannotCreate, QStringLiteral("no such directory"));
    }
    if (fresh) {
        if (QFileInfo::exists(templatePath())) {
            if (!load(templatePath(), *book, Error::BadTemplate))
                return false;
        } else {
            book->sheets.emplace_back(QStringLiteral("Sheet1"));
        }
    }
    if (sheetIndex < 1 || std::size_t(sheetIndex) > book->sheets.size())
        return fail(Error::NoSuchSheet, QStringLiteral("no worksheet %1").arg(sheetIndex));

    const xlsx::Range used = book->sheets[std::size_t(sheetIndex - 1)].usedRange();
    book_ = std::move(book);
    sheetIndex_ = sheetIndex;
    startRow_ = used.firstRow;
    startColumn_ = used.firstColumn;
    rowCount_ = used.rowCount;
    columnCount_ = used.columnCount;
    // A new file exists only once saved, so it counts as changed from the start.
    dirty_ = fresh;
    isOpen_ = true;
    return true;
}

bool ExcelEngine::storeCell(int row, int column, const QVariant& value, bool centred) {
    xlsx::Cell& cell = book_->sheets[std::size_t(sheetIndex_ - 1)].cell(row, column);
    if (value.isValid() && value.typeId() != QMetaType::Bool && !xlsx::isNumber(value))
        cell.value = value.toString();
    else
        cell.value = value;
    cell.centred = centred;
    dirty_ = true;
    return true;
}

bool ExcelEngine::setCellData(int row, int column, const QVariant& value) {
    if (!isOpen_)
        return fail(Error::NotOpen, QStringLiteral("not open"));
    if (!onSheet(row, column))
        return fail(Error::BadCell,
                    QStringLiteral("cell %1,%2 outside the sheet").arg(row).arg(column));
    const QString why = unstorable(value);
    if (!why.isEmpty())
        return fail(Error::BadCell,
                    QStringLiteral("%1%2: %3").arg(columnName(column)).arg(row).arg(why));
    return storeCell(row, column, value, true);
}

bool ExcelEngine::writeTable(const ExcelTable& table, const Progress& progress) {
    if (!isOpen_)
        return fail(Error::NotOpen, QStringLiteral("not open"));
    if (table.columnCount() > xlsx::kMaxColumns || table.rowCount() > xlsx::kMaxRows - 1)
        return fail(Error::BadCell, QStringLiteral("table larger than a sheet"));
    for (int c = 0; c < table.columnCount(); ++c) {
        if (const auto& text = table.header(c); text && !setCellData(1, c + 1, *text))
            return false;
    }
    for (int r = 0; r < table.rowCount(); ++r) {
        for (int c = 0; c < table.columnCount(); ++c) {
            if (const auto& text = table.text(r, c); text && !setCellData(r + 2, c + 1, *text))
                return false;
        }
        if (progress && !progress(r + 1))
            break;
    }
    return save();
}

bool ExcelEngine::writeAllData(const QList<QVariantList>& rows) {
    if (!isOpen_)
        return fail(Error::NotOpen, QStringLiteral("not open"));
    if (rows.isEmpty() || rows.first().isEmpty())
        return fail(Error::BadCell, QStringLiteral("nothing to write"));
    const qsizetype width = rows.first().size();
    if (rows.size() > xlsx::kMaxRows || width > xlsx::kMaxColumns)
        return fail(Error::BadCell, QStringLiteral("block larger than a sheet"));
    for (qsizetype r = 0; r < rows.size(); ++r) {
        for (qsizetype c = 0; c < qMin(width, rows[r].size()); ++c) {
            const QString why = unstorable(rows[r][c]);
            if (!why.isEmpty())
                return fail(
                    Error::BadCell,
                    QStringLiteral("%1%2: %3").arg(columnName(int(c + 1))).arg(r + 1).arg(why));
        }
    }
    for (qsizetype r = 0; r < rows.size(); ++r) {
        for (qsizetype c = 0; c < qMin(width, rows[r].size()); ++c)
            storeCell(int(r + 1), int(c + 1), rows[r][c], false);
    }
    return true;
}

bool ExcelEngine::readAllData(QList<QVariantList>& rows) const {
    if (!isOpen_)
        return false;
    const xlsx::Worksheet& sheet = book_->sheets[std::size_t(sheetIndex_ - 1)];
    rows.append(sheet.values(sheet.usedRange()));
    return true;
}

bool ExcelEngine::readBlock(int firstRow, int firstColumn, int rowCount, int columnCount,
                            QList<QVariantList>& rows) const {
    if (!isOpen_ || rowCount < 0 || columnCount < 0 || !onSheet(firstRow, firstColumn) ||
        qint64(firstRow) + rowCount - 1 > xlsx::kMaxRows ||
        qint64(firstColumn) + columnCount - 1 > xlsx::kMaxColumns)
        return false;
    const xlsx::Worksheet& sheet = book_->sheets[std::size_t(sheetIndex_ - 1)];
    rows.append(sheet.values({firstRow, firstColumn, rowCount, columnCount}));
    return true;
}

bool ExcelEngine::save() {
    if (!isOpen_)
        return fail(Error::NotOpen, QStringLiteral("not open"));
    if (!dirty_)
        return true;

    const QFileInfo target(fileName_);
    if (target.isFile() && !target.isWritable())
        return fail(Error::ReplaceFailed, QStringLiteral("is read-only"));

    // The writer needs a path of its own; its output is then copied into a save file beside
    // the target, which replaces the target only once complete.
    QTemporaryFile scratch(QDir::tempPath() + QStringLiteral("/velorin-XXXXXX.xlsx"));
    if (!scratch.open())
        return fail(Error::SaveFailed, scratch.errorString());
    scratch.close();
    QString reason;
    if (!xlsx::writeWorkbook(*book_, scratch.fileName(), sheetIndex_ - 1, &reason))
        return fail(Error::SaveFailed, reason);
    bool replaceFailed = false;
    if (!xlsx::installScratch(scratch.fileName(), fileName_, &replaceFailed, &reason))
        return fail(replaceFailed ? Error::ReplaceFailed : Error::SaveFailed, reason);
    dirty_ = false;
    return true;
}

int ExcelEngine::addSheet(const QString& name) {
    if (!isOpen_) {
        fail(Error::NotOpen, QStringLiteral("not open"));
        return 0;
    }
    dirty_ = true;
    for (std::size_t i = 0; i < book_->sheets.size(); ++i) {
        if (book_->sheets[i].name().compare(name, Qt::CaseInsensitive) == 0) {
            book_->sheets[i] = xlsx::Worksheet(name);
            return int(i) + 1;
        }
    }
    book_->sheets.emplace_back(name);
    return int(book_->sheets.size());
}

bool ExcelEngine::selectSheet(int sheetIndex) {
    if (!isOpen_)
        return fail(Error::NotOpen, QStringLiteral("not open"));
    if (sheetIndex < 1 || std::size_t(sheetIndex) > book_->sheets.size())
        return fail(Error::NoSuchSheet, QStringLiteral("no worksheet %1").arg(sheetIndex));
    const xlsx::Range used = book_->sheets[std::size_t(sheetIndex - 1)].usedRange();
    sheetIndex_ = sheetIndex;
    startRow_ = used.firstRow;
    startColumn_ = used.firstColumn;
    rowCount_ = used.rowCount;
    columnCount_ = used.columnCount;
    return true;
}

void ExcelEngine::close() {
    book_.reset();
    isOpen_ = false;
    dirty_ = false;
    sheetIndex_ = 0;
    rowCount_ = columnCount_ = startRow_ = startColumn_ = 0;
}
