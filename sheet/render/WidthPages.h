// A tall sheet on paper one page wide and as many pages tall as it needs: A4 landscape with the
// sheet's margins (the sides at most a quarter inch), scaled so that the printed range fills the width (never above 96 dpi to the
// inch), the title rows repeated at the top of every page and "Page N of M" at the foot. The
// sheet's blocks are kept whole on a page wherever one fits; a block taller than a page is split
// between rows.
#pragma once

#include "sheet/model/SheetData.h"

#include <QPageLayout>

#include <functional>
#include <vector>

class QPaintDevice;
class QPagedPaintDevice;

namespace sheet::render {

// Rows top..bottom, both included.
struct RowSpan {
    int top = 0;
    int bottom = 0;
    bool operator==(const RowSpan&) const = default;
};

// How a sheet is made of blocks: the rows above its first block are its titles (0: none); each
// block starts at a caption, a merged area one column wide and more than one row tall, and runs
// to the row before the next one.
struct SheetBlocks {
    int lastTitleRow = 0;
    std::vector<int> blockStarts;  // ascending
};
SheetBlocks blocksOf(const SheetData& sheet, const CellRect& range);

// Rows first..last cut into pages of at most `pageHeight` (rowTop(row) is a row's top edge, in the
// same unit, and rowTop(last + 1) the bottom of the last row). A page ends before a block that
// would not end on it; a page with no such place, or a row taller than the page, ends at a row.
std::vector<RowSpan> pageRows(int first, int last, const std::vector<int>& blockStarts, double pageHeight,
                              const std::function<double(int)>& rowTop);

// A4 landscape with the margins of the sheet's page setup, the sides at most a quarter inch.
QPageLayout pageWidthLayout(const PageSetup& setup);

// Paints the workbook's active sheet on as many pages of the device as it needs, inside the
// device's own page layout; `newPage` ends a page and starts the next one, false when the device
// takes no more. Throws SheetError as printActiveSheet does.
void printActiveSheetToPageWidth(const WorkbookData& book, QPaintDevice& device, const std::function<bool()>& newPage);
// The same on a printer or other paged device, its own newPage starting each page.
void printActiveSheetToPageWidth(const WorkbookData& book, QPagedPaintDevice& device);

}  // namespace sheet::render
