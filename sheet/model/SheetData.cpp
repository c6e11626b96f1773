// Cell storage of a worksheet.
#include "sheet/model/SheetData.h"

#include <algorithm>

namespace sheet {

const Cell* SheetData::find(int row, int column) const
{
    const CellRef ref{row, column};
    if (last_.cell && last_.ref == ref)
        return last_.cell;
    // Reading leaves the remembered cell alone, so readers on several threads never write.
    auto it = cells_.find(ref);
    return it == cells_.end() ? nullptr : &it->second;
}

void SheetData::erase(int row, int column)
{
    last_.cell = nullptr;
    cells_.erase(CellRef{row, column});
}

void SheetData::clearCells()
{
    last_.cell = nullptr;
    cells_.clear();
}

Cell& SheetData::at(int row, int column)
{
    const CellRef ref{row, column};
    if (last_.cell && last_.ref == ref)
        return *last_.cell;
    auto [it, inserted] = cells_.try_emplace(ref);
    last_.ref = ref;
    last_.cell = &it->second;
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
