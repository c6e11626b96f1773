// Where the columns and rows of a range fall in its picture: pixel offsets from the range's
// top-left corner, also for columns and rows outside it (negative before it), so that merged
// areas and overflowing text that reach outside the range are placed correctly.
#pragma once

#include "sheet/model/SheetData.h"

#include <QRect>

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
    int x(int column) const;
    int y(int row) const;
    int columnWidth(int column) const { return x(column + 1) - x(column); }
    int rowHeight(int row) const { return y(row + 1) - y(row); }

    // The cells' area from its first grid lines to its closing ones, both included.
    QRect outline(const CellRect& cells) const;

private:
    const SheetData& sheet_;
    CellRect range_;
    std::vector<int> columnX_;  // index c - 1 for column c, kMaxColumns + 1 entries
    std::vector<int> rowY_;     // index r - range.top for rows top .. bottom + 1
};

}  // namespace sheet::render
