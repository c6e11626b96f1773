// The cell table of a worksheet being written: its extent (DIMENSIONS), then rows in blocks of 32,
// each block's ROW records followed by its cells. Cells go out as spreadsheets write them: a text
// as LABELSST, a number that fits four bytes as RK (MULRK for neighbours), any other number as
// NUMBER, and formatted empty cells as BLANK (MULBLANK for neighbours). The cells a merged area
// covers carry the format of its first cell.
#pragma once

#include "sheet/model/SheetData.h"
#include "sheet/xls/BiffWriter.h"

namespace sheet::xls {

class SharedStrings;
class StyleTable;

// One past the last row and column of every cell record and merged area; zeros for an empty sheet.
void writeDIMENSIONS(BiffWriter& w, const SheetData& sheet);

// Returns what reading the rows and cells back will charge to the reader's budget (ReadLimits.h).
std::size_t writeCellTable(BiffWriter& w, const SheetData& sheet, const StyleTable& styles, const SharedStrings& strings);

}  // namespace sheet::xls
