// Formatting of cell areas without creating cells that nobody wrote: a block of cells formats
// each of its cells, whole rows and columns change their row or column format plus the cells that
// already exist, and the whole sheet changes every column format, every row format and every
// existing cell. Cells created later take their row's or column's format.
#pragma once

#include "sheet/detail/State.h"
#include "sheet/model/A1.h"
#include "sheet/model/SheetData.h"

#include <array>

#include <algorithm>
#include <cstdint>
#include <type_traits>
#include <utility>
#include <vector>

namespace sheet::detail {

// The kind of area a rectangle covers: a block that spans every row is whole columns, and so on.
inline A1Kind kindOf(const CellRect& rect)
{
    const bool allRows = rect.top == 1 && rect.bottom == kMaxRows;
    const bool allColumns = rect.left == 1 && rect.right == kMaxColumns;
    if (allRows && allColumns)
        return A1Kind::WholeSheet;
    if (allRows)
        return A1Kind::WholeColumns;
    if (allColumns)
        return A1Kind::WholeRows;
    return A1Kind::Cells;
}

// The format a cell shows: its own, else its row's, else its column's, else the default.
FormatId effectiveFormat(const SheetData& sheet, int row, int column);
// The format a cell created now would get (its row's, else its column's, else the default).
FormatId fallbackFormat(const SheetData& sheet, int row, int column);

// Positions of the cells that exist inside the rectangle.
std::vector<CellRef> existingCells(const SheetData& sheet, const CellRect& rect);

// Maps each format id to the id of the changed format, interning each distinct result once.
template <class Change>
class FormatRemap {
public:
    FormatRemap(FormatTable& formats, FormatTransitions& transitions, Change& change, std::uint64_t key)
        : formats_(formats), transitions_(transitions), change_(change), key_(key)
    {
    }
    // Inline for the common case, a cell in the same format as the one before it.
    FormatId operator()(FormatId id)
    {
        if (id == last_.from) [[likely]]
            return last_.to;
        return lookUp(id);
    }

private:
    struct Pair {
        FormatId from;
        FormatId to;
    };
    // No format has this id: a table never holds that many.
    static constexpr FormatId kNoId = ~FormatId{0};

    [[gnu::noinline]] FormatId lookUp(FormatId id)
    {
        for (std::size_t i = 0; i < used_; ++i)
            if (recent_[i].from == id) {
                last_ = recent_[i];
                return last_.to;
            }
        FormatId to;
        if (const FormatId* known = key_ != FormatTransitions::kNone ? transitions_.find(id, key_) : nullptr) {
            to = *known;
        } else {
            CellFormat format = formats_.at(id);
            change_(format);
            to = formats_.intern(format);
            if (key_ != FormatTransitions::kNone)
                transitions_.remember(id, key_, to);
        }
        recent_[next_] = {id, to};
        last_ = recent_[next_];
        next_ = (next_ + 1) % recent_.size();
        used_ = std::min(used_ + 1, recent_.size());
        return to;
    }

    FormatTable& formats_;
    FormatTransitions& transitions_;
    Change& change_;
    std::uint64_t key_;
    std::array<Pair, 8> recent_;  // the first used_ are set
    Pair last_{kNoId, kNoId};
    std::size_t used_ = 0, next_ = 0;
};

void rememberIntersections(SheetData& sheet, const CellRect& rect, A1Kind kind);

// Applies `change` to every format the area shows. `key` names the change for the workbook's
// transitions (FormatTransitions::kNone: not remembered); equal keys must mean equal changes.
template <class Change>
void applyFormat(SheetData& sheet, FormatTable& formats, FormatTransitions& transitions, const CellRect& rect,
                 std::uint64_t key, Change&& change)
{
    FormatRemap<std::remove_reference_t<Change>> remap(formats, transitions, change, key);
    const A1Kind kind = kindOf(rect);
    if (kind == A1Kind::Cells) {
        if (rect.top == rect.bottom && rect.left == rect.right) {
            // One cell, as the schedule fills a cell per shift and slot: a change made before is
            // looked up straight away.
            Cell& cell = sheet.at(rect.top, rect.left);
            const FormatId* known = key != FormatTransitions::kNone ? transitions.find(cell.format, key) : nullptr;
            cell.format = known ? *known : remap(cell.format);
            return;
        }
        sheet.visitBlock(rect, [&](Cell& cell) { cell.format = remap(cell.format); });
        return;
    }
    // Where a row format meets a changed column (or the reverse) the cell must exist, or it would
    // keep showing the format that wins at the crossing.
    rememberIntersections(sheet, rect, kind);
    if (kind == A1Kind::WholeColumns || kind == A1Kind::WholeSheet)
        for (int column = rect.left; column <= rect.right; ++column)
            sheet.setColumnFormat(column, remap(sheet.columnFormat(column).value_or(0)));
    if (kind == A1Kind::WholeRows) {
        for (int row = rect.top; row <= rect.bottom; ++row)
            sheet.setRowFormat(row, remap(sheet.rowFormat(row).value_or(0)));
    } else if (kind == A1Kind::WholeSheet) {
        std::vector<std::pair<int, FormatId>> rows(sheet.rowFormats().begin(), sheet.rowFormats().end());
        for (const auto& [row, id] : rows)
            sheet.setRowFormat(row, remap(id));
    }
    sheet.visitExisting(rect, [&](int, int, Cell& cell) { cell.format = remap(cell.format); });
}

// Removes values, formats and merged areas from the area; row heights and column widths stay.
void clearArea(SheetData& sheet, const CellRect& rect);
// Merges the area into one cell that keeps the top-left value; a single cell stays as it is
// (inline: the schedule "merges" every cell it writes).
void mergeBlock(SheetData& sheet, const CellRect& rect);
inline void mergeArea(SheetData& sheet, const CellRect& rect)
{
    if (rect.rowCount() != 1 || rect.columnCount() != 1)
        mergeBlock(sheet, rect);
}
// The rectangle grown until it takes in every merged area it touches.
inline CellRect withWholeMerges(const SheetData& sheet, CellRect rect) { return sheet.merges.grow(rect); }
// Moves the sheet's selection to the area (a block of cells grown to the whole merged areas it
// touches) and its active cell to the selection's top-left cell.
void selectArea(SheetData& sheet, const CellRect& rect);
// Fills the area with a palette colour (1 to 56), or takes the fill away (xlColorIndexNone,
// xlColorIndexAutomatic). Throws SheetError for any other index.
void fillArea(SheetData& sheet, FormatTable& formats, FormatTransitions& transitions, const CellRect& rect,
              int colorIndex);

}  // namespace sheet::detail
