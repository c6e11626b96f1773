// Opening a BIFF8 .xls file into a workbook model. Every file is treated as untrusted input: a
// damaged or hostile file gives a SheetError, never a crash, a hang or an unbounded allocation;
// memory follows what the file holds (ReadLimits.h).
#pragma once

#include "sheet/model/SheetData.h"
#include "sheet/xls/ReadLimits.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace sheet::xls {

// Throws sheet::SheetError ("Cannot open the workbook <path>: <reason>").
std::unique_ptr<sheet::WorkbookData> readWorkbook(const std::string& path);

// The same from the file's bytes; `name` only appears in error messages.
std::unique_ptr<sheet::WorkbookData> readWorkbookBytes(std::span<const std::uint8_t> file, const std::string& name);

}  // namespace sheet::xls
