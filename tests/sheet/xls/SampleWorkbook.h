// A workbook that uses everything the .xls writer stores, shared by the round-trip and the interop
// tests: two sheets (the second active), texts with non-Latin-1 characters, times, numbers, fonts,
// alignments, wrap, fills, borders per edge, a merged area, row heights, column widths, row and
// column formats, a selection and a one-page landscape A4 page setup.
#pragma once

#include "sheet/model/SheetData.h"

#include <memory>

namespace xls_test {

std::unique_ptr<sheet::WorkbookData> sampleWorkbook();

// Formats of the sample's cells, for the tests' expectations.
sheet::CellFormat titleFormat();
sheet::CellFormat headerFormat();
sheet::CellFormat timeFormat();

}  // namespace xls_test
