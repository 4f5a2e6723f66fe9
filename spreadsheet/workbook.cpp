#include "workbook.h"

#include <algorithm>

namespace xlsx {

Cell& Worksheet::cell(int row, int column) {
    const std::uint64_t k = key(row, column);
    // Writers fill sheets in order; appending at the end with a hint keeps that linear.
    if (cells_.empty() || cells_.rbegin()->first < k)
        return cells_.emplace_hint(cells_.end(), k, Cell{})->second;
    return cells_[k];
}

const Cell* Worksheet::find(int row, int column) const {
    const auto it = cells_.find(key(row, column));
    return it == cells_.end() ? nullptr : &it->second;
}

Range Worksheet::usedRange() const {
    if (cells_.empty())
        return {};
    const int firstRow = int(cells_.begin()->first >> 32);
    const int lastRow = int(cells_.rbegin()->first >> 32);
    int firstColumn = kMaxColumns;
    int lastColumn = 1;
    for (const auto& entry : cells_) {
        const int column = int(entry.first & 0xffffffffu);
        firstColumn = std::min(firstColumn, column);
        lastColumn = std::max(lastColumn, column);
    }
    return {firstRow, firstColumn, lastRow - firstRow + 1, lastColumn - firstColumn + 1};
}

QList<QVariantList> Worksheet::values(const Range& range) const {
    QList<QVariantList> rows;
    if (range.isEmpty())
        return rows;
    rows.reserve(range.rowCount);
    const int lastColumn = range.firstColumn + range.columnCount - 1;
    for (int r = 0; r < range.rowCount; ++r) {
        const int row = range.firstRow + r;
        QVariantList values(range.columnCount);
        const std::uint64_t last = key(row, lastColumn);
        for (auto it = cells_.lower_bound(key(row, range.firstColumn));
             it != cells_.end() && it->first <= last; ++it)
            values[int(it->first & 0xffffffffu) - range.firstColumn] = it->second.value;
        rows.append(std::move(values));
    }
    return rows;
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
