// Pixel offsets of columns and rows.
#include "sheet/render/RangeGeometry.h"

#include "sheet/render/PixelMetrics.h"

#include <algorithm>

namespace sheet::render {

RangeGeometry::RangeGeometry(const SheetData& sheet, const CellRect& range)
    : sheet_(sheet), range_(range), columnX_(kMaxColumns + 1), rowY_(range.rowCount() + 1)
{
    // Offsets are kept relative to column 1 first and shifted once the range's left edge is known.
    int x = 0;
    for (int c = 1; c <= kMaxColumns; ++c) {
        columnX_[c - 1] = x;
        x += columnWidthPixels(sheet.columnWidth(c));
    }
    columnX_[kMaxColumns] = x;
    const int origin = columnX_[range.left - 1];
    for (int& value : columnX_)
        value -= origin;

    int y = 0;
    for (int r = range.top; r <= range.bottom; ++r) {
        rowY_[r - range.top] = y;
        y += rowHeightPixels(sheet.rowHeight(r));
    }
    rowY_[range.rowCount()] = y;
}

int RangeGeometry::x(int column) const
{
    if (column < 1)
        column = 1;
    if (column > kMaxColumns + 1)
        column = kMaxColumns + 1;
    return columnX_[column - 1];
}

int RangeGeometry::y(int row) const
{
    if (row >= range_.top && row <= range_.bottom + 1)
        return rowY_[row - range_.top];
    // Rows outside the range are rare (merged areas reaching out of it): sum them as needed.
    int y = 0;
    if (row < range_.top) {
        for (int r = std::max(row, 1); r < range_.top; ++r)
            y -= rowHeightPixels(sheet_.rowHeight(r));
        return y;
    }
    y = rowY_.back();
    for (int r = range_.bottom + 1; r < std::min(row, kMaxRows + 1); ++r)
        y += rowHeightPixels(sheet_.rowHeight(r));
    return y;
}

QRect RangeGeometry::outline(const CellRect& cells) const
{
    const int left = x(cells.left);
    const int top = y(cells.top);
    return QRect(left, top, x(cells.right + 1) - left + 1, y(cells.bottom + 1) - top + 1);
}

}  // namespace sheet::render
