#include "stdcolorlibrary.h"

#include "excelengine.h"
#include "frameport.h"
#include "stdcolorcommands.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>

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

void appendWord(QByteArray& out, int value) {
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>((value >> 8) & 0xFF));
}

} // namespace

bool readSheet(const ExcelEngine& engine, QList<QVariantList>& rows) {
    QList<QVariantList> used;
    if (!engine.isOpen() || engine.rowCount() < 1 || !engine.readAllData(used))
        return false;
    rows.clear();
    for (int r = 1; r < engine.startRow(); ++r)
        rows.append(QVariantList());
    for (QVariantList& row : used) {
        for (int c = 1; c < engine.startColumn(); ++c)
            row.prepend(QVariant());
        rows.append(row);
    }
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

int hundredths(const QString& text) {
    const qsizetype dot = text.indexOf(QLatin1Char('.'));
    const QString whole = dot < 0 ? text : text.left(dot);
    QString fraction = dot < 0 ? QString() : text.mid(dot + 1);
    fraction = fraction.left(2).leftJustified(2, QLatin1Char('0'));
    bool ok = false;
    const int value = (whole + fraction).toInt(&ok);
    return ok ? value : 0;
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

    for (int k = 0; k < lib.count; ++k) {
        const int row = kFirstCardRow + k;
        Card card;
        card.text1 = cellText(cell(rows, row, 0)).simplified();
        card.text2 = cellText(cell(rows, row, 1)).simplified();
        if (card.text1.toUtf8().size() > kCardTextBytes ||
            card.text2.toUtf8().size() > kCardTextBytes)
            return errorAtRow("The card texts in row %1 are longer than 16 bytes!", row);
        if (!integerCell(cell(rows, row, 2), card.colourRows) ||
            !integerCell(cell(rows, row, 3), card.value2) ||
            !integerCell(cell(rows, row, 4), card.checkValue) || card.colourRows < 0 ||
            stdcolor::cardCheckValue(card.text1, card.text2, card.colourRows, card.value2) !=
                static_cast<uint16_t>(card.checkValue))
            return error("Failed to write standard color card information!");
        lib.colourRows += card.colourRows;
        lib.cards.append(card);
    }

    if (rows.size() < kLastCardRow + lib.colourRows)
        return error("Error in Excel file with not enough rows of standard color cards!");

    QByteArray names, values;
    for (int i = 0; i < lib.colourRows; ++i) {
        const int row = kFirstColourRow + i;
        QByteArray name = cellText(cell(rows, row, 0)).simplified().toUtf8();
        if (name.size() > kNameBytes)
            return errorAtRow("The colour name in row %1 is longer than 20 bytes!", row);
        names.append(name.leftJustified(kNameBytes, '\0'));
        for (int c = 1; c <= 3; ++c)
            appendWord(values, hundredths(cellText(cell(rows, row, c))));
    }
    lib.stream = names + values;
    out = lib;
    return std::nullopt;
}

std::optional<Problem> loadFile(const QString& path, const QString& model, Library& out) {
    if (QFileInfo(path).fileName() != QLatin1String("StdColor.xlsx"))
        return Problem{text("Error"), text("File error, unable to write!"), true};
    ExcelEngine engine(path);
    if (!engine.open())
        return error("Can't open file!");
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
                      "Error in Excel file with not enough rows of standard color cards!"),
    QT_TRANSLATE_NOOP("FirstPageFor510", "The colour name in row %1 is longer than 20 bytes!"),
    QT_TRANSLATE_NOOP("FirstPageFor510", "Failed to write standard color card information!"),
    QT_TRANSLATE_NOOP("FirstPageFor510", "Failed to write standard color card data!"),
    QT_TRANSLATE_NOOP("FirstPageFor510", "Failed to write!"),
    QT_TRANSLATE_NOOP("FirstPageFor510", "Failed to write empty packet!"),
};
