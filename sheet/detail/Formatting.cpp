// Area operations behind the object model's ranges.
#include "sheet/detail/Formatting.h"

#include <algorithm>

namespace sheet::detail {

FormatId fallbackFormat(const SheetData& sheet, int row, int column)
{
    if (auto f = sheet.rowFormat(row))
        return *f;
    if (auto f = sheet.columnFormat(column))
        return *f;
    return 0;
}

FormatId effectiveFormat(const SheetData& sheet, int row, int column)
{
    if (const Cell* cell = sheet.find(row, column))
        return cell->format;
    return fallbackFormat(sheet, row, column);
}

std::vector<CellRef> existingCells(const SheetData& sheet, const CellRect& rect)
{
    std::vector<CellRef> found;
    sheet.visitExisting(rect, [&](int row, int column, const Cell&) { found.push_back({row, column}); });
    return found;
}

void rememberIntersections(SheetData& sheet, const CellRect& rect, A1Kind kind)
{
    if (kind == A1Kind::WholeColumns) {
        std::vector<int> rows;
        for (const auto& [row, id] : sheet.rowFormats())
            rows.push_back(row);
        for (int row : rows)
            for (int column = rect.left; column <= rect.right; ++column)
                sheet.at(row, column);
    } else if (kind == A1Kind::WholeRows) {
        std::vector<int> columns;
        for (const auto& [column, id] : sheet.columnFormats())
            columns.push_back(column);
        for (int row = rect.top; row <= rect.bottom; ++row)
            if (!sheet.rowFormat(row))
                for (int column : columns)
                    sheet.at(row, column);
    }
}

void clearArea(SheetData& sheet, const CellRect& rect)
{
    const A1Kind kind = kindOf(rect);
    sheet.merges.eraseIntersecting(rect);
    if (kind == A1Kind::WholeSheet) {
        sheet.clearCells();
        sheet.clearRowAndColumnFormats();
        return;
    }
    if (kind == A1Kind::WholeColumns)
        for (int column = rect.left; column <= rect.right; ++column)
            sheet.eraseColumnFormat(column);
    if (kind == A1Kind::WholeRows)
        for (int row = rect.top; row <= rect.bottom; ++row)
            sheet.eraseRowFormat(row);

    // A cleared cell shows the default format. Where a row or column format would show through
    // instead, the cell stays, empty and in the default format.
    auto clearAt = [&](int row, int column) {
        if (fallbackFormat(sheet, row, column) == 0)
            sheet.erase(row, column);
        else
            sheet.at(row, column) = Cell{};
    };
    for (const CellRef& ref : existingCells(sheet, rect))
        clearAt(ref.row, ref.column);

    std::vector<int> formattedRows, formattedColumns;
    for (const auto& [row, id] : sheet.rowFormats())
        if (row >= rect.top && row <= rect.bottom)
            formattedRows.push_back(row);
    for (const auto& [column, id] : sheet.columnFormats())
        if (column >= rect.left && column <= rect.right)
            formattedColumns.push_back(column);
    for (int row : formattedRows)
        for (int column = rect.left; column <= rect.right; ++column)
            clearAt(row, column);
    if (kind != A1Kind::WholeColumns)
        for (int column : formattedColumns)
            for (int row = rect.top; row <= rect.bottom; ++row)
                if (!sheet.rowFormat(row))
                    clearAt(row, column);
}

void mergeBlock(SheetData& sheet, const CellRect& rect)
{
    sheet.merges.eraseIntersecting(rect);
    for (const CellRef& ref : existingCells(sheet, rect))
        if (!(ref.row == rect.top && ref.column == rect.left))
            sheet.at(ref.row, ref.column).value = std::monostate{};
    sheet.merges.push_back(rect);
}

void selectArea(SheetData& sheet, const CellRect& rect)
{
    const CellRect selected = kindOf(rect) == A1Kind::Cells ? withWholeMerges(sheet, rect) : rect;
    sheet.selection = selected;
    sheet.activeCell = CellRef{selected.top, selected.left};
}

}  // namespace sheet::detail
