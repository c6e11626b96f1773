// Cell storage of a worksheet: a row of cells per sheet row, with the count of cells per row and
// per column kept so that the used range is known without a walk over the cells.
#include "sheet/model/SheetData.h"

#include "sheet/model/SheetError.h"

#include <string>

namespace sheet {

// ---- Walking the cells ----

CellView::CellView(const RowTable& rows, int firstRow, int endRow, std::size_t count)
    : rows_(&rows), firstRow_(std::max(firstRow, 1)), endRow_(std::min(endRow, rows.end())), count_(count)
{
    if (firstRow_ > endRow_)
        firstRow_ = endRow_;
}

std::size_t CellView::size() const
{
    if (count_ != kUncounted)
        return count_;
    std::size_t n = 0;
    for (const auto& entry : *this) {
        (void)entry;
        ++n;
    }
    return n;
}

CellView::iterator::iterator(const RowTable* rows, int row, int endRow) : rows_(rows), row_(row), endRow_(endRow)
{
    settle();
}

void CellView::iterator::settle()
{
    while (row_ < endRow_) {
        cells_ = rows_->find(row_);
        if (!cells_) {
            row_ = std::min(RowTable::nextBand(row_), endRow_);
        } else if (index_ >= cells_->size()) {
            ++row_;
        } else {
            return;
        }
        run_ = 0;
        index_ = 0;
    }
    cells_ = nullptr;
    row_ = endRow_;
    index_ = 0;
}

CellView SheetData::cells() const { return CellView(rows_, 1, rows_.end(), cellCount_); }

CellView SheetData::cellsInRows(int top, int bottom) const
{
    if (bottom < top || bottom < 1)
        return CellView(rows_, 1, 1);
    return CellView(rows_, top, bottom + 1);
}

// ---- Finding and making cells ----

const Cell* SheetData::find(int row, int column) const
{
    const RowCells* cells = rows_.find(row);
    return cells ? cells->find(column) : nullptr;
}

const RowCells& SheetData::cellsOfRow(int row) const
{
    static const RowCells none;
    const RowCells* cells = rows_.find(row);
    return cells ? *cells : none;
}

void SheetData::throwOutside(const char* what, int position)
{
    throw SheetError("Cell position out of range: " + std::string(what) + " " + std::to_string(position) + ".");
}

Cell* SheetData::filledRow(int row, int left, int right, bool& added)
{
    if (left < 1 || right > kMaxColumns)
        throw SheetError("Cell position out of range: columns " + std::to_string(left) + " to " + std::to_string(right) + ".");
    return rowCells(row)->fill(left, right, added);
}

void SheetData::settleAdded(int row, int left, int right, Cell* cells)
{
    const FormatId formatOfRow = rowFormat(row).value_or(kNoFormat);
    int firstAdded = 0, lastAdded = 0;
    std::size_t added = 0;
    for (int column = left; column <= right; ++column) {
        Cell& cell = cells[column - left];
        if (cell.format != RowCells::kAdded)
            continue;
        const FormatId columnFormat = columnFormatOf_[static_cast<std::size_t>(column)];
        cell.format = formatOfRow != kNoFormat ? formatOfRow : columnFormat != kNoFormat ? columnFormat : 0;
        ++cellsInColumn_[static_cast<std::size_t>(column)];
        if (added++ == 0)
            firstAdded = column;
        lastAdded = column;
    }
    countedInRow(row, firstAdded, lastAdded, added);
}


void SheetData::erase(int row, int column)
{
    RowCells* cells = rows_.find(row);
    if (cells && cells->erase(column))
        uncounted(row, column);
}

void SheetData::trimRow(int row)
{
    if (RowCells* cells = rows_.find(row))
        cells->shrinkToFit();
}

void SheetData::clearCells()
{
    rows_.clear();
    cellCount_ = 0;
    cellsInColumn_.fill(0);
    top_ = bottom_ = left_ = right_ = 0;
}

void SheetData::counted(int row, int column)
{
    ++cellsInColumn_[static_cast<std::size_t>(column)];
    countedInRow(row, column, column, 1);
}

void SheetData::countedInRow(int row, int left, int right, std::size_t count)
{
    cellCount_ += count;
    if (top_ == 0) {
        top_ = bottom_ = row;
        left_ = left;
        right_ = right;
        return;
    }
    top_ = std::min(top_, row);
    bottom_ = std::max(bottom_, row);
    left_ = std::min(left_, left);
    right_ = std::max(right_, right);
}

void SheetData::uncounted(int row, int column)
{
    --cellCount_;
    --cellsInColumn_[static_cast<std::size_t>(column)];
    if (cellCount_ == 0) {
        top_ = bottom_ = left_ = right_ = 0;
        return;
    }
    // An edge moves inwards to the next row or column that still holds a cell.
    const auto rowEmpty = [&](int r) { return cellsOfRow(r).empty(); };
    if (row == top_)
        while (rowEmpty(top_))
            ++top_;
    if (row == bottom_)
        while (rowEmpty(bottom_))
            --bottom_;
    if (column == left_)
        while (cellsInColumn_[static_cast<std::size_t>(left_)] == 0)
            ++left_;
    if (column == right_)
        while (cellsInColumn_[static_cast<std::size_t>(right_)] == 0)
            --right_;
}

std::optional<CellRect> SheetData::usedRange() const
{
    if (cellCount_ == 0)
        return std::nullopt;
    return CellRect{top_, left_, bottom_, right_};
}

// ---- Row and column formats, heights and widths ----

FormatId SheetData::fallbackFormat(int row, int column) const
{
    if (!rowFormats_.empty())
        if (auto it = rowFormats_.find(row); it != rowFormats_.end())
            return it->second;
    const FormatId id = columnFormatOf_[static_cast<std::size_t>(column)];
    return id == kNoFormat ? 0 : id;
}

std::optional<FormatId> SheetData::rowFormat(int row) const
{
    if (rowFormats_.empty())
        return std::nullopt;
    auto it = rowFormats_.find(row);
    return it == rowFormats_.end() ? std::nullopt : std::optional<FormatId>(it->second);
}

std::optional<FormatId> SheetData::columnFormat(int column) const
{
    if (column < 1 || column > kMaxColumns)
        return std::nullopt;
    const FormatId id = columnFormatOf_[static_cast<std::size_t>(column)];
    return id == kNoFormat ? std::nullopt : std::optional<FormatId>(id);
}

void SheetData::setColumnFormat(int column, FormatId id)
{
    columnFormats_[column] = id;
    if (column >= 1 && column <= kMaxColumns)
        columnFormatOf_[static_cast<std::size_t>(column)] = id;
}

void SheetData::eraseColumnFormat(int column)
{
    columnFormats_.erase(column);
    if (column >= 1 && column <= kMaxColumns)
        columnFormatOf_[static_cast<std::size_t>(column)] = kNoFormat;
}

void SheetData::clearRowAndColumnFormats()
{
    rowFormats_.clear();
    columnFormats_.clear();
    columnFormatOf_.fill(kNoFormat);
}

double SheetData::rowHeight(int row) const
{
    auto it = rowHeights_.find(row);
    return it == rowHeights_.end() ? kStandardRowHeight : it->second;
}

double SheetData::columnWidth(int column) const
{
    auto it = columnWidths_.find(column);
    return it == columnWidths_.end() ? kStandardColumnWidth : it->second;
}

}  // namespace sheet
