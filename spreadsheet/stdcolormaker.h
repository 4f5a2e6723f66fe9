#pragma once
// Makes the standard colour library workbook (StdColor.xlsx) from a plain list of colours, with
// every count and check value worked out, laid out as the library writer reads it.
//
// The list is comma-separated UTF-8 text (a byte-order mark is allowed). The first line is a
// heading and is not read; empty lines are skipped. Every further line is one colour:
//
//   colour name, card text 1, card text 2, value 1, value 2, value 3[, card value]
//
// - colour name: at most 20 bytes of UTF-8, not empty;
// - card text 1 and 2: the card the colour belongs to, at most 16 bytes each (text 2 may be
//   empty). Colours with the same two texts form one card; cards come in the order of their
//   first colour, and a card's colours in the order of the list. At most 47 cards and 10082
//   colours in all (what the instrument's memory holds);
// - values: decimal numbers with at most two decimals ("12.3", "-0.05"), from -327.68 to
//   327.67, which is what the instrument's signed 16-bit field in hundredths holds;
// - card value: optional whole number 0..65535 stored in the card record as it is (0 when
//   absent); the lines of one card must not disagree about it.
// Texts have runs of white space collapsed and their ends trimmed, as the writer reads them.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

#include <optional>

namespace stdcolormaker {

struct Problem {
    int line = 0; // the list's line (from 1), 0 when the problem is not one line's
    QString text; // translated, naming the line where there is one
};

struct Made {
    int cards = 0;
    int colours = 0;
};

// The workbook's first sheet from A1, for ExcelEngine::writeAllData.
std::optional<Problem> build(const QByteArray& list, const QString& model,
                             QList<QVariantList>& rows, Made* made = nullptr);

// Reads the list (a regular file of at most 8 MB), builds the sheet and saves it to outPath,
// which must be named StdColor.xlsx as the writer requires and may not be the list itself. The
// previous file stays unless the whole workbook was saved.
std::optional<Problem> make(const QString& listPath, const QString& model, const QString& outPath,
                            Made* made = nullptr);

} // namespace stdcolormaker
