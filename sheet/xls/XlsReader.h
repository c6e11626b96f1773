// Opening a BIFF8 .xls file into a workbook model. Every file is treated as untrusted input: a
// damaged or hostile file gives a SheetError, never a crash, a hang or an unbounded allocation.
#pragma once

#include "sheet/model/SheetData.h"

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

// Files larger than this are refused before anything is allocated for them.
inline constexpr std::size_t kMaxFileSize = 256u * 1024 * 1024;
// Cells a workbook may hold when read; keeps memory bounded for hostile files.
inline constexpr std::size_t kMaxCellsRead = 2'000'000;

}  // namespace sheet::xls
