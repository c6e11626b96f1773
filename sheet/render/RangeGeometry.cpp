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

int RangeGeometry::yOutside(int row) const
{
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

int RangeGeometry::firstRowReaching(int y) const
{
    // Row r covers rowY_[r - top] .. rowY_[r - top + 1]; offsets never decrease.
    const auto end = std::lower_bound(rowY_.begin() + 1, rowY_.end(), y);
    return range_.top + static_cast<int>(end - rowY_.begin()) - 1;
}

int RangeGeometry::lastRowStartingBy(int y) const
{
    const auto after = std::upper_bound(rowY_.begin(), rowY_.end() - 1, y);
    return range_.top + static_cast<int>(after - rowY_.begin()) - 1;
}

int RangeGeometry::firstColumnReaching(int x) const
{
    // Column c covers columnX_[c - 1] .. columnX_[c].
    const auto begin = columnX_.begin();
    return static_cast<int>(std::lower_bound(begin + range_.left, begin + range_.right + 1, x) - begin);
}

int RangeGeometry::lastColumnStartingBy(int x) const
{
    const auto begin = columnX_.begin();
    return static_cast<int>(std::upper_bound(begin + range_.left - 1, begin + range_.right, x) - begin);
}

QRect RangeGeometry::outline(const CellRect& cells) const
{
    const int left = x(cells.left);
    const int top = y(cells.top);
    return QRect(left, top, x(cells.right + 1) - left + 1, y(cells.bottom + 1) - top + 1);
}

}  // namespace sheet::render
