// The text a cell shows: times in "h:mm:ss AM/PM", numbers the way a spreadsheet's General
// format shows them, texts as they are.
#pragma once

#include "sheet/model/CellFormat.h"
#include "sheet/model/SheetData.h"

#include <string>

namespace sheet {

std::string displayText(const Cell& cell, const CellFormat& format);

// A number in the General format: "2", "0.5", "1234567", "1.23457E+11".
std::string generalNumberText(double value);
// The time of day of a date-time number in "h:mm:ss AM/PM": "7:00:00 AM", "12:00:00 PM".
std::string timeText(double value);

}  // namespace sheet
