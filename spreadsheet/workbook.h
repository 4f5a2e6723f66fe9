#pragma once
// The in-memory workbook the engine reads into and writes from: sheets of cell values, nothing
// of formatting except the centring the table writer asks for.

#include <QString>
#include <QVariant>

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace xlsx {

// The largest sheet a spreadsheet program accepts.
constexpr int kMaxRows = 1048576;
constexpr int kMaxColumns = 16384;
// Longest text a cell may hold, in UTF-16 units.
constexpr int kMaxTextLength = 32767;

struct Cell {
    QVariant value; // invalid: a cell that is present (formatted, say) but holds nothing
    bool centred = false;
};

// 1-based, as in the spreadsheet.
struct CellPosition {
    int row = 0;
    int column = 0;
};

struct Range {
    int firstRow = 0;
    int firstColumn = 0;
    int rowCount = 0;
    int columnCount = 0;

    bool isEmpty() const { return rowCount == 0 || columnCount == 0; }
    std::int64_t area() const { return std::int64_t(rowCount) * columnCount; }
};

class Worksheet {
  public:
    explicit Worksheet(QString name = {}) : name_(std::move(name)) {}

    const QString& name() const { return name_; }
    void setName(const QString& name) { name_ = name; }

    // Rows and columns must lie within the sheet limits; callers check.
    Cell& cell(int row, int column);
    // For a reader: stores a value whatever the order the cells arrive in, in constant time; a
    // later value for the same cell wins. finishLoading() must follow before the sheet is used.
    void load(int row, int column, QVariant value);
    // Puts the cells loaded out of order in place: one sort per such row, so a sheet whose rows
    // run right to left costs n log n, not n squared.
    void finishLoading();

    // Bounding box of the cells present (empty when there are none).
    Range usedRange() const;
    // The values of a range, row by row; missing cells are invalid variants.
    QList<QVariantList> values(const Range& range) const;

    // Visits the cells row by row, each row from left to right.
    template <typename F> void forEach(F&& f) const {
        for (const auto& [row, cells] : rows_) {
            for (const auto& [column, cell] : cells)
                f(row, column, cell);
        }
    }

  private:
    // Cells of a row sorted by column: sheets are filled left to right, so appending is the
    // common case and walking a row touches contiguous memory.
    using Row = std::vector<std::pair<int, Cell>>;

    QString name_;
    std::map<int, Row> rows_;
    bool unsorted_ = false;
};

struct Workbook {
    std::vector<Worksheet> sheets;
};

// Spreadsheet column letters: 1 = A ... 26 = Z, 27 = AA; empty outside 1..kMaxColumns.
QString columnName(int column);
// "B12" style references (no "$", letters of either case); nullopt when malformed or outside
// the sheet limits.
std::optional<CellPosition> parseCellReference(QStringView text);

} // namespace xlsx
