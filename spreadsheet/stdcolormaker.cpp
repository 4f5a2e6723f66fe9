#include "stdcolormaker.h"

#include "csvtable.h"
#include "excelengine.h"
#include "safefile.h"
#include "stdcolorcommands.h"
#include "stdcolorlibrary.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>
#include <cstdint>

namespace stdcolormaker {

namespace {

const char kContext[] = "StdColorMaker";

QString text(const char* source) {
    return QCoreApplication::translate(kContext, source);
}

Problem at(int line, const char* source) {
    return {line, text(source).arg(line)};
}

// A list of the most colours a library holds, each on a generous line, is far below this; a
// larger file is no colour list.
constexpr qint64 kMaxListBytes = qint64(8) << 20;

struct Colour {
    QString name;
    int hundredths[3] = {};
};

struct Card {
    QString text1, text2;
    std::optional<int> value;
    int valueLine = 0;
    QList<Colour> colours;
};

} // namespace

std::optional<Problem> build(const QByteArray& list, const QString& model,
                             QList<QVariantList>& rows, Made* made) {
    if (model.simplified().isEmpty())
        return Problem{0, text(QT_TRANSLATE_NOOP("StdColorMaker", "No model name is given."))};
    QList<csv::Record> records;
    csv::ParseError parseError;
    if (!csv::parse(list, records, &parseError)) {
        if (parseError.kind == csv::ParseError::NotUtf8)
            return Problem{0,
                           text(QT_TRANSLATE_NOOP("StdColorMaker", "The list is not UTF-8 text."))};
        return at(parseError.line,
                  QT_TRANSLATE_NOOP("StdColorMaker", "Line %1: a quoted field is not closed."));
    }
    if (!records.isEmpty())
        records.removeFirst(); // the heading

    QList<Card> cards;
    int colours = 0;
    for (const csv::Record& r : records) {
        const QStringList& f = r.fields;
        if (f.size() != 6 && f.size() != 7)
            return Problem{
                r.line,
                text(QT_TRANSLATE_NOOP("StdColorMaker",
                                       "Line %1: %2 fields where a colour has 6 or 7 (colour name, "
                                       "card text 1, card text 2, three values, card value)."))
                    .arg(r.line)
                    .arg(f.size())};
        // A workbook cannot hold control characters, and the instrument could not show them.
        for (int k = 0; k < 3; ++k)
            if (std::any_of(f.at(k).begin(), f.at(k).end(), [](QChar ch) {
                    return ch.category() == QChar::Other_Control && !ch.isSpace();
                }))
                return at(r.line, QT_TRANSLATE_NOOP("StdColorMaker",
                                                    "Line %1: a name or card text holds a control "
                                                    "character."));
        Colour colour;
        colour.name = f.at(0).simplified();
        if (colour.name.isEmpty())
            return at(r.line,
                      QT_TRANSLATE_NOOP("StdColorMaker", "Line %1: the colour name is empty."));
        if (colour.name.toUtf8().size() > stdcolorlib::kNameBytes)
            return at(r.line,
                      QT_TRANSLATE_NOOP("StdColorMaker",
                                        "Line %1: the colour name is longer than 20 bytes."));
        const QString text1 = f.at(1).simplified(), text2 = f.at(2).simplified();
        if (text1.toUtf8().size() > stdcolorlib::kCardTextBytes ||
            text2.toUtf8().size() > stdcolorlib::kCardTextBytes)
            return at(r.line, QT_TRANSLATE_NOOP("StdColorMaker",
                                                "Line %1: a card text is longer than 16 bytes."));
        for (int v = 0; v < 3; ++v) {
            const std::optional<int> value = stdcolorlib::valueHundredths(f.at(3 + v).trimmed());
            if (!value)
                return Problem{
                    r.line,
                    text(QT_TRANSLATE_NOOP("StdColorMaker",
                                           "Line %1: value %2 is not a number with at most two "
                                           "decimals from -327.68 to 327.67."))
                        .arg(r.line)
                        .arg(v + 1)};
            colour.hundredths[v] = *value;
        }
        std::optional<int> cardValue;
        if (f.size() == 7 && !f.at(6).trimmed().isEmpty()) {
            bool ok = false;
            cardValue = f.at(6).trimmed().toInt(&ok);
            if (!ok || *cardValue < 0 || *cardValue > 0xFFFF)
                return at(r.line,
                          QT_TRANSLATE_NOOP(
                              "StdColorMaker",
                              "Line %1: the card value is not a whole number from 0 to 65535."));
        }

        auto card = std::find_if(cards.begin(), cards.end(), [&](const Card& c) {
            return c.text1 == text1 && c.text2 == text2;
        });
        if (card == cards.end()) {
            if (cards.size() == stdcolorlib::kMaxCards)
                return at(r.line, QT_TRANSLATE_NOOP(
                                      "StdColorMaker",
                                      "Line %1: this colour starts a 48th card, but the library "
                                      "holds at most 47 cards."));
            cards.append(Card{text1, text2, {}, 0, {}});
            card = cards.end() - 1;
        }
        if (cardValue) {
            if (card->value && *card->value != *cardValue)
                return Problem{
                    r.line,
                    text(QT_TRANSLATE_NOOP("StdColorMaker",
                                           "Line %1: the card value differs from the one given "
                                           "for the same card on line %2."))
                        .arg(r.line)
                        .arg(card->valueLine)};
            card->value = cardValue;
            card->valueLine = r.line;
        }
        // The instrument's memory, not a card's count field, is what runs out first.
        static_assert(stdcolorlib::kMaxColours <= stdcolorlib::kMaxCardColourRows);
        if (colours == stdcolorlib::kMaxColours)
            return Problem{
                r.line,
                text(QT_TRANSLATE_NOOP("StdColorMaker", "Line %1: one colour more than the %2 the "
                                                        "instrument's library holds."))
                    .arg(r.line)
                    .arg(stdcolorlib::kMaxColours)};
        card->colours.append(colour);
        ++colours;
    }
    if (colours == 0)
        return Problem{0, text(QT_TRANSLATE_NOOP("StdColorMaker", "The list holds no colours."))};

    // Row 1 as wide as the card rows, as a spreadsheet program saves a sheet.
    QList<QVariantList> out;
    out.append({model.simplified(), QVariant(), QVariant(), QVariant(), QVariant()});
    const int n = static_cast<int>(cards.size());
    out.append({double(n), double(stdcolor::countCheckValue(n))});
    for (const Card& c : cards) {
        const int count = static_cast<int>(c.colours.size());
        const int value = c.value.value_or(0);
        out.append({c.text1, c.text2, double(count), double(value),
                    double(stdcolor::cardCheckValue(c.text1, c.text2, count, value))});
    }
    while (out.size() < stdcolorlib::kFirstColourRow - 1)
        out.append(QVariantList());
    for (const Card& c : cards)
        for (const Colour& colour : c.colours)
            // Numbers, which the writer reads back in their shortest form: exactly these digits.
            out.append({colour.name, colour.hundredths[0] / 100.0, colour.hundredths[1] / 100.0,
                        colour.hundredths[2] / 100.0});
    rows = out;
    if (made)
        *made = {n, colours};
    return std::nullopt;
}

std::optional<Problem> make(const QString& listPath, const QString& model, const QString& outPath,
                            Made* made) {
    if (QFileInfo(outPath).fileName() != QLatin1String("StdColor.xlsx"))
        return Problem{0, text(QT_TRANSLATE_NOOP(
                              "StdColorMaker",
                              "The library must be named StdColor.xlsx: the writer takes no other "
                              "name."))};
    QByteArray list;
    QString why;
    if (!readInputFile(listPath, kMaxListBytes, list, &why))
        return Problem{
            0, text(QT_TRANSLATE_NOOP("StdColorMaker", "Cannot read %1: %2")).arg(listPath, why)};
    // The list is never the file written, whatever the two names.
    SafeFile::protect(listPath, SafeFile::Role::Input);
    struct Unprotect {
        QString path;
        ~Unprotect() { SafeFile::unprotect(path); }
    } unprotect{listPath};
    QList<QVariantList> rows;
    if (std::optional<Problem> problem = build(list, model, rows, made))
        return problem;
    ExcelEngine engine(outPath);
    if (!engine.open(1, ExcelEngine::OpenMode::Replace) || !engine.writeAllData(rows) ||
        !engine.save())
        return Problem{0, text(QT_TRANSLATE_NOOP("StdColorMaker", "Cannot save %1: %2"))
                              .arg(outPath, engine.errorString())};
    engine.close();
    return std::nullopt;
}

} // namespace stdcolormaker
