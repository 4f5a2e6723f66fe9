#include "stdcolorlibrary.h"

#include "excelengine.h"
#include "frameport.h"
#include "stdcolorcommands.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>

namespace stdcolorlib {

namespace {

const char kContext[] = "FirstPageFor510";

Problem error(const char* source) {
    return {text("Error"), text(source), false};
}

Problem errorAtRow(const char* source, int row) {
    return {text("Error"), text(source).arg(row), false};
}

// The cell at spreadsheet row r (from 1) and column c (0 = A) of rows read from the first row.
QVariant cell(const QList<QVariantList>& rows, int r, int c) {
    const int i = r - 1;
    if (i < 0 || i >= rows.size() || c < 0 || c >= rows.at(i).size())
        return {};
    return rows.at(i).at(c);
}

bool integerCell(const QVariant& value, int& out) {
    bool ok = false;
    if (value.typeId() == QMetaType::Double) {
        const double d = value.toDouble();
        ok = d == static_cast<double>(static_cast<long long>(d)) && d >= -2147483648.0 &&
             d <= 2147483647.0;
        out = ok ? static_cast<int>(d) : 0;
        return ok;
    }
    out = cellText(value).trimmed().toInt(&ok);
    return ok;
}

// A blank cell reads as 0: the record's check value still decides whether the card is right.
bool integerOrBlank(const QVariant& value, int& out) {
    if (!value.isValid() ||
        (value.typeId() == QMetaType::QString && value.toString().trimmed().isEmpty())) {
        out = 0;
        return true;
    }
    return integerCell(value, out);
}

void appendWord(QByteArray& out, int value) {
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>((value >> 8) & 0xFF));
}

} // namespace

bool readSheet(const ExcelEngine& engine, QList<QVariantList>& rows) {
    if (!engine.isOpen() || engine.rowCount() < 1)
        return false;
    // Only the window a library can use is read: a cell far to the right or far down must not
    // make every row before it cost memory.
    const int lastRow = std::min(engine.startRow() + engine.rowCount() - 1, kLastLibraryRow);
    QList<QVariantList> window;
    if (!engine.readBlock(1, 1, lastRow, kColumns, window))
        return false;
    rows = std::move(window);
    return true;
}

QString text(const char* source) {
    return QCoreApplication::translate(kContext, source);
}

QString cellText(const QVariant& cell) {
    if (cell.typeId() == QMetaType::Double)
        return QString::number(cell.toDouble(), 'g', QLocale::FloatingPointShortest);
    if (cell.typeId() == QMetaType::Bool)
        return cell.toBool() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    return cell.toString();
}

std::optional<int> valueHundredths(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^(-?)([0-9]*)(?:\\.([0-9]{0,2}))?$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch() || (m.capturedLength(2) == 0 && m.capturedLength(3) == 0) ||
        m.capturedLength(2) > 6)
        return std::nullopt;
    const int whole = m.captured(2).isEmpty() ? 0 : m.captured(2).toInt();
    const int fraction = m.captured(3).leftJustified(2, QLatin1Char('0')).toInt();
    const int value = (whole * 100 + fraction) * (m.captured(1).isEmpty() ? 1 : -1);
    if (value < kLowestHundredths || value > kHighestHundredths)
        return std::nullopt;
    return value;
}

