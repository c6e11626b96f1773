// The content of a worksheet and a workbook, with no file format and no object model: cells with
// values and format ids, row heights, column widths, row and column formats, merged areas, the
// selection and the page setup. The object model edits it; the .xls writer, reader and the
// renderer read and fill it.
#pragma once

#include "sheet/model/CellFormat.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

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

// Empty, a number (times of day are fractions of a day) or a text (UTF-8).
using CellValue = std::variant<std::monostate, double, std::string>;

struct Cell {
    CellValue value;
    FormatId format = 0;
    bool operator==(const Cell&) const = default;
};

struct PageSetup {
    std::string printArea;  // empty: no print area
    double leftMargin = 0.7 * 72;  // points
    double rightMargin = 0.7 * 72;
    double topMargin = 0.75 * 72;
    double bottomMargin = 0.75 * 72;
    double headerMargin = 0.3 * 72;
    double footerMargin = 0.3 * 72;
    int printComments = xlPrintNoComments;
    int orientation = xlPortrait;
    int paperSize = xlPaperLetter;
    std::optional<int> zoom = 100;  // percent; nullopt: fit to pages
    int fitToPagesWide = 1;
    int fitToPagesTall = 1;
    bool operator==(const PageSetup&) const = default;
};

// Sizes a new sheet starts with (Arial 10 as the default font).
inline constexpr double kStandardColumnWidth = 8.43;  // characters
inline constexpr double kStandardRowHeight = 12.75;   // points

class SheetData {
public:
    std::string name;

    // Cells in row-major order. A cell exists once it has a value or a format of its own.
    const std::map<CellRef, Cell>& cells() const { return cells_; }
    const Cell* find(int row, int column) const;
    // The cell, created when missing with the format of its row (or else its column).
    Cell& at(int row, int column);
    // Calls visit(cell) for every cell of the block, row by row, creating the missing ones as at()
    // does. Walks the storage in order instead of looking each cell up.
    template <class Visit>
    void visitBlock(const CellRect& block, Visit&& visit);
    void erase(int row, int column);
    void clearCells();

    // Format of cells created later in a whole row or column (set by formatting whole rows/columns).
    std::optional<FormatId> rowFormat(int row) const;
    std::optional<FormatId> columnFormat(int column) const;
    void setRowFormat(int row, FormatId id) { rowFormats_[row] = id; }
    void setColumnFormat(int column, FormatId id) { columnFormats_[column] = id; }
    void eraseRowFormat(int row) { rowFormats_.erase(row); }
    void eraseColumnFormat(int column) { columnFormats_.erase(column); }
    const std::map<int, FormatId>& rowFormats() const { return rowFormats_; }
    const std::map<int, FormatId>& columnFormats() const { return columnFormats_; }
    void clearRowAndColumnFormats() { rowFormats_.clear(); columnFormats_.clear(); }

    // Heights in points and widths in characters; only those set differ from the standard.
    double rowHeight(int row) const;
    double columnWidth(int column) const;
    void setRowHeight(int row, double points) { rowHeights_[row] = points; }
    void setColumnWidth(int column, double characters) { columnWidths_[column] = characters; }
    const std::map<int, double>& rowHeights() const { return rowHeights_; }
    const std::map<int, double>& columnWidths() const { return columnWidths_; }

    // Merged areas, each with more than one cell, none overlapping another.
    std::vector<CellRect> merges;
    // The merged area that holds the cell, if any.
    const CellRect* mergeAt(int row, int column) const;

    // The block from the first to the last row and column that hold a cell; nullopt when none.
    std::optional<CellRect> usedRange() const;

    CellRect selection{1, 1, 1, 1};
    CellRef activeCell{1, 1};

    PageSetup pageSetup;

private:
    // The cell at() reached last. Formatting calls come one after another for the same cell, and
    // this spares each of them a walk down the tree. Never copied: a copy would point into another
    // map. Only at() sets it, so const readers never write.
    struct LastCell {
        CellRef ref;
        Cell* cell = nullptr;
        LastCell() = default;
        LastCell(const LastCell&) {}
        LastCell& operator=(const LastCell&) { cell = nullptr; return *this; }
    };

    std::map<CellRef, Cell> cells_;
    LastCell last_;
    std::map<int, FormatId> rowFormats_;
    std::map<int, FormatId> columnFormats_;
    std::map<int, double> rowHeights_;
    std::map<int, double> columnWidths_;
};

template <class Visit>
void SheetData::visitBlock(const CellRect& block, Visit&& visit)
{
    for (int row = block.top; row <= block.bottom; ++row) {
        auto it = cells_.lower_bound(CellRef{row, block.left});
        for (int column = block.left; column <= block.right; ++column, ++it) {
            const CellRef ref{row, column};
            if (it == cells_.end() || it->first != ref) {
                it = cells_.emplace_hint(it, ref, Cell{});
                if (auto f = rowFormat(row))
                    it->second.format = *f;
                else if (auto c = columnFormat(column))
                    it->second.format = *c;
            }
            visit(it->second);
        }
    }
}

class WorkbookData {
public:
    FormatTable formats;
    std::vector<std::unique_ptr<SheetData>> sheets;
    int activeSheet = 0;  // index into sheets
};

}  // namespace sheet
