// Addresses in A1 form: "B1:F2", "K1:K1", "A1", whole columns "A:A" and whole rows "1:1",
// with or without "$". Columns run A..IV, rows 1..65536, as on an .xls sheet.
#pragma once

#include "sheet/model/SheetData.h"

#include <string>
#include <string_view>

namespace sheet {

enum class A1Kind { Cells, WholeColumns, WholeRows, WholeSheet };

struct A1Range {
    CellRect rect;  // whole columns span every row, whole rows every column
    A1Kind kind = A1Kind::Cells;
    bool operator==(const A1Range&) const = default;
};

// Throws SheetError "Invalid range address: <text>" for anything else.
A1Range parseA1(std::string_view address);

// 1 -> "A", 27 -> "AA", 256 -> "IV". Throws SheetError outside 1..256.
std::string columnLetters(int column);
// "B6", "B1:F2" (a one-cell rectangle gives one corner).
std::string toA1(const CellRect& rect);

}  // namespace sheet
