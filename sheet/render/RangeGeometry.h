// Where the columns and rows of a range fall in its picture: pixel offsets from the range's
// top-left corner, also for columns and rows outside it (negative before it), so that merged
// areas and overflowing text that reach outside the range are placed correctly.
#pragma once

#include "sheet/model/SheetData.h"

#include <QRect>

#include <algorithm>
#include <cstddef>
#include <vector>

namespace sheet::render {

class RangeGeometry {
public:
    RangeGeometry(const SheetData& sheet, const CellRect& range);

    const CellRect& range() const { return range_; }
    int width() const { return x(range_.right + 1); }   // pixels covered by the range's columns
    int height() const { return y(range_.bottom + 1); }  // pixels covered by the range's rows

    // Left edge of a column (1 .. kMaxColumns + 1) and top edge of a row (1 .. kMaxRows + 1), both
    // the pixel of the grid line before it.
    int x(int column) const
    {
        return columnX_[static_cast<std::size_t>(std::clamp(column, 1, kMaxColumns + 1) - 1)];
    }
    int y(int row) const
    {
        if (row >= range_.top && row <= range_.bottom + 1)
            return rowY_[static_cast<std::size_t>(row - range_.top)];
        return yOutside(row);
    }
    int columnWidth(int column) const { return x(column + 1) - x(column); }
    int rowHeight(int row) const { return y(row + 1) - y(row); }

    // The cells' area from its first grid lines to its closing ones, both included.
    QRect outline(const CellRect& cells) const;

    // Rows of the range whose area, closing line included, reaches pixel y or below it: the first
    // one (range.bottom + 1 when none does); and those that start at pixel y or above it: the last
    // one (range.top - 1 when none does). Together they find the rows that paint between two y.
    int firstRowReaching(int y) const;
    int lastRowStartingBy(int y) const;
    // The same for the range's columns and pixel x: together they find the columns that paint
    // between two x.
    int firstColumnReaching(int x) const;
    int lastColumnStartingBy(int x) const;

private:
    int yOutside(int row) const;

    const SheetData& sheet_;
    CellRect range_;
    std::vector<int> columnX_;  // index c - 1 for column c, kMaxColumns + 1 entries
    std::vector<int> rowY_;     // index r - range.top for rows top .. bottom + 1
};

}  // namespace sheet::render
