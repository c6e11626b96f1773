// One worksheet substream: calculation and print settings, page setup, column widths, the cell
// table (rows and cells), the window with its selection, and the merged areas.
#pragma once

#include "sheet/model/SheetData.h"
#include "sheet/xls/BiffWriter.h"

#include <cstddef>

namespace sheet::xls {

class SharedStrings;
class StyleTable;
class RecordReader;

// Codes the file uses for the page setup's printComments.
inline constexpr int kPrintCommentsInPlace = 16;
inline constexpr int kPrintCommentsAtEnd = 1;

void writeWorksheet(BiffWriter& w, const SheetData& sheet, const StyleTable& styles, const SharedStrings& strings,
                    bool active);

void writeSETUP(BiffWriter& w, const PageSetup& setup);

struct Globals;
// Reads the sheet whose BOF is at the reader's position. `cellBudget` counts down the cells the
// workbook may still hold; `byteBudget` the stream bytes the sheets may still take.
void readWorksheet(RecordReader& r, const Globals& globals, WorkbookData& book, SheetData& sheet,
                   std::size_t& cellBudget, std::size_t& byteBudget);

}  // namespace sheet::xls
