// Cell input: what a typed text becomes in a cell. A text that reads as a time of day or a number
// becomes that value; every other text stays text. The engine has no formulas, so a text that
// starts with "=" stays text too and can never turn into one.
#pragma once

#include "sheet/model/SheetData.h"

#include <optional>
#include <string_view>

namespace sheet {

struct ParsedInput {
    CellValue value;                  // empty for an empty input
    std::optional<int> numberFormat;  // the number format the input brings; nullopt keeps the cell's
};

ParsedInput parseCellInput(std::string_view text);

// "7:00:00 AM", "3:30 PM", "15:00": the time as a fraction of a day; nullopt when the text is no time.
std::optional<double> parseTimeOfDay(std::string_view text);
// "2", "-1.5", "1e3": the number; nullopt when the text is no plain number.
std::optional<double> parseNumber(std::string_view text);

}  // namespace sheet
