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
class ReadBudget;

// Codes the file uses for the page setup's printComments.
inline constexpr int kPrintCommentsInPlace = 16;
inline constexpr int kPrintCommentsAtEnd = 1;

// Returns what reading the sheet back will charge to the reader's budget (ReadLimits.h).
std::size_t writeWorksheet(BiffWriter& w, const SheetData& sheet, const StyleTable& styles, const SharedStrings& strings,
                           bool active);

void writeSETUP(BiffWriter& w, const PageSetup& setup);

struct Globals;
// What the sheets of a workbook being read may still take.
struct SheetReadLimits {
    ReadBudget& memory;
    std::size_t streamBytes;  // sheets never share records
    std::size_t mergedAreas;
};
// Reads the sheet whose BOF is at the reader's position.
void readWorksheet(RecordReader& r, const Globals& globals, WorkbookData& book, SheetData& sheet,
                   SheetReadLimits& limits);

}  // namespace sheet::xls
