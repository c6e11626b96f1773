// Positions on a worksheet: one cell, and an inclusive block of cells.
#pragma once

namespace sheet {

// Rows and columns count from 1 (row 1 .. kMaxRows, column 1 = A .. kMaxColumns).
struct CellRef {
    int row = 1;
    int column = 1;
    bool operator==(const CellRef&) const = default;
    auto operator<=>(const CellRef&) const = default;  // row-major order
};

// An inclusive block of cells.
struct CellRect {
    int top = 1;
    int left = 1;
    int bottom = 1;
    int right = 1;
    bool operator==(const CellRect&) const = default;
    bool contains(int row, int column) const { return row >= top && row <= bottom && column >= left && column <= right; }
    int rowCount() const { return bottom - top + 1; }
    int columnCount() const { return right - left + 1; }
};

}  // namespace sheet
