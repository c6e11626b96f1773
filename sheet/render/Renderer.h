// Pictures of sheet ranges: a range painted at 96 dpi as a spreadsheet shows it on screen, with
// light gridlines, fills, borders, merged areas, fonts, alignment, wrap and text overflow.
#pragma once

#include "sheet/model/SheetData.h"

#include <QImage>

namespace sheet::render {

// The picture covers exactly the range's columns and rows, plus one pixel right and below for
// their closing grid or border line. Needs a QGuiApplication. Throws SheetError when there is
// none, when the range lies outside the sheet or when its picture would be too large to hold.
QImage renderRange(const WorkbookData& book, const SheetData& sheet, const CellRect& range);

// Limits of one picture.
inline constexpr int kMaxPictureSide = 32767;
inline constexpr long long kMaxPicturePixels = 64LL * 1024 * 1024;
inline constexpr long long kMaxPictureCells = 1024LL * 1024;

}  // namespace sheet::render
