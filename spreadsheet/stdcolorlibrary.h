#pragma once

#include "commandstatus.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>
#include <QVector>

#include <functional>
#include <optional>

class ExcelEngine;
class FramePort;

// The standard colour library as a workbook lays it out, checked in full before anything is
// sent, and the sequence that writes it into the instrument: count, one record per card, the
// colour stream in 256-byte blocks, the closing empty packet.
namespace stdcolorlib {

constexpr int kFirstCardRow = 3; // spreadsheet rows, from 1
constexpr int kLastCardRow = 49;
constexpr int kFirstColourRow = 50;
constexpr int kMaxCards = kLastCardRow - kFirstCardRow + 1;
constexpr int kNameBytes = 20;
constexpr int kCardTextBytes = 16;
constexpr uint32_t kCardBase = 0x2000;
constexpr uint32_t kCardStride = 48;
constexpr uint32_t kStreamBase = 0x40000;
constexpr int kBlock = 256;
// Columns A to E are all a library uses.
constexpr int kColumns = 5;
// A card counts its colour rows in a 16-bit field of its record: more are refused, not wrapped.
constexpr int kMaxCardColourRows = 65535;
// The colour stream (a 20-byte name and three 16-bit values per colour) goes into the
// instrument's text area from kStreamBase up to the next area; what does not fit is lost there.
// One bound for the library maker and the writer.
constexpr int kStreamBytes = 0x40000;
constexpr int kColourBytes = kNameBytes + 6;
constexpr int kMaxColours = kStreamBytes / kColourBytes; // 10082
constexpr int kLastLibraryRow = kLastCardRow + kMaxColours;
// A value as the instrument keeps it: hundredths in a signed 16-bit field.
constexpr int kLowestHundredths = -32768;
constexpr int kHighestHundredths = 32767;

struct Card {
    QString text1, text2;
    int colourRows = 0; // column C: how many colour rows belong to this card
    int value2 = 0;     // column D, passed through
    int checkValue = 0; // column E
};

struct Library {
    int count = 0;
    int countCheckValue = 0;
    QVector<Card> cards;
    int colourRows = 0;
    QByteArray stream; // names (20 bytes each), then values (3 words each)
};

// Why a library is not written: the box to show. warning is true for the boxes the program
// shows as warnings rather than information.
struct Problem {
    QString title;
    QString text;
    bool warning = false;
};

// A colour value in hundredths ("12.3" -> 1230, "-0.05" -> -5, "7" -> 700), or nothing for a
// text that is not a number with at most two decimals from -327.68 to 327.67: what the
// instrument holds exactly, nothing cut or wrapped. Shared by the maker and the writer.
std::optional<int> valueHundredths(const QString& text);
// A cell's text as a spreadsheet shows it (numbers in their shortest form).
QString cellText(const QVariant& cell);

// The open sheet's cells from A1 on (rows and columns before the used range are empty), so
// that spreadsheet positions can be addressed as they are written: columns A to E only, and
// rows up to the used range's last row but no further than a library can reach. False for an
// empty sheet.
bool readSheet(const ExcelEngine& engine, QList<QVariantList>& rows);

// Reads and checks the rows of the workbook's first sheet (from A1, see readSheet) against
// the connected model. Every check is made here, so a library is sent whole or not at all.
std::optional<Problem> parse(const QList<QVariantList>& rows, const QString& model, Library& out);

// The whole file step of the library writer: the file must be named StdColor.xlsx, exist (no
// template or empty workbook stands in for a missing one), open, not be empty, and pass parse.
std::optional<Problem> loadFile(const QString& path, const QString& model, Library& out);

int blockCount(const Library& library);

// Sends the library; progress(blocksSentBefore) before each data block. The caller holds the
// pause lock. Returns the problem, or nothing when the instrument took the library.
std::optional<Problem> write(FramePort& port, const Library& library,
                             const std::function<void(int)>& progress = {});

// After a library was taken the instrument may still say something: read it away.
void drain(FramePort& port);

// The translated texts of the writer, in the workspace page's context.
QString text(const char* source);

} // namespace stdcolorlib
