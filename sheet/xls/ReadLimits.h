// What opening a workbook may take, shared by the reader, which keeps to it, and the writer, which
// refuses a workbook that could not be opened again. Memory for the model grows with what the file
// holds: each cell, text, shared string, format, row and column record, merged area and sheet is
// charged what it costs in memory, and the total may reach a fixed allowance plus a multiple of the
// workbook stream's size (the densest record, MULBLANK, describes a cell in two bytes), never more
// than kMaxReadMemory. A hostile file therefore cannot make the reader allocate much more than a
// genuine file of its size needs, and no file makes it allocate without bound.
#pragma once

#include "sheet/model/SheetData.h"
#include "sheet/xls/BiffReader.h"

#include <algorithm>
#include <cstddef>
#include <string>

namespace sheet::xls {

// Files larger than this are refused before anything is allocated for them.
inline constexpr std::size_t kMaxFileSize = 256u * 1024 * 1024;

inline constexpr std::size_t kReadAllowance = 16u * 1024 * 1024;
inline constexpr std::size_t kReadBytesPerStreamByte = 64;
inline constexpr std::size_t kMaxReadMemory = std::size_t{1536} * 1024 * 1024;

// Merged areas are checked against each other when read, so their number stays modest.
inline constexpr std::size_t kMaxMergedAreasPerSheet = 8192;
inline constexpr std::size_t kMaxMergedAreas = 65536;

inline std::size_t readBudget(std::size_t streamBytes)
{
    return std::min(kMaxReadMemory, kReadAllowance + kReadBytesPerStreamByte * std::min(streamBytes, kMaxFileSize));
}

namespace cost {
// A cell in its row (with room for the row's vector to grow); its text, if any, is charged where
// the text is made, once for a shared string however many cells show it.
inline constexpr std::size_t kCell = 2 * sizeof(Cell) + sizeof(RowCells::Run);
// A string's characters beyond what it keeps inline.
inline std::size_t text(std::size_t bytes) { return bytes > 15 ? bytes + 1 : 0; }
// A cell text (CellText) of its own: its characters with their count and the table's entry.
inline std::size_t cellText(std::size_t bytes) { return bytes + 1 + 8 + 64; }
// Rows are made in bands (RowTable), a band as soon as one of its rows holds a cell.
inline constexpr std::size_t kRowBand = RowTable::kBand * sizeof(RowCells) + 64;
inline int rowBand(int row) { return (row - 1) / RowTable::kBand; }
// A ROW record sets a height and a format; a column of a COLINFO record a width and a format.
inline constexpr std::size_t kRowRecord = 2 * 64;
inline constexpr std::size_t kColumn = 2 * 64;
inline constexpr std::size_t kMergedArea = sizeof(CellRect);
inline std::size_t sharedString(std::size_t bytes) { return sizeof(CellText) + cellText(bytes); }
inline std::size_t font(const Font& f) { return sizeof(Font) + text(f.name.size()); }
// An XF is kept as the file's format and twice in the workbook's table, each with its font's name.
inline std::size_t xf(const CellFormat& f) { return 3 * (sizeof(CellFormat) + text(f.font.name.size())) + 64; }
inline constexpr std::size_t kSheet = sizeof(SheetData) + 4096;
}  // namespace cost

// The memory a workbook being read may still take; charging more than is left throws FormatError.
class ReadBudget {
public:
    explicit ReadBudget(std::size_t streamBytes) : left_(readBudget(streamBytes)) {}
    void charge(std::size_t bytes)
    {
        if (bytes > left_)
            tooLarge();
        left_ -= bytes;
    }

private:
    [[noreturn]] static void tooLarge();
    std::size_t left_;
};

}  // namespace sheet::xls
