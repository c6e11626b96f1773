// What a cell looks like: font, number format, alignment, wrap, fill and the four borders.
// Workbooks keep each distinct format once (FormatTable); cells refer to it by index.
#pragma once

#include "sheet/model/Constants.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace sheet {

struct Font {
    std::string name = "Arial";
    double size = 10.0;  // points
    bool bold = false;
    int colorIndex = xlColorIndexAutomatic;  // 1..56 or automatic
    bool operator==(const Font&) const = default;
};

struct Border {
    int lineStyle = xlLineStyleNone;  // xlLineStyleNone or xlContinuous
    int colorIndex = xlColorIndexAutomatic;
    bool operator==(const Border&) const = default;
};

enum BorderSide : int { kBorderLeft = 0, kBorderTop = 1, kBorderBottom = 2, kBorderRight = 3 };

struct CellFormat {
    Font font;
    int numberFormat = kNumberFormatGeneral;  // built-in format id
    int horizontalAlignment = xlGeneral;      // xlGeneral, xlLeft, xlCenter, xlRight
    int verticalAlignment = xlBottom;         // xlTop, xlCenter, xlBottom
    bool wrapText = false;
    int interiorColorIndex = xlColorIndexNone;  // 1..56 (solid fill) or none
    std::array<Border, 4> borders{};            // indexed by BorderSide
    bool operator==(const CellFormat&) const = default;
};

struct CellFormatHash {
    std::size_t operator()(const CellFormat& f) const noexcept;
};

using FormatId = std::uint32_t;

// Distinct formats of a workbook. Id 0 is the default format (Arial 10, General).
class FormatTable {
public:
    FormatTable();
    FormatId intern(const CellFormat& format);
    const CellFormat& at(FormatId id) const { return formats_[id]; }
    std::size_t size() const { return formats_.size(); }
    const std::vector<CellFormat>& all() const { return formats_; }

private:
    std::vector<CellFormat> formats_;
    std::unordered_map<CellFormat, FormatId, CellFormatHash> index_;
};

}  // namespace sheet
