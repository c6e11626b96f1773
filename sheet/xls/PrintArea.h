// The print area of a sheet: a built-in name ("Print_Area") whose formula is a block of that
// sheet. Writing needs the workbook's reference tables (SUPBOOK, EXTERNSHEET) before the names.
#pragma once

#include "sheet/model/SheetData.h"
#include "sheet/xls/BiffWriter.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace sheet::xls {

// "$A$1:$H$20", "A1:H20", "B2", "$A:$C", "1:5"; nullopt when the text is no block of cells.
std::optional<CellRect> parsePrintArea(const std::string& text);
// The text a spreadsheet shows for a print area: "$A$1:$H$20", "$B$2", "$A:$C", "$1:$5".
std::string printAreaText(const CellRect& area);

// Writes SUPBOOK, EXTERNSHEET and one NAME per sheet with a print area (none when no sheet has
// one). Throws SheetError when a print area is no block of cells.
void writePrintAreas(BiffWriter& w, const WorkbookData& book);

// A print area read from a NAME record: the sheet's place among all sheets and the block.
struct PrintAreaName {
    int tab = 0;
    CellRect area;
};
std::optional<PrintAreaName> readPrintAreaNAME(std::span<const std::uint8_t> data);

}  // namespace sheet::xls
