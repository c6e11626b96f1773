// The content of a worksheet and a workbook, with no file format and no object model: cells with
// values and format ids, row heights, column widths, row and column formats, merged areas, the
// selection and the page setup. The object model edits it; the .xls writer, reader and the
// renderer read and fill it.
#pragma once

#include "sheet/model/CellFormat.h"
#include "sheet/model/CellRect.h"
#include "sheet/model/MergeList.h"
#include "sheet/model/RowCells.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace sheet {

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

// Cells of a sheet, or of a band of its rows, in row-major order as (position, cell) pairs:
//     for (const auto& [ref, cell] : sheet.cells()) ...
class CellView {
public:
    class iterator {
    public:
        using value_type = std::pair<CellRef, const Cell&>;
        using difference_type = std::ptrdiff_t;
        // Inline: saving a workbook walks every cell more than once.
        value_type operator*() const
        {
            const RowCells::Run& run = cells_->runs()[run_];
            return {CellRef{row_, run.first + static_cast<int>(index_ - run.offset)}, cells_->cells()[index_]};
        }
        iterator& operator++()
        {
            ++index_;
            if (index_ < cells_->size()) {
                const RowCells::Run& run = cells_->runs()[run_];
                if (index_ >= run.offset + run.count)
                    ++run_;
            } else {
                settle();
            }
            return *this;
        }
        iterator operator++(int)
        {
            iterator before = *this;
            ++*this;
            return before;
        }
        bool operator==(const iterator& other) const { return row_ == other.row_ && index_ == other.index_; }

    private:
        friend class CellView;
        iterator(const RowTable* rows, int row, int endRow);
        void settle();  // onto the next cell that exists, or the end
        const RowTable* rows_ = nullptr;
        const RowCells* cells_ = nullptr;  // of row_
        int row_ = 0;
        int endRow_ = 0;
        std::size_t run_ = 0;
        std::size_t index_ = 0;  // into the row's cells
    };

    iterator begin() const { return {rows_, firstRow_, endRow_}; }
    iterator end() const { return {rows_, endRow_, endRow_}; }
    bool empty() const { return begin() == end(); }
    std::size_t size() const;

private:
    friend class SheetData;
    static constexpr std::size_t kUncounted = ~std::size_t{0};
    // Rows firstRow .. endRow - 1.
    CellView(const RowTable& rows, int firstRow, int endRow, std::size_t count = kUncounted);
    const RowTable* rows_;
    int firstRow_;
    int endRow_;
    std::size_t count_;
};

class SheetData {
public:
    std::string name;

    // Cells in row-major order. A cell exists once it has a value or a format of its own.
    CellView cells() const;
    // The cells of rows top..bottom.
    CellView cellsInRows(int top, int bottom) const;
    std::size_t cellCount() const { return cellCount_; }
    // The cells of one row, in column order (none for a row outside the sheet).
    const RowCells& cellsOfRow(int row) const;
    // Null outside the sheet or where no cell exists.
    const Cell* find(int row, int column) const;
    // The cell, created when missing with the format of its row (or else its column). Throws
    // SheetError for a position outside the sheet.
    Cell& at(int row, int column)
    {
        if (column < 1 || column > kMaxColumns) [[unlikely]]
            throwOutside("column", column);
        bool added = false;
        Cell& cell = rowCells(row)->findOrAdd(column, added);
        if (added) {
            cell.format = fallbackFormat(row, column);
            counted(row, column);
        }
        return cell;
    }
    // Calls visit(cell) for every cell of the block, row by row, creating the missing ones as at()
    // does: one pass along each row.
    template <class Visit>
    void visitBlock(const CellRect& block, Visit&& visit);
    // Calls visit(row, column, cell) for every cell of the block that exists, row by row.
    template <class Visit>
    void visitExisting(const CellRect& block, Visit&& visit) { walkExisting(*this, block, visit); }
    template <class Visit>
    void visitExisting(const CellRect& block, Visit&& visit) const { walkExisting(*this, block, visit); }
    void erase(int row, int column);
    void clearCells();
    // Gives back the room the row's cells hold beyond what they take, once a row whose cells came
    // one by one is complete.
    void trimRow(int row);

