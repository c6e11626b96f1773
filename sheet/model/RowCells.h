// A cell, the cells of one row of a worksheet, and the rows of a worksheet. A sheet is filled row
// by row and mostly left to right, in long stretches of neighbouring cells, so a row keeps runs of
// neighbouring columns, with the cells of all its runs side by side in one vector in column order.
// Memory follows the cells that exist (a row with a cell in column A and one in column IV holds
// two cells, not 256), a cell is found by its run in a step or two, and cells appended at the end
// of a run cost no search and no shifting. A block of cells is added to a row in one pass, with
// room for exactly the cells the row then holds, so a sheet formatted block by block carries no
// spare capacity. Rows are made in bands as cells arrive.
#pragma once

#include "sheet/model/CellFormat.h"
#include "sheet/model/CellText.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace sheet {

// Empty, a number (times of day are fractions of a day) or a text (UTF-8), in 16 bytes.
using CellValue = std::variant<std::monostate, double, CellText>;

struct Cell {
    CellValue value;
    FormatId format = 0;
    bool operator==(const Cell&) const = default;
};

class RowCells {
public:
    // Neighbouring columns first .. first + count - 1, whose cells start at cells()[offset].
    struct Run {
        std::uint16_t first;
        std::uint16_t count;
        std::uint32_t offset;
    };

    bool empty() const { return cells_.empty(); }
    std::size_t size() const { return cells_.size(); }
    // Only for a row that is not empty.
    int firstColumn() const { return runs_.front().first; }
    int lastColumn() const { return runs_.back().first + runs_.back().count - 1; }

    const Cell* find(int column) const;
    Cell* find(int column);
    // The cell of the column, added empty (format 0) when missing; `added` says which.
    Cell& findOrAdd(int column, bool& added)
    {
        // Cells are mostly written again where the row's last run already holds them.
        if (!runs_.empty()) {
            const Run& last = runs_.back();
            if (column >= last.first && column < last.first + last.count) [[likely]] {
                added = false;
                return cells_[last.offset + static_cast<std::size_t>(column - last.first)];
            }
        }
        return findOrAddElsewhere(column, added);
    }
    // Makes every column from left to right hold a cell and returns the cell of `left`; the
    // cells of left..right then lie side by side. Added cells are empty with the format kAdded,
    // for the caller to set; `added` says whether there are any. A row that grows by more than
    // one cell grows to exactly its new size.
    static constexpr FormatId kAdded = ~FormatId{0};
    Cell* fill(int left, int right, bool& added)
    {
        // A row written left to right is one run, and a block formatted again lies within it.
        added = false;
        if (!runs_.empty()) {
            const Run& last = runs_.back();
            if (last.first <= left && right < last.first + last.count) [[likely]]
                return &cells_[last.offset + static_cast<std::size_t>(left - last.first)];
        }
        return fillAcross(left, right, added);
    }
    // False when there was no such cell.
    bool erase(int column);
    // Gives back the room the row holds beyond its cells.
    void shrinkToFit();
    void clear();

    const std::vector<Run>& runs() const { return runs_; }
    const std::vector<Cell>& cells() const { return cells_; }

    // visit(column, cell) for each cell from `left` to `right` that exists, left to right.
    template <class Visit>
    void forEachIn(int left, int right, Visit&& visit) { walk(*this, left, right, visit); }
    template <class Visit>
    void forEachIn(int left, int right, Visit&& visit) const { walk(*this, left, right, visit); }

private:
    // The first run that ends at or after the column (runs_.size() when none).
    std::size_t runReaching(int column) const;
    void shiftOffsets(std::size_t fromRun, int by);
    Cell* fillAcross(int left, int right, bool& added);
    Cell& findOrAddElsewhere(int column, bool& added);

    template <class Self, class Visit>
    static void walk(Self& self, int left, int right, Visit& visit)
    {
        for (std::size_t i = self.runReaching(left); i < self.runs_.size() && self.runs_[i].first <= right; ++i) {
            const Run& run = self.runs_[i];
            const int from = std::max<int>(left, run.first);
            const int to = std::min<int>(right, run.first + run.count - 1);
            for (int column = from; column <= to; ++column)
                visit(column, self.cells_[run.offset + static_cast<std::size_t>(column - run.first)]);
        }
    }

    std::vector<Run> runs_;
    std::vector<Cell> cells_;
};

// The rows of a sheet, made in bands of kBand rows as cells arrive, so that a sheet with a cell in
// its last row holds one band, not 65,536 rows. Rows count from 1.
class RowTable {
public:
    static constexpr int kBand = 256;

    // Null where no band was made.
    const RowCells* find(int row) const
    {
        const auto band = static_cast<std::size_t>((row - 1) / kBand);
        if (row < 1 || band >= bands_.size() || bands_[band].empty())
            return nullptr;
        return &bands_[band][static_cast<std::size_t>((row - 1) % kBand)];
    }
    RowCells* find(int row) { return const_cast<RowCells*>(static_cast<const RowTable&>(*this).find(row)); }
    // The row (1 .. kMaxRows), its band made when missing.
    RowCells& make(int row)
    {
        const auto band = static_cast<std::size_t>(row - 1) / kBand;
        if (band < bands_.size() && !bands_[band].empty()) [[likely]]
            return bands_[band][static_cast<std::size_t>(row - 1) % kBand];
        return makeBand(row);
    }
    // One past the last row of the last band.
    int end() const { return static_cast<int>(bands_.size()) * kBand + 1; }
    // The first row of the band after the row's.
    static int nextBand(int row) { return ((row - 1) / kBand + 1) * kBand + 1; }
    std::size_t bandsMade() const;
    void clear() { std::vector<std::vector<RowCells>>().swap(bands_); }

private:
    RowCells& makeBand(int row);

    std::vector<std::vector<RowCells>> bands_;
};

}  // namespace sheet
