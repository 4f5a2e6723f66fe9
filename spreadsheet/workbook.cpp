#include "workbook.h"

#include <algorithm>

namespace xlsx {

Cell& Worksheet::cell(int row, int column) {
    Row& cells = rows_.empty() || rows_.rbegin()->first < row
                     ? rows_.emplace_hint(rows_.end(), row, Row{})->second
                     : rows_[row];
    if (cells.empty() || cells.back().first < column)
        return cells.emplace_back(column, Cell{}).second;
    const auto at = std::lower_bound(cells.begin(), cells.end(), column,
                                     [](const auto& entry, int c) { return entry.first < c; });
    if (at != cells.end() && at->first == column)
        return at->second;
    return cells.emplace(at, column, Cell{})->second;
}

void Worksheet::load(int row, int column, QVariant value) {
    Row& cells = rows_.empty() || rows_.rbegin()->first < row
                     ? rows_.emplace_hint(rows_.end(), row, Row{})->second
                     : (rows_.rbegin()->first == row ? rows_.rbegin()->second : rows_[row]);
    if (!cells.empty() && cells.back().first >= column)
        unsorted_ = true;
    cells.emplace_back(column, Cell{std::move(value), false});
}

void Worksheet::finishLoading() {
    if (!unsorted_)
        return;
    unsorted_ = false;
    const auto byColumn = [](const auto& a, const auto& b) { return a.first < b.first; };
    for (auto& [row, cells] : rows_) {
        if (std::adjacent_find(cells.begin(), cells.end(), [](const auto& a, const auto& b) {
                return a.first >= b.first;
            }) == cells.end())
            continue;
        // Stable, so that of two values for one cell the later one is the last of its run.
        std::stable_sort(cells.begin(), cells.end(), byColumn);
        Row kept;
        kept.reserve(cells.size());
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (i + 1 < cells.size() && cells[i + 1].first == cells[i].first)
                continue;
            kept.push_back(std::move(cells[i]));
        }
        cells = std::move(kept);
    }
}

Range Worksheet::usedRange() const {
    int firstRow = 0;
    int lastRow = 0;
    int firstColumn = kMaxColumns;
    int lastColumn = 1;
    for (const auto& [row, cells] : rows_) {
        if (cells.empty())
            continue;
        if (firstRow == 0)
            firstRow = row;
        lastRow = row;
        firstColumn = std::min(firstColumn, cells.front().first);
        lastColumn = std::max(lastColumn, cells.back().first);
    }
    if (firstRow == 0)
        return {};
    return {firstRow, firstColumn, lastRow - firstRow + 1, lastColumn - firstColumn + 1};
}

QList<QVariantList> Worksheet::values(const Range& range) const {
    QList<QVariantList> out;
    if (range.isEmpty())
        return out;
    out.reserve(range.rowCount);
    const int lastRow = range.firstRow + range.rowCount - 1;
    const int lastColumn = range.firstColumn + range.columnCount - 1;
    auto r = rows_.lower_bound(range.firstRow);
    for (int row = range.firstRow; row <= lastRow; ++row) {
        QVariantList values(range.columnCount);
        if (r != rows_.end() && r->first == row) {
            for (const auto& [column, cell] : r->second) {
                if (column >= range.firstColumn && column <= lastColumn)
                    values[column - range.firstColumn] = cell.value;
            }
            ++r;
        }
        out.append(std::move(values));
    }
    return out;
}

QString columnName(int column) {
    if (column < 1 || column > kMaxColumns)
        return {};
    QString name;
    while (column > 0) {
        const int digit = (column - 1) % 26;
        name.prepend(QChar(u'A' + digit));
        column = (column - 1) / 26;
    }
    return name;
}

std::optional<CellPosition> parseCellReference(QStringView text) {
    qsizetype i = 0;
    int column = 0;
    // Three letters reach XFD; a fourth would be past the sheet anyway.
    while (i < text.size() && i < 4) {
        const char16_t c = text[i].unicode();
        if (c >= u'A' && c <= u'Z')
            column = column * 26 + (c - u'A' + 1);
        else if (c >= u'a' && c <= u'z')
            column = column * 26 + (c - u'a' + 1);
        else
            break;
        ++i;
    }
    if (i == 0 || column > kMaxColumns)
        return std::nullopt;
    const qsizetype digits = text.size() - i;
    if (digits < 1 || digits > 7 || text[i] == u'0')
        return std::nullopt;
    int row = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        row = row * 10 + (c - u'0');
    }
    if (row > kMaxRows)
        return std::nullopt;
    return CellPosition{row, column};
}

} // namespace xlsx