    // Format of cells created later in a whole row or column (set by formatting whole rows/columns).
    std::optional<FormatId> rowFormat(int row) const;
    std::optional<FormatId> columnFormat(int column) const;
    void setRowFormat(int row, FormatId id) { rowFormats_[row] = id; }
    void setColumnFormat(int column, FormatId id);
    void eraseRowFormat(int row) { rowFormats_.erase(row); }
    void eraseColumnFormat(int column);
    const std::map<int, FormatId>& rowFormats() const { return rowFormats_; }
    const std::map<int, FormatId>& columnFormats() const { return columnFormats_; }
    void clearRowAndColumnFormats();

    // Heights in points and widths in characters; only those set differ from the standard.
    double rowHeight(int row) const;
    double columnWidth(int column) const;
    void setRowHeight(int row, double points) { rowHeights_[row] = points; }
    void setColumnWidth(int column, double characters) { columnWidths_[column] = characters; }
    const std::map<int, double>& rowHeights() const { return rowHeights_; }
    const std::map<int, double>& columnWidths() const { return columnWidths_; }

    // Merged areas, each with more than one cell, none overlapping another.
    MergeList merges;
    // The merged area that holds the cell, if any.
    const CellRect* mergeAt(int row, int column) const { return merges.find(row, column); }

    // The block from the first to the last row and column that hold a cell; nullopt when none.
    // Kept up to date as cells come and go.
    std::optional<CellRect> usedRange() const;

    CellRect selection{1, 1, 1, 1};
    CellRef activeCell{1, 1};

    PageSetup pageSetup;

private:
    static constexpr FormatId kNoFormat = ~FormatId{0};

    RowCells* rowCells(int row)
    {
        if (row < 1 || row > kMaxRows) [[unlikely]]
            throwOutside("row", row);
        return &rows_.make(row);
    }
    // "Cell position out of range: row 0."
    [[noreturn]] static void throwOutside(const char* what, int position);
    // The cells left..right of the row, side by side, made where missing (RowCells::fill).
    Cell* filledRow(int row, int left, int right, bool& added);
    // Gives the cells filledRow made among cells[0 .. right - left] their row's format (else
    // their column's) and counts them.
    void settleAdded(int row, int left, int right, Cell* cells);
    FormatId fallbackFormat(int row, int column) const;
    void counted(int row, int column);    // a cell was added
    // `count` cells were added to the row from `left` to `right`, their columns already counted.
    void countedInRow(int row, int left, int right, std::size_t count);
    void uncounted(int row, int column);  // a cell was removed

    RowTable rows_;
    std::size_t cellCount_ = 0;
    // Cells per column, and the used range's edges (top 0 when there are no cells).
    std::array<std::uint32_t, kMaxColumns + 1> cellsInColumn_{};
    int top_ = 0, bottom_ = 0, left_ = 0, right_ = 0;

    std::map<int, FormatId> rowFormats_;
    std::map<int, FormatId> columnFormats_;
    std::array<FormatId, kMaxColumns + 1> columnFormatOf_ = filledWith(kNoFormat);  // columnFormats_, by column
    std::map<int, double> rowHeights_;
    std::map<int, double> columnWidths_;

    template <class Self, class Visit>
    static void walkExisting(Self& self, const CellRect& block, Visit& visit)
    {
        const int last = std::min(block.bottom, self.rows_.end() - 1);
        for (int row = std::max(block.top, 1); row <= last;) {
            auto* cells = self.rows_.find(row);
            if (!cells) {
                row = RowTable::nextBand(row);
                continue;
            }
            cells->forEachIn(block.left, block.right, [&](int column, auto& cell) { visit(row, column, cell); });
            ++row;
        }
    }

    static std::array<FormatId, kMaxColumns + 1> filledWith(FormatId id)
    {
        std::array<FormatId, kMaxColumns + 1> a;
        a.fill(id);
        return a;
    }
};

template <class Visit>
void SheetData::visitBlock(const CellRect& rect, Visit&& visit)
{
    // A copy: the cells' formats written below could otherwise be the block's edges, as far as
    // the compiler knows, and be read again for every cell.
    const CellRect block = rect;
    if (block.left > block.right)
        return;
    for (int row = block.top; row <= block.bottom; ++row) {
        bool added = false;
        Cell* cells = filledRow(row, block.left, block.right, added);
        if (added) [[unlikely]]
            settleAdded(row, block.left, block.right, cells);
        for (int column = block.left; column <= block.right; ++column)
            visit(cells[column - block.left]);
    }
}

class WorkbookData {
public:
    FormatTable formats;
    std::vector<std::unique_ptr<SheetData>> sheets;
    int activeSheet = 0;  // index into sheets
};

}  // namespace sheet