std::optional<Problem> parse(const QList<QVariantList>& rows, const QString& model, Library& out) {
    Library lib;
    if (cellText(cell(rows, 1, 0)).simplified() != model.simplified())
        return Problem{text("Error"),
                       text("The written contents do not match and cannot be written!"), true};

    if (!integerCell(cell(rows, 2, 0), lib.count) ||
        !integerCell(cell(rows, 2, 1), lib.countCheckValue) || lib.count < 0 ||
        stdcolor::countCheckValue(lib.count) != static_cast<uint16_t>(lib.countCheckValue))
        return error("Failed to write the total number of standard color cards!");
    if (lib.count > kMaxCards)
        return errorAtRow("Too many standard color cards: the card rows must end by row 49, but "
                          "the count asks for rows up to %1!",
                          kFirstCardRow + lib.count - 1);

    qint64 totalRows = 0; // 47 cards of up to 65535 rows each: wider than an int
    for (int k = 0; k < lib.count; ++k) {
        const int row = kFirstCardRow + k;
        Card card;
        card.text1 = cellText(cell(rows, row, 0)).simplified();
        card.text2 = cellText(cell(rows, row, 1)).simplified();
        if (card.text1.toUtf8().size() > kCardTextBytes ||
            card.text2.toUtf8().size() > kCardTextBytes)
            return errorAtRow("The card texts in row %1 are longer than 16 bytes!", row);
        // C goes out in 16 bits: a larger count would be wrapped by the instrument, so it is
        // refused even when its check value matches the wrapped record.
        if (!integerOrBlank(cell(rows, row, 2), card.colourRows) ||
            !integerOrBlank(cell(rows, row, 3), card.value2) ||
            !integerCell(cell(rows, row, 4), card.checkValue) || card.colourRows < 0 ||
            card.colourRows > kMaxCardColourRows ||
            stdcolor::cardCheckValue(card.text1, card.text2, card.colourRows, card.value2) !=
                static_cast<uint16_t>(card.checkValue))
            return error("Failed to write standard color card information!");
        totalRows += card.colourRows;
        lib.cards.append(card);
    }
    if (totalRows > kMaxColours)
        return Problem{text("Error"),
                       text("The cards ask for %1 colour rows, more than the %2 a library holds!")
                           .arg(totalRows)
                           .arg(kMaxColours),
                       false};
    lib.colourRows = static_cast<int>(totalRows);

    if (rows.size() < kLastCardRow + lib.colourRows)
        return error("Error in Excel file with not enough rows of standard color cards!");

    QByteArray names, values;
    for (int i = 0; i < lib.colourRows; ++i) {
        const int row = kFirstColourRow + i;
        QByteArray name = cellText(cell(rows, row, 0)).simplified().toUtf8();
        if (name.size() > kNameBytes)
            return errorAtRow("The colour name in row %1 is longer than 20 bytes!", row);
        names.append(name.leftJustified(kNameBytes, '\0'));
        for (int c = 1; c <= 3; ++c) {
            // What the instrument cannot hold exactly is refused, never cut or wrapped: an error
            // value (#DIV/0!), a text, an empty cell, a third decimal, 400.
            const QVariant value = cell(rows, row, c);
            const QString shown = cellText(value).trimmed();
            const std::optional<int> units = valueHundredths(shown);
            if (!units) {
                const QString at = QChar(u'A' + c) + QString::number(row);
                return Problem{
                    text("Error"),
                    shown.isEmpty()
                        ? text("Cell %1 is empty: a colour value is a number with at most two "
                               "decimals from -327.68 to 327.67!")
                              .arg(at)
                        : text("Cell %1 holds \"%2\", not a number with at most two decimals "
                               "from -327.68 to 327.67!")
                              .arg(at, shown.left(40)),
                    false};
            }
            appendWord(values, *units);
        }
    }
    lib.stream = names + values;
    out = lib;
    return std::nullopt;
}

std::optional<Problem> loadFile(const QString& path, const QString& model, Library& out) {
    if (QFileInfo(path).fileName() != QLatin1String("StdColor.xlsx"))
        return Problem{text("Error"), text("File error, unable to write!"), true};
    ExcelEngine engine(path);
    // The largest library (10082 colour rows) unpacks to about 3 MB; a file that unpacks to
    // more is no library, and refusing it early bounds what it can cost.
    engine.setUnpackBudget(qint64(8) << 20);
    if (!engine.open(1, ExcelEngine::OpenMode::Read)) {
        if (engine.lastError() == ExcelEngine::Error::NotFound)
            return Problem{text("Error"), text("The library %1 was not found!").arg(path), true};
        // The engine's reason (not a regular file, a budget the file exceeds) says what to fix.
        Problem problem = error("Can't open file!");
        problem.text += QLatin1Char('\n') + engine.errorString();
        return problem;
    }
    QList<QVariantList> rows;
    if (engine.rowCount() < 1 || !readSheet(engine, rows))
        return error("Failed to read excel file!");
    engine.close();
    return parse(rows, model, out);
}

