// The workbook globals substream: the records before the sheets (workbook settings, window,
// fonts, formats, styles, sheet directory, shared strings). Writing leaves the sheet offsets of
// the BOUNDSHEET records open; the caller fills them in once the sheets are written.
#pragma once

#include "sheet/model/SheetData.h"
#include "sheet/xls/BiffWriter.h"

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace sheet::xls {

class SharedStrings;
class StyleTable;

void writeBOF(BiffWriter& w, std::uint16_t substream);
void writeEOF(BiffWriter& w);

// Returns the stream positions of the BOUNDSHEET offset fields, one per sheet.
std::vector<std::size_t> writeGlobals(BiffWriter& w, const WorkbookData& book, const StyleTable& styles,
                                      const SharedStrings& strings);

// What the reader takes from the globals.
struct SheetEntry {
    std::string name;
    std::size_t offset = 0;
};
struct Globals {
    std::vector<Font> fonts;  // by file font index; index 4 holds a placeholder
    std::vector<CellFormat> xfs;  // by XF index, with font and number format resolved
    std::vector<SheetEntry> sheets;  // worksheets only
    std::vector<CellText> strings;  // the shared strings, each held once for every cell that shows it
    int activeTab = 0;  // among all sheets of the file
    std::vector<int> tabOfWorksheet;  // each worksheet's place among all sheets
    std::vector<std::pair<int, CellRect>> printAreas;  // by place among all sheets
};

class RecordReader;
class ReadBudget;
Globals readGlobals(RecordReader& r, ReadBudget& budget);

}  // namespace sheet::xls
