// The OLE2 compound file around the workbook stream (through libgsf), and reading the file from
// disk with a size limit. Writing it is the file library's (fileio/).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace sheet::xls {

// The compound file holding `stream` as its "Workbook" stream. The second form lets go of the
// stream as soon as the container has it, so that a large workbook is not held three times over.
std::vector<std::uint8_t> wrapWorkbookStream(std::span<const std::uint8_t> stream);
std::vector<std::uint8_t> wrapWorkbookStream(std::vector<std::uint8_t>&& stream);
// The "Workbook" stream of a compound file; throws FormatError when there is none or the
// container is damaged.
std::vector<std::uint8_t> extractWorkbookStream(std::span<const std::uint8_t> file);

// The whole file; throws std::runtime_error with the reason, or when it is larger than maxSize.
std::vector<std::uint8_t> readWholeFile(const std::string& path, std::size_t maxSize);

}  // namespace sheet::xls
