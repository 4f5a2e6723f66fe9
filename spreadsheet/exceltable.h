#pragma once
// A table of texts for ExcelEngine::writeTable, shaped like a table widget: an optional header
// text per column and an optional text per cell. Where a text is missing the spreadsheet cell
// is left as it is, as a table widget cell without an item leaves it.

#include <QString>

#include <optional>
#include <vector>

class ExcelTable {
  public:
    ExcelTable(int rows = 0, int columns = 0)
        : rows_(rows < 0 ? 0 : rows), columns_(columns < 0 ? 0 : columns),
          header_(std::size_t(columns_)), cells_(std::size_t(rows_) * std::size_t(columns_)) {}

    int rowCount() const { return rows_; }
    int columnCount() const { return columns_; }

    // Positions outside the table are ignored, as QTableWidget::setItem ignores them.
    void setHeader(int column, const QString& text) {
        if (column >= 0 && column < columns_)
            header_[std::size_t(column)] = text;
    }
    void setText(int row, int column, const QString& text) {
        if (contains(row, column))
            cells_[index(row, column)] = text;
    }

    const std::optional<QString>& header(int column) const {
        static const std::optional<QString> none;
        return column >= 0 && column < columns_ ? header_[std::size_t(column)] : none;
    }
    const std::optional<QString>& text(int row, int column) const {
        static const std::optional<QString> none;
        return contains(row, column) ? cells_[index(row, column)] : none;
    }

  private:
    bool contains(int row, int column) const {
        return row >= 0 && row < rows_ && column >= 0 && column < columns_;
    }
    std::size_t index(int row, int column) const {
        return std::size_t(row) * std::size_t(columns_) + std::size_t(column);
    }

    int rows_;
    int columns_;
    std::vector<std::optional<QString>> header_;
    std::vector<std::optional<QString>> cells_;
};
