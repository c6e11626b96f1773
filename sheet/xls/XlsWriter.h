// Saving a workbook as a BIFF8 .xls file.
#pragma once

#include "sheet/model/SheetData.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sheet::xls {

// Writes the workbook to `path` (bytes, as the file system takes them) through the file library:
// a failed save leaves no half-written file and keeps an existing one, and a target the library
// refuses is not written. Throws sheet::SheetError ("Cannot save the workbook to <path>: <reason>").
void writeWorkbook(const sheet::WorkbookData& book, const std::string& path);

// The complete file (OLE2 compound document) as bytes; what writeWorkbook puts on disk.
std::vector<std::uint8_t> workbookFileBytes(const sheet::WorkbookData& book);

}  // namespace sheet::xls