int blockCount(const Library& library) {
    return (static_cast<int>(library.stream.size()) + kBlock - 1) / kBlock;
}

std::optional<Problem> write(FramePort& port, const Library& library,
                             const std::function<void(int)>& progress) {
    if (WriteStdColorCount(port, library.count, library.countCheckValue) < 0)
        return error("Failed to write the total number of standard color cards!");
    for (int k = 0; k < library.cards.size(); ++k) {
        const Card& c = library.cards.at(k);
        if (WriteStdColorCard(port,
                              static_cast<int>(kCardBase + kCardStride * static_cast<uint32_t>(k)),
                              c.text1, c.text2, c.colourRows, c.value2, c.checkValue) < 0)
            return error("Failed to write standard color card information!");
    }
    const int blocks = blockCount(library);
    for (int i = 0; i < blocks; ++i) {
        if (progress)
            progress(i);
        const QByteArray block = library.stream.mid(i * kBlock, kBlock);
        if (WriteBlock(port, kStreamBase + static_cast<uint32_t>(i * kBlock), block,
                       static_cast<int>(block.size())) < 0)
            return error("Failed to write standard color card data!");
    }
    const CommandStatus closed = WriteBlock(
        port, kStreamBase + static_cast<uint32_t>(library.stream.size()), QByteArray(), 0);
    if (closed == Status::BadHeader)
        return error("Failed to write!");
    if (closed < 0)
        return error("Failed to write empty packet!");
    if (progress)
        progress(blocks);
    return std::nullopt;
}

void drain(FramePort& port) {
    QByteArray discard;
    port.receiveFrame(discard, 1000, 1024, false);
}

} // namespace stdcolorlib

// Texts of the writer, for the translation files.
[[maybe_unused]] static const char* const kTexts[] = {
    QT_TRANSLATE_NOOP("FirstPageFor510", "Error"),
    QT_TRANSLATE_NOOP("FirstPageFor510", "File error, unable to write!"),
    QT_TRANSLATE_NOOP("FirstPageFor510", "Can't open file!"),
    QT_TRANSLATE_NOOP("FirstPageFor510", "Failed to read excel file!"),
    QT_TRANSLATE_NOOP("FirstPageFor510",
                      "The written contents do not match and cannot be written!"),
    QT_TRANSLATE_NOOP("FirstPageFor510",
                      "Failed to write the total number of standard color cards!"),
    QT_TRANSLATE_NOOP("FirstPageFor510", "Too many standard color cards: the card rows must end by "
                                         "row 49, but the count asks for rows up to %1!"),
    QT_TRANSLATE_NOOP("FirstPageFor510", "The card texts in row %1 are longer than 16 bytes!"),
    QT_TRANSLATE_NOOP("FirstPageFor510",
                      "The cards ask for %1 colour rows, more than the %2 a library holds!"),
    QT_TRANSLATE_NOOP("FirstPageFor510",
                      "Error in Excel file with not enough rows of standard color cards!"),
    QT_TRANSLATE_NOOP("FirstPageFor510", "The colour name in row %1 is longer than 20 bytes!"),
    QT_TRANSLATE_NOOP("FirstPageFor510", "Cell %1 is empty: a colour value is a number with at "
                                         "most two decimals from -327.68 to 327.67!"),
    QT_TRANSLATE_NOOP("FirstPageFor510", "Cell %1 holds \"%2\", not a number with at most two "
                                         "decimals from -327.68 to 327.67!"),
    QT_TRANSLATE_NOOP("FirstPageFor510", "The library %1 was not found!"),
    QT_TRANSLATE_NOOP("FirstPageFor510", "Failed to write standard color card information!"),
    QT_TRANSLATE_NOOP("FirstPageFor510", "Failed to write standard color card data!"),
    QT_TRANSLATE_NOOP("FirstPageFor510", "Failed to write!"),
    QT_TRANSLATE_NOOP("FirstPageFor510", "Failed to write empty packet!"),
};
