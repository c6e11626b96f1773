// Cell storage of a worksheet.
#include "sheet/model/SheetData.h"

#include <algorithm>

namespace sheet {

const Cell* SheetData::find(int row, int column) const
{
    auto it = cells_.find(CellRef{row, column});
    return it == cells_.end() ? nullptr : &it->second;
}

Cell& SheetData::at(int row, int column)
{
    auto [it, inserted] = cells_.try_emplace(CellRef{row, column});
    if (inserted) {
        if (auto f = rowFormat(row))
            it->second.format = *f;
        else if (auto c = columnFormat(column))
            it->second.format = *c;
    }
    return it->second;
}

std::optional<FormatId> SheetData::rowFormat(int row) const
{
    auto it = rowFormats_.find(row);
    return it == rowFormats_.end() ? std::nullopt : std::optional<FormatId>(it->second);
}

std::optional<FormatId> SheetData::columnFormat(int column) const
{
    auto it = columnFormats_.find(column);
    return it == columnFormats_.end() ? std::nullopt : std::optional<FormatId>(it->second);
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

const CellRect* SheetData::mergeAt(int row, int column) const
{
    for (const CellRect& m : merges)
        if (m.contains(row, column))
            return &m;
    return nullptr;
}

std::optional<CellRect> SheetData::usedRange() const
{
    if (cells_.empty())
        return std::nullopt;
    CellRect r{cells_.begin()->first.row, kMaxColumns, cells_.rbegin()->first.row, 1};
    for (const auto& [ref, cell] : cells_) {
        r.left = std::min(r.left, ref.column);
        r.right = std::max(r.right, ref.column);
    }
    return r;
}

}  // namespace sheet
