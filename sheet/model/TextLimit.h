// The longest text a cell of an .xls workbook can hold, and the one check of it that every road
// out of the engine makes (the workbook file, its pages, its pictures), so that a sheet the file
// could not hold is refused alike everywhere, at once and with the same words.
#pragma once

#include "sheet/model/SheetData.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace sheet {

// In UTF-16 code units, as the file counts a text's characters.
inline constexpr std::size_t kMaxCellTextUnits = 32767;

// How many UTF-16 code units a UTF-8 text takes.
std::size_t utf16Length(std::string_view utf8);

// "a text in the sheet "NAME" is longer than 32767 characters"
std::string textTooLongMessage(const std::string& sheetName);

// Throws SheetError with textTooLongMessage when a cell of the sheet holds a longer text.
void checkTextLengths(const SheetData& sheet);

}  // namespace sheet
